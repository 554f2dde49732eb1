// Runs one piece of work per index on several threads and hands the results back on
// the calling thread in index order, each as soon as it and every one before it are
// done: tables are checked side by side and still printed in the order walked.
#pragma once

#include <cstddef>
#include <functional>

#include "TableMender.h"

namespace mend {

// The threads a run uses when not told: one per processor, at most kMaxJobs.
unsigned DefaultJobs();
const unsigned kMaxJobs = 8;

// Runs work(i) for every i in [begin, end) on `jobs` threads (in the calling thread
// alone for one job or a handful of items) and calls done(i, result) on the calling
// thread in order of i. At most a few hundred results wait to be handed over, however
// many items there are.
void RunInOrder(size_t begin, size_t end, unsigned jobs,
                const std::function<TableOutcome(size_t)>& work,
                const std::function<void(size_t, TableOutcome&)>& done);

}  // namespace mend

// What dbfmend prints: per table the findings in words (stored against calculated
// value) or the changes a repair makes, per backup what undo did, a closing count;
// or the same as JSON Lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TableMender.h"

namespace mend {

const int kFindingCount = 7;

// The library's words for a finding bit (1, 2, 4, ... 64) and for an error code
// (-1 ... -6), and the short name JSON uses for a finding bit.
std::string FindingText(int32_t bit);
std::string FindingName(int32_t bit);
std::string ErrorText(int32_t code);

// The stored and calculated values behind a finding bit.
void FindingValues(const TableOutcome& outcome, int32_t bit, uint32_t* stored,
                   uint32_t* calculated);

// Counts over a run, for the closing line and the exit status.
struct Tally {
    int tables = 0;
    int sound = 0;
    int withFindings = 0;
    int failed = 0;
    int repaired = 0;  // or, in a dry run, to be repaired
    void Add(Status status);
};

std::vector<std::string> TableText(const TableOutcome& outcome);
std::string TableJson(const TableOutcome& outcome, bool repair);
std::string SummaryText(const Tally& tally, bool repair, bool dryRun);
std::string SummaryJson(const Tally& tally, const char* command, int exitStatus);

std::string UndoText(const UndoOutcome& outcome);

}  // namespace mend

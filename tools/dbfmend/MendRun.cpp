// Runs a dbfmend command: the tables one after another, each printed as soon as it is
// done, a progress line on a terminal, the closing count and the exit status.
#include "MendRun.h"

#include <chrono>

#include "FileAccess.h"
#include "FolderWalk.h"
#include "MendReport.h"
#include "OrderedRun.h"

namespace mend {
namespace {

const size_t kProgressWidth = 79;

const auto kProgressInterval = std::chrono::milliseconds(100);

// A progress line on standard error, rewritten in place at most ten times a second
// and wiped before anything else is printed.
class Progress {
public:
    Progress(std::ostream& out, std::ostream& err, bool on) : out_(out), err_(err), on_(on) {}
    void Show(size_t done, size_t total, const std::string& path)
    {
        if (!on_)
            return;
        auto now = std::chrono::steady_clock::now();
        if (done > 0 && now - last_ < kProgressInterval)
            return;
        last_ = now;
        out_.flush();  // what was printed so far comes before the line
        std::string line = std::to_string(done) + "/" + std::to_string(total) + " " + path;
        if (line.size() > kProgressWidth)
            line = line.substr(0, kProgressWidth);
        err_ << '\r' << line << std::string(kProgressWidth - line.size(), ' ') << std::flush;
        shown_ = true;
    }
    void Wipe()
    {
        if (shown_)
            err_ << '\r' << std::string(kProgressWidth, ' ') << '\r' << std::flush;
        shown_ = false;
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    bool on_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point last_;
};

// Where the items may be checked side by side: a run of tables of one folder listing,
// each a file of its own. A table named on the command line, or listed again under
// another path, stands alone, so that no table is ever checked twice at once.
size_t GroupEnd(const std::vector<WalkItem>& items, size_t begin)
{
    size_t end = begin + 1;
    if (!items[begin].folderNames || !items[begin].error.empty())
        return end;
    while (end < items.size() && items[end].folderNames == items[begin].folderNames &&
           items[end].error.empty())
        ++end;
    return end;
}

int RunTables(const MendOptions& options, std::ostream& out, std::ostream& err, bool progress)
{
    std::vector<WalkItem> items = CollectTables(options.paths, options.recursive);
    bool fromFolder = false;
    for (const WalkItem& item : items)
        fromFolder = fromFolder || item.fromFolder;
    Progress bar(out, err, progress && fromFolder && !options.json);
    Tally tally;
    const bool repair = options.command == Command::kRepair;
    auto work = [&](size_t i) {
        TableOutcome outcome;
        if (items[i].error.empty()) {
            outcome = MendTable(dbf::PlatformFileSystem(), items[i].path, options.settings,
                                items[i].folderNames ? &items[i] : nullptr);
        } else {
            outcome.path = items[i].path;
            outcome.error = items[i].error;
        }
        return outcome;
    };
    auto done = [&](size_t i, TableOutcome& outcome) {
        tally.Add(outcome.status);
        bar.Wipe();
        if (options.json) {
            out << TableJson(outcome, repair) << '\n';
        } else {
            for (const std::string& line : TableText(outcome))
                out << line << '\n';
        }
        if (i + 1 < items.size())
            bar.Show(i + 1, items.size(), items[i + 1].path);
    };
    if (!items.empty())
        bar.Show(0, items.size(), items[0].path);
    for (size_t begin = 0; begin < items.size();) {
        size_t end = GroupEnd(items, begin);
        RunInOrder(begin, end, options.jobs, work, done);
        begin = end;
    }
    int status = kExitSound;
    if (tally.failed)
        status = kExitFailed;
    else if (tally.withFindings && (!repair || options.settings.dryRun))
        status = kExitFindings;
    if (options.json)
        out << SummaryJson(tally, repair ? "repair" : "check", status) << '\n';
    else
        out << SummaryText(tally, repair, options.settings.dryRun) << '\n';
    return status;
}

int RunUndo(const MendOptions& options, std::ostream& out)
{
    int refused = 0;
    for (const std::string& path : options.paths) {
        UndoOutcome outcome = UndoFromBackup(dbf::PlatformFileSystem(), path);
        refused += outcome.restored ? 0 : 1;
        out << UndoText(outcome) << '\n';
    }
    size_t count = options.paths.size();
    out << count << (count == 1 ? " backup, " : " backups, ") << count - refused << " restored, "
        << refused << " refused\n";
    return refused ? kExitFailed : kExitSound;
}

}  // namespace

int RunMend(const MendOptions& options, std::ostream& out, std::ostream& err, bool progress)
{
    if (options.command == Command::kUndo)
        return RunUndo(options, out);
    return RunTables(options, out, err, progress);
}

int MendMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
             bool errIsTerminal)
{
    MendOptions options;
    int status = ParseMendOptions(argc, argv, &options, out, err);
    if (status >= 0)
        return status;
    return RunMend(options, out, err, errIsTerminal);
}

}  // namespace mend

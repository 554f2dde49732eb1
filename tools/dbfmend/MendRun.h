// dbfmend's command line and run: parses the arguments, walks the paths, checks,
// repairs or undoes table by table, prints, and answers the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "TableMender.h"

namespace mend {

// Exit statuses.
const int kExitSound = 0;
const int kExitFindings = 1;
const int kExitUsage = 2;
const int kExitFailed = 3;

enum class Command { kCheck, kRepair, kUndo };

struct MendOptions {
    Command command = Command::kCheck;
    MendSettings settings;
    bool json = false;
    bool recursive = false;
    unsigned jobs = 1;  // tables checked side by side
    std::vector<std::string> paths;
};

// Parses argv (argv[0] being the program); answers -1 to go on, else the exit status
// (help printed to out: 0; usage error said on err: kExitUsage).
int ParseMendOptions(int argc, const char* const* argv, MendOptions* options, std::ostream& out,
                     std::ostream& err);

// Runs a parsed command over the platform's files. progress: a progress line on err
// while a folder's tables are checked.
int RunMend(const MendOptions& options, std::ostream& out, std::ostream& err, bool progress);

// The whole program: parse, run, exit status.
int MendMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
             bool errIsTerminal);

}  // namespace mend

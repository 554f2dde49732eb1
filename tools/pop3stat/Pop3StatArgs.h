// The command line of pop3stat.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Pop3StatArgs {
    std::string host;
    std::string user;
    std::string pass;
    std::optional<int32_t> port;
    std::optional<int32_t> timeout;
    int32_t reportLevel = 0;
};

constexpr const char* kPop3StatUsage =
    "usage: pop3stat --host H [--port N] --user U --pass P [--timeout MS] [--report-level N]\n";

// Parses the arguments after the program name; false (with a reason) when they are not usable.
bool ParsePop3StatArgs(const std::vector<std::string>& args, Pop3StatArgs& parsed,
                       std::string& problem);

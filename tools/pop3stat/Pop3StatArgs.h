// The command line of pop3stat.
#pragma once

#include "ConnectionSecurity.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

struct Pop3StatArgs {
    std::string host;
    std::string user;
    std::string pass;
    std::optional<std::string> passFile;  // --pass-file: a file name, or "-" for standard input
    ConnectionSecurity security = ConnectionSecurity::None;
    std::optional<int32_t> port;  // absent: 995 for ssl, 110 otherwise
    std::optional<int32_t> timeout;
    int32_t reportLevel = 0;
};

constexpr const char* kPop3StatUsage =
    "usage: pop3stat --host H [--port N] --user U (--pass P | --pass-file FILE)\n"
    "                [--security none|ssl|starttls] [--timeout MS] [--report-level N]\n"
    "  --pass-file FILE: the password is the first line of FILE; - reads it from standard input\n";

// Parses the arguments after the program name; false (with a reason) when they are not usable.
// The reason names options and argument positions, never a value: a misplaced value may be a
// password.
bool ParsePop3StatArgs(const std::vector<std::string>& args, Pop3StatArgs& parsed,
                       std::string& problem);

// With --pass-file, sets pass to the first line of that file (of standardInput for "-"),
// without its line end; false (with a reason) when it cannot be read or the line is longer
// than any password. Without --pass-file nothing changes.
bool LoadPop3StatPassword(Pop3StatArgs& parsed, std::FILE* standardInput, std::string& problem);

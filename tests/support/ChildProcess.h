// Helpers for Windows tests that drive the project's programs as separate processes.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The folder of the running test program, with a trailing backslash; every program
// and library of the build lies there.
std::string BinDir();

// A path in the temporary folder.
std::string TempPath(const std::string& name);

// The whole content of a file, or an empty text when it cannot be read.
std::string ReadWholeFile(const std::string& path);

struct ProcessResult {
    DWORD exitCode = 0xFFFFFFFF;  // 99 when the program had to be ended
    std::string out;
    std::string err;
    DWORD elapsedMs = 0;
};

// Runs a command line with standard output and error captured in files (a pipe could
// be held open by helper processes the program starts), waits at most timeoutMs.
// `tag` names the capture files, so programs run at the same time do not share them.
ProcessResult RunCaptured(const std::string& commandLine, const std::string& tag,
                          DWORD timeoutMs = 60000);

}  // namespace testsupport

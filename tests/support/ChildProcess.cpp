// Running a program of the build from a test and capturing what it prints.
#include "ChildProcess.h"

#include <fstream>
#include <sstream>

namespace testsupport {
namespace {

HANDLE InheritableFile(const std::string& path)
{
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, &sa,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::string BinDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(0, full.find_last_of("\\/") + 1);
}

std::string TempPath(const std::string& name)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

ProcessResult RunCaptured(const std::string& commandLine, const std::string& tag, DWORD timeoutMs)
{
    // A fresh pair of files for every run: a helper process that Wine starts from a
    // windowed program (its desktop) may hold the last run's files open past their
    // deletion; a run reusing the names then lost its output and read the old one.
    static LONG runs = 0;
    const std::string stem = TempPath(tag + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(InterlockedIncrement(&runs)));
    const std::string outPath = stem + ".out";
    const std::string errPath = stem + ".err";
    HANDLE out = InheritableFile(outPath);
    HANDLE err = InheritableFile(errPath);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = commandLine;
    ProcessResult result;
    const DWORD start = GetTickCount();
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.elapsedMs = GetTickCount() - start;
    CloseHandle(out);
    CloseHandle(err);
    result.out = ReadWholeFile(outPath);
    result.err = ReadWholeFile(errPath);
    DeleteFileA(outPath.c_str());
    DeleteFileA(errPath.c_str());
    return result;
}

}  // namespace testsupport

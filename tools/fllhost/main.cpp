// fllhost: runs one routine of a database extension library as the database host would.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "FllHost.h"

namespace {

const int kUsageError = 2;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "fllhost: %s\n", message.c_str());
    return kUsageError;
}

void PrintResult(const fllhost::CallResult& result)
{
    if (!result.returned)
        std::printf("=> (none)\n");
    else if (result.type == dbf::kTypeCharacter)
        std::printf("=> \"%s\"\n", result.text.c_str());
    else
        std::printf("=> %ld\n", static_cast<long>(result.integer));
}

}  // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    const char* usage =
        "usage: fllhost <path-to-FLL> [--talk on|off] FUNCTION ARG...\n"
        "  ARG is C:<text> (character) or I:<integer>";
    int next = 2;
    bool talk = false;
    if (argc > 3 && std::strcmp(argv[2], "--talk") == 0) {
        if (std::strcmp(argv[3], "on") != 0 && std::strcmp(argv[3], "off") != 0)
            return Fail("--talk takes on or off\n" + std::string(usage));
        talk = std::strcmp(argv[3], "on") == 0;
        next = 4;
    }
    if (argc <= next)
        return Fail(usage);
    if (argc - next - 1 > dbf::kMaxParameters)
        return Fail("too many arguments: a call passes at most " +
                    std::to_string(dbf::kMaxParameters));
    std::vector<fllhost::Argument> args;
    std::string error;
    for (int i = next + 1; i < argc; ++i) {
        fllhost::Argument arg;
        if (!fllhost::ParseArgument(argv[i], &arg, &error))
            return Fail(error);
        args.push_back(arg);
    }
    fllhost::FllHost host;
    host.SetTalk(talk);
    if (!host.Load(argv[1], &error))
        return Fail(error);
    const dbf::FunctionEntry* entry = host.Find(argv[next]);
    if (!entry)
        return Fail(std::string("unknown function '") + argv[next] + "'");
    if (!fllhost::MatchDescriptor(entry->descriptor, args, &error))
        return Fail(std::string(argv[next]) + ": " + error);
    host.RunLoadRoutine();
    fllhost::CallResult result = host.Call(*entry, args);
    std::fflush(stdout);
    PrintResult(result);
    return 0;
}

// pop3stat: one mailbox check with TPop3Client, exactly as the notifier's check runs it, for
// users checking their settings and for tests.
#include "Exceptions.h"
#include "Pop3Client.h"
#include "Pop3StatArgs.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string WithoutLineEnd(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

void PrintLine(const std::string& label, const std::string& text)
{
    std::printf("%s: %s\n", label.c_str(), WithoutLineEnd(text).c_str());
    std::fflush(stdout);
}

int RunCheck(const Pop3StatArgs& args)
{
    TPop3Client client;
    client.Host = args.host;
    client.UserID = args.user;
    client.Password = args.pass;
    client.Security = args.security;
    client.Port = args.port.value_or(DefaultPort(args.security));
    if (args.timeout) {
        client.TimeOut = *args.timeout;
        client.IdleTimeOut = *args.timeout;
    }
    client.ReportLevel = args.reportLevel;
    if (args.reportLevel > 0)
        client.OnStatus = [](TSocketClient&, const std::string& text) {
            PrintLine("status", text);
        };
    client.Connect();
    int32_t count = client.MessageCount();
    client.Disconnect();
    std::printf("count: %d\n", static_cast<int>(count));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Pop3StatArgs args;
    std::string problem;
    if (!ParsePop3StatArgs(std::vector<std::string>(argv + 1, argv + argc), args, problem) ||
        !LoadPop3StatPassword(args, stdin, problem)) {
        std::fprintf(stderr, "pop3stat: %s\n%s", problem.c_str(), kPop3StatUsage);
        return 2;
    }
    try {
        return RunCheck(args);
    } catch (const Exception& error) {
        PrintLine(std::string("error: ") + error.ClassName(), error.Message());
    } catch (const std::exception& error) {
        PrintLine("error: Exception", error.what());
    }
    return 1;
}

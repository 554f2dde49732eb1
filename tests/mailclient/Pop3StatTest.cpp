// pop3stat.exe as a user runs it, against scripted servers: what it prints, its exit code, and
// that every misbehaving server is answered within the bound.
#include "ScriptedServer.h"

#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using RunResult = testsupport::ProcessResult;

// pop3stat writes text lines the Windows way.
std::string WindowsLines(const std::string& text)
{
    std::string lines;
    for (char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

RunResult RunPop3Stat(const std::string& arguments)
{
    return testsupport::RunCaptured("\"" + testsupport::BinDir() + "pop3stat.exe\" " + arguments,
                                    "pop3stat-test", 60000);
}

std::vector<ScriptStep> Dialogue(const std::string& greeting, const std::string& statReply)
{
    return Join({{SendBytes(greeting)},
                 Answer("+OK\r\n"),
                 Answer("+OK\r\n"),
                 Answer(statReply),
                 Answer("+OK bye\r\n")});
}

TEST(Pop3StatTest, PrintsTheCountOrTheFailure)
{
    struct Case {
        const char* name;
        std::vector<ScriptStep> script;
        const char* options;
        const char* out;
        DWORD exitCode;
        // TLS was asked for: the server must see no USER, whatever happened.
        bool secured = false;
    } cases[] = {
        {"count", Dialogue("+OK hi\r\n", "+OK 3 4200\r\n"), "", "count: 3\n", 0},
        {"empty mailbox", Dialogue("+OK\n", "+OK 0 0\n"), "", "count: 0\n", 0},
        {"reply lines reported", Dialogue("+OK hi\r\n", "+OK 3 4200\r\n"), " --report-level 1",
         "status: +OK\nstatus: +OK\nstatus: +OK 3 4200\nstatus: +OK bye\ncount: 3\n", 0},
        {"negative greeting", Join({{SendBytes("-ERR busy\r\n")}, Answer("+OK\r\n")}), "",
         "error: Exception: -ERR busy\n", 1},
        {"rejected",
         Join(
             {{SendBytes("+OK\r\n")}, Answer("+OK\r\n"), Answer("-ERR no\r\n"), Answer("+OK\r\n")}),
         "", "error: Exception: Authentication failed\n", 1},
        {"silent server",
         {SendBytes("+OK\r\n"), ReadLine(), Pause(2000)},
         " --timeout 500",
         "error: ESockError: Socket readln timed out\n",
         1},
        {"close mid-line",
         {SendBytes("+OK hel"), CloseConnection()},
         "",
         "error: ESockError: Connection closed by server\n",
         1},
        {"line of a megabyte",
         {SendBytes(std::string(1 << 20, 'x')), Pause(500)},
         "",
         "error: ESockError: Reply line too long\n",
         1},
        {"STLS refused",
         Join({{SendBytes("+OK\r\n")}, Answer("-ERR not here\r\n"), Answer("+OK\r\n")}),
         " --security starttls", "error: ETlsError: server refused STLS: -ERR not here\n", 1, true},
        {"handshake met by silence",
         {Pause(2000)},
         " --security ssl --timeout 500",
         "error: ESockError: TLS handshake timed out\n",
         1,
         true},
        {"handshake met by a close",
         {Pause(200), CloseConnection()},
         " --security ssl",
         "error: ETlsError: server closed the connection during the TLS handshake\n",
         1,
         true},
        {"handshake met by a greeting in the clear",
         {SendBytes("+OK\r\n"), Pause(1000)},
         " --security ssl",
         "error: ETlsError: server does not speak TLS\n",
         1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(c.script);
        RunResult result = RunPop3Stat("--host 127.0.0.1 --port " + std::to_string(server.Port()) +
                                       " --user u --pass p" + c.options);
        EXPECT_EQ(result.out, WindowsLines(c.out));
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_LT(result.elapsedMs, 10000u);
        if (c.secured) {
            EXPECT_EQ(server.Transcript().find("USER"), std::string::npos);
        }
    }
}

TEST(Pop3StatTest, RefusedConnectionAndUnknownHost)
{
    int freePort;
    {
        ScriptedServer probe({});
        freePort = probe.Port();
    }
    RunResult refused =
        RunPop3Stat("--host 127.0.0.1 --port " + std::to_string(freePort) + " --user u --pass p");
    EXPECT_EQ(refused.out, "error: ESockError: Connection Failed\r\n");
    EXPECT_EQ(refused.exitCode, 1u);
    RunResult unknown = RunPop3Stat("--host nosuch.invalid --user u --pass p --timeout 5000");
    EXPECT_EQ(unknown.out, "error: ESockError: Null Remote Address\r\n");
    RunResult noUser = RunPop3Stat("--host 127.0.0.1 --user \"\" --pass p");
    EXPECT_EQ(noUser.out, "error: Exception: Authentication failed\r\n");
}

// The usage text on standard error is checked by the dovecot check script.
TEST(Pop3StatTest, BadArgumentsExitTwo)
{
    for (const char* arguments : {"", "--host h --user u", "--host h --user u --pass p --port x",
                                  "--host h --user u --pass p --bogus 1"}) {
        SCOPED_TRACE(arguments);
        RunResult result = RunPop3Stat(arguments);
        EXPECT_EQ(result.exitCode, 2u);
        EXPECT_EQ(result.out, "");
    }
}

}  // namespace

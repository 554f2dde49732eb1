// TPop3Client against scripted servers: the exact lines the client sent, the outcome, and the
// events, for well-behaved and misbehaving servers.
#include "Exceptions.h"
#include "Pop3Client.h"
#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kGreeting = "+OK ready\r\n";

// Greeting, USER and PASS accepted, STAT answered, QUIT accepted.
std::vector<ScriptStep> Dialogue(const std::string& statReply,
                                 const std::string& greeting = kGreeting)
{
    return Join({{SendBytes(greeting)},
                 Answer("+OK\r\n"),
                 Answer("+OK\r\n"),
                 Answer(statReply),
                 Answer("+OK bye\r\n")});
}

struct Outcome {
    int count = -1;
    std::string error;  // "<class>: <message>", empty on success
    int loginEvents = 0;
    int authFailedCalls = 0;
    int disconnects = 0;
    DWORD elapsedMs = 0;
};

struct ClientSetup {
    std::string user = "u";
    std::string pass = "p";
    bool retryOnRejection = false;
    int idleTimeOut = 30000;
    int lineTimeOut = kDefaultLineTimeOut;
    int cancelInSendOfLine = 0;  // Cancel while the n-th command line waits to be sent
};

// One check as the notifier runs it: Connect, MessageCount, Disconnect.
Outcome RunCheck(ScriptedServer& server, const ClientSetup& setup)
{
    Outcome outcome;
    TPop3Client client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.UserID = setup.user;
    client.Password = setup.pass;
    client.IdleTimeOut = setup.idleTimeOut;
    client.LineTimeOut = setup.lineTimeOut;
    client.OnConnect = [&](TSocketClient&) { ++outcome.loginEvents; };
    client.OnDisconnect = [&](TSocketClient&) { ++outcome.disconnects; };
    if (setup.retryOnRejection) {
        client.OnAuthenticationFailed = [&](bool& handled) {
            ++outcome.authFailedCalls;
            handled = true;
        };
    }
    int lines = 0;
    if (setup.cancelInSendOfLine > 0) {
        client.ReportLevel = 8;
        client.OnStatus = [&](TSocketClient& sender, const std::string& status) {
            lines += status == "Writeln";
            if (status == "WriteFromStream" && lines == setup.cancelInSendOfLine) {
                ++lines;  // once
                sender.Cancel();
            }
        };
    }
    DWORD start = GetTickCount();
    try {
        client.Connect();
        int count = client.MessageCount();
        client.Disconnect();
        outcome.count = count;
    } catch (const Exception& error) {
        outcome.error = std::string(error.ClassName()) + ": " + error.Message();
    }
    outcome.elapsedMs = GetTickCount() - start;
    EXPECT_FALSE(client.Connected());
    return outcome;
}

struct CheckCase {
    const char* name;
    std::vector<ScriptStep> script;
    ClientSetup setup;
    const char* transcript;
    int count;
    const char* error;
    int loginEvents;
};

const char* const kFullTranscript = "USER u\r\nPASS p\r\nSTAT\r\nQUIT\r\n";

// The greeting one byte every 100 ms: never idle, always slow.
std::vector<ScriptStep> Trickle(const std::string& bytes)
{
    std::vector<ScriptStep> steps;
    for (char byte : bytes) {
        steps.push_back(SendBytes(std::string(1, byte)));
        steps.push_back(Pause(100));
    }
    return steps;
}

TEST(Pop3ClientTest, ChecksAgainstScriptedServers)
{
    const std::string megabyte(1 << 20, 'x');
    const CheckCase cases[] = {
        {"stat 3 4200", Dialogue("+OK 3 4200\r\n"), {}, kFullTranscript, 3, "", 1},
        {"stat 0 0", Dialogue("+OK 0 0\r\n"), {}, kFullTranscript, 0, "", 1},
        {"stat without size", Dialogue("+OK 3\r\n"), {}, kFullTranscript, 0, "", 1},
        {"bare greeting", Dialogue("+OK 2 10\r\n", "+OK\r\n"), {}, kFullTranscript, 2, "", 1},
        {"bare line feeds",
         Join({{SendBytes("+OK hi\n")},
               Answer("+OK\n"),
               Answer("+OK\n"),
               Answer("+OK 4 1\n"),
               Answer("+OK\n")}),
         {},
         kFullTranscript,
         4,
         "",
         1},
        {"reply split over two reads",
         Join({{SendBytes("+OK re"), Pause(60), SendBytes("ady\r\n")},
               Answer("+OK\r\n"),
               Answer("+OK\r\n"),
               {ReadLine(), SendBytes("+OK 5 4"), Pause(60), SendBytes("200\r"), Pause(60),
                SendBytes("\n")},
               Answer("+OK\r\n")}),
         {},
         kFullTranscript,
         5,
         "",
         1},
        {"two lines in one read",
         Join({{SendBytes(kGreeting + "+OK user\r\n"), ReadLine()},
               Answer("+OK\r\n"),
               Answer("+OK 6 1\r\n"),
               Answer("+OK\r\n")}),
         {},
         kFullTranscript,
         6,
         "",
         1},
        {"negative greeting",
         Join({{SendBytes("-ERR busy\r\n")}, Answer("+OK\r\n")}),
         {},
         "QUIT\r\n",
         -1,
         "Exception: -ERR busy\r\n",
         0},
        {"user rejected",
         Join({{SendBytes(kGreeting)}, Answer("-ERR who\r\n"), Answer("+OK\r\n")}),
         {},
         "USER u\r\nQUIT\r\n",
         -1,
         "Exception: Authentication failed",
         0},
        {"password rejected",
         Join(
             {{SendBytes(kGreeting)}, Answer("+OK\r\n"), Answer("-ERR no\r\n"), Answer("+OK\r\n")}),
         {},
         "USER u\r\nPASS p\r\nQUIT\r\n",
         -1,
         "Exception: Authentication failed",
         0},
        {"second attempt rejected",
         Join({{SendBytes(kGreeting)},
               Answer("+OK\r\n"),
               Answer("-ERR no\r\n"),
               Answer("+OK\r\n"),
               Answer("-ERR no\r\n"),
               Answer("+OK\r\n")}),
         {"u", "p", true},
         "USER u\r\nPASS p\r\nUSER u\r\nPASS p\r\nQUIT\r\n",
         -1,
         "Exception: Authentication failed",
         0},
        {"second attempt accepted",
         Join({{SendBytes(kGreeting)},
               Answer("-ERR who\r\n"),
               Answer("+OK\r\n"),
               Answer("+OK\r\n"),
               Answer("+OK 1 9\r\n"),
               Answer("+OK\r\n")}),
         {"u", "p", true},
         "USER u\r\nUSER u\r\nPASS p\r\nSTAT\r\nQUIT\r\n",
         1,
         "",
         1},
        {"stat rejected",
         Dialogue("-ERR locked\r\n"),
         {},
         kFullTranscript,
         -1,
         "Exception: -ERR locked\r\n",
         1},
        {"quit rejected answer",
         Join({{SendBytes(kGreeting)},
               Answer("+OK\r\n"),
               Answer("+OK\r\n"),
               Answer("+OK 3 1\r\n"),
               Answer("-ERR cannot\r\n")}),
         {},
         kFullTranscript,
         -1,
         "Exception: -ERR cannot\r\n",
         1},
        {"silent after greeting",
         {SendBytes(kGreeting), ReadLine(), Pause(1500)},
         {"u", "p", false, 400},
         "USER u\r\n",
         -1,
         "ESockError: Socket readln timed out",
         0},
        {"greeting trickles",
         Trickle(kGreeting),
         {"u", "p", false, 1000, 500},
         "",
         -1,
         "ESockError: Socket readln timed out",
         0},
        {"close mid-line",
         {SendBytes("+OK rea"), Pause(50), CloseConnection()},
         {},
         "",
         -1,
         "ESockError: Connection closed by server",
         0},
        {"close mid-reply",
         Join({{SendBytes(kGreeting)},
               Answer("+OK\r\n"),
               {ReadLine(), SendBytes("+O"), CloseConnection()}}),
         {},
         "USER u\r\nPASS p\r\n",
         -1,
         "ESockError: Connection closed by server",
         0},
        {"line of a megabyte",
         {SendBytes(megabyte), Pause(300)},
         {},
         "",
         -1,
         "ESockError: Reply line too long",
         0},
        {"cancel while USER waits to be sent: no QUIT",
         Dialogue("+OK 1 1\r\n"),
         {"u", "p", false, 30000, kDefaultLineTimeOut, 1},
         "",
         -1,
         "EAbortError: Socket readln aborted",
         0},
        {"empty user without a handler",
         Dialogue("+OK 0 0\r\n"),
         {"", "p"},
         "",
         -1,
         "Exception: Authentication failed",
         0},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(c.script);
        Outcome outcome = RunCheck(server, c.setup);
        std::string transcript = c.setup.user.empty() ? "" : server.Transcript();
        EXPECT_EQ(outcome.count, c.count);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_EQ(transcript, c.transcript);
        EXPECT_EQ(outcome.loginEvents, c.loginEvents);
        EXPECT_LT(outcome.elapsedMs, 10000u) << "a failing wait must end well before that";
        EXPECT_EQ(outcome.disconnects > 0, server.Accepted()) << "every connection is closed";
        EXPECT_EQ(outcome.authFailedCalls, c.setup.retryOnRejection ? 1 : 0);
        if (c.setup.user.empty()) {
            EXPECT_FALSE(server.Accepted()) << "no connection without credentials";
        }
    }
}

TEST(Pop3ClientTest, AuthenticationNeededMayLeaveTheUserEmpty)
{
    ScriptedServer server(Dialogue("+OK 2 7\r\n"));
    TPop3Client client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Password = "p";
    int asked = 0;
    client.OnAuthenticationNeeded = [&](bool& handled) {
        ++asked;
        handled = true;
    };
    client.Connect();
    EXPECT_EQ(client.MessageCount(), 2);
    client.Disconnect();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(server.Transcript(), "USER \r\nPASS p\r\nSTAT\r\nQUIT\r\n");
}

TEST(Pop3ClientTest, AuthenticationNeededLeftUnhandledSendsNothing)
{
    TPop3Client client;
    client.Host = "127.0.0.1";
    client.Port = 9;
    client.UserID = "u";
    int asked = 0;
    client.OnAuthenticationNeeded = [&](bool&) { ++asked; };
    try {
        client.Connect();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "Authentication failed");
    }
    EXPECT_EQ(asked, 1);
}

TEST(Pop3ClientTest, DefaultsAndBusyDuringConnect)
{
    ScriptedServer server(Dialogue("+OK 1 1\r\n"));
    TPop3Client client;
    EXPECT_EQ(client.Port, 110);
    EXPECT_EQ(client.MessageCount(), 0);
    EXPECT_FALSE(client.Busy());
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.UserID = "u";
    client.Password = "p";
    bool busyWhileConnecting = false;
    client.TSocketClient::OnConnect = [&](TSocketClient&) { busyWhileConnecting = client.Busy(); };
    client.Connect();
    EXPECT_TRUE(busyWhileConnecting);
    EXPECT_FALSE(client.Busy());
    client.Disconnect();
}

TEST(Pop3ClientTest, AbortCancelsAWaitingConnectAndClosesAnIdleOne)
{
    {
        ScriptedServer server({ReadLine()});
        TPop3Client client;
        client.Host = "127.0.0.1";
        client.Port = server.Port();
        client.UserID = "u";
        client.Password = "p";
        TWindowTimer timer;
        timer.SetInterval(100);
        timer.SetOnTimer([&](TWindowTimer& sender) {
            sender.SetEnabled(false);
            client.Abort();
        });
        try {
            client.Connect();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& error) {
            EXPECT_STREQ(error.ClassName(), "EAbortError");
            EXPECT_EQ(error.Message(), "Socket readln aborted");
        }
        EXPECT_FALSE(client.Connected());
        EXPECT_FALSE(client.Busy());
    }
    {
        ScriptedServer server(Dialogue("+OK 1 1\r\n"));
        TPop3Client client;
        client.Host = "127.0.0.1";
        client.Port = server.Port();
        client.UserID = "u";
        client.Password = "p";
        int disconnects = 0;
        client.OnDisconnect = [&](TSocketClient&) { ++disconnects; };
        client.Connect();
        client.Abort();
        EXPECT_FALSE(client.Connected());
        EXPECT_EQ(disconnects, 1);
        EXPECT_EQ(server.Transcript(), "USER u\r\nPASS p\r\nSTAT\r\n") << "no QUIT on abort";
    }
}

}  // namespace

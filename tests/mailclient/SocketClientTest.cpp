// TSocketClient under Wine: host resolution paths, refused connections, chunked sends, cancel,
// closes, reply codes, error texts, the socket library's lifetime and the message flow in waits.
#include "Exceptions.h"
#include "MessagePump.h"
#include "Pumping.h"
#include "ScriptedServer.h"
#include "SocketClient.h"
#include "WinsockLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The message of what fn raised, as "<class>: <message>"; empty when nothing was raised.
template <typename Fn>
std::string Failure(Fn fn)
{
    try {
        fn();
    } catch (const Exception& error) {
        return std::string(error.ClassName()) + ": " + error.Message();
    }
    return std::string();
}

// Exposes the count of send calls and the largest of them.
class ChunkCountingClient : public TSocketClient {
public:
    using TSocketClient::LargestSend;
    using TSocketClient::SendCalls;
};

struct Recorder {
    std::vector<std::string> statuses;
    int resolved = 0;
    int invalidHost = 0;
    int failed = 0;
    int connects = 0;
    int disconnects = 0;

    void Attach(TSocketClient& client, int level = 8)
    {
        client.ReportLevel = level;
        client.OnStatus = [this](TSocketClient&, const std::string& s) { statuses.push_back(s); };
        client.OnHostResolved = [this](TSocketClient&) { ++resolved; };
        client.OnConnectionFailed = [this](TSocketClient&) { ++failed; };
        client.OnConnect = [this](TSocketClient&) { ++connects; };
        client.OnDisconnect = [this](TSocketClient&) { ++disconnects; };
    }
    int Count(const std::string& status) const
    {
        return static_cast<int>(std::count(statuses.begin(), statuses.end(), status));
    }
};

TEST(SocketClientTest, DottedHostConnectsWithoutLookUpAndNamesAreLookedUp)
{
    for (const char* host : {"127.0.0.1", "localhost"}) {
        SCOPED_TRACE(host);
        ScriptedServer server({});
        Recorder recorder;  // outlives the client, which reports while it is destroyed
        TSocketClient client;
        recorder.Attach(client);
        client.Host = host;
        client.Port = server.Port();
        client.Connect();
        EXPECT_TRUE(client.Connected());
        EXPECT_EQ(recorder.connects, 1);
        bool dotted = host[0] == '1';
        EXPECT_EQ(recorder.resolved, dotted ? 0 : 1);
        // Connection set-up arms the timer once; a look-up arms it once more.
        EXPECT_EQ(recorder.Count("Timer On"), dotted ? 1 : 2);
        EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Already connected");
        client.Disconnect();
        EXPECT_FALSE(client.Connected());
        EXPECT_EQ(recorder.disconnects, 1);
    }
}

TEST(SocketClientTest, HostsWithoutAddressEndInNullRemoteAddress)
{
    struct Case {
        const char* host;
        bool listener;
        bool handled;
        const char* newHost;
        int listenerCalls;
        const char* failure;
    } cases[] = {
        {"0.0.0.0", false, false, "", 0, "ESockError: Null Remote Address"},
        {"0.0.0.0", true, false, "", 1, "ESockError: Null Remote Address"},
        {"nosuch.invalid", false, false, "", 0, "ESockError: Null Remote Address"},
        {"nosuch.invalid", true, true, "other.invalid", 1, "ESockError: Null Remote Address"},
        {"nosuch.invalid", true, true, "0.0.0.0", 1, "ESockError: Null Remote Address"},
        {"nosuch.invalid", true, true, "127.0.0.1", 1, "ESockError: Connection Failed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.host) + " -> " + c.newHost);
        Recorder recorder;  // outlives the client, which reports while it is destroyed
        TSocketClient client;
        recorder.Attach(client);
        client.Host = c.host;
        client.Port = 1;  // nothing listens there
        int calls = 0;
        if (c.listener) {
            client.OnInvalidHost = [&](bool& handled) {
                EXPECT_FALSE(handled);
                ++calls;
                client.Host = c.newHost;
                handled = c.handled;
            };
        }
        EXPECT_EQ(Failure([&] { client.Connect(); }), c.failure);
        EXPECT_EQ(calls, c.listenerCalls);
        EXPECT_EQ(recorder.resolved, 0);
    }
}

TEST(SocketClientTest, OverlongHostFailsCleanly)
{
    TSocketClient client;
    client.Port = 1;
    client.Host = std::string(127, 'a');
    EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Null Remote Address");
    client.Host = std::string(128, 'a');
    int calls = 0;
    client.OnInvalidHost = [&](bool&) { ++calls; };
    EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Host name too long");
    client.Host = std::string(100000, '1');
    EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Host name too long");
    EXPECT_EQ(calls, 0);
}

// A failed Connect stays failed: a connect report arriving afterwards changes nothing, and the
// object can connect again.
TEST(SocketClientTest, FailedConnectFiresConnectionFailedAndStaysFailed)
{
    int freePort;
    {
        ScriptedServer probe({});
        freePort = probe.Port();
    }  // nothing listens on that port any more
    for (bool cancelled : {false, true}) {
        SCOPED_TRACE(cancelled ? "cancelled while the connect report is on its way" : "refused");
        ScriptedServer server({});
        Recorder recorder;
        TSocketClient client;
        recorder.Attach(client);
        if (cancelled) {
            client.OnStatus = [&](TSocketClient& sender, const std::string& status) {
                if (status == "Timer On") {
                    Sleep(200);  // the listener accepts meanwhile
                    sender.Cancel();
                }
            };
        }
        client.Host = "127.0.0.1";
        client.Port = cancelled ? server.Port() : freePort;
        client.TimeOut = 5000;
        EXPECT_EQ(Failure([&] { client.Connect(); }),
                  cancelled ? "ESockError: Connection Canceled" : "ESockError: Connection Failed");
        PumpFor(200);
        EXPECT_EQ(recorder.failed, 1);
        EXPECT_EQ(recorder.connects, 0);
        EXPECT_FALSE(client.Connected());
        client.OnStatus = nullptr;
        ScriptedServer next({});
        client.Port = next.Port();
        EXPECT_EQ(Failure([&] { client.Connect(); }), "");
        EXPECT_TRUE(client.Connected());
        EXPECT_EQ(recorder.connects, 1);
        client.Disconnect();
    }
}

// A listener whose accept queue is full drops new connection requests, so a connect to it
// neither succeeds nor fails until the time-out.
TEST(SocketClientTest, ConnectionSetUpEndsAtTheTimeOut)
{
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    sockaddr_in address{};
    SOCKET listener = ListenOnLoopback(address);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 4; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, 0);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        fillers.push_back(filler);
    }
    Sleep(100);
    {
        Recorder recorder;
        TSocketClient client;
        recorder.Attach(client);
        client.Host = "127.0.0.1";
        client.Port = ntohs(address.sin_port);
        client.TimeOut = 300;
        DWORD start = GetTickCount();
        EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Connection Timed out");
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, 250u);
        EXPECT_LT(elapsed, 5000u);
        EXPECT_EQ(recorder.failed, 1);
        EXPECT_EQ(recorder.Count("Timer Triggered"), 1);
    }
    for (SOCKET filler : fillers)
        closesocket(filler);
    closesocket(listener);
    WSACleanup();
}

TEST(SocketClientTest, LargeSendLeavesInChunksAndArrivesWhole)
{
    // The server acknowledges the line before the client closes: closing resets the
    // connection, which would throw away bytes the server has not read yet.
    ScriptedServer server(Answer("+OK\r\n"));
    ChunkCountingClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    std::string data(40000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 26);
    data.back() = '\n';
    client.SendBuffer(data.data(), data.size());
    EXPECT_EQ(client.SendCalls(), 3);
    EXPECT_EQ(client.LargestSend(), 16383);
    EXPECT_EQ(client.ReadLn(), "+OK\r\n");
    client.Disconnect();
    std::string transcript = server.Transcript();
    EXPECT_EQ(transcript.size(), data.size());
    EXPECT_TRUE(transcript == data);
}

TEST(SocketClientTest, WriteStopsAtNulAndWritelnAddsLineEnd)
{
    ScriptedServer server(Join({{ReadLine()}, Answer("+OK\r\n")}));
    TSocketClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    client.Write(std::string("ab\0cd", 5));
    client.Write("");
    client.Writeln("USER x");
    client.Write(std::string(20000, 'w'));
    client.Writeln("");
    EXPECT_EQ(client.ReadLn(), "+OK\r\n");
    client.Disconnect();
    EXPECT_TRUE(server.Transcript() == "abUSER x\r\n" + std::string(16384, 'w') + "\r\n");
}

TEST(SocketClientTest, CancelDuringReadLnAbortsAndNextConnectClearsIt)
{
    ScriptedServer server({ReadLine()});
    TSocketClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    TWindowTimer timer;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TWindowTimer& sender) {
        sender.SetEnabled(false);
        client.Cancel();
    });
    EXPECT_EQ(Failure([&] { client.ReadLn(); }), "EAbortError: Socket readln aborted");
    EXPECT_EQ(Failure([&] { client.SendBuffer("lost\r\n", 6); }), "");
    EXPECT_EQ(Failure([&] { client.Connect(); }), "ESockError: Already connected");
    client.Writeln("after");
    client.Disconnect();
    EXPECT_EQ(server.Transcript(), "after\r\n");
}

TEST(SocketClientTest, LinesSurviveThePeersCloseThenReadingFailsAtOnce)
{
    // With the stall, the peer's connect, data and close reports are all queued before the
    // connection's first wait, which handles them in one turn.
    for (DWORD stallBeforeWaitMs : {0u, 600u}) {
        SCOPED_TRACE(stallBeforeWaitMs);
        ScriptedServer server({SendBytes("+OK one\r\n+OK two\n+OK thr"), CloseConnection()});
        Recorder recorder;
        TSocketClient client;
        recorder.Attach(client, 8);
        client.OnStatus = [&](TSocketClient&, const std::string& status) {
            if (status == "Timer On" && stallBeforeWaitMs)
                Sleep(stallBeforeWaitMs);
        };
        client.Host = "127.0.0.1";
        client.Port = server.Port();
        client.TimeOut = 10000;
        client.IdleTimeOut = 60000;
        DWORD start = GetTickCount();
        EXPECT_EQ(Failure([&] { client.Connect(); }), "");
        EXPECT_EQ(recorder.connects, 1);
        EXPECT_EQ(client.ReadLn(), "+OK one\r\n");
        EXPECT_EQ(client.ReadLn(), "+OK two\n");
        EXPECT_EQ(Failure([&] { client.ReadLn(); }), "ESockError: Connection closed by server");
        EXPECT_EQ(Failure([&] { client.Writeln("QUIT"); }),
                  "ESockError: Connection closed by server");
        EXPECT_LT(GetTickCount() - start, 5000u + stallBeforeWaitMs);
        EXPECT_FALSE(client.Connected());
        EXPECT_EQ(recorder.disconnects, 1);
    }
    // A line too long, then the close, both seen before the read: the connection is gone
    // once, for the server's reason. The line is exactly the longest kept, so reading drains
    // the socket before it pauses; a peer's close is reported only once its data is read.
    ScriptedServer server({SendBytes(std::string(kMaxLineLength - 6, 'a')), Pause(300),
                           SendBytes(std::string(6, 'a')), CloseConnection()});
    Recorder recorder;
    TSocketClient client;
    recorder.Attach(client);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    // Until the close has been taken in (a loaded machine can take longer than a moment).
    PumpUntil([&] { return recorder.disconnects > 0; }, 10000);
    ASSERT_EQ(recorder.disconnects, 1) << "the close was not seen within 10 s";
    EXPECT_EQ(Failure([&] { client.ReadLn(); }), "ESockError: Connection closed by server");
    EXPECT_EQ(recorder.disconnects, 1);
}

TEST(SocketClientTest, TransactionRecordsReplyAndCode)
{
    ScriptedServer server(
        Join({Answer("250 fine\r\n"), Answer("+OK 250\r\n"), Answer("99999 odd\r\n")}));
    Recorder recorder;
    TSocketClient client;
    recorder.Attach(client, 1);
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    EXPECT_EQ(client.Transaction("HELO"), "250 fine\r\n");
    EXPECT_EQ(client.ReplyCode(), 250);
    EXPECT_EQ(client.Transaction("NOOP"), "+OK 250\r\n");
    EXPECT_EQ(client.ReplyCode(), 0);
    EXPECT_EQ(client.LastReply(), "+OK 250\r\n");
    EXPECT_NE(Failure([&] { client.Transaction("ODD"); }), "");
    client.Disconnect();
    // Level 1 reports the reply lines and nothing else.
    EXPECT_EQ(recorder.statuses,
              (std::vector<std::string>{"250 fine\r\n", "+OK 250\r\n", "99999 odd\r\n"}));
    EXPECT_EQ(client.StatusText(), "99999 odd\r\n");
    EXPECT_EQ(server.Transcript(), "HELO\r\nNOOP\r\nODD\r\n");
}

TEST(SocketClientTest, ErrorCheckRaisesUnexpectedErrors)
{
    TSocketClient client;
    struct Case {
        int code;
        const char* failure;
    } cases[] = {
        {10035, ""},
        {10061, "ESockError: 10061:Connection refused"},
        {10099, "ESockError: Unknown Error No. 10099"},
    };
    for (const Case& c : cases) {
        WSASetLastError(c.code);
        EXPECT_EQ(Failure([&] { client.ErrorCheck(WSAEWOULDBLOCK); }), c.failure);
        EXPECT_EQ(client.LastError(), c.code);
    }
    EXPECT_EQ(client.SocketErrorText(0), "");
}

TEST(SocketClientTest, FirstLiveObjectStartsTheSocketLibraryOnce)
{
    ASSERT_EQ(WinsockUsers(), 0);
    auto first = std::make_unique<TSocketClient>();
    ASSERT_EQ(first->WinsockInfo().size(), 6u);
    EXPECT_EQ(first->WinsockInfo()[0], "Version= 1.1");
    EXPECT_EQ(first->WinsockInfo()[2].rfind("Description= ", 0), 0u);
    EXPECT_EQ(first->WinsockInfo()[5].rfind("Max Udp pack size= ", 0), 0u);
    auto second = std::make_unique<TSocketClient>();
    EXPECT_TRUE(second->WinsockInfo().empty());
    EXPECT_EQ(WinsockUsers(), 2);
    first.reset();
    EXPECT_EQ(WinsockUsers(), 1);
    second.reset();
    EXPECT_EQ(WinsockUsers(), 0);
    // The library really is stopped: socket calls now say so.
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

BOOL CALLBACK CollectTimerWindow(HWND window, LPARAM found)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "TmrWindowClass")
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

TEST(SocketClientTest, WindowTimerTicksOnlyWhenArmed)
{
    TWindowTimer timer;
    int ticks = 0;
    timer.SetInterval(20);
    PumpFor(150);
    EXPECT_EQ(ticks, 0) << "no OnTimer, no timer";
    timer.SetOnTimer([&](TWindowTimer&) { ++ticks; });
    PumpUntil([&] { return ticks >= 3; }, 5000);
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    int stopped = ticks;
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);
    // A timer message still queued after the timer was switched off, or one of another timer
    // id, does not tick.
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectTimerWindow,
                      reinterpret_cast<LPARAM>(&windows));
    ASSERT_EQ(windows.size(), 1u);
    struct Case {
        bool enabled;
        WPARAM id;
        int ticks;
    } cases[] = {{true, 1, 1}, {true, 2, 0}, {false, 1, 0}};
    for (const Case& c : cases) {
        timer.SetInterval(60000);
        timer.SetEnabled(c.enabled);
        int before = ticks;
        PostMessageA(windows[0], WM_TIMER, c.id, 0);
        PumpFor(50);
        EXPECT_EQ(ticks - before, c.ticks) << "enabled " << c.enabled << ", id " << c.id;
    }
}

TEST(SocketClientTest, WaitsKeepTheThreadsMessagesFlowing)
{
    ScriptedServer server(Join({Answer("+OK late\r\n")}));
    // The reply comes only after the pause below, inside ReadLn's wait.
    TSocketClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    TWindowTimer other;
    int ticks = 0;
    other.SetInterval(20);
    other.SetOnTimer([&](TWindowTimer&) {
        if (++ticks == 5) {
            client.Writeln("GO");
            PostQuitMessage(7);
        }
    });
    EXPECT_EQ(client.ReadLn(), "+OK late\r\n");
    EXPECT_GE(ticks, 5);
    other.SetEnabled(false);
    // The quit request seen during the wait is handed back to the outer loop.
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
    client.Disconnect();
}

// The modal loops' rule: the loop that takes the quit request ends and leaves it in the queue.
TEST(SocketClientTest, ModalLoopsEndAtTheQuitRequestAndPostItAgain)
{
    for (bool waiting : {false, true}) {
        SCOPED_TRACE(waiting ? "waiting messages" : "next message");
        PostQuitMessage(5);
        if (waiting)
            EXPECT_FALSE(DispatchWaitingMessages(1000));
        else
            while (DispatchNextMessage()) {
            }
        MSG message;
        ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(message.wParam, 5u);
    }
}

TEST(SocketClientTest, ListenerPumpingMessagesDoesNotLoseData)
{
    std::string big(60000, 'z');
    big += "\r\n";
    ScriptedServer server(Join({Answer(big), Answer("+OK\r\n")}));
    TSocketClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.ReportLevel = 8;
    client.OnStatus = [](TSocketClient&, const std::string&) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    };
    client.Connect();
    EXPECT_EQ(client.Transaction("BIG").size(), big.size());
    EXPECT_EQ(client.Transaction("NEXT"), "+OK\r\n");
    client.Disconnect();
}

}  // namespace

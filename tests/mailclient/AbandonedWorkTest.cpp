// Work a connection abandons: a send cancelled half way leaves nothing queued and nothing more
// is sent until the next connection, and a host look-up given up by its asker keeps its answer
// buffer until the answer has arrived.
#include "Exceptions.h"
#include "HostLookup.h"
#include "Pumping.h"
#include "ScriptedServer.h"
#include "SocketClient.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Exposes the count of send calls.
class ChunkCountingClient : public TSocketClient {
public:
    using TSocketClient::SendCalls;
};

TEST(AbandonedWorkTest, CancelledSendDropsItsUnsentBytes)
{
    ScriptedServer server({ReadLine()});
    ChunkCountingClient client;
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.Connect();
    // Cancel once the first chunk has left, while the rest still waits in the queue.
    client.ReportLevel = 8;
    client.OnStatus = [&](TSocketClient&, const std::string& status) {
        if (status == "WriteFromStream" && client.SendCalls() == 1)
            client.Cancel();
    };
    std::string big(40000, 'x');
    std::string failure;
    try {
        client.SendBuffer(big.data(), big.size());
    } catch (const EAbortError& error) {
        failure = error.Message();
    }
    EXPECT_EQ(failure, "Socket send aborted");
    client.OnStatus = nullptr;
    // The cancel stays in force: nothing more goes out on this connection, and a reply is
    // not waited for.
    client.Writeln("after");
    try {
        client.Transaction("QUIT");
        failure.clear();
    } catch (const EAbortError& error) {
        failure = error.Message();
    }
    EXPECT_EQ(failure, "Socket readln aborted");
    client.Disconnect();
    std::string transcript = server.Transcript();
    EXPECT_EQ(transcript, std::string(16383, 'x')) << "got " << transcript.size() << " bytes";
    // The dropped bytes do not go out on the next connection either.
    ScriptedServer next({ReadLine()});
    client.Port = next.Port();
    client.Connect();
    client.Writeln("after");
    client.Disconnect();
    EXPECT_EQ(next.Transcript(), "after\r\n");
}

TEST(AbandonedWorkTest, AbandonedLookUpKeepsItsBufferUntilTheAnswerArrives)
{
    MessagePump warmUp;
    warmUp.Turn();
    // Destroyed while waiting, just after the answer was handed over: the late answer must
    // land in a buffer still alive and reach nobody.
    for (DWORD delayMs : {0u, 50u, 200u}) {
        SCOPED_TRACE(delayMs);
        {
            TSocketClient client;
            client.Host = "localhost";
            client.Port = 1;
            client.OnStatus = [&](TSocketClient& sender, const std::string& status) {
                if (status != "Timer On")
                    return;
                Sleep(delayMs);
                sender.Cancel();
            };
            client.ReportLevel = 8;
            std::string failure;
            try {
                client.Connect();
            } catch (const ESockError& error) {
                failure = error.Message();
            }
            EXPECT_EQ(failure, "Host Lookup Canceled");
        }
        PumpUntil([] { return HostLookup::Pending() == 0; }, 10000);
        // Here the library answers even the cancelled requests; each buffer lived until then.
        EXPECT_EQ(HostLookup::Pending(), 0u);
    }
    // The next look-up gets its own answer.
    ScriptedServer server({});
    TSocketClient client;
    client.Host = "localhost";
    client.Port = server.Port();
    client.Connect();
    EXPECT_TRUE(client.Connected());
    client.Disconnect();
}

TEST(AbandonedWorkTest, AnswerAfterTheAskerIsGoneReachesNobody)
{
    int calls = 0;
    HANDLE task = HostLookup::Start("localhost", [&](bool, in_addr) { ++calls; });
    ASSERT_NE(task, nullptr);
    Sleep(300);  // the answer is written (and its message posted) before it is abandoned
    HostLookup::Abandon(task);
    PumpFor(300);
    PumpUntil([] { return HostLookup::Pending() == 0; }, 10000);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(HostLookup::Pending(), 0u);
}

}  // namespace

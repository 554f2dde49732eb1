// TSocketClient::StartTls in its own process (the security library it loads keeps the socket
// library started, which the socket client's own tests must not see): bytes a server sends
// before the handshake are taken as TLS, so a server in the clear fails at once instead of
// leaving the handshake to wait for the stall bound.
#include "Exceptions.h"
#include "MessagePump.h"
#include "ScriptedServer.h"
#include "SocketClient.h"

#include <gtest/gtest.h>

namespace {

TEST(SocketTlsTest, BytesBeforeTheHandshakeAreTakenAsTls)
{
    for (bool early : {true, false}) {
        SCOPED_TRACE(early ? "greeting read before the handshake" : "greeting during it");
        ScriptedServer server({SendBytes("+OK ready\r\n"), Pause(20000)});
        TSocketClient client;
        client.Host = "127.0.0.1";
        client.Port = server.Port();
        client.IdleTimeOut = 10000;
        client.Connect();
        if (early) {
            MessagePump pump;
            for (DWORD start = GetTickCount(); GetTickCount() - start < 300;)
                pump.Turn();
        }
        DWORD start = GetTickCount();
        std::string failure;
        try {
            client.StartTls();
        } catch (const Exception& error) {
            failure = std::string(error.ClassName()) + ": " + error.Message();
        }
        EXPECT_EQ(failure, "ETlsError: server does not speak TLS");
        EXPECT_LT(GetTickCount() - start, 5000u) << "ended by the bytes, not by the stall bound";
        EXPECT_FALSE(client.Connected());
    }
}

}  // namespace

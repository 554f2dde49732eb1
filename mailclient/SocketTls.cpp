// TSocketClient: securing the connection with TLS. The handshake and the certificate check run
// under the same message-pumping, bounded waits as every other step; the channel sits between
// the socket and the receive buffer and send queue.
#include "SocketClient.h"

#include "CertificateCheck.h"
#include "Exceptions.h"
#include "TlsChannel.h"

namespace {

constexpr const char* kClosedInHandshake = "server closed the connection during the TLS handshake";
constexpr const char* kTlsTimedOut = "TLS handshake timed out";

}  // namespace

// Bytes from the socket: through the channel when there is one.
void TSocketClient::Received(const char* bytes, size_t length)
{
    if (!tls) {
        received.Append(bytes, length);
        return;
    }
    std::string toPeer;
    tls->Receive(bytes, length, received, toPeer);
    QueueForPeer(toPeer);
    if (tls->GetState() == TlsChannel::State::Failed) {
        FailTls(tls->FailureText());
    } else if (tls->GetState() == TlsChannel::State::Closed &&
               phase == TConnectionPhase::Connected) {
        // The server's close_notify: what it sent before stays readable.
        EnterPhase(TConnectionPhase::Dropped, "Connection closed by server");
        CloseSocket();
    }
}

void TSocketClient::QueueForPeer(const std::string& bytes)
{
    if (bytes.empty())
        return;
    sendQueue.Append(bytes.data(), bytes.size());
    PostMessageA(window.Get(), kSendMoreMessage, 0, 0);
}

// The connection's protection failed: nothing more is read or sent on it.
void TSocketClient::FailTls(const std::string& reason)
{
    if (phase != TConnectionPhase::Connected)
        return;
    EnterPhase(TConnectionPhase::Dropped, reason);
    droppedByTls = true;
    received.Clear();
    sendQueue.Clear();
    CloseSocket();
}

// Waits until `done`, the connection ends, Cancel, a stall of the network beyond IdleTimeOut
// (while the peer's bytes are awaited), or the end of the set-up's whole bound.
void TSocketClient::WaitForTls(DWORD started, bool awaitingPeer, const std::function<bool()>& done)
{
    DWORD bound = static_cast<DWORD>(TimeOut > 0 ? TimeOut : kDefaultTlsSetUpTimeOut);
    bool expired = false;
    WaitUntil([&] {
        if (done() || cancel || phase != TConnectionPhase::Connected ||
            wait.end == WaitOutcome::Failed)
            return true;
        expired = GetTickCount() - started >= bound || (awaitingPeer && WaitExpired(started));
        return expired;
    });
    if (cancel)
        throw EAbortError("TLS set-up aborted");
    if (phase == TConnectionPhase::Dropped && !droppedByTls) {
        EnterPhase(TConnectionPhase::Dropped, kClosedInHandshake);
        droppedByTls = true;
    }
    if (phase == TConnectionPhase::Connected && wait.end == WaitOutcome::Failed)
        DropConnection(SocketErrorText(wait.error));
    else if (phase == TConnectionPhase::Connected && expired)
        DropConnection(kTlsTimedOut);
    if (phase != TConnectionPhase::Connected)
        RaiseDropped();
}

void TSocketClient::StartTls()
{
    Status(8, "Starting TLS");
    if (phase != TConnectionPhase::Connected)
        RaiseDropped();
    if (tls)
        throw ETlsError("TLS already started");
    // Bytes that came before the handshake (after the STLS answer, or with the connection)
    // must be TLS records like all that follow; never replies read in the clear.
    std::string early(received.Data(), received.Size());
    received.Clear();
    tls = std::make_unique<TlsChannel>(Host);
    DWORD started = GetTickCount();
    wait = WaitOutcome{};
    lastActivity = started;
    QueueForPeer(tls->Start());
    if (!early.empty())
        Received(early.data(), early.size());
    WaitForTls(started, true, [this] { return tls->GetState() != TlsChannel::State::Handshaking; });
    if (tls->GetState() != TlsChannel::State::Verifying)
        RaiseDropped();

    Status(8, "Checking the server's certificate");
    PCCERT_CONTEXT certificate = tls->ServerCertificate();
    CertificateCheck check(certificate, Host);
    if (certificate)
        CertFreeCertificateContext(certificate);
    WaitForTls(started, false, [&check] { return check.Done(); });
    std::string toPeer;
    tls->Verified(check.Result(), received, toPeer);
    QueueForPeer(toPeer);
    if (tls->GetState() != TlsChannel::State::Open) {
        FailTls(tls->FailureText());
        RaiseDropped();
    }
    Status(8, "Secured with " + tls->ProtocolName());
}

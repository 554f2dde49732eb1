// TSocketClient: moving bytes between the socket and the receive buffer and send queue, and the
// blocking ReadLn, SendBuffer and Transaction built on them.
#include "SocketClient.h"

#include "Exceptions.h"
#include "ReplyText.h"
#include "TlsChannel.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kMaxSendLength = 65535;
constexpr size_t kMaxWriteLength = 16384;
constexpr const char* kReadTimedOut = "Socket readln timed out";
constexpr const char* kSendTimedOut = "Socket send timed out";

}  // namespace

class TSocketClient::HandlerGuard {
public:
    explicit HandlerGuard(TSocketClient& owner) : client(owner) { client.inHandler = true; }
    ~HandlerGuard()
    {
        client.inHandler = false;
        HWND target = client.window.Get();
        if (client.readSkipped)
            PostMessageA(target, kReadMoreMessage, 0, 0);
        if (client.writeSkipped)
            PostMessageA(target, kSendMoreMessage, 0, 0);
        client.readSkipped = client.writeSkipped = false;
    }
    HandlerGuard(const HandlerGuard&) = delete;
    HandlerGuard& operator=(const HandlerGuard&) = delete;

private:
    TSocketClient& client;
};

void TSocketClient::ReadToStream()
{
    if (cancel) {
        WSAAsyncSelect(socketHandle, window.Get(), 0, 0);
        if (CancelHook)
            CancelHook();
    }
    if (inHandler) {
        readSkipped = true;
        return;
    }
    HandlerGuard guard(*this);
    Status(8, "ReadToStream");
    // Reading pauses while a line too long to be a reply waits; ReadLn ends that wait.
    if (received.Size() >= kMaxLineLength) {
        readHeld = true;
        return;
    }
    int count = recv(socketHandle, ioArea.data(), kChunkSize, 0);
    if (count == SOCKET_ERROR) {
        lastError = WSAGetLastError();
        SocketErrorText(lastError);
        return;
    }
    // The peer's close is seen here when the data before it is drained; its close report may
    // still be on its way, and a waiting ReadLn should not depend on it.
    if (count == 0 && phase == TConnectionPhase::Connected) {
        HandleClose(0);
        return;
    }
    lastActivity = GetTickCount();
    Received(ioArea.data(), static_cast<size_t>(count));
    if (count == kChunkSize)
        PostMessageA(window.Get(), kReadMoreMessage, 0, 0);
}

void TSocketClient::WriteFromStream()
{
    if (inHandler) {
        writeSkipped = true;
        return;
    }
    HandlerGuard guard(*this);
    Status(8, "WriteFromStream");
    if (sendQueue.Empty() || cancel)
        return;
    int count = static_cast<int>(std::min<size_t>(sendQueue.Size(), kChunkSize));
    int sent = send(socketHandle, sendQueue.Data(), count, 0);
    if (sent == SOCKET_ERROR) {
        lastError = WSAGetLastError();
        if (lastError != WSAEWOULDBLOCK)
            Settle(WaitOutcome::Failed, lastError);
        return;
    }
    ++sendCalls;
    largestSend = std::max(largestSend, sent);
    lastActivity = GetTickCount();
    if (static_cast<size_t>(sent) == sendQueue.Size()) {
        sendQueue.Clear();
        Settle(WaitOutcome::Done);
    } else {
        sendQueue.DropFront(static_cast<size_t>(sent));
        PostMessageA(window.Get(), kSendMoreMessage, 0, 0);
    }
}

// A wait ends when no byte moved for IdleTimeOut, or when it has lasted LineTimeOut in all.
bool TSocketClient::WaitExpired(DWORD started) const
{
    DWORD now = GetTickCount();
    return (IdleTimeOut > 0 && now - lastActivity >= static_cast<DWORD>(IdleTimeOut)) ||
           (LineTimeOut > 0 && now - started >= static_cast<DWORD>(LineTimeOut));
}

// The dialogue cannot go on (silent peer, oversized line, failed send): close our end, and
// let every later wait on this connection fail at once with the same reason. A connection
// already gone keeps the reason it went for.
void TSocketClient::DropConnection(const std::string& reason)
{
    if (phase != TConnectionPhase::Connected)
        return;
    EnterPhase(TConnectionPhase::Dropped, reason);
    received.Clear();
    sendQueue.Clear();
    CloseSocket();
}

void TSocketClient::RaiseDropped()
{
    if (phase == TConnectionPhase::Dropped && droppedByTls)
        throw ETlsError(dropReason);
    throw ESockError(DropReason());
}

std::string TSocketClient::DropReason()
{
    return phase == TConnectionPhase::Dropped ? dropReason : SocketErrorText(WSAENOTCONN);
}

void TSocketClient::SendBuffer(const char* bytes, size_t length)
{
    Status(4, "Sending Buffer");
    if (cancel)
        return;
    if (length == 0) {
        length = strnlen(bytes, kMaxSendLength + 1);
        if (length > kMaxSendLength)
            throw Exception("Text to send is longer than 65535 bytes");
    }
    if (length > kMaxSendLength)
        throw Exception("Buffer to send is longer than 65535 bytes");
    if (length == 0)
        return;
    if (phase != TConnectionPhase::Connected)
        RaiseDropped();
    if (tls)
        QueueForPeer(tls->Encrypt(bytes, length));
    else
        sendQueue.Append(bytes, length);
    wait = WaitOutcome{};
    DWORD started = GetTickCount();
    lastActivity = started;
    PostMessageA(window.Get(), kSendMoreMessage, 0, 0);
    WaitUntil([this, started] {
        return wait.end != WaitOutcome::Pending || cancel || phase != TConnectionPhase::Connected ||
               WaitExpired(started);
    });
    if (cancel) {
        // The cancel stays in force (a cancelled dialogue sends nothing more and waits for
        // nothing), and the abandoned bytes never go out, not even on the next connection.
        sendQueue.Clear();
        throw EAbortError("Socket send aborted");
    }
    if (wait.end == WaitOutcome::Done)
        return;
    DropConnection(wait.end == WaitOutcome::Failed ? SocketErrorText(wait.error) : kSendTimedOut);
    RaiseDropped();
}

void TSocketClient::Write(const std::string& text)
{
    Status(8, "Write");
    size_t length = std::min({strnlen(text.c_str(), kMaxWriteLength), kMaxWriteLength});
    SendBuffer(text.data(), length);
}

void TSocketClient::Writeln(const std::string& text)
{
    Status(8, "Writeln");
    Write(text + "\r\n");
}

std::string TSocketClient::TakeReceivedLine()
{
    std::string line = received.TakeLine();
    if (readHeld && received.Size() < kMaxLineLength) {
        readHeld = false;
        PostMessageA(window.Get(), kReadMoreMessage, 0, 0);
    }
    return line;
}

std::string TSocketClient::ReadLn()
{
    Status(8, "ReadLn");
    DWORD started = GetTickCount();
    lastActivity = started;
    WaitUntil([this, started] {
        return received.HasLineFeed() || cancel || phase != TConnectionPhase::Connected ||
               received.Size() >= kMaxLineLength || WaitExpired(started);
    });
    if (cancel)
        throw EAbortError("Socket readln aborted");
    if (received.HasLineFeed())
        return TakeReceivedLine();
    DropConnection(received.Size() >= kMaxLineLength ? "Reply line too long" : kReadTimedOut);
    RaiseDropped();
}

std::string TSocketClient::Transaction(const std::string& command)
{
    Status(8, "Transaction");
    replyCode = 0;
    Writeln(command);
    std::string line = ReadLn();
    lastReply = line;
    if (!line.empty()) {
        Status(1, line);
        replyCode = LeadingReplyCode(line);
    }
    return line;
}

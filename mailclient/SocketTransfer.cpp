// TSocketClient: moving bytes between the socket and the receive buffer and send queue, and the
// blocking ReadLn, SendBuffer and Transaction built on them.
#include "SocketClient.h"

#include "Exceptions.h"
#include "ReplyText.h"

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
    if (count == 0 && connected) {
        HandleClose(0);
        return;
    }
    received.Append(ioArea.data(), static_cast<size_t>(count));
    lastActivity = GetTickCount();
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
            sendError = lastError;
        return;
    }
    ++sendCalls;
    largestSend = std::max(largestSend, sent);
    lastActivity = GetTickCount();
    if (static_cast<size_t>(sent) == sendQueue.Size()) {
        sendQueue.Clear();
        sendDone = true;
    } else {
        sendQueue.DropFront(static_cast<size_t>(sent));
        PostMessageA(window.Get(), kSendMoreMessage, 0, 0);
    }
}

bool TSocketClient::IdleExpired() const
{
    return IdleTimeOut > 0 && GetTickCount() - lastActivity >= static_cast<DWORD>(IdleTimeOut);
}

// The dialogue cannot go on (silent peer, oversized line): close our end, and let every later
// wait on this connection fail at once with the same reason.
void TSocketClient::DropConnection(const std::string& reason)
{
    dropReason = reason;
    received.Clear();
    sendQueue.Clear();
    CloseSocket();
}

std::string TSocketClient::DropReason()
{
    return dropReason.empty() ? SocketErrorText(WSAENOTCONN) : dropReason;
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
    if (!connected)
        throw ESockError(DropReason());
    sendQueue.Append(bytes, length);
    sendDone = false;
    sendError = 0;
    lastActivity = GetTickCount();
    PostMessageA(window.Get(), kSendMoreMessage, 0, 0);
    WaitUntil([this] { return sendDone || cancel || sendError || !connected || IdleExpired(); });
    if (cancel) {
        // The abandoned bytes must not go out in front of the next command.
        cancel = false;
        sendQueue.Clear();
        throw EAbortError("Socket send aborted");
    }
    if (sendDone)
        return;
    if (sendError)
        DropConnection(SocketErrorText(sendError));
    else if (connected)
        DropConnection(kSendTimedOut);
    throw ESockError(DropReason());
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
    lastActivity = GetTickCount();
    WaitUntil([this] {
        return received.HasLineFeed() || cancel || !connected ||
               received.Size() >= kMaxLineLength || IdleExpired();
    });
    if (cancel)
        throw EAbortError("Socket readln aborted");
    if (received.HasLineFeed())
        return TakeReceivedLine();
    if (received.Size() >= kMaxLineLength)
        DropConnection("Reply line too long");
    else if (connected)
        DropConnection(kReadTimedOut);
    throw ESockError(DropReason());
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

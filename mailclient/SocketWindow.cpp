// The hidden "SockWindowClass" window: turns socket notifications into phase changes and buffer
// transfers of its connection object.
#include "SocketClient.h"

LRESULT CALLBACK SockWindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < kSocketEventMessage || message > kReadMoreMessage)
        return DefWindowProcA(window, message, wParam, lParam);
    if (auto* client = static_cast<TSocketClient*>(HiddenWindowOwner(window))) {
        try {
            client->HandleNotification(message, wParam, lParam);
        } catch (...) {
            // A failure inside a notification has no caller to reach; the waiting call sees
            // its effect through the connection's state.
        }
    }
    return 0;
}

void TSocketClient::HandleNotification(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case kSocketEventMessage:
            // Closing a socket discards its queued reports; this also drops any that name
            // another socket.
            if (static_cast<SOCKET>(wParam) != socketHandle)
                return;
            if (WSAGETSELECTEVENT(lParam) == FD_CLOSE)
                HandleClose(WSAGETSELECTERROR(lParam));
            else if (WSAGETSELECTEVENT(lParam) == FD_CONNECT)
                HandleConnected(WSAGETSELECTERROR(lParam));
            else
                HandleSocketEvent(WSAGETSELECTEVENT(lParam));
            break;
        case kSendMoreMessage:
            WriteFromStream();
            break;
        case kReadMoreMessage:
            ReadToStream();
            break;
    }
}

void TSocketClient::HandleSocketEvent(int event)
{
    switch (event) {
        case FD_READ:
            ReadToStream();
            break;
        case FD_WRITE:
            WriteFromStream();
            break;
        default:
            break;
    }
}

// Only the attempt in progress takes the socket's verdict: a report arriving after Connect
// gave up changes nothing.
void TSocketClient::HandleConnected(int error)
{
    if (phase != TConnectionPhase::Connecting || wait.end != WaitOutcome::Pending)
        return;
    if (error) {
        Settle(WaitOutcome::Failed, error);
        return;
    }
    EnterPhase(TConnectionPhase::Connected);
    Settle(WaitOutcome::Done);
    lastActivity = GetTickCount();
    FireEvent(OnConnect, *this);
}

// The peer closed or reset the connection: keep what it sent before, then close our end. A
// close reported before the connect report fails the attempt.
void TSocketClient::HandleClose(int error)
{
    if (phase == TConnectionPhase::Connecting) {
        Settle(WaitOutcome::Failed, error ? error : WSAECONNRESET);
        return;
    }
    if (phase != TConnectionPhase::Connected)
        return;
    while (!cancel && received.Size() < kMaxLineLength) {
        int count = recv(socketHandle, ioArea.data(), kChunkSize, 0);
        if (count <= 0)
            break;
        Received(ioArea.data(), static_cast<size_t>(count));
    }
    if (phase != TConnectionPhase::Connected)
        return;  // the last bytes failed the connection's protection
    EnterPhase(TConnectionPhase::Dropped,
               error ? ::SocketErrorText(error) : "Connection closed by server");
    CloseSocket();
}

// The hidden "SockWindowClass" window: turns socket notifications into flags and buffer
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

void TSocketClient::HandleConnected(int error)
{
    if (connectDone)
        return;
    connectDone = true;
    connectError = error;
    if (error)
        return;
    connected = true;
    lastActivity = GetTickCount();
    FireEvent(OnConnect, *this);
}

// The peer closed or reset the connection: keep what it sent before, then close our end.
void TSocketClient::HandleClose(int error)
{
    if (!connectDone) {
        connectDone = true;
        connectError = error ? error : WSAECONNRESET;
    }
    while (!cancel && received.Size() < kMaxLineLength) {
        int count = recv(socketHandle, ioArea.data(), kChunkSize, 0);
        if (count <= 0)
            break;
        received.Append(ioArea.data(), static_cast<size_t>(count));
    }
    connected = false;
    dropReason = error ? ::SocketErrorText(error) : "Connection closed by server";
    CloseSocket();
}

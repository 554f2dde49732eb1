// TSocketClient: a TCP client connection whose blocking calls (Connect, ReadLn, SendBuffer,
// Transaction) are built from window-message socket notifications and a message-pumping wait.
#pragma once

#include "ByteQueue.h"
#include "HandlerEvent.h"
#include "HiddenWindow.h"
#include "MessagePump.h"
#include "SocketErrorText.h"
#include "WindowTimer.h"

#include <windows.h>
#include <winsock.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Window messages of the hidden connection window.
constexpr UINT kSocketEventMessage = WM_USER + 101;  // the socket library's event report
constexpr UINT kSendMoreMessage = WM_USER + 103;     // hand queued bytes to the socket
constexpr UINT kReadMoreMessage = WM_USER + 104;     // read more from the socket

// Read, write, out-of-band, accept, connect and close.
constexpr long kSocketEvents = 63;
// Data moves in chunks of at most this many bytes in each direction.
constexpr int kChunkSize = 16383;
constexpr size_t kMaxHostLength = 127;
// A reply line that grows beyond this without a line feed ends the wait with an error.
constexpr size_t kMaxLineLength = 65536;
// Default bound on a ReadLn or SendBuffer wait in which no byte arrives or leaves.
constexpr int32_t kDefaultIdleTimeOut = 15000;

class TSocketClient {
public:
    using TNotifyEvent = std::function<void(TSocketClient& Sender)>;
    using TOnHostResolved = TNotifyEvent;
    using TOnStatus = std::function<void(TSocketClient& Sender, const std::string& Status)>;

    TSocketClient();
    virtual ~TSocketClient();
    TSocketClient(const TSocketClient&) = delete;
    TSocketClient& operator=(const TSocketClient&) = delete;

    std::string Host;         // server name or dotted IPv4 address, at most 127 characters
    int32_t Port = 0;         // the low 16 bits are used
    int32_t TimeOut = 0;      // ms bound for host look-up and connection set-up; 0: none
    int32_t ReportLevel = 0;  // status messages at or below this level are reported
    // ms bound for a ReadLn or SendBuffer wait without progress; 0: none.
    int32_t IdleTimeOut = kDefaultIdleTimeOut;

    TNotifyEvent OnConnect;  // the socket reported the connection as established
    TNotifyEvent OnDisconnect;
    THandlerEvent OnInvalidHost;
    TOnHostResolved OnHostResolved;
    TOnStatus OnStatus;
    TNotifyEvent OnConnectionFailed;

    virtual void Connect();
    virtual void Disconnect();
    virtual std::string Transaction(const std::string& command);
    // Run when the time-out fires and when the object is destroyed.
    virtual void Abort() {}

    void Cancel();
    void Write(const std::string& text);
    void Writeln(const std::string& text);
    void SendBuffer(const char* bytes, size_t length);
    std::string ReadLn();

    std::string SocketErrorText(int code);
    void ErrorCheck(int expectedCode);

    bool Connected() const { return connected; }
    const std::string& StatusText() const { return statusText; }
    const std::vector<std::string>& WinsockInfo() const { return winsockInfo; }
    const std::string& LastReply() const { return lastReply; }
    int16_t ReplyCode() const { return replyCode; }
    int LastError() const { return lastError; }
    // Send calls that handed bytes to the socket, and the largest of them.
    int SendCalls() const { return sendCalls; }
    int LargestSend() const { return largestSend; }

protected:
    std::function<void()> CancelHook;

    bool Canceled() const { return cancel; }
    void CloseSocket();
    void ClearReceived() { received.Clear(); }
    void Status(int level, const std::string& text);

private:
    friend LRESULT CALLBACK SockWindowRoutine(HWND, UINT, WPARAM, LPARAM);

    // SocketClient.cpp
    void StartWinsock();
    bool OpenSocket(bool resetOnClose);
    void ResolveHost();
    void ResolveWithRetry();
    void TimerOn();
    void TimerOff();
    void TimerTriggered();

    // SocketWindow.cpp
    void HandleNotification(UINT message, WPARAM wParam, LPARAM lParam);
    void HandleSocketEvent(int event);
    void HandleConnected(int error);
    void HandleClose(int error);
    void DiscardSocketReports();

    // SocketTransfer.cpp
    void ReadToStream();
    void WriteFromStream();
    bool IdleExpired() const;
    void DropConnection(const std::string& reason);
    std::string DropReason();
    std::string TakeReceivedLine();

    template <typename Done>
    void WaitUntil(Done done)
    {
        MessagePump pump;
        while (!done())
            pump.Turn();
    }

    // Keeps ReadToStream and WriteFromStream from nesting when a listener pumps messages; a
    // notification skipped meanwhile is posted again when the outer handler ends.
    class HandlerGuard;

    HiddenWindowHandle window;
    std::unique_ptr<TWindowTimer> timer;
    SOCKET socketHandle = INVALID_SOCKET;
    sockaddr_in remote{};
    HANDLE lookupTask = nullptr;
    in_addr lookupAddress{};
    std::vector<char> ioArea;
    ByteQueue received;
    ByteQueue sendQueue;

    bool connected = false;
    bool cancel = false;
    bool timedOut = false;
    bool lookupOk = true;
    bool lookupDone = false;
    // The socket's verdict on the connection attempt: set once by its connect report (or by a
    // close reported first) and kept, so a connection the peer closes straight away still
    // counts as made.
    bool connectDone = false;
    int connectError = 0;
    bool sendDone = false;
    bool inHandler = false;
    bool readSkipped = false;
    bool writeSkipped = false;
    bool readHeld = false;
    bool destroying = false;

    int lastError = 0;
    int sendError = 0;
    std::string dropReason;
    DWORD lastActivity = 0;
    int sendCalls = 0;
    int largestSend = 0;

    std::string lastReply;
    int16_t replyCode = 0;
    std::string statusText;
    std::vector<std::string> winsockInfo;
};

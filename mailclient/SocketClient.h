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
// Default bound on one ReadLn or SendBuffer as a whole, however slowly the bytes come.
constexpr int32_t kDefaultLineTimeOut = 60000;
// Bound on the whole TLS set-up (handshake and certificate check) when TimeOut is 0.
constexpr int32_t kDefaultTlsSetUpTimeOut = 30000;

class TlsChannel;

// Where a connection object stands. A fresh socket is Idle; Connect passes through Resolving
// and Connecting to Connected (or back to Idle when the attempt fails); the peer's close, a
// failed or stalled wait or an oversized line leave Connected for Dropped, which keeps why
// until the next Connect; Disconnect takes Connected back to Idle.
enum class TConnectionPhase { Idle, Resolving, Connecting, Connected, Dropped };

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
    // ms bound for one ReadLn or SendBuffer as a whole; 0: none.
    int32_t LineTimeOut = kDefaultLineTimeOut;

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

    // Secures the connection with TLS: the handshake, then the check of the server's
    // certificate against the name in Host; every later byte is encrypted. Raises ETlsError
    // when the handshake or the certificate fails (the connection is then dropped), ESockError
    // when the set-up stalls beyond IdleTimeOut or takes longer than TimeOut (or
    // kDefaultTlsSetUpTimeOut), EAbortError on Cancel.
    void StartTls();

    std::string SocketErrorText(int code);
    void ErrorCheck(int expectedCode);

    bool Connected() const { return phase == TConnectionPhase::Connected; }
    TConnectionPhase Phase() const { return phase; }
    const std::string& StatusText() const { return statusText; }
    const std::vector<std::string>& WinsockInfo() const { return winsockInfo; }
    const std::string& LastReply() const { return lastReply; }
    int16_t ReplyCode() const { return replyCode; }
    int LastError() const { return lastError; }

protected:
    // Send calls that handed bytes to the socket, and the largest of them.
    int SendCalls() const { return sendCalls; }
    int LargestSend() const { return largestSend; }

    std::function<void()> CancelHook;

    bool Canceled() const { return cancel; }
    void CloseSocket();
    void ClearReceived() { received.Clear(); }
    void Status(int level, const std::string& text);

private:
    friend LRESULT CALLBACK SockWindowRoutine(HWND, UINT, WPARAM, LPARAM);

    // How the blocking wait in progress ended: set once by the first event that decides it
    // (the look-up's answer, the socket's connect or close report, the time-out, the send's
    // completion or failure) and read when the wait is over.
    struct WaitOutcome {
        enum End { Pending, Done, TimedOut, Failed } end = Pending;
        int error = 0;  // Failed: the socket error code, when there is one
    };

    // SocketClient.cpp
    void StartWinsock();
    bool OpenSocket(bool resetOnClose);
    void ResolveHost();
    void ResolveWithRetry();
    void AbandonAttempt();
    void EnterPhase(TConnectionPhase next, const std::string& reason = std::string());
    void Settle(WaitOutcome::End end, int error = 0);
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
    bool WaitExpired(DWORD started) const;
    void DropConnection(const std::string& reason);
    std::string DropReason();
    std::string TakeReceivedLine();
    [[noreturn]] void RaiseDropped();

    // SocketTls.cpp
    void Received(const char* bytes, size_t length);
    void QueueForPeer(const std::string& bytes);
    void FailTls(const std::string& reason);
    void WaitForTls(DWORD started, bool awaitingPeer, const std::function<bool()>& done);

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

    TConnectionPhase phase = TConnectionPhase::Idle;
    std::string dropReason;           // why the connection was dropped; kept only while Dropped
    bool droppedByTls = false;        // the reason is a failure of the connection's protection
    std::unique_ptr<TlsChannel> tls;  // present from StartTls until the next Connect
    WaitOutcome wait;
    // Asked for by Cancel; kept until the next Connect: every later send on the connection
    // sends nothing and every later ReadLn fails at once.
    bool cancel = false;
    bool destroying = false;
    // Re-entry guard of the transfer handlers, and the notifications it held back.
    bool inHandler = false;
    bool readSkipped = false;
    bool writeSkipped = false;
    // Reading pauses while a line too long to be a reply waits in the receive buffer.
    bool readHeld = false;

    int lastError = 0;
    DWORD lastActivity = 0;
    int sendCalls = 0;
    int largestSend = 0;

    std::string lastReply;
    int16_t replyCode = 0;
    std::string statusText;
    std::vector<std::string> winsockInfo;
};

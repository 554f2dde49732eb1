// TSocketClient: construction, socket library start-up, host resolution, connecting, closing.
#include "SocketClient.h"

#include "Exceptions.h"
#include "HostLookup.h"
#include "SocketErrorText.h"
#include "TlsChannel.h"
#include "WinsockLibrary.h"

namespace {

constexpr const char* kInitFailed = "Initializaton of windows sockets failed";
constexpr const char* kLookupTimedOut = "Host Lookup Timed Out";
constexpr const char* kLookupCanceled = "Host Lookup Canceled";
constexpr const char* kHostTooLong = "Host name too long";
constexpr const char* kNullRemote = "Null Remote Address";
constexpr size_t kIoAreaSize = 16384;

}  // namespace

LRESULT CALLBACK SockWindowRoutine(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

TSocketClient::TSocketClient()
    : window(CreateHiddenWindow("SockWindowClass", &SockWindowRoutine, this)),
      timer(std::make_unique<TWindowTimer>()),
      ioArea(kIoAreaSize)
{
    if (!window.Get())
        throw ESockError(kInitFailed);
    timer->SetEnabled(false);
    timer->SetOnTimer([this](TWindowTimer&) { TimerTriggered(); });
    Status(8, "Create");
    StartWinsock();
}

TSocketClient::~TSocketClient()
{
    try {
        Status(8, "Destroy");
        Abort();
        Cancel();
    } catch (...) {
    }
    if (lookupTask)
        HostLookup::Abandon(lookupTask);
    timer.reset();
    window.Reset();
    destroying = true;
    try {
        CloseSocket();
    } catch (...) {
    }
    ReleaseWinsock();
}

void TSocketClient::Status(int level, const std::string& text)
{
    if (level > ReportLevel)
        return;
    statusText = text;
    if (!destroying)
        FireEvent(OnStatus, *this, text);
}

void TSocketClient::StartWinsock()
{
    Status(8, "Initializing Winsock");
    AcquireWinsock(winsockInfo);
    if (!OpenSocket(true)) {
        ReleaseWinsock();
        throw ESockError(kInitFailed);
    }
}

bool TSocketClient::OpenSocket(bool resetOnClose)
{
    socketHandle = socket(AF_INET, SOCK_STREAM, resetOnClose ? IPPROTO_TCP : 0);
    if (socketHandle == INVALID_SOCKET)
        return false;
    if (resetOnClose) {
        linger resetAtOnce{1, 0};
        setsockopt(socketHandle, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&resetAtOnce),
                   sizeof resetAtOnce);
    }
    WSAAsyncSelect(socketHandle, window.Get(), kSocketEventMessage, kSocketEvents);
    return true;
}

void TSocketClient::ResolveHost()
{
    Status(8, "Resolve Host");
    if (Host.size() > kMaxHostLength)
        throw ESockError(kHostTooLong);
    unsigned long dotted = inet_addr(Host.c_str());
    if (dotted != INADDR_NONE) {
        remote.sin_addr.s_addr = dotted;
        return;
    }
    remote.sin_addr.s_addr = 0;
    wait = WaitOutcome{};
    TimerOn();
    lookupAddress = in_addr{};
    lookupTask = HostLookup::Start(Host, [this](bool ok, in_addr address) {
        lookupAddress = address;
        Settle(ok ? WaitOutcome::Done : WaitOutcome::Failed);
    });
    if (!lookupTask)
        Settle(WaitOutcome::Failed);
    WaitUntil([this] { return wait.end != WaitOutcome::Pending || cancel; });
    TimerOff();
    if (wait.end == WaitOutcome::Pending && lookupTask)
        HostLookup::Abandon(lookupTask);
    lookupTask = nullptr;
    if (wait.end == WaitOutcome::TimedOut)
        throw ESockError(kLookupTimedOut);
    if (cancel)
        throw ESockError(kLookupCanceled);
    if (wait.end != WaitOutcome::Done)
        throw ESockError("Host Lookup Failed");
    remote.sin_addr = lookupAddress;
    FireEvent(OnHostResolved, *this);
}

void TSocketClient::ResolveWithRetry()
{
    int retries = 0;
    for (;;) {
        try {
            ResolveHost();
        } catch (const ESockError& error) {
            const std::string& text = error.Message();
            if (text == kLookupTimedOut || text == kLookupCanceled || text == kHostTooLong)
                throw;
        }
        if (remote.sin_addr.s_addr != 0)
            return;
        if (retries > 0 || !OnInvalidHost)
            throw ESockError(kNullRemote);
        bool handled = false;
        OnInvalidHost(handled);
        if (!handled)
            throw ESockError(kNullRemote);
        ++retries;
    }
}

void TSocketClient::Connect()
{
    Status(8, "Connecting");
    cancel = false;
    if (phase != TConnectionPhase::Idle && phase != TConnectionPhase::Dropped)
        throw ESockError("Already connected");
    EnterPhase(TConnectionPhase::Resolving);
    tls.reset();
    try {
        ResolveWithRetry();
    } catch (...) {
        EnterPhase(TConnectionPhase::Idle);
        throw;
    }

    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<u_short>(Port & 0xFFFF));
    EnterPhase(TConnectionPhase::Connecting);
    wait = WaitOutcome{};
    if (connect(socketHandle, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) ==
        SOCKET_ERROR) {
        try {
            ErrorCheck(WSAEWOULDBLOCK);
        } catch (...) {
            AbandonAttempt();
            throw;
        }
    }
    TimerOn();
    // The wait looks at the attempt's outcome, not at the connection's current state: the
    // connect, data and close reports of a peer that answers and hangs up at once may all be
    // handled in one turn of the wait.
    WaitUntil([this] { return wait.end != WaitOutcome::Pending || cancel; });
    TimerOff();
    if (wait.end == WaitOutcome::Done && !cancel)
        return;
    bool timedOut = wait.end == WaitOutcome::TimedOut;
    AbandonAttempt();
    FireEvent(OnConnectionFailed, *this);
    if (timedOut)
        throw ESockError("Connection Timed out");
    if (cancel)
        throw ESockError("Connection Canceled");
    throw ESockError("Connection Failed");
}

// A failed attempt leaves nothing behind: a connection made meanwhile is closed (cancel came
// first), and a socket still connecting is replaced by a fresh one, so that no late report of
// the attempt reaches the object and the next Connect starts clean.
void TSocketClient::AbandonAttempt()
{
    if (phase == TConnectionPhase::Connected) {
        CloseSocket();
    } else if (socketHandle != INVALID_SOCKET) {
        closesocket(socketHandle);
        socketHandle = INVALID_SOCKET;
        DiscardSocketReports();
        OpenSocket(false);
    }
    if (phase != TConnectionPhase::Dropped)
        EnterPhase(TConnectionPhase::Idle);
}

// The one place the phase changes. The reason is kept only for Dropped.
void TSocketClient::EnterPhase(TConnectionPhase next, const std::string& reason)
{
    phase = next;
    droppedByTls = false;
    if (next == TConnectionPhase::Dropped)
        dropReason = reason;
    else
        dropReason.clear();
}

// Ends the wait in progress; the first event to decide it wins.
void TSocketClient::Settle(WaitOutcome::End end, int error)
{
    if (wait.end != WaitOutcome::Pending)
        return;
    wait.end = end;
    wait.error = error;
}

void TSocketClient::Disconnect()
{
    Status(8, "Disconnecting");
    CloseSocket();
}

void TSocketClient::Cancel()
{
    Status(8, "Canceling");
    cancel = true;
}

void TSocketClient::CloseSocket()
{
    Status(4, "Request Close Socket");
    if (phase == TConnectionPhase::Connected)
        EnterPhase(TConnectionPhase::Idle);
    else if (phase == TConnectionPhase::Connecting)
        Settle(WaitOutcome::Failed, WSAECONNABORTED);
    if (socketHandle == INVALID_SOCKET)
        return;
    SOCKET closing = socketHandle;
    socketHandle = INVALID_SOCKET;
    int closed = closesocket(closing);
    DiscardSocketReports();
    if (closed == SOCKET_ERROR) {
        ErrorCheck(WSAEWOULDBLOCK);
        return;
    }
    if (destroying)
        return;
    FireEvent(OnDisconnect, *this);
    OpenSocket(false);
}

// Reports of a closed socket still queued for the window would be taken for the next socket's:
// the socket library hands out the same handle value again. None can be queued after the close.
void TSocketClient::DiscardSocketReports()
{
    HWND target = window.Get();
    if (!target)
        return;
    MSG stale;
    while (PeekMessageA(&stale, target, kSocketEventMessage, kSocketEventMessage, PM_REMOVE)) {
    }
}

void TSocketClient::TimerOn()
{
    Status(8, "Timer On");
    timer->SetInterval(static_cast<UINT>(TimeOut > 0 ? TimeOut : 0));
    timer->SetEnabled(true);
}

void TSocketClient::TimerOff()
{
    Status(8, "Timer Off");
    timer->SetEnabled(false);
}

void TSocketClient::TimerTriggered()
{
    Status(8, "Timer Triggered");
    TimerOff();
    if (phase == TConnectionPhase::Resolving || phase == TConnectionPhase::Connecting)
        Settle(WaitOutcome::TimedOut);
    Abort();
}

void TSocketClient::ErrorCheck(int expectedCode)
{
    Status(16, "Checking Error In Error Manager");
    lastError = WSAGetLastError();
    if (lastError != expectedCode)
        throw ESockError(SocketErrorText(lastError));
}

std::string TSocketClient::SocketErrorText(int code)
{
    Status(8, "Looking Up Error Message");
    return ::SocketErrorText(code);
}

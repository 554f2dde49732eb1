// The POP3 login dialogue and mailbox status query on top of the socket connection.
#include "Pop3Client.h"

#include "Exceptions.h"
#include "ReplyText.h"

namespace {
constexpr const char* kAuthenticationFailed = "Authentication failed";
}

TPop3Client::TPop3Client()
{
    Port = kPop3Port;
    CancelHook = [this] { CloseAndFlush(); };
}

TPop3Client::~TPop3Client()
{
    try {
        Abort();
    } catch (...) {
    }
}

void TPop3Client::CloseAndFlush()
{
    TSocketClient::Disconnect();
    ClearReceived();
}

void TPop3Client::Abort()
{
    if (Canceled() || !Connected())
        return;
    if (busy)
        Cancel();
    else
        CloseAndFlush();
}

void TPop3Client::ObtainCredentials()
{
    bool asked = false;
    while (UserID.empty() || Password.empty()) {
        if (!OnAuthenticationNeeded)
            throw Exception(kAuthenticationFailed);
        if (asked)
            return;
        bool handled = false;
        OnAuthenticationNeeded(handled);
        asked = true;
        if (!handled)
            throw Exception(kAuthenticationFailed);
    }
}

// At most two USER/PASS attempts; the second only when OnAuthenticationFailed asks for it.
void TPop3Client::LogIn()
{
    for (bool retried = false;; retried = true) {
        if (IsPositiveReply(Transaction("USER " + UserID)) &&
            IsPositiveReply(Transaction("PASS " + Password)))
            return;
        if (retried || !OnAuthenticationFailed)
            throw Exception(kAuthenticationFailed);
        bool handled = false;
        OnAuthenticationFailed(handled);
        if (!handled)
            throw Exception(kAuthenticationFailed);
    }
}

// TLS before anything else (Ssl), or STLS once the server has greeted (StartTls, RFC 2595).
void TPop3Client::Secure(bool greeted)
{
    if (Security == ConnectionSecurity::Ssl && !greeted) {
        StartTls();
    } else if (Security == ConnectionSecurity::StartTls && greeted) {
        std::string answer = Transaction("STLS");
        if (!IsPositiveReply(answer))
            throw ETlsError("server refused STLS: " + answer);
        StartTls();
    }
}

void TPop3Client::ConverseAfterConnect(bool& loggedIn)
{
    try {
        Secure(false);
        std::string greeting = ReadLn();
        if (!IsPositiveReply(greeting))
            throw Exception(greeting);
        Secure(true);
        LogIn();
        loggedIn = true;
        std::string status = Transaction("STAT");
        if (!IsPositiveReply(status))
            throw Exception(status);
        messageCount = StatMessageCount(status);
    } catch (const ETlsError&) {
        // Whatever QUIT meets, the failure to report is the connection's protection.
        try {
            Disconnect();
        } catch (...) {
        }
        throw;
    } catch (...) {
        // The server has greeted (or tried to): say goodbye. A failing QUIT replaces the
        // first failure.
        Disconnect();
        throw;
    }
}

void TPop3Client::Finish(bool wasBusy, bool loggedIn)
{
    if (!wasBusy)
        busy = false;
    if (loggedIn)
        FireEvent(OnConnect, *this);
}

void TPop3Client::Connect()
{
    ObtainCredentials();
    bool wasBusy = busy;
    busy = true;
    bool loggedIn = false;
    try {
        TSocketClient::Connect();
        ConverseAfterConnect(loggedIn);
    } catch (...) {
        Finish(wasBusy, loggedIn);
        throw;
    }
    Finish(wasBusy, loggedIn);
}

void TPop3Client::Disconnect()
{
    std::string reply;
    try {
        reply = Transaction("QUIT");
    } catch (...) {
        TSocketClient::Disconnect();
        throw;
    }
    TSocketClient::Disconnect();
    if (!IsPositiveReply(reply))
        throw Exception(reply);
}

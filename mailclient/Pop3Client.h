// TPop3Client: the POP3 (RFC 1939) client of the mail check: connect, USER/PASS login, STAT, QUIT.
#pragma once

#include "ConnectionSecurity.h"
#include "HandlerEvent.h"
#include "SocketClient.h"

#include <cstdint>
#include <string>

constexpr int32_t kPop3Port = 110;

class TPop3Client : public TSocketClient {
public:
    TPop3Client();
    ~TPop3Client() override;

    std::string UserID;
    std::string Password;
    // None: the dialogue in the clear. Ssl: TLS from the first byte (set Port, usually 995).
    // StartTls: STLS after the greeting; a server that refuses it fails the check with
    // ETlsError before USER is sent.
    ConnectionSecurity Security = ConnectionSecurity::None;

    // Asked when UserID or Password is empty; asked when the server rejects USER or PASS the
    // first time. Setting Handled asks the client to go on (once).
    THandlerEvent OnAuthenticationNeeded;
    THandlerEvent OnAuthenticationFailed;
    // The login was accepted (fires at the end of Connect, also when STAT then failed). The
    // socket-level event stays reachable as TSocketClient::OnConnect.
    TNotifyEvent OnConnect;

    // Connects, reads the greeting, logs in and reads the message count with STAT.
    void Connect() override;
    // Sends QUIT and closes; raises when QUIT is rejected, but closes in every case.
    void Disconnect() override;
    void Abort() override;

    int32_t MessageCount() const { return messageCount; }
    bool Busy() const { return busy; }

private:
    void ObtainCredentials();
    void ConverseAfterConnect(bool& loggedIn);
    void Secure(bool greeted);
    void LogIn();
    void Finish(bool wasBusy, bool loggedIn);
    void CloseAndFlush();

    int32_t messageCount = 0;
    bool busy = false;
};

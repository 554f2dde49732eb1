// TlsChannel: the client side of a TLS connection through the platform's own SChannel, as a
// state machine without input or output of its own: the socket client feeds it the peer's
// bytes and sends what it returns. When the handshake is done the channel waits for the verdict
// on the server's certificate (CertificateCheck) before it decrypts anything.
#pragma once

#include "ByteQueue.h"

#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <windows.h>
#include <security.h>
#include <wincrypt.h>

#include <cstdint>
#include <string>

class TlsChannel {
public:
    enum class State { Handshaking, Verifying, Open, Closed, Failed };

    // Raises ETlsError when the system has no TLS credentials to offer.
    explicit TlsChannel(const std::string& serverName);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    // The first handshake message, for the peer. Raises ETlsError when none can be made.
    std::string Start();

    // Takes bytes from the peer. Decrypted data is appended to `plain`; handshake messages
    // for the peer to `toPeer`. A failure or the peer's close changes the state.
    void Receive(const char* bytes, size_t length, ByteQueue& plain, std::string& toPeer);

    // Verifying: the certificate the server presented (free it with
    // CertFreeCertificateContext), or null when it presented none.
    PCCERT_CONTEXT ServerCertificate();
    // The verdict on the certificate: 0 opens the channel and decrypts what waited; any other
    // status fails it.
    void Verified(uint32_t problem, ByteQueue& plain, std::string& toPeer);

    // The data as records for the peer. Raises ETlsError when the channel is not open.
    std::string Encrypt(const char* bytes, size_t length);

    State GetState() const { return state; }
    // What failed, in words, once the state is Failed.
    const std::string& FailureText() const { return failureText; }
    // The negotiated protocol, such as "TLS 1.2", once open.
    std::string ProtocolName() const;

private:
    void Handshake(std::string& toPeer, bool callEvenWithoutRecord);
    void Decrypt(ByteQueue& plain, std::string& toPeer);
    void Process(ByteQueue& plain, std::string& toPeer);
    void Opened();
    void Fail(uint32_t status);
    void Fail(const std::string& words);

    std::string serverName;
    CredHandle credentials{};
    CtxtHandle context{};
    bool haveCredentials = false;
    bool haveContext = false;
    bool verified = false;
    ULONG headerSize = 0;
    ULONG trailerSize = 0;
    ULONG maximumMessage = 0;
    ByteQueue input;
    State state = State::Handshaking;
    std::string failureText;
};

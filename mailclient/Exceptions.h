// Failure types of the mail client: a base carrying a message text, socket failures and aborted
// waits.
#pragma once

#include <exception>
#include <string>
#include <utility>

// The base failure: a message text, and the class name for reports such as pop3stat's.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : text(std::move(message)) {}

    const std::string& Message() const { return text; }
    const char* what() const noexcept override { return text.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }

private:
    std::string text;
};

// Look-up, connection and socket call failures.
class ESockError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "ESockError"; }
};

// A wait that was ended by Cancel.
class EAbortError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const override { return "EAbortError"; }
};

// The connection's protection failed: the TLS handshake, the server's certificate, or the
// server's refusal of STLS. Never answered by going on in the clear.
class ETlsError : public ESockError {
public:
    using ESockError::ESockError;
    const char* ClassName() const override { return "ETlsError"; }
};

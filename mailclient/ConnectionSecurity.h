// How a mail connection is protected: not at all, TLS from the first byte, or TLS after the
// POP3 STLS command (RFC 2595); the names the settings and pop3stat use, the standard ports,
// and the words for the failures of a TLS connection.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class ConnectionSecurity { None, Ssl, StartTls };

constexpr const char kSecurityNone[] = "none";
constexpr const char kSecuritySsl[] = "ssl";
constexpr const char kSecurityStartTls[] = "starttls";

constexpr int32_t kPop3sPort = 995;

// "none", "ssl" or "starttls" exactly; anything else has no security.
std::optional<ConnectionSecurity> SecurityFromName(const std::string& name);
const char* SecurityName(ConnectionSecurity security);

// 995 for TLS from the first byte, 110 otherwise.
int32_t DefaultPort(ConnectionSecurity security);

// What failed, in words, for a status of the TLS layer or of the certificate check (the
// platform's 32-bit status codes); the code in hexadecimal follows in brackets.
std::string TlsFailureText(uint32_t status);

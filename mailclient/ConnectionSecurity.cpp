// Names, ports and failure texts of the connection's protection.
#include "ConnectionSecurity.h"

#include <cstdio>

namespace {

struct FailureWords {
    uint32_t status;
    const char* words;
};

// The statuses a server's certificate or handshake commonly ends with.
constexpr FailureWords kFailureWords[] = {
    {0x800B0109, "certificate not trusted: its chain ends in an unknown root"},
    {0x800B010F, "certificate does not name the server"},
    {0x800B0101, "certificate expired or not yet valid"},
    {0x800B010A, "certificate chain incomplete"},
    {0x800B0110, "certificate not meant for servers"},
    {0x800B0111, "certificate explicitly distrusted"},
    {0x80092010, "certificate revoked"},
    {0x80096004, "certificate signature invalid"},
    {0x800B0112, "certificate chain ends in a root that is not trusted"},
    {0x80090327, "certificate refused"},
    {0x80090325, "certificate not trusted"},
    {0x80090326, "server sent a malformed handshake message"},
    {0x80090331, "no protocol version or cipher in common with the server"},
    {0x80090308, "server sent an invalid handshake token"},
    {0x80090322, "server name does not match"},
    {0x80090328, "certificate expired"},
    {0x80090330, "record could not be decrypted"},
    {0x80090304, "TLS layer failed"},
    {0x80090305, "no TLS support available on this system"},
    {0x00090320, "server asks for a client certificate"},
};

}  // namespace

std::optional<ConnectionSecurity> SecurityFromName(const std::string& name)
{
    if (name == kSecurityNone)
        return ConnectionSecurity::None;
    if (name == kSecuritySsl)
        return ConnectionSecurity::Ssl;
    if (name == kSecurityStartTls)
        return ConnectionSecurity::StartTls;
    return std::nullopt;
}

const char* SecurityName(ConnectionSecurity security)
{
    switch (security) {
        case ConnectionSecurity::Ssl:
            return kSecuritySsl;
        case ConnectionSecurity::StartTls:
            return kSecurityStartTls;
        case ConnectionSecurity::None:
            break;
    }
    return kSecurityNone;
}

int32_t DefaultPort(ConnectionSecurity security)
{
    return security == ConnectionSecurity::Ssl ? kPop3sPort : 110;
}

std::string TlsFailureText(uint32_t status)
{
    const char* words = "TLS failure";
    for (const FailureWords& entry : kFailureWords) {
        if (entry.status == status)
            words = entry.words;
    }
    char code[16];
    std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(status));
    return std::string(words) + " (0x" + code + ")";
}

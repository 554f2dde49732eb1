// TLS record framing in received bytes, and the names, ports and failure words of the
// connection's protection.
#include "ConnectionSecurity.h"
#include "TlsRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Record(char type, size_t body, char major = 3)
{
    std::string bytes = {type, major, 3, static_cast<char>(body >> 8), static_cast<char>(body)};
    return bytes + std::string(body, 'x');
}

TEST(TlsRecordTest, ScansTheFrontRecord)
{
    const std::string handshake = Record(22, 40);
    struct Case {
        const char* name;
        std::string bytes;
        TlsRecordScan scan;
        size_t length;
    } cases[] = {
        {"nothing yet", "", TlsRecordScan::Incomplete, 0},
        {"header cut", handshake.substr(0, 4), TlsRecordScan::Incomplete, 0},
        {"body cut", handshake.substr(0, 44), TlsRecordScan::Incomplete, 0},
        {"whole", handshake, TlsRecordScan::Complete, 45},
        {"whole and more", handshake + Record(23, 3), TlsRecordScan::Complete, 45},
        {"largest body", Record(23, kMaxTlsRecordBody), TlsRecordScan::Complete, kMaxTlsRecordSize},
        {"body too long", Record(23, kMaxTlsRecordBody + 1).substr(0, 5), TlsRecordScan::Malformed,
         0},
        {"empty body", Record(21, 0), TlsRecordScan::Malformed, 0},
        {"cleartext greeting", "+OK dovecot ready\r\n", TlsRecordScan::Malformed, 0},
        {"first byte alone tells", "+", TlsRecordScan::Malformed, 0},
        {"unknown major version", Record(22, 4, 2), TlsRecordScan::Malformed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t length = 0;
        EXPECT_EQ(ScanTlsRecord(c.bytes.data(), c.bytes.size(), length), c.scan);
        EXPECT_EQ(length, c.length);
    }
    std::string three = Record(22, 10) + Record(20, 1) + Record(22, 100);
    EXPECT_EQ(WholeTlsRecordsLength(three.data(), three.size()), three.size());
    EXPECT_EQ(WholeTlsRecordsLength(three.data(), three.size() - 1), 21u);
}

TEST(TlsRecordTest, SecurityNamesPortsAndFailureWords)
{
    for (ConnectionSecurity security :
         {ConnectionSecurity::None, ConnectionSecurity::Ssl, ConnectionSecurity::StartTls})
        EXPECT_EQ(SecurityFromName(SecurityName(security)), security);
    for (const char* refused : {"", "SSL", "tls", "starttls ", "yes"})
        EXPECT_FALSE(SecurityFromName(refused)) << refused;
    EXPECT_EQ(DefaultPort(ConnectionSecurity::Ssl), 995);
    EXPECT_EQ(DefaultPort(ConnectionSecurity::StartTls), 110);
    EXPECT_EQ(DefaultPort(ConnectionSecurity::None), 110);
    EXPECT_EQ(TlsFailureText(0x800B010F), "certificate does not name the server (0x800B010F)");
    EXPECT_EQ(TlsFailureText(0x12345678), "TLS failure (0x12345678)");
}

}  // namespace

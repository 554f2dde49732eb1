// Framing of TLS records in received bytes.
#include "TlsRecord.h"

namespace {

// Content types: change_cipher_spec, alert, handshake, application_data.
constexpr uint8_t kFirstContentType = 20;
constexpr uint8_t kLastContentType = 23;
// Every TLS version, 1.0 to 1.3 (whose records say 1.2), carries 3 as its major version.
constexpr uint8_t kMajorVersion = 3;

uint8_t ByteAt(const char* data, size_t index)
{
    return static_cast<uint8_t>(data[index]);
}

}  // namespace

TlsRecordScan ScanTlsRecord(const char* data, size_t size, size_t& length)
{
    if (size >= 1 && (ByteAt(data, 0) < kFirstContentType || ByteAt(data, 0) > kLastContentType))
        return TlsRecordScan::Malformed;
    if (size >= 2 && ByteAt(data, 1) != kMajorVersion)
        return TlsRecordScan::Malformed;
    if (size < kTlsHeaderSize)
        return TlsRecordScan::Incomplete;
    size_t body = static_cast<size_t>(ByteAt(data, 3)) << 8 | ByteAt(data, 4);
    if (body == 0 || body > kMaxTlsRecordBody)
        return TlsRecordScan::Malformed;
    if (size < kTlsHeaderSize + body)
        return TlsRecordScan::Incomplete;
    length = kTlsHeaderSize + body;
    return TlsRecordScan::Complete;
}

size_t WholeTlsRecordsLength(const char* data, size_t size)
{
    size_t total = 0;
    size_t length = 0;
    while (ScanTlsRecord(data + total, size - total, length) == TlsRecordScan::Complete)
        total += length;
    return total;
}

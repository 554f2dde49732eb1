// Framing of TLS records (RFC 8446 section 5.1) in received bytes, so that the encrypted channel
// hands its decryptor whole records and refuses a peer that does not speak TLS at once instead
// of buffering its bytes.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTlsHeaderSize = 5;
// The largest record body a peer may send: 2^14 bytes of data plus the largest expansion
// TLS 1.2 allows for compression and protection.
constexpr size_t kMaxTlsRecordBody = 16384 + 2048;
constexpr size_t kMaxTlsRecordSize = kTlsHeaderSize + kMaxTlsRecordBody;

enum class TlsRecordScan {
    Incomplete,  // a plausible record whose bytes have not all arrived yet
    Complete,    // a whole record of `length` bytes (header included) starts the data
    Malformed,   // the bytes cannot start a TLS record: unknown type, version or length
};

// Looks at the record that starts the data. `length` is set for Complete only.
TlsRecordScan ScanTlsRecord(const char* data, size_t size, size_t& length);

// The number of leading bytes that form whole records (0 when the first is not complete or
// is malformed).
size_t WholeTlsRecordsLength(const char* data, size_t size);

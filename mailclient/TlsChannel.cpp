// TlsChannel: SChannel credentials, the handshake token loop, record encryption and decryption.
#include "TlsChannel.h"

#include "ConnectionSecurity.h"
#include "Exceptions.h"
#include "TlsRecord.h"

#include <schannel.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr ULONG kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                  ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                  ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                  ISC_REQ_MANUAL_CRED_VALIDATION;
// Handshake bytes a server may send before the handshake is done: far more than any real
// certificate chain, little enough that a flood ends the connection.
constexpr size_t kMaxHandshakeInput = 256 * 1024;

// The security functions, from secur32.dll loaded at the first TLS connection: loading it
// starts the system's other security packages (and with them the socket library), which a
// program that never uses TLS should not pay for. Kept loaded for the life of the process.
PSecurityFunctionTableA Sspi()
{
    static PSecurityFunctionTableA table = [] {
        HMODULE library = LoadLibraryA("secur32.dll");
        auto init = library ? reinterpret_cast<INIT_SECURITY_INTERFACE_A>(reinterpret_cast<void*>(
                                  GetProcAddress(library, "InitSecurityInterfaceA")))
                            : nullptr;
        return init ? init() : nullptr;
    }();
    return table;
}

// Hands a token SChannel allocated over to a string, and frees it.
void TakeToken(SecBuffer& token, std::string& into)
{
    if (token.pvBuffer && token.cbBuffer > 0)
        into.append(static_cast<const char*>(token.pvBuffer), token.cbBuffer);
    if (token.pvBuffer)
        Sspi()->FreeContextBuffer(token.pvBuffer);
    token.pvBuffer = nullptr;
}

// Puts bytes back in front of the ones still waiting.
void PutBack(ByteQueue& queue, const char* bytes, size_t length)
{
    std::string rest(queue.Data(), queue.Size());
    queue.Clear();
    queue.Append(bytes, length);
    queue.Append(rest.data(), rest.size());
}

}  // namespace

TlsChannel::TlsChannel(const std::string& name) : serverName(name)
{
    if (!Sspi())
        throw ETlsError(TlsFailureText(static_cast<uint32_t>(SEC_E_SECPKG_NOT_FOUND)));
    SCHANNEL_CRED wanted{};
    wanted.dwVersion = SCHANNEL_CRED_VERSION;
    wanted.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;
    // The certificate is checked below, by the chain engine, whatever SChannel would do.
    wanted.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry;
    SECURITY_STATUS status = Sspi()->AcquireCredentialsHandleA(
        nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &wanted, nullptr,
        nullptr, &credentials, &expiry);
    if (status != SEC_E_OK)
        throw ETlsError(TlsFailureText(static_cast<uint32_t>(status)));
    haveCredentials = true;
}

TlsChannel::~TlsChannel()
{
    if (haveContext)
        Sspi()->DeleteSecurityContext(&context);
    if (haveCredentials)
        Sspi()->FreeCredentialsHandle(&credentials);
}

std::string TlsChannel::Start()
{
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
    ULONG granted = 0;
    SECURITY_STATUS status = Sspi()->InitializeSecurityContextA(
        &credentials, nullptr, const_cast<char*>(serverName.c_str()), kContextRequest, 0, 0,
        nullptr, 0, &context, &outDesc, &granted, nullptr);
    std::string hello;
    TakeToken(out, hello);
    if (status != SEC_I_CONTINUE_NEEDED)
        throw ETlsError(TlsFailureText(static_cast<uint32_t>(status)));
    haveContext = true;
    return hello;
}

void TlsChannel::Receive(const char* bytes, size_t length, ByteQueue& plain, std::string& toPeer)
{
    if (state == State::Failed || state == State::Closed)
        return;
    if (input.Size() > kMaxHandshakeInput) {
        Fail("server sent too much before the connection was secured");
        return;
    }
    input.Append(bytes, length);
    Process(plain, toPeer);
}

void TlsChannel::Process(ByteQueue& plain, std::string& toPeer)
{
    while (state == State::Handshaking || state == State::Open) {
        size_t before = input.Size();
        State was = state;
        if (state == State::Handshaking)
            Handshake(toPeer, false);
        else
            Decrypt(plain, toPeer);
        if (state == was && input.Size() == before)
            break;
    }
}

// One round of the handshake with the whole records received so far. SChannel keeps what it
// has read of a message; a record's bytes it did not use come back as "extra".
void TlsChannel::Handshake(std::string& toPeer, bool callEvenWithoutRecord)
{
    size_t whole = WholeTlsRecordsLength(input.Data(), input.Size());
    if (whole == 0 && !callEvenWithoutRecord) {
        size_t length = 0;
        if (!input.Empty() &&
            ScanTlsRecord(input.Data(), input.Size(), length) == TlsRecordScan::Malformed)
            Fail("server does not speak TLS");
        else if (input.Size() > kMaxHandshakeInput)
            Fail("handshake too long");
        return;
    }
    std::vector<char> records(input.Data(), input.Data() + whole);
    SecBuffer in[2] = {{static_cast<ULONG>(whole), SECBUFFER_TOKEN, records.data()},
                       {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
    SecBuffer out{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc outDesc{SECBUFFER_VERSION, 1, &out};
    ULONG granted = 0;
    SECURITY_STATUS status = Sspi()->InitializeSecurityContextA(
        &credentials, &context, const_cast<char*>(serverName.c_str()), kContextRequest, 0, 0,
        &inDesc, 0, nullptr, &outDesc, &granted, nullptr);
    TakeToken(out, toPeer);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
        // The message goes on in a record still on its way; bound what may pile up.
        if (input.Size() > kMaxHandshakeInput)
            Fail("handshake too long");
        return;
    }
    size_t extra =
        in[1].BufferType == SECBUFFER_EXTRA ? std::min<size_t>(in[1].cbBuffer, whole) : 0;
    input.DropFront(whole - extra);
    if (status == SEC_E_OK)
        Opened();
    else if (status != SEC_I_CONTINUE_NEEDED)
        Fail(static_cast<uint32_t>(status));
}

void TlsChannel::Opened()
{
    SecPkgContext_StreamSizes sizes{};
    SECURITY_STATUS status =
        Sspi()->QueryContextAttributesA(&context, SECPKG_ATTR_STREAM_SIZES, &sizes);
    if (status != SEC_E_OK) {
        Fail(static_cast<uint32_t>(status));
        return;
    }
    headerSize = sizes.cbHeader;
    trailerSize = sizes.cbTrailer;
    maximumMessage = sizes.cbMaximumMessage;
    // A renegotiation keeps the verdict on the certificate of the first handshake.
    state = verified ? State::Open : State::Verifying;
}

PCCERT_CONTEXT TlsChannel::ServerCertificate()
{
    PCCERT_CONTEXT certificate = nullptr;
    if (state != State::Verifying ||
        Sspi()->QueryContextAttributesA(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
            SEC_E_OK)
        return nullptr;
    return certificate;
}

void TlsChannel::Verified(uint32_t problem, ByteQueue& plain, std::string& toPeer)
{
    if (state != State::Verifying)
        return;
    if (problem != 0) {
        Fail(problem);
        return;
    }
    verified = true;
    state = State::Open;
    Process(plain, toPeer);
}

// Decrypts the record at the front. After the handshake a server may send handshake messages
// again (session tickets of TLS 1.3, a renegotiation): SChannel then says "renegotiate" and
// the handshake loop takes the bytes that follow.
void TlsChannel::Decrypt(ByteQueue& plain, std::string& toPeer)
{
    size_t length = 0;
    TlsRecordScan scan = ScanTlsRecord(input.Data(), input.Size(), length);
    if (scan == TlsRecordScan::Incomplete)
        return;
    if (scan == TlsRecordScan::Malformed) {
        Fail("server sent bytes that are no TLS record");
        return;
    }
    std::vector<char> record(input.Data(), input.Data() + length);
    input.DropFront(length);
    SecBuffer parts[4] = {{static_cast<ULONG>(length), SECBUFFER_DATA, record.data()},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr},
                          {0, SECBUFFER_EMPTY, nullptr}};
    SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
    SECURITY_STATUS status = Sspi()->DecryptMessage(&context, &desc, 0, nullptr);
    for (SecBuffer& part : parts) {
        if (part.BufferType == SECBUFFER_DATA && part.pvBuffer && part.cbBuffer > 0)
            plain.Append(static_cast<const char*>(part.pvBuffer), part.cbBuffer);
        else if (part.BufferType == SECBUFFER_EXTRA && part.pvBuffer && part.cbBuffer > 0)
            PutBack(input, static_cast<const char*>(part.pvBuffer), part.cbBuffer);
    }
    if (status == SEC_E_OK)
        return;
    if (status == SEC_I_RENEGOTIATE) {
        state = State::Handshaking;
        Handshake(toPeer, true);
    } else if (status == SEC_I_CONTEXT_EXPIRED) {
        state = State::Closed;  // the peer's close_notify
    } else {
        Fail(static_cast<uint32_t>(status));
    }
}

std::string TlsChannel::Encrypt(const char* bytes, size_t length)
{
    if (state != State::Open)
        throw ETlsError(failureText.empty() ? "TLS channel not open" : failureText);
    std::string records;
    while (length > 0) {
        size_t chunk = std::min<size_t>(length, maximumMessage);
        std::vector<char> area(headerSize + chunk + trailerSize);
        std::memcpy(area.data() + headerSize, bytes, chunk);
        SecBuffer parts[4] = {
            {headerSize, SECBUFFER_STREAM_HEADER, area.data()},
            {static_cast<ULONG>(chunk), SECBUFFER_DATA, area.data() + headerSize},
            {trailerSize, SECBUFFER_STREAM_TRAILER, area.data() + headerSize + chunk},
            {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, parts};
        SECURITY_STATUS status = Sspi()->EncryptMessage(&context, 0, &desc, 0);
        if (status != SEC_E_OK)
            throw ETlsError(TlsFailureText(static_cast<uint32_t>(status)));
        records.append(area.data(), parts[0].cbBuffer + parts[1].cbBuffer + parts[2].cbBuffer);
        bytes += chunk;
        length -= chunk;
    }
    return records;
}

void TlsChannel::Fail(uint32_t status)
{
    Fail(TlsFailureText(status));
}

void TlsChannel::Fail(const std::string& words)
{
    state = State::Failed;
    failureText = words;
    input.Clear();
}

std::string TlsChannel::ProtocolName() const
{
    SecPkgContext_ConnectionInfo info{};
    if (state != State::Open ||
        Sspi()->QueryContextAttributesA(const_cast<CtxtHandle*>(&context),
                                        SECPKG_ATTR_CONNECTION_INFO, &info) != SEC_E_OK)
        return "TLS";
    switch (info.dwProtocol) {
        case SP_PROT_TLS1_2_CLIENT:
            return "TLS 1.2";
        case SP_PROT_TLS1_3_CLIENT:
            return "TLS 1.3";
        case SP_PROT_TLS1_1_CLIENT:
            return "TLS 1.1";
        case SP_PROT_TLS1_0_CLIENT:
            return "TLS 1.0";
        default:
            return "TLS";
    }
}

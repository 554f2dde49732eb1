// CertificateCheck: chain building and the SSL policy on a worker thread.
#include "CertificateCheck.h"

#include <algorithm>
#include <cwchar>

namespace {

std::wstring Widen(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 1)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

}  // namespace

// The chain's own verdict, for what the SSL policy leaves out: Wine's policy passes a chain
// that stops short of any root (its issuer unknown) as good. Revocation is not asked for.
uint32_t ChainProblem(const CERT_CHAIN_CONTEXT& chain)
{
    struct Mapping {
        DWORD bits;
        HRESULT status;
    };
    static constexpr Mapping kMappings[] = {
        {CERT_TRUST_IS_NOT_TIME_VALID, CERT_E_EXPIRED},
        {CERT_TRUST_IS_REVOKED, CRYPT_E_REVOKED},
        {CERT_TRUST_IS_NOT_SIGNATURE_VALID, TRUST_E_CERT_SIGNATURE},
        {CERT_TRUST_IS_NOT_VALID_FOR_USAGE, CERT_E_WRONG_USAGE},
        {CERT_TRUST_IS_EXPLICIT_DISTRUST, TRUST_E_EXPLICIT_DISTRUST},
        {CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
        {CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
    };
    DWORD errors = chain.TrustStatus.dwErrorStatus &
                   ~(CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION);
    if (errors == 0)
        return 0;
    for (const Mapping& mapping : kMappings) {
        if (errors & mapping.bits)
            return static_cast<uint32_t>(mapping.status);
    }
    return static_cast<uint32_t>(CERT_E_UNTRUSTEDROOT);
}

uint32_t VerifyServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName)
{
    if (!certificate)
        return static_cast<uint32_t>(SEC_E_CERT_UNKNOWN);
    char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuth};
    CERT_CHAIN_PARA chainPara{};
    chainPara.cbSize = sizeof chainPara;
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    // The certificates the server sent along come with the context's store.
    if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &chainPara,
                                 0, nullptr, &chain))
        return static_cast<uint32_t>(HRESULT_FROM_WIN32(GetLastError()));
    std::wstring name = Widen(serverName);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbStruct = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = &name[0];
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS verdict{};
    verdict.cbSize = sizeof verdict;
    uint32_t problem = 0;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &verdict))
        problem = static_cast<uint32_t>(HRESULT_FROM_WIN32(GetLastError()));
    else
        problem = verdict.dwError;
    if (problem == 0)
        problem = ChainProblem(*chain);
    CertFreeCertificateChain(chain);
    return problem;
}

// Shared by the caller and the thread; the last of the two to let go frees it.
struct CertificateCheck::Job {
    PCCERT_CONTEXT certificate;
    std::string serverName;
    volatile LONG done = 0;
    uint32_t result = 0;
    volatile LONG holders = 2;

    void Release()
    {
        if (InterlockedDecrement(&holders) == 0) {
            CertFreeCertificateContext(certificate);
            delete this;
        }
    }

    static DWORD WINAPI Run(void* parameter)
    {
        Job* self = static_cast<Job*>(parameter);
        self->result = VerifyServerCertificate(self->certificate, self->serverName);
        InterlockedExchange(&self->done, 1);
        self->Release();
        return 0;
    }
};

CertificateCheck::CertificateCheck(PCCERT_CONTEXT certificate, const std::string& serverName)
    : job(new Job{certificate ? CertDuplicateCertificateContext(certificate) : nullptr, serverName})
{
    HANDLE thread = CreateThread(nullptr, 0, &Job::Run, job, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
        return;
    }
    // No thread to spare: check here.
    job->result = VerifyServerCertificate(job->certificate, job->serverName);
    job->done = 1;
    job->Release();
}

CertificateCheck::~CertificateCheck()
{
    job->Release();
}

bool CertificateCheck::Done() const
{
    return InterlockedCompareExchange(&job->done, 0, 0) != 0;
}

uint32_t CertificateCheck::Result() const
{
    return job->result;
}

// CertificateCheck: the verdict on a TLS server's certificate. The chain engine builds its chain
// up to a root of the Windows certificate store, and the SSL policy checks trust, validity
// dates, usage and that it names the server as the user typed it. Building a chain may take
// seconds (loading the store's roots, fetching a missing intermediate), so it runs on a thread
// of its own while the caller's wait keeps pumping window messages.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <cstdint>
#include <string>

// The status of the check on the calling thread: 0 when the certificate is good for the server.
uint32_t VerifyServerCertificate(PCCERT_CONTEXT certificate, const std::string& serverName);

class CertificateCheck {
public:
    // Starts the check of the certificate (the check takes its own reference).
    CertificateCheck(PCCERT_CONTEXT certificate, const std::string& serverName);
    // A check still running is left to finish on its own; it touches nothing of the caller's.
    ~CertificateCheck();
    CertificateCheck(const CertificateCheck&) = delete;
    CertificateCheck& operator=(const CertificateCheck&) = delete;

    bool Done() const;
    // The status once Done.
    uint32_t Result() const;

private:
    struct Job;
    Job* job;
};

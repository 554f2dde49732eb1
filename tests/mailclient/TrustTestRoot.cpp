// Makes a test CA trusted inside the current Wine prefix only: adds a DER certificate to the
// current user's Root store, after removing earlier test CAs of the same subject (each test
// run makes a new one).
// usage: TrustTestRoot CA.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Removes certificates whose subject equals the new one's. Deleting through the system store
// does not work under Wine 8 (nothing is removed, and later adds in that open are dropped), so
// the registry store behind it is used.
void RemoveEarlierCopies(PCCERT_CONTEXT fresh)
{
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0,
                                     CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    if (!store)
        return;
    // Each search starts afresh: Wine's enumeration does not go on from a deleted entry. The
    // bound ends the loop should a delete fail.
    for (int removed = 0; removed < 1000; ++removed) {
        PCCERT_CONTEXT found =
            CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_NAME,
                                       &fresh->pCertInfo->Subject, nullptr);
        if (!found || !CertDeleteCertificateFromStore(found))
            break;
    }
    CertCloseStore(store, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: TrustTestRoot CA.der\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<BYTE> der((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    PCCERT_CONTEXT certificate =
        CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size()));
    if (!certificate) {
        std::fprintf(stderr, "TrustTestRoot: %s is no DER certificate\n", argv[1]);
        return 1;
    }
    RemoveEarlierCopies(certificate);
    HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
    bool added = root && CertAddCertificateContextToStore(root, certificate,
                                                          CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    DWORD error = GetLastError();
    if (root)
        CertCloseStore(root, 0);
    CertFreeCertificateContext(certificate);
    if (!added) {
        std::fprintf(stderr, "TrustTestRoot: adding failed (0x%08lX)\n", error);
        return 1;
    }
    return 0;
}

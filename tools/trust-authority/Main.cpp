// trust_authority CERTIFICATE.der: adds the certificate to the local machine's "Root" store.
// Run once in the test Wine prefix; never on a real system.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

namespace
{
std::vector<BYTE> ReadFileBytes(const wchar_t* path)
{
    std::vector<BYTE> bytes;
    FILE* file = _wfopen(path, L"rb");
    if (!file)
        return bytes;
    BYTE buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    fclose(file);
    return bytes;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
    {
        fwprintf(stderr, L"usage: trust_authority CERTIFICATE.der\n");
        return 2;
    }
    const std::vector<BYTE> certificate = ReadFileBytes(argv[1]);
    if (certificate.empty())
    {
        fwprintf(stderr, L"trust_authority: cannot read %ls\n", argv[1]);
        return 1;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store)
    {
        fwprintf(stderr, L"trust_authority: cannot open the Root store (%lu)\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, certificate.data(),
                                                        static_cast<DWORD>(certificate.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    const DWORD error = GetLastError();
    CertCloseStore(store, 0);
    if (!added)
    {
        fwprintf(stderr, L"trust_authority: cannot add the certificate (%lu)\n", error);
        return 1;
    }
    return 0;
}

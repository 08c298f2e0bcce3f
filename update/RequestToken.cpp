#include "update/RequestToken.h"

#include "framework/Owners.h"
#include "framework/com/ComError.h"

#include <comdef.h>
#include <wincrypt.h>

#include <algorithm>
#include <array>
#include <vector>

namespace
{
// The modulus of the service operator's 1024-bit RSA key, a setting of the build, kept in pieces
// that only the key assembly joins (most significant byte first, as in DER). A build without the
// key has none to encrypt with.
constexpr bool serviceKeyBuiltIn = QUILLORA_UPDATE_KEY_BUILT_IN != 0;
const std::array<BYTE, 32> modulusHigh = {QUILLORA_UPDATE_KEY_HIGH};
const std::array<BYTE, 32> modulusUpper = {QUILLORA_UPDATE_KEY_UPPER};
const std::array<BYTE, 32> modulusLower = {QUILLORA_UPDATE_KEY_LOWER};
const std::array<BYTE, 32> modulusLow = {QUILLORA_UPDATE_KEY_LOW};

// RSAPublicKey ::= SEQUENCE { modulus INTEGER, publicExponent INTEGER }, 140 bytes in DER: the
// modulus gets a leading zero so that it stays positive; the exponent is 65537.
std::vector<BYTE> AssembleRsaPublicKey()
{
    std::vector<BYTE> key = {0x30, 0x81, 0x89, 0x02, 0x81, 0x81, 0x00};
    for (const auto* piece : {&modulusHigh, &modulusUpper, &modulusLower, &modulusLow})
        key.insert(key.end(), piece->begin(), piece->end());
    key.insert(key.end(), {0x02, 0x03, 0x01, 0x00, 0x01});
    return key;
}

[[noreturn]] void ThrowLastError()
{
    throw _com_error(HRESULT_FROM_WIN32(GetLastError()));
}

Owners::CryptProviderHandle AcquireCryptoProvider()
{
    Owners::CryptProviderHandle provider;
    if (!CryptAcquireContextW(provider.put(), nullptr, L"Microsoft Enhanced RSA and AES Cryptographic Provider",
                              PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        ThrowLastError();
    return provider;
}

Owners::CryptKeyHandle ImportServicePublicKey(HCRYPTPROV provider)
{
    std::vector<BYTE> keyBits = AssembleRsaPublicKey();
    BYTE nullParameters[] = {0x05, 0x00};
    char rsaEncryption[] = "1.2.840.113549.1.1.1";
    CERT_PUBLIC_KEY_INFO info{};
    info.Algorithm.pszObjId = rsaEncryption;
    info.Algorithm.Parameters = {sizeof nullParameters, nullParameters};
    info.PublicKey = {static_cast<DWORD>(keyBits.size()), keyBits.data(), 0};
    Owners::CryptKeyHandle key;
    if (!CryptImportPublicKeyInfo(provider, X509_ASN_ENCODING, &info, key.put()))
        ThrowLastError();
    return key;
}
} // namespace

bool IsServiceKeyBuiltIn() { return serviceKeyBuiltIn; }

std::string EncryptToken(const std::string& token)
{
    if (!serviceKeyBuiltIn)
        ThrowComError(NTE_BAD_KEY, L"This build has no key of the update service.");
    constexpr size_t blockSize = 117;
    constexpr DWORD encryptedSize = 128;
    const Owners::CryptProviderHandle provider = AcquireCryptoProvider();
    const Owners::CryptKeyHandle key = ImportServicePublicKey(provider.get());
    std::string encrypted;
    size_t offset = 0;
    do
    {
        const size_t length = std::min(blockSize, token.size() - offset);
        std::array<BYTE, encryptedSize> buffer{};
        std::copy_n(token.data() + offset, length, buffer.data());
        DWORD dataLength = static_cast<DWORD>(length);
        if (!CryptEncrypt(key.get(), 0, TRUE, 0, buffer.data(), &dataLength, encryptedSize))
            ThrowLastError();
        encrypted.append(reinterpret_cast<const char*>(buffer.data()), buffer.size());
        offset += length;
    } while (offset < token.size());
    return encrypted;
}

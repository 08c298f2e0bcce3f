#include "update/RequestToken.h"

#include "framework/Owners.h"

#include <comdef.h>
#include <wincrypt.h>

#include <algorithm>
#include <array>
#include <vector>

namespace
{
// The modulus of the service's 1024-bit RSA key, kept in pieces that only the key assembly joins
// (most significant byte first, as in DER).
const std::array<BYTE, 32> modulusHigh = {
    0xae, 0x7b, 0x0d, 0x92, 0x99, 0x01, 0xf8, 0x0b, 0xf8, 0x01, 0xf3, 0x78,
    0xe1, 0x8e, 0x9c, 0x81, 0x00, 0xb9, 0x11, 0x24, 0xf5, 0xc6, 0xd8, 0x25,
    0xad, 0xe3, 0xb1, 0x7d, 0xaf, 0x31, 0xf5, 0xa3,
};
const std::array<BYTE, 32> modulusUpper = {
    0x99, 0x1c, 0x4d, 0x68, 0x73, 0x6c, 0x4e, 0x00, 0x89, 0xbb, 0x71, 0x84,
    0xb1, 0x56, 0x7d, 0x75, 0xa6, 0x6b, 0x5a, 0x39, 0x40, 0x46, 0xf7, 0xc8,
    0x67, 0xd1, 0x90, 0x56, 0x31, 0xb2, 0x75, 0x96,
};
const std::array<BYTE, 32> modulusLower = {
    0x5d, 0x7e, 0xd4, 0x96, 0x96, 0xd8, 0x35, 0xf0, 0x86, 0xc8, 0x97, 0xe8,
    0xc5, 0xad, 0xca, 0xc6, 0xbc, 0xe5, 0xac, 0x3d, 0xed, 0xfe, 0x97, 0xa2,
    0x85, 0x3a, 0x2c, 0x7d, 0xc7, 0x40, 0x60, 0x12,
};
const std::array<BYTE, 32> modulusLow = {
    0x90, 0xfe, 0x6d, 0x7c, 0xe9, 0xfc, 0x19, 0x5e, 0xac, 0x44, 0xdd, 0xe1,
    0x95, 0x88, 0xa7, 0xba, 0x5a, 0xc8, 0xff, 0x3f, 0x27, 0x82, 0x49, 0xcd,
    0x7b, 0x08, 0x54, 0xb9, 0x4b, 0x4c, 0x3a, 0x71,
};

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

std::string EncryptToken(const std::string& token)
{
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

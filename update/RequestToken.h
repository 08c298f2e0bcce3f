#pragma once
// The request token: what the service handed out with "getToken", sent back encrypted with the
// service's public RSA key so that only the service can read it.

#include <string>

// RSA PKCS#1 v1.5 in blocks of 117 bytes, each giving 128 bytes in CryptoAPI's order (least
// significant byte first); an empty token still gives one block. Failures raise COM errors.
// A build without the service operator's key (a setting of the build) has nothing to encrypt
// with: it raises NTE_BAD_KEY.
std::string EncryptToken(const std::string& token);

// Whether this build carries the service operator's key, without which the service answers no
// request.
bool IsServiceKeyBuiltIn();

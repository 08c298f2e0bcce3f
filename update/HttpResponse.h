#pragma once
// The answer of one HTTPS exchange with the update service. It owns the exchange's WinINet
// handles, so its body is read on demand, at most once, with progress.

#include "framework/Owners.h"

#include <comdef.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Told (bytes so far, Content-Length or 0) after every read; false stops reading.
using ProgressCallback = std::function<bool(uint64_t done, uint64_t total)>;

// The most an answer may hold, by what it can be: a version or a token is a few bytes, and a program
// is the largest answer of all (the size of either program many times over, and far from what
// the memory of a 32-bit process holds).
constexpr uint64_t ShortAnswerLimit = 4 * 1024;
// The product information: change lists and their pictures in base64.
constexpr uint64_t ProductInfoLimit = 16ull * 1024 * 1024;
constexpr uint64_t LargestProgramSize = 64ull * 1024 * 1024;
using HeaderList = std::vector<std::pair<std::wstring, std::wstring>>;

class IHttpResponse
{
public:
    virtual ~IHttpResponse() = default;
    // A status other than 200 raises E_FAIL with the status text.
    virtual void EnsureSuccess() = 0;
    virtual int32_t GetStatusCode() = 0;
    virtual std::wstring GetStatusText() = 0;
    // Reads the body (once), then a copy of its bytes.
    virtual std::string GetBody() = 0;
    virtual std::wstring GetBodyText() = 0;
    virtual _bstr_t GetBodyBstr() = 0;
    // Empty when the answer has no such header.
    virtual std::wstring GetHeader(const std::wstring& name) = 0;
    // Every line of the raw headers split at its first colon, the status line and the empty
    // lines at the end included.
    virtual HeaderList GetHeaders() = 0;
};

class HttpResponse : public IHttpResponse
{
public:
    // The body may hold at most bodyLimit bytes: a longer one raises ERROR_FILE_TOO_LARGE, before a
    // byte is read when its Content-Length says so, else as soon as it has grown past the limit.
    HttpResponse(Owners::InternetHandle session, Owners::InternetHandle connection, Owners::InternetHandle request,
                 ProgressCallback progress, uint64_t bodyLimit = LargestProgramSize);

    void EnsureSuccess() override;
    int32_t GetStatusCode() override { return statusCode_; }
    std::wstring GetStatusText() override;
    std::string GetBody() override;
    std::wstring GetBodyText() override;
    _bstr_t GetBodyBstr() override;
    std::wstring GetHeader(const std::wstring& name) override;
    HeaderList GetHeaders() override;

private:
    std::wstring QueryInfo(DWORD infoLevel, const wchar_t* headerName = nullptr);
    void ReadBody();

    // Destroyed in reverse order: request, connection, session.
    Owners::InternetHandle session_;
    Owners::InternetHandle connection_;
    Owners::InternetHandle request_;
    ProgressCallback progress_;
    uint64_t bodyLimit_;
    int32_t statusCode_ = 0;
    std::string body_;
    bool bodyComplete_ = false;
};

// HRESULT_FROM_WIN32 of a WinINet or CryptoAPI error, raised without a description.
[[noreturn]] void ThrowWin32Error(DWORD error);

// The error of an answer longer than it may be.
[[noreturn]] void ThrowAnswerTooLong(uint64_t limit);

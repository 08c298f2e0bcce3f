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
    HttpResponse(Owners::InternetHandle session, Owners::InternetHandle connection, Owners::InternetHandle request,
                 ProgressCallback progress);

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
    int32_t statusCode_ = 0;
    std::string body_;
    bool bodyComplete_ = false;
};

// HRESULT_FROM_WIN32 of a WinINet or CryptoAPI error, raised without a description.
[[noreturn]] void ThrowWin32Error(DWORD error);

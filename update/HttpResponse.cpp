#include "update/HttpResponse.h"

#include "framework/com/ComError.h"
#include "framework/text/Text.h"
#include "update/FormEncoding.h"

#include <cwchar>
#include <string>
#include <vector>

void ThrowWin32Error(DWORD error) { throw _com_error(HRESULT_FROM_WIN32(error)); }

void ThrowAnswerTooLong(uint64_t limit)
{
    ThrowComError(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE),
                  L"The answer of the update service is longer than the " + std::to_wstring(limit) +
                      L" bytes it may be.");
}

HttpResponse::HttpResponse(Owners::InternetHandle session, Owners::InternetHandle connection,
                           Owners::InternetHandle request, ProgressCallback progress, uint64_t bodyLimit)
    : session_(std::move(session)), connection_(std::move(connection)), request_(std::move(request)),
      progress_(std::move(progress)), bodyLimit_(bodyLimit)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(request_.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        ThrowWin32Error(GetLastError());
    statusCode_ = static_cast<int32_t>(status);
}

void HttpResponse::EnsureSuccess()
{
    if (statusCode_ != 200)
        ThrowComError(E_FAIL, GetStatusText());
}

std::wstring HttpResponse::GetStatusText() { return QueryInfo(HTTP_QUERY_STATUS_TEXT); }

std::string HttpResponse::GetBody()
{
    ReadBody();
    return body_;
}

std::wstring HttpResponse::GetBodyText() { return Utf8ToWide(GetBody()); }

_bstr_t HttpResponse::GetBodyBstr() { return Utf8ToBstr(GetBody()); }

std::wstring HttpResponse::GetHeader(const std::wstring& name) { return QueryInfo(HTTP_QUERY_CUSTOM, name.c_str()); }

HeaderList HttpResponse::GetHeaders()
{
    HeaderList headers;
    for (const std::wstring& line : Split(QueryInfo(HTTP_QUERY_RAW_HEADERS_CRLF), std::wstring(L"\r\n")))
    {
        const size_t colon = line.find(L':');
        std::wstring name = line.substr(0, colon);
        std::wstring value = colon == std::wstring::npos ? std::wstring() : line.substr(colon + 1);
        TrimWhiteSpace(name);
        TrimWhiteSpace(value);
        headers.emplace_back(std::move(name), std::move(value));
    }
    return headers;
}

std::wstring HttpResponse::QueryInfo(DWORD infoLevel, const wchar_t* headerName)
{
    // A custom header's name goes in through the buffer, so the buffer keeps it at its start.
    std::vector<wchar_t> buffer;
    if (headerName)
        buffer.assign(headerName, headerName + std::wcslen(headerName));
    buffer.push_back(L'\0');
    DWORD size = 0;
    if (HttpQueryInfoW(request_.get(), infoLevel, buffer.data(), &size, nullptr))
        _com_issue_error(E_UNEXPECTED);
    const DWORD error = GetLastError();
    if (error == ERROR_HTTP_HEADER_NOT_FOUND)
        return {};
    if (error != ERROR_INSUFFICIENT_BUFFER)
        ThrowWin32Error(error);
    buffer.resize(std::max<size_t>(buffer.size(), size / sizeof(wchar_t) + 1));
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!HttpQueryInfoW(request_.get(), infoLevel, buffer.data(), &size, nullptr))
        ThrowWin32Error(GetLastError());
    buffer.push_back(L'\0');
    return std::wstring(buffer.data());
}

void HttpResponse::ReadBody()
{
    if (bodyComplete_)
        return;
    body_.clear();
    EnsureSuccess();
    const std::wstring length = QueryInfo(HTTP_QUERY_CONTENT_LENGTH);
    const uint64_t total = length.empty() ? 0 : std::wcstoull(length.c_str(), nullptr, 10);
    // Nothing is taken into memory of an answer that says it is longer than it may be, and an
    // answer without a length is cut off where it passes the limit.
    if (total > bodyLimit_)
        ThrowAnswerTooLong(bodyLimit_);
    uint64_t done = 0;
    std::vector<char> buffer(8192);
    for (;;)
    {
        DWORD read = 0;
        if (InternetReadFile(request_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read))
        {
            if (read == 0)
                break;
            if (done + read > bodyLimit_)
            {
                body_.clear();
                ThrowAnswerTooLong(bodyLimit_);
            }
            body_.append(buffer.data(), read);
            done += read;
        }
        else
        {
            const DWORD error = GetLastError();
            if (error != ERROR_INSUFFICIENT_BUFFER)
                ThrowWin32Error(error);
            buffer.resize(buffer.size() * 2);
        }
        if (progress_ && !progress_(done, total))
            return;
    }
    // A connection that ends early looks like the end of the body: only the length tells.
    if (done < total)
        ThrowComError(HRESULT_FROM_WIN32(ERROR_INTERNET_CONNECTION_RESET),
                      L"The answer of the update service ended after " + std::to_wstring(done) + L" of " +
                          std::to_wstring(total) + L" bytes.");
    bodyComplete_ = true;
}

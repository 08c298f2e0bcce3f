#include "update/HttpsRequest.h"

#include "framework/com/ComError.h"
#include "framework/log/Log.h"
#include "framework/text/Text.h"
#include "update/ProductIdentity.h"
#include "update/RequestToken.h"
#include "update/VersionCheck.h"

#include <algorithm>
#include <array>

InternetErrorDialogFunction InternetErrorDialog = [](HWND owner, HINTERNET request, DWORD error, DWORD flags) {
    return InternetErrorDlg(owner, request, error, flags, nullptr);
};

bool MayShowErrorDialog(DWORD error)
{
    // What the user can mend in WinINet's dialog: credentials and the way through a proxy. Every
    // other error fails the request, above all those of the secure channel (certificates, and
    // posting or redirecting to plain HTTP), where the dialog would let the user accept a
    // connection that is not the service's.
    static constexpr std::array<DWORD, 6> mendable = {
        12014, // ERROR_INTERNET_INCORRECT_PASSWORD: server or proxy credentials
        12033, // ERROR_INTERNET_INVALID_PROXY_REQUEST
        12034, // ERROR_INTERNET_NEED_UI: a proxy asks for credentials
        12165, // ERROR_INTERNET_PROXY_SERVER_UNREACHABLE
        12166, // ERROR_INTERNET_BAD_AUTO_PROXY_SCRIPT
        12167, // ERROR_INTERNET_UNABLE_TO_DOWNLOAD_SCRIPT
    };
    return std::find(mendable.begin(), mendable.end(), error) != mendable.end();
}

DWORD SendOfferingTheDialog(HINTERNET request, const std::function<DWORD()>& send)
{
    const DWORD error = send();
    if (error == ERROR_SUCCESS)
        return error;
    if (!MayShowErrorDialog(error))
    {
        GetLog(true) << L"ERROR: " << L"Failed to send the request: " << error;
        return error;
    }
    GetLog(true) << L"ERROR: " << L"Failed to send the request. Asking user: " << error;
    const DWORD answer = InternetErrorDialog(GetDesktopWindow(), request, error, FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS);
    GetLog(true) << L"Dialog Result: " << answer;
    if (answer != ERROR_SUCCESS && answer != ERROR_INTERNET_FORCE_RETRY)
        return error;
    const DWORD retryError = send();
    if (retryError != ERROR_SUCCESS)
        GetLog(true) << L"ERROR: " << L"Failed to send the request on retry: " << retryError;
    return retryError;
}

std::string GetPlatformName()
{
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64))
        return "x32";
    return wow64 ? "x64" : "x32";
}

namespace
{
std::string PlatformText() { return std::string("x86") + "/" + GetPlatformName(); }

[[noreturn]] void ThrowConnectionError(const wchar_t* what, DWORD error)
{
    GetLog(true) << L"ERROR: " << what << error;
    ThrowWin32Error(error);
}

// The error of a send that failed for good, with WinINet's or the system's text when there is one.
[[noreturn]] void ThrowSendError(DWORD error)
{
    Owners::LocalMemory text;
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_HMODULE, GetModuleHandleW(L"wininet.dll"), error,
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), reinterpret_cast<wchar_t*>(&buffer), 0,
                                  nullptr);
    if (length == 0)
        length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), reinterpret_cast<wchar_t*>(&buffer), 0,
                                nullptr);
    text.reset(reinterpret_cast<HLOCAL>(buffer));
    if (length == 0 || !buffer)
        ThrowWin32Error(error);
    std::wstring message(buffer, length);
    TrimWhiteSpace(message);
    ThrowComError(HRESULT_FROM_WIN32(error), std::to_wstring(error) + L" - " + message);
}

void LogRequest(const std::wstring& name, const RequestParameters& parameters)
{
    GetLog(true) << L"HTTPS Request";
    GetLog(true) << L"\tRequest: " << name;
    for (const auto& [key, value] : parameters)
        GetLog(true) << L"\t" << Utf8ToWide(key) << L": " << (key == "token" ? L"<token>" : Utf8ToWide(value));
}
} // namespace

std::unique_ptr<IHttpResponse> SendHttpsRequestTo(const ServiceEndpoint& endpoint, const std::wstring& name,
                                                  RequestParameters parameters, ProgressCallback progress,
                                                  uint64_t bodyLimit)
{
    const ProductIdentity& product = GetRunningProduct();
    const std::string platform = PlatformText();
    AddParameterIfMissing(parameters, "product", product.name);
    AddParameterIfMissing(parameters, "version", product.version);
    AddParameterIfMissing(parameters, "platform", platform);
    std::string body = BuildFormBody(parameters);
    LogRequest(name, parameters);

    const std::wstring agent = Utf8ToWide(product.name + "-" + product.version + "-" + platform);
    Owners::InternetHandle session(InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        ThrowConnectionError(L"Failed to initialize WinINet: ", GetLastError());
    Owners::InternetHandle connection(InternetConnectW(session.get(), endpoint.host.c_str(), endpoint.port, nullptr,
                                                       nullptr, INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection)
        ThrowConnectionError(L"Failed to open connection: ", GetLastError());
    const std::wstring object = L"/service/?r=" + name;
    Owners::InternetHandle request(HttpOpenRequestW(connection.get(), L"POST", object.c_str(), nullptr, nullptr,
                                                    nullptr, INTERNET_FLAG_SECURE | INTERNET_FLAG_KEEP_CONNECTION, 1));
    if (!request)
        ThrowConnectionError(L"Failed to open the request: ", GetLastError());

    const std::wstring header = L"Content-Type: application/x-www-form-urlencoded";
    const auto send = [&]() -> DWORD {
        const BOOL sent = HttpSendRequestW(request.get(), header.c_str(), static_cast<DWORD>(header.size()),
                                           body.data(), static_cast<DWORD>(body.size()));
        return sent ? ERROR_SUCCESS : GetLastError();
    };
    if (const DWORD error = SendOfferingTheDialog(request.get(), send); error != ERROR_SUCCESS)
        ThrowSendError(error);
    GetLog(true) << L"Request completed";
    auto response = std::make_unique<HttpResponse>(std::move(session), std::move(connection), std::move(request),
                                                   std::move(progress), bodyLimit);
    for (const auto& [headerName, value] : response->GetHeaders())
        GetLog(true) << L"\t" << headerName << L": " << value;
    return response;
}

std::unique_ptr<IHttpResponse> SendHttpsRequest(const std::wstring& name, RequestParameters parameters,
                                                ProgressCallback progress, uint64_t bodyLimit)
{
    return SendHttpsRequestTo(GetUpdateServiceEndpoint(), name, std::move(parameters), std::move(progress), bodyLimit);
}

std::unique_ptr<IHttpResponse> SendRequestWithToken(const std::wstring& name, RequestParameters parameters,
                                                    ProgressCallback progress, uint64_t bodyLimit)
{
    // The service answers nothing without the token, so a build that cannot encrypt one asks
    // nothing at all.
    if (!IsServiceKeyBuiltIn())
        ThrowComError(NTE_BAD_KEY, CannotCheckForUpdatesText);
    std::string token;
    {
        const auto tokenResponse = SendHttpsRequest(L"getToken", {}, {}, ShortAnswerLimit);
        token = tokenResponse->GetBody();
    }
    parameters.emplace_back("token", BytesToHex(EncryptToken(token)));
    parameters.emplace_back("version", GetRunningProduct().version);
    return SendHttpsRequest(name, std::move(parameters), std::move(progress), bodyLimit);
}

std::unique_ptr<IHttpResponse> SendServiceRequest(const std::wstring& name, RequestParameters parameters,
                                                  uint64_t bodyLimit)
{
    return SendRequestWithToken(name, std::move(parameters), {}, bodyLimit);
}

#pragma once
// Requests to the update service: HTTPS POSTs of form-encoded parameters to "/service/?r=" and the
// request's name, each preceded by a "getToken" exchange whose answer goes back encrypted. They
// run synchronously on the calling thread; failures raise COM errors.

#include "update/FormEncoding.h"
#include "update/HttpResponse.h"
#include "update/ServiceEndpoint.h"

#include <functional>
#include <memory>
#include <string>

// Each answer's body may hold at most bodyLimit bytes (see HttpResponse): what the request can
// answer, never more than the largest program.

// A request with the token and no progress.
std::unique_ptr<IHttpResponse> SendServiceRequest(const std::wstring& name, RequestParameters parameters,
                                                  uint64_t bodyLimit = LargestProgramSize);
// The "getToken" exchange, then the request with ("token", the encrypted token in hexadecimal) and
// ("version", the running version) appended to the parameters.
std::unique_ptr<IHttpResponse> SendRequestWithToken(const std::wstring& name, RequestParameters parameters,
                                                    ProgressCallback progress,
                                                    uint64_t bodyLimit = LargestProgramSize);
// One exchange with the build's update service; "product", "version" and "platform" are added
// unless the parameters hold them.
std::unique_ptr<IHttpResponse> SendHttpsRequest(const std::wstring& name, RequestParameters parameters,
                                                ProgressCallback progress, uint64_t bodyLimit = LargestProgramSize);
// The same exchange with a given service.
std::unique_ptr<IHttpResponse> SendHttpsRequestTo(const ServiceEndpoint& endpoint, const std::wstring& name,
                                                  RequestParameters parameters, ProgressCallback progress,
                                                  uint64_t bodyLimit = LargestProgramSize);

// "x64" for this 32-bit process under WOW64, else "x32" (also when the system cannot tell).
std::string GetPlatformName();

// WinINet's dialog for a failed send: InternetErrorDlg unless replaced.
using InternetErrorDialogFunction = std::function<DWORD(HWND owner, HINTERNET request, DWORD error, DWORD flags)>;
extern InternetErrorDialogFunction InternetErrorDialog;

// The send errors that the dialog may be shown for: credentials (of the service or a proxy) and
// the proxy itself. Every other error, those of certificates and of plain HTTP above all, fails
// the request without it.
bool MayShowErrorDialog(DWORD error);

// Calls send (which answers a Win32 error, ERROR_SUCCESS when sent); after an error that the
// dialog may be shown for, shows it owned by the desktop and, when it answers ERROR_SUCCESS or
// ERROR_INTERNET_FORCE_RETRY, calls send once more. The error of the last send, logged.
DWORD SendOfferingTheDialog(HINTERNET request, const std::function<DWORD()>& send);

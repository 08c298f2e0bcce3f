#include "update/Update.h"

#include "framework/com/ComError.h"
#include "framework/com/ErrorMessage.h"
#include "framework/files/Files.h"
#include "update/HttpsRequest.h"
#include "update/ProgramFile.h"

#include <cwchar>

std::string RequestProgramFile(const std::string& updateFileId, ProgressCallback progress)
{
    const auto response =
        SendRequestWithToken(L"getFile", {{"product", updateFileId}}, std::move(progress), LargestProgramSize);
    // Without a length a connection that breaks off looks like the end of the file: only a program
    // whose length was announced, and that arrived whole, is ever written.
    const std::wstring length = response->GetHeader(L"Content-Length");
    wchar_t* end = nullptr;
    const unsigned long long announced = length.empty() ? 0 : std::wcstoull(length.c_str(), &end, 10);
    if (length.empty() || !end || *end != L'\0' || announced == 0)
    {
        response->EnsureSuccess();
        ThrowComError(E_FAIL, L"The update service did not say how long the program is.");
    }
    std::string body = response->GetBody();
    if (body.size() != announced)
        ThrowComError(HRESULT_FROM_WIN32(ERROR_INTERNET_CONNECTION_RESET),
                      L"The program arrived with " + std::to_wstring(body.size()) + L" of " +
                          std::to_wstring(announced) + L" bytes.");
    // An error page served with status 200 must never be started.
    if (body.size() < 2 || body.compare(0, 2, "MZ") != 0)
        ThrowComError(E_FAIL, L"The update service did not send a program.");
    return body;
}

void WriteProgramFile(const std::wstring& path, const std::string& program)
{
    const std::wstring written = WriteBesideUnderNameOfItsOwn(path, program);
    if (written.empty())
    {
        const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
        ThrowComError(hr, L"The program could not be written beside " + path + L": " + GetSystemErrorMessage(hr));
    }
    if (!MoveOver(written, path))
    {
        const DWORD error = GetLastError();
        DeleteFileW(written.c_str());
        // Another download of the same program may have put it in place and started it: a running
        // program cannot be replaced, and need not be when it is these very bytes.
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        if (!held || ReadFileBytes(path.c_str()) != program)
            ThrowWin32Error(error);
    }
}

#include "update/ProgramDownload.h"

#include "framework/com/ComError.h"
#include "framework/files/Files.h"
#include "update/HttpsRequest.h"

std::string RequestProgramFile(const std::string& updateFileId, ProgressCallback progress)
{
    std::string body = SendRequestWithToken(L"getFile", {{"product", updateFileId}}, std::move(progress))->GetBody();
    // An error page served with status 200 must never be started.
    if (body.size() < 2 || body.compare(0, 2, "MZ") != 0)
        ThrowComError(E_FAIL, L"The update service did not send a program.");
    return body;
}

void WriteProgramFile(const std::wstring& path, const std::string& program)
{
    const std::wstring partial = path + L".download";
    if (!WriteStringToFile(partial.c_str(), program))
    {
        DeleteFileW(partial.c_str());
        ThrowComError(E_FAIL, L"The program could not be written to " + partial);
    }
    if (!MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    {
        const DWORD error = GetLastError();
        DeleteFileW(partial.c_str());
        ThrowWin32Error(error);
    }
}

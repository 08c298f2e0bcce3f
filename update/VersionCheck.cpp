#include "update/VersionCheck.h"

#include "framework/com/ErrorMessage.h"
#include "update/HttpsRequest.h"
#include "update/ProductIdentity.h"
#include "update/ProgramFile.h"
#include "update/RequestToken.h"
#include "update/SelfInstall.h"

#include <algorithm>

namespace
{
std::string TrimmedVersion(const std::string& text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

bool IsVersionNumber(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}
} // namespace

bool CanCheckForUpdates() { return IsServiceKeyBuiltIn(); }

std::string GetLatestVersion(const std::string& productName)
{
    return SendServiceRequest(L"getVersion", {{"product", productName}}, ShortAnswerLimit)->GetBody();
}

bool IsOfferedVersion(const std::string& answer)
{
    // An error page or an empty answer of a misconfigured service is not a version to install.
    const std::string latest = TrimmedVersion(answer);
    return IsVersionNumber(latest) && latest != GetRunningProduct().version;
}

std::wstring WhyUpdateCannotBeInstalled()
{
    const std::wstring program = GetProgramPath();
    const DWORD error = CheckProgramReplaceable(program);
    if (error == ERROR_SUCCESS)
        return {};
    const size_t slash = program.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? program : program.substr(0, slash);
    return L"The update cannot be installed in " + folder + L": " + GetSystemErrorMessage(HRESULT_FROM_WIN32(error));
}

VersionCheckResult CheckForNewerVersion(const std::string& productName)
{
    // A build that cannot check sends nothing: its request fails before it leaves.
    VersionCheckResult result;
    try
    {
        result.updateFound = IsOfferedVersion(GetLatestVersion(productName));
    }
    catch (const _com_error& error)
    {
        result.failure = GetErrorMessage(error);
        return result;
    }
    if (result.updateFound)
        result.notInstallable = WhyUpdateCannotBeInstalled();
    // A download that could not be written would end in an error box at every weekly check.
    if (result.updateFound && result.notInstallable.empty())
        result.notDownloadable = WhyUpdateCannotBeDownloaded();
    return result;
}

bool IsNewerVersionAvailable(const std::string& productName) { return CheckForNewerVersion(productName).updateFound; }

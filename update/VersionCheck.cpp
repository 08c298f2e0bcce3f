#include "update/VersionCheck.h"

#include "framework/com/ErrorMessage.h"
#include "update/HttpsRequest.h"
#include "update/ProductIdentity.h"
#include "update/RequestToken.h"

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
    return SendServiceRequest(L"getVersion", {{"product", productName}})->GetBody();
}

bool IsOfferedVersion(const std::string& answer)
{
    // An error page or an empty answer of a misconfigured service is not a version to install.
    const std::string latest = TrimmedVersion(answer);
    return IsVersionNumber(latest) && latest != GetRunningProduct().version;
}

VersionCheckResult CheckForNewerVersion(const std::string& productName)
{
    // A build that cannot check sends nothing: its request fails before it leaves.
    try
    {
        return {IsOfferedVersion(GetLatestVersion(productName)), {}};
    }
    catch (const _com_error& error)
    {
        return {false, GetErrorMessage(error)};
    }
}

bool IsNewerVersionAvailable(const std::string& productName) { return CheckForNewerVersion(productName).updateFound; }

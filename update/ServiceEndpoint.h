#pragma once
// Where the update service and the product web site are.

#include <windows.h>
#include <wininet.h>

#include <string>

struct ServiceEndpoint
{
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTPS_PORT;
};

// The service this build speaks to (a setting of the build).
ServiceEndpoint GetUpdateServiceEndpoint();

// The host of the product web site, where the "Learn More" pages of the versions are.
const wchar_t* GetProductWebSiteHost();

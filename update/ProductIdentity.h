#pragma once
// Who is asking the update service: the running program's name and version, and the names its
// update goes by. Both programs share one client; each sets its identity once at start.

#include <string>

struct ProductIdentity
{
    // The "product" parameter of the service requests and the start of the agent text.
    std::string name;
    // The running version: sent as "version" and compared with the service's latest version.
    std::string version;
    // The name the download window keeps.
    std::wstring displayName;
    // The "product" parameter of "getFile" and the name of the downloaded file.
    std::string updateFileId;
    // The version the downloaded program is told on "/install", fixed in the program's release.
    std::wstring handOverVersion;
};

// Sheafin: "Quillora Batch File Import" 1.3.0, downloaded as "Sheafin.x86".
ProductIdentity BatchImportIdentity();
// Lumday: "Dayloom" 1.18.1.
ProductIdentity CalendarIdentity();

// The identity every request carries; Sheafin's until a program sets its own. Set it on the UI
// thread before any request starts.
const ProductIdentity& GetRunningProduct();
void SetRunningProduct(ProductIdentity identity);

const char* GetProductName();
const char* GetProductVersion();

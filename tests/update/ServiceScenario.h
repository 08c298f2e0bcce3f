#pragma once
// What the update tests share: a product of the test's own, which the local update service keys
// its scenario and its record of requests by, and the files the tests look at.

#include "framework/Owners.h"
#include "update/FormEncoding.h"
#include "update/ProductIdentity.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace UpdateTest
{
struct RecordedRequest
{
    std::string name;
    std::string agent;
    std::string contentType;
    std::string body;
    // "good" or "bad" for a request that carried (or lacked) a token, "-" for "getToken".
    std::string tokenVerdict;

    RequestParameters Parameters() const;
};

// Makes the running test's product the running product ("UpdateTest_" + suite + "_" + test,
// version 1.3.0, update file id the name + ".x86") with an empty scenario; Sheafin's identity comes
// back at the end.
class ServiceScenario
{
public:
    ServiceScenario();
    // The scenario of a given product, such as a program's own.
    explicit ServiceScenario(ProductIdentity identity);
    ServiceScenario(const ServiceScenario&) = delete;
    ServiceScenario& operator=(const ServiceScenario&) = delete;
    ~ServiceScenario();

    // One line of the scenario (see tools/update-service/service.py).
    void Set(const std::string& key, const std::string& value);
    // A line whose value is a file of this machine, which the service reads by its Unix path.
    void SetFile(const std::string& key, const std::filesystem::path& file);
    std::vector<RecordedRequest> Requests() const;
    // The port of one of the service's other listeners ("elsewhere", "expired"); 0 when unknown.
    INTERNET_PORT ListenerPort(const std::string& name) const;

    const ProductIdentity& Identity() const { return identity_; }

private:
    void Begin();
    std::filesystem::path File(const wchar_t* extension) const;

    ProductIdentity identity_;
};

// The build folder's Windows path (from QUILLORA_BUILD_DIR).
std::filesystem::path BuildFolder();
// The little program the tests serve as a download, a program of Sheafin's product.
std::filesystem::path TestProgram();
// The same program of Lumday's product.
std::filesystem::path CalendarTestProgram();
// A file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);
// The command line a started test program recorded, once it is there (empty after timeout).
std::wstring WaitForRecordedCommandLine(const std::filesystem::path& program,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Whether a process of the program has begun to run: it is listed, and a thread of it is not held
// suspended (a process started suspended is listed at once, and runs nothing until it is resumed).
bool ProgramHasRun(const std::filesystem::path& program);
std::string FormUrlDecode(const std::string& text);
// Holds the program's file open as a program that stays running holds its own: others may read and
// start it, no one may write, replace or remove it until the handle is closed. The test's process
// holds it, in the prefix (and so under the wineserver, which keeps the share modes) of the
// programs it starts. Null when the file cannot be opened.
Owners::FileHandle HoldAsARunningProgram(const std::filesystem::path& program);
} // namespace UpdateTest

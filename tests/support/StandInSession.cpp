#include "tests/support/StandInSession.h"

#include "framework/Owners.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <fstream>

namespace StandInSession
{
Files UseOwnFiles()
{
    Files files{TestPaths::OutputFile(L".store"), TestPaths::OutputFile(L".calls.log"),
                TestPaths::OutputFile(L".scenario.txt")};
    std::error_code error;
    std::filesystem::remove_all(files.store, error);
    std::filesystem::remove(files.callLog, error);
    std::filesystem::remove(files.scenario, error);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", files.store.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", files.callLog.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", files.scenario.c_str());
    return files;
}

void WriteScenario(const std::filesystem::path& file, const std::string& text)
{
    static int generation = 0;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "# " << ++generation << "\n" << text;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart += static_cast<ULONGLONG>(generation) * 10000000ULL;
    const FILETIME stamp{value.LowPart, value.HighPart};
    const Owners::FileHandle handle(CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (handle)
        SetFileTime(handle.get(), nullptr, nullptr, &stamp);
}
} // namespace StandInSession

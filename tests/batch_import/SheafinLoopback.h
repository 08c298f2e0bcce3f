#pragma once
// The Sheafin.exe that the program tests start: built for the local update service, so that no
// test reaches the real one.

#include "framework/text/DateTime.h"
#include "tests/support/ProgramHarness.h"

#include <filesystem>

namespace SheafinLoopback
{
inline const wchar_t* const Title = L"Quillora Batch File Import 1.3.0";

inline std::filesystem::path SheafinExe()
{
    return (Harness::BuildFolder() / L"tests" / L"batch_import" / L"loopback" / L"Sheafin.exe").make_preferred();
}

// The UTC time this many days before now, in whole seconds, as the workspace keeps update checks.
inline SYSTEMTIME DaysAgo(int days)
{
    return DateTime().AddSeconds(-static_cast<__time64_t>(days) * 86400).ToUtcSystemTime();
}
} // namespace SheafinLoopback

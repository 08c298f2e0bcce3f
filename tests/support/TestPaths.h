#pragma once
// Where tests write what they produce, and where they find the shared platform data.

#include <filesystem>
#include <optional>
#include <string>

namespace TestPaths
{
// The build's test output folder (created on first use); a test writes nothing outside it
// and the temporary folder.
std::filesystem::path OutputFolder();

// A file in the output folder, named after the running test case plus suffix
// ("Suite.Case" + suffix), so that parallel runs never share a file.
std::filesystem::path OutputFile(const std::wstring& suffix);

// The build folder's Windows path: QUILLORA_BUILD_DIR, a Unix path, on drive Z:. Read as UTF-16,
// which Wine makes of the UTF-8 environment, so that any letter of the path comes through.
std::filesystem::path BuildFolder();

// The stand-in's onenote.exe of the build, in one of its two builds ("inside" or "outside").
std::filesystem::path StandInOneNoteExe(const wchar_t* variant);

// The shared platform folder (schemas, notes), when the checkout has one beside it.
std::optional<std::filesystem::path> SharedFolder();

// A file of the shared folder, or nothing when the checkout has no shared folder.
std::optional<std::filesystem::path> SharedFile(const std::wstring& relativePath);
} // namespace TestPaths

// Skips the current test with a visible message when the shared folder is missing.
#define SKIP_WITHOUT_SHARED_FILE(variable, relativePath)                                  \
    const auto variable = TestPaths::SharedFile(relativePath);                             \
    if (!variable)                                                                         \
    GTEST_SKIP() << "no shared platform folder beside the checkout: skipping the check against " \
                 << std::filesystem::path(relativePath).string()

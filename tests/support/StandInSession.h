#pragma once
// A test's own session with the OneNote stand-in: a store folder, call log and scenario file of its
// own, named in the environment before the in-process server is first created.

#include <filesystem>
#include <string>

namespace StandInSession
{
struct Files
{
    std::filesystem::path store;
    std::filesystem::path callLog;
    std::filesystem::path scenario;
};

// Files named after the running test, with what an earlier run left removed, set in the
// environment (QUILLORA_ONENOTE_STORE, _CALLLOG, _SCENARIO).
Files UseOwnFiles();

// Writes the scenario file so that it looks changed to the stand-in even within the file system's
// time resolution.
void WriteScenario(const std::filesystem::path& file, const std::string& text);
} // namespace StandInSession

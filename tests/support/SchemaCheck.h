#pragma once
// Checks of XML written by the programs with the host's libxml2 tools (xmllint), which Wine
// runs as Unix programs: validation against OneNote's published schemas and canonical form.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace SchemaCheck
{
struct HostResult
{
    int exitCode = -1;
    std::string output; // standard output and standard error, as the program wrote them
};

// Runs a command line in the host's /bin/sh. Wine hands Unix programs no exit code back, so the
// shell writes it to a file beside the output.
HostResult RunHostShell(const std::string& command);

// The Unix path of a Windows path on drive Z: (where the build and test output live).
std::string UnixPath(const std::filesystem::path& windowsPath);

// Writes text (UTF-8) to a file in the test output folder and returns its path.
std::filesystem::path WriteOutputFile(const std::wstring& suffix, const std::string& utf8Text);

// Success when xmllint finds the file valid against the schema; the failure says why.
testing::AssertionResult IsValidAgainst(const std::filesystem::path& xmlFile, const std::filesystem::path& schemaFile);

// The canonical form (C14N) of an XML file, for comparisons that must ignore attribute order and
// other differences of form between XML writers.
std::string Canonical(const std::filesystem::path& xmlFile);
} // namespace SchemaCheck

#pragma once
// Checks of XML written by the programs with the host's libxml2 tools (xmllint), which Wine
// runs as Unix programs: validation against OneNote's published schemas and canonical form.

#include "standins/common/HostShell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace SchemaCheck
{
using HostResult = HostShell::Result;

// Runs a command line in the host's /bin/sh and waits until it has ended.
inline HostResult RunHostShell(const std::string& command) { return HostShell::Run(command); }

// The Unix path of a Windows path (relative ones are taken from the current folder).
std::string UnixPath(const std::filesystem::path& windowsPath);

// Writes text (UTF-8) to a file in the test output folder and returns its path.
std::filesystem::path WriteOutputFile(const std::wstring& suffix, const std::string& utf8Text);

// A file of the shared platform folder, such as a schema. Where the checkout has no shared folder
// beside it, nothing, and the current test is reported skipped with the reason (its other checks
// still run): a check that could not look must not show as passed.
std::optional<std::filesystem::path> SharedFileOrSkip(const std::wstring& relativePath);

// Success when xmllint finds the file valid against the schema; the failure says why.
testing::AssertionResult IsValidAgainst(const std::filesystem::path& xmlFile, const std::filesystem::path& schemaFile);

// The canonical form (C14N) of an XML file, for comparisons that must ignore attribute order and
// other differences of form between XML writers.
std::string Canonical(const std::filesystem::path& xmlFile);
} // namespace SchemaCheck

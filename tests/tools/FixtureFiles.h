#pragma once
// The realistic OneNote documents of tests/onenote_model/fixtures and the build's programs.

#include <filesystem>
#include <string>

namespace Fixtures
{
// The Windows path of a fixture file.
std::filesystem::path Path(const std::wstring& name);

// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);

// A program of this build, by its path below the build folder ("tools/onexml/onexml.exe").
std::filesystem::path BuildFile(const std::wstring& relativePath);
} // namespace Fixtures

#include "tests/tools/FixtureFiles.h"

#include <windows.h>

#include <fstream>
#include <iterator>

namespace
{
// Wine shows the Unix root as drive Z:.
std::filesystem::path FromUnix(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + path;
}
} // namespace

namespace Fixtures
{
std::filesystem::path Path(const std::wstring& name)
{
    const std::string folder = QUILLORA_FIXTURES;
    return FromUnix(std::wstring(folder.begin(), folder.end()) + L"/" + name);
}

std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path BuildFile(const std::wstring& relativePath)
{
    wchar_t build[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUILLORA_BUILD_DIR", build, MAX_PATH);
    return FromUnix(std::wstring(build) + L"/" + relativePath);
}
} // namespace Fixtures

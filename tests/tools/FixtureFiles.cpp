#include "tests/tools/FixtureFiles.h"

#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"

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
    // The build names the folder in UTF-8, as the file system has it.
    return FromUnix(Utf8ToWide(QUILLORA_FIXTURES) + L"/" + name);
}

std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::filesystem::path BuildFile(const std::wstring& relativePath)
{
    return (TestPaths::BuildFolder() / relativePath).make_preferred();
}
} // namespace Fixtures

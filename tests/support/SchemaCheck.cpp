#include "tests/support/SchemaCheck.h"

#include "tests/support/TestPaths.h"

#include <fstream>

namespace SchemaCheck
{
std::string UnixPath(const std::filesystem::path& windowsPath)
{
    return HostShell::UnixPath(std::filesystem::absolute(windowsPath).wstring());
}

std::filesystem::path WriteOutputFile(const std::wstring& suffix, const std::string& utf8Text)
{
    const std::filesystem::path file = TestPaths::OutputFile(suffix);
    std::ofstream(file, std::ios::binary) << utf8Text;
    return file;
}

namespace
{
void SkipWithout(const std::wstring& relativePath)
{
    GTEST_SKIP() << "no shared platform folder beside the checkout (QUILLORA_SHARED): "
                 << std::filesystem::path(relativePath).string() << " is missing, so this was not checked against it";
}
} // namespace

std::optional<std::filesystem::path> SharedFileOrSkip(const std::wstring& relativePath)
{
    auto file = TestPaths::SharedFile(relativePath);
    if (!file)
        SkipWithout(relativePath);
    return file;
}

testing::AssertionResult IsValidAgainst(const std::filesystem::path& xmlFile, const std::filesystem::path& schemaFile)
{
    const HostResult result = RunHostShell("xmllint --noout --schema " + HostShell::Quoted(UnixPath(schemaFile)) + " " +
                                           HostShell::Quoted(UnixPath(xmlFile)));
    if (result.exitCode == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << xmlFile.string() << " is not valid against " << schemaFile.string()
                                       << " (xmllint exit code " << result.exitCode << "):\n"
                                       << result.output;
}

std::string Canonical(const std::filesystem::path& xmlFile)
{
    const HostResult result = RunHostShell("xmllint --c14n " + HostShell::Quoted(UnixPath(xmlFile)));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}
} // namespace SchemaCheck

#include "tests/support/SchemaCheck.h"

#include "framework/Owners.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace SchemaCheck
{
namespace
{
std::string ReadWholeFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}
} // namespace

std::string UnixPath(const std::filesystem::path& windowsPath)
{
    std::string path = std::filesystem::absolute(windowsPath).string();
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

HostResult RunHostShell(const std::string& command)
{
    const std::filesystem::path outputFile = TestPaths::OutputFile(L".host-output.txt");
    const std::filesystem::path statusFile = TestPaths::OutputFile(L".host-status.txt");
    std::filesystem::remove(statusFile);

    // The script goes to a file so that no quoting has to survive Windows command-line parsing.
    const std::filesystem::path scriptFile = TestPaths::OutputFile(L".host-command.sh");
    {
        std::ofstream script(scriptFile, std::ios::binary);
        script << "(" << command << ") >" << Quoted(UnixPath(outputFile)) << " 2>&1\n"
               << "echo $? >" << Quoted(UnixPath(statusFile)) << "\n";
    }
    std::wstring commandLine = L"Z:\\bin\\sh \"" + std::filesystem::path(UnixPath(scriptFile)).wstring() + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    HostResult result;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    {
        result.output = "could not start /bin/sh (error " + std::to_string(GetLastError()) + ")";
        return result;
    }
    Owners::KernelHandle processHandle(process.hProcess);
    Owners::KernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);

    // Wine may report the Unix process finished a moment before the shell has written its status.
    for (int attempt = 0; attempt < 200 && ReadWholeFile(statusFile).empty(); ++attempt)
        Sleep(10);
    const std::string status = ReadWholeFile(statusFile);
    result.exitCode = status.empty() ? -1 : std::stoi(status);
    result.output = ReadWholeFile(outputFile);
    return result;
}

std::filesystem::path WriteOutputFile(const std::wstring& suffix, const std::string& utf8Text)
{
    const std::filesystem::path file = TestPaths::OutputFile(suffix);
    std::ofstream(file, std::ios::binary) << utf8Text;
    return file;
}

testing::AssertionResult IsValidAgainst(const std::filesystem::path& xmlFile, const std::filesystem::path& schemaFile)
{
    const HostResult result = RunHostShell("xmllint --noout --schema " + Quoted(UnixPath(schemaFile)) + " " +
                                           Quoted(UnixPath(xmlFile)));
    if (result.exitCode == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << xmlFile.string() << " is not valid against " << schemaFile.string()
                                       << " (xmllint exit code " << result.exitCode << "):\n"
                                       << result.output;
}

std::string Canonical(const std::filesystem::path& xmlFile)
{
    const HostResult result = RunHostShell("xmllint --c14n " + Quoted(UnixPath(xmlFile)));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}
} // namespace SchemaCheck

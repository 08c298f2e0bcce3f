#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace
{
std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

std::wstring CurrentTestName()
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    if (!info)
        return L"global";
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':')
            c = '_';
    return std::wstring(name.begin(), name.end());
}
} // namespace

namespace TestPaths
{
std::filesystem::path OutputFolder()
{
    std::filesystem::path folder = Environment(L"QUILLORA_TEST_OUTPUT");
    if (folder.empty())
    {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder = std::filesystem::path(temp) / L"quillora-test-output";
    }
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path OutputFile(const std::wstring& suffix) { return OutputFolder() / (CurrentTestName() + suffix); }

std::filesystem::path BuildFolder()
{
    std::wstring path = L"Z:" + Environment(L"QUILLORA_BUILD_DIR");
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::filesystem::path StandInOneNoteExe(const wchar_t* variant)
{
    return BuildFolder() / L"standins" / L"onenote" / variant / L"onenote.exe";
}

std::optional<std::filesystem::path> SharedFolder()
{
    const std::filesystem::path folder = Environment(L"QUILLORA_SHARED");
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

std::optional<std::filesystem::path> SharedFile(const std::wstring& relativePath)
{
    const auto folder = SharedFolder();
    if (!folder)
        return std::nullopt;
    std::filesystem::path file = *folder / relativePath;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    return file;
}
} // namespace TestPaths

#include "tests/update/ServiceScenario.h"

#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace UpdateTest
{
RequestParameters RecordedRequest::Parameters() const
{
    RequestParameters parameters;
    for (const std::string& pair : Split(body, std::string("&")))
    {
        if (pair.empty())
            continue;
        const size_t equals = pair.find('=');
        parameters.emplace_back(FormUrlDecode(pair.substr(0, equals)),
                                equals == std::string::npos ? std::string() : FormUrlDecode(pair.substr(equals + 1)));
    }
    return parameters;
}

std::string FormUrlDecode(const std::string& text)
{
    std::string decoded;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '+')
            decoded += ' ';
        else if (text[i] == '%' && i + 2 < text.size())
        {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
            decoded += text[i];
    }
    return decoded;
}

std::filesystem::path BuildFolder() { return TestPaths::BuildFolder(); }

std::filesystem::path TestProgram() { return BuildFolder() / L"tests" / L"update" / L"update_test_program.exe"; }

std::filesystem::path CalendarTestProgram()
{
    return BuildFolder() / L"tests" / L"update" / L"calendar" / L"update_test_program.exe";
}

std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool ProgramHasRun(const std::filesystem::path& program)
{
    const Owners::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return false;
    std::vector<DWORD> processes;
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32FirstW(snapshot.get(), &process); more; more = Process32NextW(snapshot.get(), &process))
        if (_wcsicmp(process.szExeFile, program.filename().c_str()) == 0)
            processes.push_back(process.th32ProcessID);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot.get(), &thread); more; more = Thread32Next(snapshot.get(), &thread))
    {
        if (std::find(processes.begin(), processes.end(), thread.th32OwnerProcessID) == processes.end())
            continue;
        const Owners::KernelHandle handle(OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID));
        if (!handle)
            continue;
        // Suspending tells how often the thread was suspended before; the count is put back at once.
        const DWORD before = SuspendThread(handle.get());
        if (before == static_cast<DWORD>(-1))
            continue;
        ResumeThread(handle.get());
        if (before == 0)
            return true;
    }
    return false;
}

std::wstring WaitForRecordedCommandLine(const std::filesystem::path& program, std::chrono::milliseconds timeout)
{
    const auto record = std::filesystem::path(program.wstring() + L".args");
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline)
    {
        const std::string bytes = ReadBytes(record);
        if (!bytes.empty())
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

Owners::FileHandle HoldAsARunningProgram(const std::filesystem::path& program)
{
    return Owners::FileHandle(
        CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

ServiceScenario::ServiceScenario()
{
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    identity_.name = std::string("UpdateTest_") + test->test_suite_name() + "_" + test->name();
    for (char& c : identity_.name)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_')
            c = '_';
    identity_.version = "1.3.0";
    identity_.displayName = Utf8ToWide(identity_.name);
    identity_.updateFileId = identity_.name + ".x86";
    identity_.handOverVersion = L"1.3.0";
    Begin();
}

ServiceScenario::ServiceScenario(ProductIdentity identity) : identity_(std::move(identity)) { Begin(); }

void ServiceScenario::Begin()
{
    std::filesystem::remove(File(L".scenario"));
    std::filesystem::remove(File(L".requests"));
    SetRunningProduct(identity_);
}

ServiceScenario::~ServiceScenario() { SetRunningProduct(BatchImportIdentity()); }

std::filesystem::path ServiceScenario::File(const wchar_t* extension) const
{
    // The service names a product's files as it does: every character but letters, digits, '_'
    // and '.' becomes '_' ("Quillora Batch File Import" is "Quillora_Batch_File_Import").
    std::string stem = identity_.name;
    for (char& c : stem)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '.')
            c = '_';
    return BuildFolder() / L"update-service" / L"state" / (Utf8ToWide(stem) + extension);
}

void ServiceScenario::Set(const std::string& key, const std::string& value)
{
    std::ofstream file(File(L".scenario"), std::ios::app | std::ios::binary);
    file << key << "=" << FormUrlEncode(value) << "\n";
}

void ServiceScenario::SetFile(const std::string& key, const std::filesystem::path& file)
{
    // Wine's drive Z: is the Unix root.
    std::string path = WideToUtf8(file.wstring());
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
        path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    Set(key, path);
}

std::vector<RecordedRequest> ServiceScenario::Requests() const
{
    std::vector<RecordedRequest> requests;
    std::ifstream file(File(L".requests"), std::ios::binary);
    std::string line;
    while (std::getline(file, line))
    {
        const std::vector<std::string> fields = Split(line, std::string("\t"));
        if (fields.size() == 5)
            requests.push_back({fields[0], fields[1], fields[2], fields[3], fields[4]});
    }
    return requests;
}
INTERNET_PORT ServiceScenario::ListenerPort(const std::string& name) const
{
    std::ifstream file(BuildFolder() / L"update-service" / L"state" / L"listeners.txt", std::ios::binary);
    std::string line;
    while (std::getline(file, line))
        if (line.rfind(name + "=", 0) == 0)
            return static_cast<INTERNET_PORT>(std::stoi(line.substr(name.size() + 1)));
    return 0;
}
} // namespace UpdateTest

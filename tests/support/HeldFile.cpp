#include "tests/support/HeldFile.h"

#include "tests/support/ProgramHarness.h"

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

namespace Harness
{
namespace
{
// An event of this holder alone: the test's process number and a count.
std::wstring EventName(const wchar_t* role, unsigned number)
{
    return L"Local\\quillora-held-file-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(number) +
           L"-" + role;
}
} // namespace

HeldFile::HeldFile(const std::filesystem::path& file, Sharing sharing, std::chrono::milliseconds letGoAfter)
{
    static std::atomic<unsigned> holders{0};
    const unsigned number = ++holders;
    const std::wstring readyName = EventName(L"ready", number);
    const std::wstring letGoName = EventName(L"let-go", number);
    ready_.reset(CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    letGo_.reset(CreateEventW(nullptr, TRUE, FALSE, letGoName.c_str()));
    if (!ready_ || !letGo_)
        throw std::runtime_error("the holder's events could not be made");
    const std::filesystem::path holder = BuildFolder() / L"tests" / L"support" / L"file_holder.exe";
    std::wstring commandLine = L"\"" + holder.wstring() + L"\" \"" + file.wstring() + L"\" " +
                               (sharing == Sharing::None ? L"none" : L"read") + L" " + readyName + L" " +
                               letGoName + L" " + std::to_wstring(letGoAfter.count());
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        throw std::runtime_error("file_holder.exe could not be started");
    process_.reset(started.hProcess);
    const Owners::KernelHandle thread(started.hThread);
    const HANDLE either[] = {ready_.get(), process_.get()};
    if (WaitForMultipleObjects(2, either, FALSE, 30000) != WAIT_OBJECT_0)
        throw std::runtime_error("file_holder.exe did not hold the file");
}

HeldFile::~HeldFile()
{
    LetGo();
    if (process_ && WaitForSingleObject(process_.get(), 30000) != WAIT_OBJECT_0)
    {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
}

void HeldFile::LetGo()
{
    if (letGo_)
        SetEvent(letGo_.get());
}

bool HeldFile::WaitUntilLetGo(std::chrono::milliseconds timeout) const
{
    return WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}
} // namespace Harness

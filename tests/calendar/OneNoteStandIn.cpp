#include "tests/calendar/OneNoteStandIn.h"

#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/NotebookList.h"
#include "calendar/PageSearch.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/Owners.h"
#include "framework/text/Text.h"
#include "tests/support/TestPaths.h"

#include <fstream>
#include <mutex>

namespace CalendarTest
{
namespace
{
std::mutex shownLock;
std::vector<OneNoteStandIn::ShownFailure> shown;
FailureMessageBox previousBox = nullptr;
} // namespace

std::wstring StorePage(const std::wstring& id, const std::wstring& name, const std::wstring& created,
                       const std::wstring& modified, const std::wstring& extra)
{
    std::wstring page = L"<one:Page ID=\"" + id + L"\"";
    if (!name.empty())
        page += L" name=\"" + name + L"\"";
    if (!created.empty())
        page += L" dateTime=\"" + created + L"\"";
    if (!modified.empty())
        page += L" lastModifiedTime=\"" + modified + L"\"";
    return page + L" " + extra + L"/>";
}

void OneNoteStandIn::SetUp()
{
    store_ = TestPaths::OutputFile(L".store");
    callLog_ = TestPaths::OutputFile(L".calls.log");
    scenario_ = TestPaths::OutputFile(L".scenario.txt");
    std::error_code error;
    std::filesystem::remove_all(store_, error);
    std::filesystem::remove(callLog_, error);
    std::filesystem::remove(scenario_, error);
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_STORE", store_.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_CALLLOG", callLog_.c_str());
    SetEnvironmentVariableW(L"QUILLORA_ONENOTE_SCENARIO", scenario_.c_str());
    UseScenario("store demo\n");

    LoadLanguageStrings(L"en");
    {
        const std::lock_guard guard(shownLock);
        shown.clear();
    }
    previousBox = SetFailureMessageBox([](const std::wstring& text, const std::wstring& caption) {
        const std::lock_guard guard(shownLock);
        shown.push_back({text, caption});
    });
    CalendarState& state = GetCalendarState();
    state.quitting = false;
    state.loading = false;
    state.searching = false;
    state.loadingProgress = 0;
    {
        const std::lock_guard guard(GetDayMapLock());
        GetDayMap().clear();
    }
    {
        const std::lock_guard guard(GetSearchResultsLock());
        GetSearchResults().clear();
    }
    ResetNotebookLists();
}

void OneNoteStandIn::TearDown()
{
    GetCalendarState().quitting = false;
    SetFailureMessageBox(previousBox);
    ResetNotebookLists();
}

void OneNoteStandIn::UseStore(const std::wstring& notebooksXml, const std::string& moreScenario)
{
    const std::filesystem::path file = TestPaths::OutputFile(L".seed.xml");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        << WideToUtf8(L"<?xml version=\"1.0\"?><one:Notebooks "
                      L"xmlns:one=\"http://schemas.microsoft.com/office/onenote/2013/onenote\">" +
                      notebooksXml + L"</one:Notebooks>");
    UseScenario("store " + WideToUtf8(file.wstring()) + "\n" + moreScenario);
}

void OneNoteStandIn::UseScenario(const std::string& scenario)
{
    // A new scenario must look changed even within the file system's time resolution.
    static int generation = 0;
    std::ofstream(scenario_, std::ios::binary | std::ios::trunc) << "# " << ++generation << "\n" << scenario;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart += static_cast<ULONGLONG>(generation) * 10000000ULL;
    const FILETIME stamp{value.LowPart, value.HighPart};
    const Owners::FileHandle file(CreateFileW(scenario_.c_str(), FILE_WRITE_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file)
        SetFileTime(file.get(), nullptr, nullptr, &stamp);
}

std::vector<StandIn::CallRecord> OneNoteStandIn::Calls() const { return StandIn::ReadCallLog(callLog_.wstring()); }

std::vector<StandIn::CallRecord> OneNoteStandIn::Calls(const std::wstring& method) const
{
    std::vector<StandIn::CallRecord> calls;
    for (auto& call : Calls())
        if (call.method == method)
            calls.push_back(std::move(call));
    return calls;
}

std::vector<OneNoteStandIn::ShownFailure> OneNoteStandIn::ShownFailures()
{
    const std::lock_guard guard(shownLock);
    return shown;
}
} // namespace CalendarTest

#include "tests/calendar/OneNoteStandIn.h"

#include "calendar/CalendarState.h"
#include "calendar/DayMap.h"
#include "calendar/NotebookList.h"
#include "calendar/PageSearch.h"
#include "calendar/UiLanguages.h"
#include "calendar/WorkerFailure.h"
#include "framework/text/Text.h"
#include "tests/support/StandInSession.h"
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
    const StandInSession::Files files = StandInSession::UseOwnFiles();
    store_ = files.store;
    callLog_ = files.callLog;
    scenario_ = files.scenario;
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

void OneNoteStandIn::UseScenario(const std::string& scenario) { StandInSession::WriteScenario(scenario_, scenario); }

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

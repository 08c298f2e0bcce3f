#pragma once
// The scenario a test writes before it starts, in a file named by QUILLORA_ONENOTE_SCENARIO.
// One directive per line ("#" starts a comment):
//   store demo | empty | <path of a store file>   the store to start from (seeded once per scenario file)
//   busy <method> <n>                  the first n calls of method answer 0x80010001
//   fail <method> <hresult> [text]     every call of method fails (text: IErrorInfo description)
//   failid <object ID> <hresult> [text] every call that names this ID fails
//   failfrom <method> <n>[-<m>] <hresult> [text]  the nth call of method and every later one
//                                      (up to the mth) fail
//   windows none                       IApplication::Windows gives no collection
//   currentwindow none                 the collection is empty and has no current window
//   sidenote true                      the current window is a side note
//   quickfiling <button> <selected ID or -> <delay ms>   how the quick filing dialog closes
//   callback invoke | vtable           how OnDialogClosed reaches the callback (default vtable)
//   create <hresult>                   creating the application object fails (0x80040154: OneNote
//                                      is not installed; 0x80080005: it does not start)
//   olerun <hresult>                   the application object is created, but OleRun of it fails
// Method names are those of the call log: "GetHierarchy", "Window.get_CurrentPageId", ...

#include "standins/onenote/Xml.h"

#include <windows.h>

#include <climits>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace StandIn
{
struct InjectedFailure
{
    HRESULT hr = S_OK;
    std::wstring description;
};

struct QuickFilingAnswer
{
    bool configured = false;
    ULONG button = 0;
    std::wstring selectedId;
    DWORD delayMs = 50;
    bool viaInvoke = false;
    // The dialog is the picker window a person answers, as without a test.
    bool picker = false;
};

class Scenario
{
public:
    static Scenario& Current();

    // Identifies the scenario's starting store; empty when the scenario names none.
    std::wstring SeedKey();
    XNodePtr SeedStore();
    // Whether the starting store is the demo store.
    bool SeedsDemo();

    // Counts one call of method and tells whether it is to fail, and how.
    std::optional<InjectedFailure> Check(const std::wstring& method, const std::vector<std::wstring>& arguments);

    bool NoWindows();
    bool NoCurrentWindow();
    bool SideNote();
    // Windows that NavigateTo with a new window opened; like the busy counts, they are this
    // process's and start again with another scenario.
    unsigned OpenedWindows();
    // Counts one more opened window and returns how many there are now.
    unsigned OpenWindow();
    QuickFilingAnswer QuickFiling();
    // The failure of creating the application object, or S_OK.
    HRESULT CreationFailure();
    // The failure of running it (OleRun), or S_OK.
    HRESULT RunFailure();

private:
    void Reload();

    std::mutex lock_;
    std::wstring file_;
    FILETIME fileTime_{};
    std::wstring store_;
    std::map<std::wstring, unsigned> busy_;
    std::map<std::wstring, unsigned> calls_;
    std::map<std::wstring, InjectedFailure> failures_;
    std::map<std::wstring, InjectedFailure> idFailures_;
    struct LaterFailure
    {
        unsigned from = 1;
        unsigned to = UINT_MAX;
        InjectedFailure failure;
    };
    std::map<std::wstring, LaterFailure> laterFailures_;
    bool noWindows_ = false;
    bool noCurrentWindow_ = false;
    bool sideNote_ = false;
    unsigned openedWindows_ = 0;
    QuickFilingAnswer quickFiling_;
    HRESULT creationFailure_ = S_OK;
    HRESULT runFailure_ = S_OK;
};
} // namespace StandIn

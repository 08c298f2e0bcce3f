#pragma once
// End-to-end tests of the real programs: a program is started under Wine on the test display with
// a profile of its own (application data and temporary folders), its windows are found and driven
// with messages, clicks and keys, and it is ended cleanly.

#include "framework/Owners.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Harness
{
using namespace std::chrono_literals;

// Asks condition every pause until it holds or timeout passes; pumps this thread's messages between
// asks. True when it held. Many steps of the tests take the 50 ms between asks as time for the
// program to settle; a walk of hundreds of steps that need none asks more often.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s,
               std::chrono::milliseconds pause = 50ms);

// The same wait, running none of this thread's messages: for a test whose queue must stay as it is
// (a question posted to a window, not yet run), and for threads of a test that own no window.
bool PollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s,
               std::chrono::milliseconds pause = 10ms);

// A fresh folder for one test run of a program: "AppData\Roaming", "AppData\Local" and "Temp"
// beneath it, named after the running test.
class Profile
{
public:
    explicit Profile(const std::wstring& name = L"");
    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path RoamingAppData() const { return root_ / L"AppData" / L"Roaming"; }
    std::filesystem::path Temp() const { return root_ / L"Temp"; }
    // The environment that points a program at this profile.
    std::map<std::wstring, std::wstring> Environment() const;

private:
    std::filesystem::path root_;
};

// Points the prefix's roaming and local application-data folders (as the shell's known folders
// give them) at a profile while it lives, and back at the user's own folders after. Wine takes
// these folders from the registry, not from the environment, and the registry is the whole
// prefix's: a test that redirects them must run in a prefix of its own (OWN_PREFIX).
class ShellFolderRedirect
{
public:
    explicit ShellFolderRedirect(const Profile& profile);
    ~ShellFolderRedirect();
    ShellFolderRedirect(const ShellFolderRedirect&) = delete;
    ShellFolderRedirect& operator=(const ShellFolderRedirect&) = delete;
};

struct StartOptions
{
    std::filesystem::path program;
    std::wstring arguments;
    const Profile* profile = nullptr;
    // Added to (or replacing) the inherited environment.
    std::map<std::wstring, std::wstring> environment;
    int showCommand = SW_SHOWNORMAL;
};

class Program
{
public:
    // Starts the program; throws when it cannot be started.
    explicit Program(const StartOptions& options);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    // Ends the program if it still runs (Close, then termination).
    ~Program();

    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const;
    // The exit code once the program has ended within timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 10s) const;

    // The visible or hidden top-level windows of this process.
    std::vector<HWND> TopLevelWindows() const;
    // Those of them that chosen takes, once one is (none when none is within timeout).
    std::vector<HWND> TopLevelWindowsOnceAny(const std::function<bool(HWND)>& chosen,
                                             std::chrono::milliseconds timeout) const;
    // The first top-level window of the class, once the program has made it.
    HWND WaitForWindow(const std::wstring& className, std::chrono::milliseconds timeout = 15s) const;
    // A visible top-level window with this title, once it shows; null when the program ends first.
    HWND WaitForShownWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout = 20s) const;

    // Closes every top-level window (WM_CLOSE) and waits; terminates the process when it does not
    // end in time. Returns the exit code.
    std::optional<DWORD> Close(std::chrono::milliseconds timeout = 10s);

private:
    Owners::KernelHandle process_;
    DWORD processId_ = 0;
};

// The folder of the build's programs (QUILLORA_BUILD_DIR).
std::filesystem::path BuildFolder();

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
SIZE WindowSize(HWND window);
SIZE ClientSize(HWND window);

// A picture of another process's window, taken once it has repainted (its children too) and its
// process has put the paint on the display (Screenshot::CaptureWindow), saved as a PNG in the test
// output folder.
std::filesystem::path SaveWindow(HWND window, const std::wstring& name);

// The direct child windows of parent of a class (any when empty) and with a text (any when not
// given), top to bottom, then left to right.
std::vector<HWND> Children(HWND parent, const std::wstring& className = L"",
                           const std::optional<std::wstring>& text = std::nullopt);
// The first of them, or null.
HWND Child(HWND parent, const std::wstring& className, const std::wstring& text);
// The direct children with a control id, in the same order.
std::vector<HWND> ChildrenWithId(HWND parent, int id);
// A child window's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// Makes the client area of another process's window width x height; false when it cannot.
bool SetClientSize(HWND window, int width, int height);
// A menu command or accelerator as the window receives it (posted).
void PostCommand(HWND window, int id);
// Waits until the thread of a program's window has handled everything posted to it so far, and so
// shows any box it decided on before (a notice, an answer to a call, comes as a posted message):
// marks are posted, twice (what the first one's forerunners post comes before the second), to a
// child that keeps a value which can be asked back and which no test looks at, a list view's hover
// time or else an edit's limit of text. False when the window has no such child, or a mark was not
// taken within timeout.
bool HandledWhatWasPosted(HWND window, std::chrono::milliseconds timeout = 30s);
// A UTF-16LE log file (as the programs write theirs) as text; empty when it cannot be read.
std::wstring ReadLogFile(const std::filesystem::path& file);

// Asks for a top-level window (or the window of a child) to come to the front, and waits until it
// is the foreground window and its thread has taken the activation (its active window, with the
// focus on it or on one of its children): input that goes through the system (SendInput, a drag
// and drop at the cursor) reaches the window only then. Asks again while another window is in
// front. False when it is not in front within timeout.
bool BringToFront(HWND window, std::chrono::milliseconds timeout = 10s);

// A left click at a client point (posted, as the mouse would).
void Click(HWND window, int x, int y);
void MoveMouse(HWND window, int x, int y);
// A left click where the pointer rests: the button goes down and up with no move before it, as a
// hand that keeps the mouse still clicks after the wheel turned.
void ClickWithoutMove(HWND window, int x, int y);
// A key press and release (posted).
void PressKey(HWND window, UINT virtualKey);
} // namespace Harness

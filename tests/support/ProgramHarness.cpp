#include "tests/support/ProgramHarness.h"

#include "tests/support/Screenshot.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace Harness
{
bool PollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds pause)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;)
    {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(pause);
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds pause)
{
    return PollUntil(
        [&] {
            Screenshot::PumpMessages();
            return condition();
        },
        timeout, pause);
}

Profile::Profile(const std::wstring& name)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::wstring folder = L"profile";
    if (test)
    {
        const std::string full = std::string(test->test_suite_name()) + "." + test->name();
        folder = std::filesystem::path(full).wstring();
    }
    if (!name.empty())
        folder += L"." + name;
    root_ = TestPaths::OutputFolder() / L"profiles" / folder;
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    std::filesystem::create_directories(RoamingAppData());
    std::filesystem::create_directories(root_ / L"AppData" / L"Local");
    std::filesystem::create_directories(Temp());
}

std::map<std::wstring, std::wstring> Profile::Environment() const
{
    return {{L"USERPROFILE", root_.wstring()},
            {L"APPDATA", RoamingAppData().wstring()},
            {L"LOCALAPPDATA", (root_ / L"AppData" / L"Local").wstring()},
            {L"TEMP", Temp().wstring()},
            {L"TMP", Temp().wstring()}};
}

namespace
{
const wchar_t* const ShellFoldersKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetShellFolder(const wchar_t* name, const std::wstring& path)
{
    Owners::RegistryKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ShellFoldersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("the shell folders cannot be redirected");
    RegSetValueExW(key.get(), name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}
} // namespace

ShellFolderRedirect::ShellFolderRedirect(const Profile& profile)
{
    SetShellFolder(L"AppData", profile.RoamingAppData().wstring());
    SetShellFolder(L"Local AppData", (profile.Root() / L"AppData" / L"Local").wstring());
}

ShellFolderRedirect::~ShellFolderRedirect()
{
    // Back to the prefix's own values (not to what was read: a test that crashed may have left a
    // redirection behind).
    SetShellFolder(L"AppData", L"%USERPROFILE%\\AppData\\Roaming");
    SetShellFolder(L"Local AppData", L"%USERPROFILE%\\AppData\\Local");
}

namespace
{
std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towupper(c));
    return text;
}

// The inherited environment with the changes, as CreateProcessW takes it (sorted, NUL-separated).
std::wstring BuildEnvironment(const std::map<std::wstring, std::wstring>& changes)
{
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> variables; // upper name -> name, value
    if (wchar_t* block = GetEnvironmentStringsW())
    {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1)
        {
            const std::wstring text(entry);
            const size_t equals = text.find(L'=', 1);
            if (equals == std::wstring::npos)
                continue;
            const std::wstring name = text.substr(0, equals);
            variables[Upper(name)] = {name, text.substr(equals + 1)};
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : changes)
        variables[Upper(name)] = {name, value};
    std::wstring environment;
    for (const auto& [key, variable] : variables)
        environment += variable.first + L"=" + variable.second + L'\0';
    environment += L'\0';
    return environment;
}

struct WindowSearch
{
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->windows.push_back(window);
    return TRUE;
}
} // namespace

Program::Program(const StartOptions& options)
{
    std::map<std::wstring, std::wstring> changes;
    if (options.profile)
        changes = options.profile->Environment();
    for (const auto& [name, value] : options.environment)
        changes[name] = value;
    std::wstring environment = BuildEnvironment(changes);
    std::wstring commandLine = L"\"" + options.program.wstring() + L"\"";
    if (!options.arguments.empty())
        commandLine += L" " + options.arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(options.showCommand);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(options.program.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, &process))
        throw std::runtime_error("the program could not be started (error " + std::to_string(GetLastError()) +
                                 "): " + options.program.string());
    Owners::KernelHandle thread(process.hThread);
    process_.reset(process.hProcess);
    processId_ = process.dwProcessId;
}

Program::~Program()
{
    if (IsRunning())
        Close(5s);
}

bool Program::IsRunning() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::WaitForExit(std::chrono::milliseconds timeout) const
{
    if (!WaitUntil([&] { return !IsRunning(); }, timeout))
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

std::vector<HWND> Program::TopLevelWindowsOnceAny(const std::function<bool(HWND)>& chosen,
                                                  std::chrono::milliseconds timeout) const
{
    std::vector<HWND> found;
    const auto look = [&] {
        found.clear();
        for (const HWND window : TopLevelWindows())
            if (chosen(window))
                found.push_back(window);
        return !found.empty();
    };
    if (!look() && timeout > 0ms)
        WaitUntil(look, timeout);
    return found;
}

std::vector<HWND> Program::TopLevelWindows() const
{
    WindowSearch search{processId_, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.windows;
}

HWND Program::WaitForShownWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows())
                if (TextOf(window) == title && IsWindowVisible(window))
                    found = window;
            return found != nullptr || !IsRunning();
        },
        timeout);
    return found;
}

HWND Program::WaitForWindow(const std::wstring& className, std::chrono::milliseconds timeout) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows())
            {
                if (ClassOf(window) == className)
                {
                    found = window;
                    return true;
                }
            }
            return !IsRunning();
        },
        timeout);
    return found;
}

std::optional<DWORD> Program::Close(std::chrono::milliseconds timeout)
{
    for (HWND window : TopLevelWindows())
    {
        if (IsWindowVisible(window))
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (std::optional<DWORD> code = WaitForExit(timeout))
        return code;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
    return std::nullopt;
}

std::filesystem::path BuildFolder()
{
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"QUILLORA_BUILD_DIR", buffer, MAX_PATH * 2);
    std::filesystem::path folder = length ? std::filesystem::path(buffer) : std::filesystem::path(L".");
    if (!folder.empty() && folder.wstring().front() == L'/')
        folder = L"Z:" + folder.wstring();
    return folder;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

SIZE WindowSize(HWND window)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

std::filesystem::path SaveWindow(HWND window, const std::wstring& name) { return Screenshot::SaveWindow(window, name); }

bool BringToFront(HWND window, std::chrono::milliseconds timeout)
{
    const HWND root = GetAncestor(window, GA_ROOT);
    const DWORD thread = GetWindowThreadProcessId(root, nullptr);
    const auto inFront = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == root && GetGUIThreadInfo(thread, &info) && info.hwndActive == root &&
               (info.hwndFocus == root || IsChild(root, info.hwndFocus));
    };
    if (!root || !thread)
        return false;
    SetForegroundWindow(root);
    // The window's thread takes the activation when it comes to its messages.
    return WaitUntil(
        [&] {
            if (inFront())
                return true;
            if (GetForegroundWindow() != root)
                SetForegroundWindow(root);
            return false;
        },
        timeout);
}

namespace
{
struct ChildSearch
{
    HWND parent;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM parameter)
{
    auto& search = *reinterpret_cast<ChildSearch*>(parameter);
    if (GetParent(child) == search.parent)
        search.found.push_back(child);
    return TRUE;
}

std::vector<HWND> SortedChildren(HWND parent)
{
    ChildSearch search{parent, {}};
    EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&search));
    std::stable_sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
        RECT ra{};
        RECT rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
    });
    return search.found;
}
} // namespace

std::vector<HWND> Children(HWND parent, const std::wstring& className, const std::optional<std::wstring>& text)
{
    std::vector<HWND> found;
    for (const HWND child : SortedChildren(parent))
        if ((className.empty() || lstrcmpiW(ClassOf(child).c_str(), className.c_str()) == 0) &&
            (!text || TextOf(child) == *text))
            found.push_back(child);
    return found;
}

bool HandledWhatWasPosted(HWND window, std::chrono::milliseconds timeout)
{
    static UINT mark = 100000;
    std::vector<HWND> children = Children(window, L"SysListView32");
    const bool list = !children.empty();
    if (!list)
        children = Children(window, L"Edit");
    if (children.empty())
        return false;
    const HWND child = children.front();
    for (int round = 0; round < 2; ++round)
    {
        const UINT expected = ++mark;
        if (list)
            PostMessageW(child, LVM_SETHOVERTIME, 0, static_cast<LPARAM>(expected));
        else
            PostMessageW(child, EM_SETLIMITTEXT, expected, 0);
        const UINT ask = list ? LVM_GETHOVERTIME : EM_GETLIMITTEXT;
        if (!WaitUntil([&] { return static_cast<UINT>(SendMessageW(child, ask, 0, 0)) == expected; }, timeout))
            return false;
    }
    return true;
}

HWND Child(HWND parent, const std::wstring& className, const std::wstring& text)
{
    const std::vector<HWND> found = Children(parent, className, text);
    return found.empty() ? nullptr : found.front();
}

std::vector<HWND> ChildrenWithId(HWND parent, int id)
{
    std::vector<HWND> found;
    for (const HWND child : SortedChildren(parent))
        if (GetDlgCtrlID(child) == id)
            found.push_back(child);
    return found;
}

RECT ChildRect(HWND child)
{
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool SetClientSize(HWND window, int width, int height)
{
    // The frame's size is what the window has beyond its client area now; a menu bar that wraps
    // changes it, so the size is set again until the client area fits.
    for (int attempt = 0; attempt < 4; ++attempt)
    {
        const SIZE outer = WindowSize(window);
        const SIZE client = ClientSize(window);
        if (client.cx == width && client.cy == height)
            return true;
        SetWindowPos(window, nullptr, 0, 0, outer.cx + width - client.cx, outer.cy + height - client.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    const SIZE client = ClientSize(window);
    return client.cx == width && client.cy == height;
}

void PostCommand(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::wstring ReadLogFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    return text;
}

void MoveMouse(HWND window, int x, int y) { PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

void ClickWithoutMove(HWND window, int x, int y)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Click(HWND window, int x, int y)
{
    MoveMouse(window, x, y);
    ClickWithoutMove(window, x, y);
}

void PressKey(HWND window, UINT virtualKey)
{
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}
} // namespace Harness

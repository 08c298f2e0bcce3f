#include "calendar/Startup.h"

#include "calendar/CalendarCommands.h"
#include "calendar/CalendarSettings.h"
#include "calendar/CalendarState.h"
#include "calendar/CommandLine.h"
#include "calendar/DrawingResources.h"
#include "calendar/HierarchyLoader.h"
#include "calendar/InstallUpdate.h"
#include "calendar/LumdayWindow.h"
#include "calendar/MainWindow.h"
#include "calendar/NotebookList.h"
#include "calendar/PageSearch.h"
#include "calendar/SelfUpdate.h"
#include "calendar/UiLanguages.h"
#include "framework/log/Log.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/WindowPosition.h"
#include "framework/ui/dialogs/MessageBoxDataProvider.h"
#include "update/Update.h"

#include <commctrl.h>

namespace
{
HWND foundInstance = nullptr;

BOOL CALLBACK FindExistingInstance(HWND window, LPARAM)
{
    wchar_t name[256] = {};
    if (GetClassNameW(window, name, 256) == 0)
        return TRUE;
    if (std::wstring(name) == MainWindowClass)
    {
        foundInstance = window;
        return FALSE;
    }
    return TRUE;
}

bool BringExistingInstanceForward()
{
    foundInstance = nullptr;
    EnumWindows(FindExistingInstance, 0);
    if (!foundInstance)
        return false;
    if (IsIconic(foundInstance))
        ShowWindow(foundInstance, SW_RESTORE);
    SetForegroundWindow(foundInstance);
    GetLog(true) << L"Brought the running instance forward";
    return true;
}

bool CreateTooltip(CalendarState& state)
{
    state.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, state.mainWindow, nullptr,
                                    state.instance, nullptr);
    if (!state.tooltip)
        return false;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = state.mainWindow;
    tool.uId = 0;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(state.tooltip, TTM_ACTIVATE, TRUE, 0);
    return true;
}

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0)
    {
        if (got == -1)
            break;
        if (IsDialogMessageW(mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
} // namespace

int RunLumday(HINSTANCE instance, const std::wstring& commandLine, int showCommand)
{
    CalendarState& state = GetCalendarState();
    state.uiThread = GetCurrentThreadId();
    const std::wstring program = GetProgramPath();
    SetRunningProduct(CalendarIdentity());
    GetLog(true) << ProductName << L" " << ProductVersion;
    GetLog(true) << L"Command line: " << program << L" " << commandLine;

    const LumdayCommand command = ParseCommandLine(commandLine, program);
    if (command.kind == LumdayCommand::Install)
    {
        InstallUpdate(command.target);
        return 0;
    }
    RemoveDownloadedUpdate();
    if (command.showUpdateInfo)
    {
        state.showUpdate = true;
        state.updateChecked = true;
    }
    // Started again by an install that failed: the update it offered would only fail once more.
    if (commandLine == UpdateNotInstalledArgument)
        state.updateChecked = true;

    if (FAILED(CoInitialize(nullptr)))
        return 0;
    const bool hadSettings = LoadSettings();
    CalendarSettings& settings = GetCalendarSettings();

    if (settings.singleInstance && BringExistingInstanceForward())
        return 0;

    const bool firstRun = settings.language.empty();
    if (!firstRun)
    {
        LoadLanguageStrings(settings.language);
        FillDateNameTables();
        state.currentView = &GetCalendarView();
    }
    else
    {
        LoadLanguageStrings(GetDefaultLanguage());
        state.currentView = &GetSettingsView();
        FillDateNameTables();
    }

    RegisterMainWindowClass(instance);
    state.instance = instance;
    SetTextSizeFromFontSize(settings.fontSize);
    CreateFonts();
    InstallMessageBoxDataProvider(std::make_shared<DefaultMessageBoxDataProvider>());
    SetDarkMode(settings.darkMode);

    const HWND mainWindow = CreateWindowExW(WS_EX_APPWINDOW, MainWindowClass, ProductName, 0x02FF0000, settings.x,
                                            settings.y, settings.width, settings.height, nullptr, nullptr, instance,
                                            nullptr);
    if (!mainWindow)
        return 0;
    state.mainWindow = mainWindow;
    state.currentView->Layout();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!CreateTooltip(state))
        return 0;
    state.searchBox = CreateWindowExW(0, L"Edit", nullptr, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 100, 20,
                                      mainWindow, nullptr, instance, nullptr);
    if (!state.searchBox)
        return 0;
    PlaceSearchBox();
    SendMessageW(state.searchBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetSearchBoxFont()), FALSE);

    UpdateWindowTitle();
    const int show = hadSettings ? static_cast<int>(SetWindowPosition(mainWindow, settings)) : showCommand;
    if (firstRun)
        ShowSettingsView(true);
    StartUpdateCheck();
    StartHierarchyLoad();
    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);
    // Told once, over the window: a run whose settings cannot be kept would otherwise lose them
    // without a word.
    ShowSettingsNotice(mainWindow);
    if (state.showUpdate)
        ShowUpdateInfo();

    const int result = RunMessageLoop(mainWindow);
    const bool stopped = StopWorkAndSaveSettings(ExitWaitLimit, HeldFileWait);
    // The window is gone: a save that found the file held says so in a box of its own.
    ShowSettingsNotice(nullptr);
    if (!stopped)
    {
        // A call that does not come back (OneNote hanging, or waiting for something of its own)
        // keeps its worker: with the settings saved, nothing of the run is left to do, and the
        // process ends without it rather than tear the program's state down under it.
        GetLog(true) << L"ERROR: A worker still waits in a call " << ExitWaitLimit / 1000
                     << L" s after the window closed; the program ends without it";
        TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    }
    FreeDrawingResources();
    return result;
}

void ShowSettingsNotice(HWND owner)
{
    if (const std::wstring notice = TakeSettingsNotice(); !notice.empty())
        MessageBoxW(owner, notice.c_str(), GetUiString(StrError).c_str(), MB_OK | MB_ICONWARNING);
}

bool StopWorkAndSaveSettings(DWORD waitLimit, ULONGLONG heldFileWait)
{
    CalendarState& state = GetCalendarState();
    state.quitting = true;
    // A search counts from the moment it is queued, so one queued just before the end is waited
    // for too.
    const auto working = [&state] { return state.loading || state.updateRunning || GetSearchWorkers() > 0; };
    const ULONGLONG start = GetTickCount64();
    while (working() && GetTickCount64() - start < waitLimit)
        Sleep(100);
    CalendarSettings& settings = GetCalendarSettings();
    settings.fontSize = GetTextSize();
    // The last load's notebooks are adopted, so that the filter is saved by their paths.
    GetNotebookList();
    SaveSettings(heldFileWait);
    return !working();
}

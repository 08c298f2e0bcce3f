// onenote.exe of the stand-in: a process named like OneNote's, with OneNote's main window class,
// so that the programs' OneNote process check (finding the process behind OneNote's window and
// reading its file version) has something real to find. Its window shows the current page of the
// store its environment names, as the in-process stand-in's own window does. It ends when its
// window is closed, or after the number of milliseconds given as its argument (so that no test
// leaves it running).
#include "framework/Owners.h"
#include "standins/onenote/PageWindow.h"

#include <windows.h>

#include <cwchar>

namespace
{
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        StandIn::PaintCurrentPage(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    // The store's XML parser is a COM object.
    const Owners::ComApartment apartment(COINIT_APARTMENTTHREADED);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"Framework::CFrame";
    if (!RegisterClassW(&windowClass))
        return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"OneNote", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    const unsigned long lifetime = commandLine && *commandLine ? wcstoul(commandLine, nullptr, 10) : 0;
    if (lifetime > 0)
        SetTimer(window, 1, lifetime, nullptr);
    ShowWindow(window, showCommand);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// Another program that holds a file, as a backup, a virus scanner or a synchronisation does for a
// moment: file_holder.exe <file> none|read <ready event> <let-go event> <milliseconds>
// opens the file for reading, sharing nothing or reading only, sets the ready event, and once the
// let-go event is set keeps the file the given milliseconds more before it ends. Exits 2 when the
// file cannot be opened and 3 when the events cannot be; it never holds the file longer than ten
// minutes.
#include "framework/Owners.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    const Owners::LocalMemory arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments || count != 6)
        return 1;
    wchar_t** argv = static_cast<wchar_t**>(arguments.get());
    const DWORD share = std::wstring(argv[2]) == L"read" ? FILE_SHARE_READ : 0;
    const Owners::FileHandle file(
        CreateFileW(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return 2;
    const Owners::KernelHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]));
    const Owners::KernelHandle letGo(OpenEventW(SYNCHRONIZE, FALSE, argv[4]));
    if (!ready || !letGo)
        return 3;
    SetEvent(ready.get());
    WaitForSingleObject(letGo.get(), 10 * 60 * 1000);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[5], nullptr, 10)));
    return 0;
}

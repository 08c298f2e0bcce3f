// make_store: writes a generated store for the OneNote stand-in.
//   make_store.exe <folder> [--pages=20000] [--notebooks=50] [--years=5] [--seed=1]
// Then point QUILLORA_ONENOTE_STORE at the folder (and name no scenario) to have the programs
// read it.
#include "standins/onenote/LargeStore.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

int wmain()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    StandIn::LargeStoreOptions options;
    std::wstring folder;
    for (int i = 1; i < count; ++i)
    {
        const std::wstring argument = arguments[i];
        auto number = [&](const wchar_t* prefix, auto& target) {
            if (argument.rfind(prefix, 0) != 0)
                return false;
            target = static_cast<std::remove_reference_t<decltype(target)>>(std::wcstol(argument.c_str() + wcslen(prefix), nullptr, 10));
            return true;
        };
        if (!number(L"--pages=", options.pages) && !number(L"--notebooks=", options.notebooks) &&
            !number(L"--years=", options.years) && !number(L"--seed=", options.seed))
            folder = argument;
    }
    LocalFree(arguments);
    if (folder.empty())
    {
        std::fwprintf(stderr, L"usage: make_store <folder> [--pages=N] [--notebooks=N] [--years=N] [--seed=N]\n");
        return 2;
    }
    if (!StandIn::WriteLargeStore(folder, options))
    {
        std::fwprintf(stderr, L"make_store: cannot write %ls\\store.xml\n", folder.c_str());
        return 1;
    }
    std::wprintf(L"%d pages in %d notebooks over %d years: %ls\\store.xml\n", options.pages, options.notebooks,
                 options.years, folder.c_str());
    return 0;
}

#include "batch_import/SheafinCommandLine.h"

#include "framework/Owners.h"

#include <windows.h>
#include <shellapi.h>

SheafinCommand ParseSheafinCommandLine(const std::vector<std::wstring>& arguments)
{
    SheafinCommand command;
    if (arguments.size() >= 2 && arguments[0] == L"/install")
    {
        command.install = true;
        command.installTarget = arguments[1];
        command.installVersion = arguments.size() == 3 ? arguments[2] : L"1.0.0";
    }
    else if (arguments.size() == 2 && arguments[0] == L"/showUpdateInfo")
        command.previousVersion = arguments[1];
    return command;
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& tail)
{
    std::vector<std::wstring> arguments;
    // CommandLineToArgvW takes an empty text as "the program's own path": an empty tail has no
    // arguments.
    if (tail.find_first_not_of(L" \t") == std::wstring::npos)
        return arguments;
    int count = 0;
    const Owners::LocalMemory vector(CommandLineToArgvW(tail.c_str(), &count));
    if (!vector)
        return arguments;
    auto* const* argv = static_cast<wchar_t* const*>(vector.get());
    for (int i = 0; i < count; ++i)
        arguments.emplace_back(argv[i]);
    return arguments;
}

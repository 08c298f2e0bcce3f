#pragma once
// What Sheafin's command line asks for: the two forms that the update hand-over uses, or a normal
// start.

#include <optional>
#include <string>
#include <vector>

struct SheafinCommand
{
    // "/install": copy the running program over installTarget and start it again.
    bool install = false;
    std::wstring installTarget;
    std::wstring installVersion;
    // "/showUpdateInfo": the version an update replaced, whose changes the window shows.
    std::optional<std::wstring> previousVersion;
};

// arguments are the command line's arguments after the program (argv[0] is the first argument).
// Both forms are matched exactly, letter case included: "/install" with a target (and a version
// when exactly three arguments are given, else "1.0.0"); "/showUpdateInfo" with exactly one
// version. Anything else is a normal start.
SheafinCommand ParseSheafinCommandLine(const std::vector<std::wstring>& arguments);

// The arguments of a command-line tail split by the shell's rules.
std::vector<std::wstring> SplitCommandLine(const std::wstring& tail);

#pragma once
// What Lumday's command line asks for: the install step of a downloaded update, the first start
// after an update, or a normal start.

#include "update/Update.h"

#include <string>

struct LumdayCommand
{
    enum Kind
    {
        Start,
        Install,
    };
    Kind kind = Start;
    std::wstring target;       // Install: the program file to replace
    bool showUpdateInfo = false;
};

// The path an argument names: the whole text, or the text between a leading and a trailing double
// quote; nothing for a text that opens a quote without closing it.
bool ParseProgramPath(const std::wstring& commandLine, std::wstring& path);

// The install step runs only in the downloaded update ("lumday1.exe", in any letter case) and only
// over an existing ".exe" other than the running file, so that a document opened with or dropped on
// Lumday is never overwritten: any other argument starts the calendar.
LumdayCommand ParseCommandLine(const std::wstring& commandLine, const std::wstring& runningProgram);

// The main function of every test executable.
#include "tests/support/ChosenTests.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>
#include <time.h>

int wmain(int argc, wchar_t** argv)
{
    // A crash must fail its test run, not wait for someone to close an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Wine takes the test time zone from TZ, but the C library would read the same variable as a
    // Windows-style zone name it does not know (UTC with US daylight saving). Without it, the C
    // library asks the system, which is Wine's correct zone.
    SetEnvironmentVariableW(L"TZ", nullptr);
    _putenv_s("TZ", "");
    _tzset();
    testing::InitGoogleTest(&argc, argv);
    return ChosenTests::RunAll();
}

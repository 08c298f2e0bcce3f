// The main function of every test executable.
#include <gtest/gtest.h>

#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    // A crash must fail its test run, not wait for someone to close an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

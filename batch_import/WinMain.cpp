#include "batch_import/SheafinStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    return RunSheafin(commandLine ? commandLine : L"");
}

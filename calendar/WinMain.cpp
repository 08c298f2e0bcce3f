#include "calendar/Startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand)
{
    return RunLumday(instance, commandLine ? commandLine : L"", showCommand);
}

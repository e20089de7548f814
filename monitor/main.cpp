// Monitor.exe: the resident program that owns the mouse.
#include <windows.h>

#include "monitor_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    CMonitorApp app;
    return app.Run(commandLine);
}

// Monitor.exe: the resident program that owns the mouse.
#include <windows.h>

#include "foreground_watch.h"
#include "monitor_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    CMonitorApp app(kForegroundPeriodMs);
    return app.Run(commandLine);
}

// Monitor.exe: the resident program that owns the mouse.
#include <windows.h>

#include "foreground_watch.h"
#include "monitor_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    CMonitorApp app(ForegroundClock{kForegroundPeriodMs, true});
    return app.Run(commandLine);
}

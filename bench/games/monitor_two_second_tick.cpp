// The Monitor with the foreground looked at every 2 seconds on a window timer,
// as it was before games had to get their profile within a quarter second: the idle benchmark
// runs it beside Monitor.exe to show what the shorter look costs. Built for
// the benchmark only; never staged or installed.
#include <windows.h>

#include "monitor_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    CMonitorApp app(ForegroundClock{2000, false});  // the window timer of old
    return app.Run(commandLine);
}

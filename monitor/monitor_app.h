#pragma once
// CMonitorApp: the Monitor's application object. One Monitor per logon
// session; a second start hands its request on to the first and ends.
#include <windows.h>

#include <memory>
#include <optional>

#include "com_scope.h"
#include "foreground_poller_win32.h"
#include "kernel_handle.h"

class CMonitorWnd;

class CMonitorApp {
public:
    explicit CMonitorApp(ForegroundClock foreground);
    ~CMonitorApp();
    CMonitorApp(const CMonitorApp&) = delete;
    CMonitorApp& operator=(const CMonitorApp&) = delete;

    // Start-up and message loop; returns the process exit code. The members
    // end with the application object, in the reverse order of their
    // declaration: the main window object, then COM, then the instance mutex.
    int Run(const wchar_t* commandLine);

private:
    bool InitInstance(const wchar_t* commandLine);

    const ForegroundClock foreground_;
    bool startOption_ = false;
    KernelHandle instanceMutex_;
    std::optional<ComScope> com_;  // from the instance check on, for the window's shell calls
    std::unique_ptr<CMonitorWnd> mainWnd_;
};

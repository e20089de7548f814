#pragma once
// CMonitorApp: the Monitor's application object. One Monitor per logon
// session; a second start hands its request on to the first and ends.
#include <windows.h>

#include <memory>

#include "kernel_handle.h"

class CMonitorWnd;

class CMonitorApp {
public:
    CMonitorApp();
    ~CMonitorApp();
    CMonitorApp(const CMonitorApp&) = delete;
    CMonitorApp& operator=(const CMonitorApp&) = delete;

    // Start-up, message loop and exit; returns the process exit code.
    int Run(const wchar_t* commandLine);

private:
    bool InitInstance(const wchar_t* commandLine);
    int ExitInstance();

    bool startOption_ = false;
    KernelHandle instanceMutex_;
    bool comInitialized_ = false;
    std::unique_ptr<CMonitorWnd> mainWnd_;
};

#include "monitor_app.h"

#include <objbase.h>

#include "app_messages.h"
#include "command_line.h"
#include "debug_output.h"
#include "monitor_wnd.h"

CMonitorApp::CMonitorApp() = default;

CMonitorApp::~CMonitorApp() { ExitInstance(); }

int CMonitorApp::Run(const wchar_t* commandLine) {
    if (!InitInstance(commandLine)) return ExitInstance();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return ExitInstance();
}

bool CMonitorApp::InitInstance(const wchar_t* commandLine) {
    startOption_ = HasStartOption(commandLine ? commandLine : L"");

    instanceMutex_.Reset(CreateMutexW(nullptr, FALSE, kMonitorInstanceMutex));
    if (instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        instanceMutex_.Reset();
        if (startOption_) {
            if (HWND running = FindWindowW(nullptr, kMonitorWindowTitle))
                PostMessageW(running, WM_COMMAND, ID_OPEN_OPTION, 0);
        }
        DebugOut(L"CMonitorApp: a Monitor is already running\n");
        return false;
    }

    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    mainWnd_ = std::make_unique<CMonitorWnd>(startOption_);
    // The window ends COM when it is destroyed, as the last step of its shutdown that needs it.
    if (comInitialized_) mainWnd_->TakeComOwnership();
    if (!mainWnd_->CreateHidden()) {
        DebugOut(L"CMonitorApp: the main window was refused\n");
        return false;
    }
    return true;
}

int CMonitorApp::ExitInstance() {
    if (mainWnd_) {
        // A window that was never created (or failed before its destroy handler) leaves COM to us.
        const bool comLeft = mainWnd_->OwnsCom();
        mainWnd_.reset();
        if (comLeft) CoUninitialize();
        comInitialized_ = false;
    } else if (comInitialized_) {
        CoUninitialize();
        comInitialized_ = false;
    }
    instanceMutex_.Reset();
    return 0;
}

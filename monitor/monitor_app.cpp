#include "monitor_app.h"

#include "app_messages.h"
#include "command_line.h"
#include "debug_output.h"
#include "dpi_awareness.h"
#include "monitor_wnd.h"

CMonitorApp::CMonitorApp(ForegroundClock foreground) : foreground_(foreground) {}

CMonitorApp::~CMonitorApp() = default;

int CMonitorApp::Run(const wchar_t* commandLine) {
    if (!InitInstance(commandLine)) return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
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

    // The manifest asks for it already; systems that ignore the manifest's
    // newer entries get the best they have.
    EnsurePerMonitorDpiAwareness();
    com_.emplace();
    mainWnd_ = std::make_unique<CMonitorWnd>(startOption_, foreground_);
    if (!mainWnd_->CreateHidden()) {
        DebugOut(L"CMonitorApp: the main window was refused\n");
        return false;
    }
    return true;
}

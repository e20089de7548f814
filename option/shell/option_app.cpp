#include "option_app.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app_messages.h"
#include "menu_frame_hook.h"
#include "debug_output.h"
#include "dpi_awareness.h"
#include "main_window.h"

COptionApp::~COptionApp() { ExitInstance(); }

int COptionApp::Run() {
    // Before the first window: Option draws its skins at the display's scale
    // itself, from the set of that scale, instead of being stretched.
    EnsurePerMonitorDpiAwareness();
    instanceMutex_.Reset(CreateMutexW(nullptr, FALSE, kOptionInstanceMutex));
    if (instanceMutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        // The running copy is neither told nor brought to the front.
        instanceMutex_.Reset();
        DebugOut(L"COptionApp: an Option is already running\n");
        return 0;
    }
    // Skin pictures load through OLE; tooltips and the standard dialogs need the common controls.
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    hookInstalled_ = CMenuFrameHook::Install() != nullptr;

    CMainWindow main;
    if (main.DoModal(nullptr) == -1) DebugOut(L"COptionApp: the main window could not be created\n");
    ExitInstance();
    return 0;
}

void COptionApp::ExitInstance() {
    if (hookInstalled_) CMenuFrameHook::Uninstall();
    hookInstalled_ = false;
    if (instanceMutex_) {
        ReleaseMutex(instanceMutex_.get());
        instanceMutex_.Reset();
    }
    if (comInitialized_) CoUninitialize();
    comInitialized_ = false;
}

#include "monitor_port_win32.h"

#include <windows.h>

#include "app_messages.h"

namespace {
HWND MonitorWindow() { return FindWindowW(nullptr, kMonitorWindowTitle); }
}  // namespace

bool CMonitorPort::PostApplyAll() {
    HWND monitor = MonitorWindow();
    return monitor && PostMessageW(monitor, WM_APPLY_ALL_SETTING, 0, 0);
}

bool CMonitorPort::PostClose() {
    HWND monitor = MonitorWindow();
    return monitor && PostMessageW(monitor, WM_CLOSE, 0, 0);
}

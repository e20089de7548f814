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

bool CMonitorPort::MouseConnected() {
    HWND monitor = MonitorWindow();
    DWORD_PTR answer = 0;
    // The Monitor's own thread may be busy with the mouse's arrival for a second.
    return monitor && SendMessageTimeoutW(monitor, WM_QUERY_MOUSE, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer) &&
           answer == 1;
}

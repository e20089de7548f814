#include "foreground_window_win32.h"

#include <windows.h>

#include "kernel_handle.h"
#include "monitor_logic.h"

uintptr_t CForegroundWindow::Window() { return reinterpret_cast<uintptr_t>(GetForegroundWindow()); }

std::wstring CForegroundWindow::ProgramOf(uintptr_t window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId) || processId == 0) return {};
    // Limited information is all a process of another user or elevation lets us ask.
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return {};
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return ExecutableFileName(std::wstring_view(path, size));
}

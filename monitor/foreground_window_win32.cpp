#include "foreground_window_win32.h"

#include <windows.h>

#include "kernel_handle.h"
#include "monitor_logic.h"

uintptr_t CForegroundWindow::Window() { return reinterpret_cast<uintptr_t>(GetForegroundWindow()); }

namespace {

// The executable file name of an open process; empty when it will not tell.
std::wstring ImageNameOf(HANDLE process) {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    return ExecutableFileName(std::wstring_view(path, size));
}

}  // namespace

std::wstring CForegroundWindow::ProgramOf(uintptr_t window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId) || processId == 0) return {};
    // Limited information is all a process of another user or elevation lets us ask.
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    return process ? ImageNameOf(process.get()) : std::wstring();
}

void CForegroundWindow::Follow(uintptr_t window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId) || processId == 0) return;
    for (const Followed& known : followed_) {
        if (known.processId == processId) return;
    }
    KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return;
    // Named by the process itself: the window may have gone since it was asked.
    std::wstring program = ImageNameOf(process.get());
    if (program.empty()) return;
    if (followed_.size() >= kMostFollowed) followed_.erase(followed_.begin());
    followed_.push_back({std::move(program), processId, std::move(process)});
}

std::vector<std::wstring> CForegroundWindow::FollowedPrograms() {
    // One wait for all of them; another only for each that ended.
    while (!followed_.empty()) {
        std::vector<HANDLE> handles;
        handles.reserve(followed_.size());
        for (const Followed& known : followed_) handles.push_back(known.process.get());
        const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, 0);
        if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size()) {
            followed_.erase(followed_.begin() + (result - WAIT_OBJECT_0));
            continue;
        }
        // WAIT_TIMEOUT: all still run. A failed wait tells nothing: keep them.
        break;
    }
    std::vector<std::wstring> programs;
    programs.reserve(followed_.size());
    for (const Followed& known : followed_) programs.push_back(known.program);
    return programs;
}

#include "monitor_host_win32.h"

#include <shellapi.h>

#include "app_messages.h"
#include "debug_output.h"
#include "download_job.h"
#include "monitor_wnd.h"

HWND CMonitorHost::OptionWindow() { return FindWindowW(nullptr, kOptionWindowTitle); }

bool CMonitorHost::QueueDownload(std::unique_ptr<DownloadJob> job) { return window_.QueueDownload(std::move(job)); }

bool CMonitorHost::PostToOption(unsigned message) {
    HWND option = OptionWindow();
    return option && PostMessageW(option, message, 0, 0);
}

void CMonitorHost::PostOpenOption() { PostMessageW(window_.hwnd(), WM_COMMAND, ID_OPEN_OPTION, 0); }

void CMonitorHost::OpenWithShell(const std::u16string& target) {
    const std::wstring text(target.begin(), target.end());
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) DebugOutF(L"launch button: the shell could not open %ls\n", text.c_str());
}

void CMonitorHost::Debug(const wchar_t* text) { DebugOut(text); }

void CMonitorHost::ShowActiveProfile(std::u16string_view name) {
    window_.ShowActiveProfile(std::wstring(name.begin(), name.end()));
}

void CMonitorHost::WaitMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void CMonitorHost::PostFullDownload() { window_.QueueFullDownload(); }

void CMonitorHost::ShowConnected() { window_.ShowConnected(); }

void CMonitorHost::ShowUnplugged() { window_.ShowUnplugged(); }

void CMonitorHost::CloseOptionWindow() {
    if (HWND option = OptionWindow()) PostMessageW(option, WM_CLOSE, 0, 0);
}

void CMonitorHost::DebugText(const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    DebugOut(wide.c_str());
}

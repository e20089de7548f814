#pragma once
// CMonitorHost: what the Monitor's logic and its device link ask of the
// program, in one adapter. Option's window, the shell, the debug output and
// the waits it serves itself; the worker, the icon and the logic belong to the
// main window, which it asks.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "device_link.h"
#include "monitor_host.h"

class CMonitorWnd;

class CMonitorHost final : public IMonitorHost, public ILinkHost {
public:
    explicit CMonitorHost(CMonitorWnd& window) : window_(window) {}
    CMonitorHost(const CMonitorHost&) = delete;
    CMonitorHost& operator=(const CMonitorHost&) = delete;

    // The window titled "7741 Gaming Mouse Option", or null.
    static HWND OptionWindow();

    // IMonitorHost
    bool QueueDownload(std::unique_ptr<DownloadJob> job) override;
    bool PostToOption(unsigned message) override;
    void PostOpenOption() override;
    void OpenWithShell(const std::u16string& target) override;
    void Debug(const wchar_t* text) override;
    void ShowActiveProfile(std::u16string_view name) override;

    // ILinkHost
    void WaitMs(int milliseconds) override;
    void PostFullDownload() override;
    void ShowConnected() override;
    void ShowUnplugged() override;
    void CloseOptionWindow() override;
    void DebugText(const std::string& text) override;

private:
    CMonitorWnd& window_;
};

#pragma once
// CMonitorWnd: the Monitor's hidden main window. It owns the text library,
// the device library and its worker, the store lock, the registry key of the
// pointer settings and the notification-area icon, and forwards the messages
// of Option, devio.dll and the shell to the Monitor's logic.
#include <windows.h>

#include <filesystem>
#include <memory>

#include "device_library_win32.h"
#include "device_link.h"
#include "device_worker_win32.h"
#include "monitor_logic.h"
#include "named_mutex_lock.h"
#include "registry_key_win32.h"
#include "system_pointer_win32.h"
#include "text_library.h"
#include "tray_icon.h"
#include "user_handles.h"
#include "window.h"

class CMonitorWnd final : public CWindow, public IMonitorHost, public ILinkHost {
public:
    explicit CMonitorWnd(bool startOption);
    ~CMonitorWnd() override;

    // Creates the hidden window; false when it was refused.
    bool CreateHidden();
    // Whether this window took over the thread's COM initialisation (it ends it on destruction).
    void TakeComOwnership() { ownsCom_ = true; }
    bool OwnsCom() const { return ownsCom_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTW* create) override;
    void OnDestroy() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void OnApplyAllSetting(LPARAM lParam);
    void OnApplyPointerSetting();
    void OnSystrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void OnCustomizer();
    void OnDevicePlug(WPARAM wParam);
    void OnDeviceEvent(WPARAM wParam, LPARAM lParam);
    void OnTaskbarCreated();
    // True when another program came to the front.
    bool TrackForegroundProgram();
    // Follows the foreground while the mouse is connected: the system's event
    // at once where it has one, the timer as well (where the event never comes).
    void StartForegroundTracking();
    void StopForegroundTracking();
    static void CALLBACK OnForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                           DWORD thread, DWORD time);
    bool MouseConnected() const;

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
    void AddIcon() override;
    void RemoveIcon() override;
    void CloseOptionWindow() override;
    void DebugText(const std::string& text) override;

    const bool startOption_;
    bool ownsCom_ = false;
    bool running_ = false;  // creation went past the store lock: the shutdown steps apply
    UINT taskbarCreated_ = 0;

    std::filesystem::path programFolder_;
    CTextLibrary texts_;
    std::unique_ptr<CRegistryKey> pointerKey_;
    CSystemPointer systemPointer_;
    DeviceLibrary library_;
    DeviceLink link_;
    std::unique_ptr<NamedMutexLock> storeLock_;
    std::unique_ptr<DeviceWorker> worker_;
    std::unique_ptr<MonitorLogic> logic_;
    CTrayIcon tray_;

    // The foreground timer only asks the system for a process name when the
    // foreground window or its process changed.
    HWND lastForeground_ = nullptr;  // not owned
    DWORD lastForegroundProcess_ = 0;
    WinEventHookHandle foregroundHook_;
};

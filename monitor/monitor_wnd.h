#pragma once
// CMonitorWnd: the Monitor's hidden main window. It forwards the messages of
// Option, devio.dll and the shell to the Monitor's logic.
//
// Lifetime: what the window owns lives in `Parts`, made when the window is
// created and filled by OnCreate step by step. OnDestroy first lets a
// download in progress run to its end and closes the device, then destroys
// the parts. C++ destroys members in the reverse order of their declaration,
// and that is the order of the shutdown:
//   the logic (it uses everything below it),
//   the worker (it calls the link and the library),
//   the link, then devio.dll,
//   the store lock,
//   the notification-area icon, then the texts its tip and menu come from,
//   the registry key of the pointer settings.
// The host adapter belongs to the window itself, so it outlives the logic and
// the link that call it.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "device_library_win32.h"
#include "device_link.h"
#include "device_worker_win32.h"
#include "foreground_poller_win32.h"
#include "foreground_window_win32.h"
#include "monitor_host_win32.h"
#include "monitor_logic.h"
#include "named_mutex_lock.h"
#include "registry_key_win32.h"
#include "system_pointer_win32.h"
#include "text_library.h"
#include "tray_icon.h"
#include "user_handles.h"
#include "window.h"

class CMonitorWnd final : public CWindow {
public:
    CMonitorWnd(bool startOption, ForegroundClock foreground);
    ~CMonitorWnd() override;

    // Creates the hidden window; false when it was refused.
    bool CreateHidden();

    // What the host adapter asks of the window.
    bool QueueDownload(std::unique_ptr<DownloadJob> job);
    void QueueFullDownload();
    void ShowActiveProfile(std::wstring name);
    // The icon shows for as long as the Monitor runs, in grey while the mouse is
    // away; the foreground is followed while it is connected.
    void ShowConnected();
    void ShowUnplugged();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTW* create) override;
    void OnDestroy() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    // Declared in shutdown order, last first (see above).
    struct Parts {
        explicit Parts(ILinkHost& host) : link(library, host) {}
        std::unique_ptr<CRegistryKey> pointerKey;
        CTextLibrary texts;
        CTrayIcon tray;
        std::unique_ptr<NamedMutexLock> storeLock;
        DeviceLibrary library;
        DeviceLink link;
        std::unique_ptr<DeviceWorker> worker;
        CSystemPointer systemPointer;
        std::unique_ptr<MonitorLogic> logic;
    };

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
    // The pace of the looks: quick while a game can come to the front, slow
    // while no linked game runs (see kForegroundIdlePeriodMs).
    void FollowForegroundPace();
    void LookAtPace(bool quick);
    bool WatchesForGames();
    static void CALLBACK OnForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                           DWORD thread, DWORD time);
    bool MouseConnected() const;
    // The logic, or null before the window made it and after it is gone.
    MonitorLogic* Logic() const { return parts_ ? parts_->logic.get() : nullptr; }

    const bool startOption_;
    const ForegroundClock foreground_;
    bool running_ = false;  // creation went past the store lock: the shutdown steps apply
    UINT taskbarCreated_ = 0;
    std::filesystem::path programFolder_;

    CMonitorHost host_;
    std::unique_ptr<Parts> parts_;

    CForegroundPoller foregroundPoller_;
    bool quickLooks_ = false;  // the pace of the looks, as last set
    CForegroundWindow foregroundWindow_;
    ForegroundWatch foregroundWatch_{foregroundWindow_};
    WinEventHookHandle foregroundHook_;
};

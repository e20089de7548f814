#pragma once
// Everything the Monitor decides without a window: which profile it holds, how
// it reloads the store, what an apply request or a button of the mouse leads
// to. The main window owns one and forwards its messages; the platform is
// reached through IMonitorHost, ISystemPointer and IPointerRegistry.
#include <filesystem>
#include <string>

#include "device_event.h"
#include "monitor_host.h"
#include "pointer_settings.h"
#include "profile_store.h"

class ISharedLock;

class MonitorLogic {
public:
    MonitorLogic(std::filesystem::path storeFile, IMonitorHost& host, ISystemPointer& pointer);

    // Both may be null: no registry key (reads 0, no writes), no lock yet.
    void SetPointerRegistry(IPointerRegistry* key) { registry_ = key; }
    void SetStoreLock(ISharedLock* lock) { lock_ = lock; }

    // Start-up: read the store without the lock (it does not exist yet).
    void LoadAtStartup();
    // Frees the profiles and reads the store again under the lock; when the
    // lock cannot be taken (none, or its holder died) the store is read without it.
    void Reload();

    // Applies the current profile's pointer settings; without a current
    // profile the system's settings stay as they are.
    void ApplyPointerSettings();

    // WM_APPLY_ALL_SETTING: reload, pointer settings, then the changed parts go
    // to the worker, or Option is answered at once when nothing can be sent.
    void OnApplyAllSetting(bool mouseConnected, intptr_t lParam);

    // A full download (start-up timer, arrival): the current profile, or the
    // Monitor's reset values when the store has none.
    bool QueueFullDownload();

    // WM_DEVICE_EVENT: a button of the mouse. A launch opens the button's
    // program, the configuration button opens Option, a DPI level or polling
    // rate chosen on the mouse is written into the store and Option told.
    void OnDeviceEvent(uint64_t wParam, int64_t lParam);

    const ProfileStore& store() const { return store_; }
    const ProfileRecord* CurrentProfile() const;

    // Executable name of the program in the foreground, lower case, as the
    // foreground timer last saw it. Kept for switching profiles per game.
    const std::wstring& ForegroundProgram() const { return foregroundProgram_; }
    // True when the name changed.
    bool SetForegroundProgram(std::wstring name);

private:
    void SaveDeviceChange(const DeviceEventAction& action);
    void AnswerApplyNow();

    std::filesystem::path storeFile_;
    IMonitorHost& host_;
    ISystemPointer& pointer_;
    IPointerRegistry* registry_ = nullptr;  // not owned
    ISharedLock* lock_ = nullptr;           // not owned
    ProfileStore store_;
    std::wstring foregroundProgram_;
};

// The file name of an executable path (after the last '\' or '/').
std::wstring ExecutableFileName(std::wstring_view path);

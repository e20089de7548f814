#pragma once
// The Monitor's connection to the mouse through devio.dll: the connection
// attempt, arrival and removal of the mouse, and the shutdown order. Portable:
// the library and the window side are interfaces, so the rules run in tests.
//
// Threads: everything here runs on the main thread except State(), which the
// download worker reads.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "device_state.h"
#include "download_sequence.h"

// The nine operations of devio.dll. Each returns the library's int; a binding
// whose library is missing or incomplete returns 0 without calling anything.
class IDeviceLibrary : public IDeviceChannel {
public:
    // Loaded, and every one of the nine exports was found.
    virtual bool IsComplete() const = 0;
    // Why the library cannot be used ("" when it can).
    virtual std::string Problem() const = 0;

    virtual int SetVidPid(int vendorId, int productId) = 0;
    virtual int OpenDevMonitor(void* window, int eventMessage, int plugMessage) = 0;
    virtual int CloseDevMonitor() = 0;
    virtual int OpenFeatureDevice() = 0;
    virtual int CloseFeatureDevice() = 0;
    virtual int OpenReportDevice() = 0;
    virtual int CloseReportDevice() = 0;
};

// One step of the reaction to a plug notification, in the order to be done.
enum class LinkAction {
    kWaitArrivalDelay,   // block the main thread for kArrivalDelayMs: the mouse settles
    kSetConnected,       // DeviceState = 1
    kOpenFeatureDevice,
    kOpenReportDevice,   // result not looked at
    kPostFullDownload,   // WM_WORKER_DOWNLOAD wParam 2 to the worker
    kShowConnected,      // the icon shows the mouse there; Option is told
    kSetRemoved,         // DeviceState = 2
    kCloseFeatureDevice,
    kCloseReportDevice,
    kShowUnplugged,      // the icon shows the mouse away, with one balloon that says so
    kCloseOptionWindow,  // WM_CLOSE to "7741 Gaming Mouse Option" when it exists
};

inline constexpr int kArrivalDelayMs = 1000;
inline constexpr uintptr_t kPlugRemoved = 0;
inline constexpr uintptr_t kPlugArrived = 1;

// The reaction to WM_DEVICE_PLUG in `state`: an arrival when the mouse is not
// connected, a removal when it is not already removed; nothing for a repeated
// notification or a wParam other than 0 and 1.
std::vector<LinkAction> PlanPlug(DeviceState state, uintptr_t wParam);

// What the Monitor's window does for the link.
class ILinkHost {
public:
    virtual ~ILinkHost() = default;
    virtual void WaitMs(int milliseconds) = 0;
    virtual void PostFullDownload() = 0;
    virtual void ShowConnected() = 0;
    virtual void ShowUnplugged() = 0;
    virtual void CloseOptionWindow() = 0;
    virtual void DebugText(const std::string& text) = 0;
};

class DeviceLink final : public IDeviceStateSource {
public:
    DeviceLink(IDeviceLibrary& library, ILinkHost& host) : library_(library), host_(host) {}

    // The connection attempt of start-up: Set_VIDPID(0x5A21, 0x7C03),
    // Open_DevMonitor(window, 1325, 1326), Open_FeatureDevice, Open_ReportDevice.
    // Connected when the last one returns nonzero. With an unusable library
    // nothing is called, the state is kNotPresent and a debug line says why.
    DeviceState Connect(void* window);

    // WM_DEVICE_PLUG: runs PlanPlug's steps through the library and the host.
    // Ignored (with a debug line) while the library is unusable: nothing was
    // opened, and nobody should be able to make us call a missing export.
    void OnDevicePlug(uintptr_t wParam);

    // The end, after the worker has stopped: Close_FeatureDevice,
    // Close_ReportDevice, Close_DevMonitor. The caller then frees the library.
    void Shutdown();

    DeviceState State() const override { return state_.load(std::memory_order_acquire); }
    bool Usable() const { return library_.IsComplete(); }

private:
    void Set(DeviceState state) { state_.store(state, std::memory_order_release); }
    void Run(LinkAction action);

    IDeviceLibrary& library_;
    ILinkHost& host_;
    std::atomic<DeviceState> state_{DeviceState::kNotPresent};
};

#pragma once
// Watches for the mouse being attached and removed.
//
// A thread of the library's own keeps a hidden message-only window registered
// for HID device-interface notices. Every notice for an interface of the mouse
// goes through a PlugTracker, so the Monitor gets one plug message per plug
// however many collections the mouse has.
#include <windows.h>

#include <string>

#include "hid_backend.h"
#include "hid_session.h"
#include "kernel_handle.h"
#include "message_target.h"

namespace hidio {

// The class of the hidden window (tests find the window by it).
inline constexpr wchar_t kNotifyWindowClass[] = L"Gm7741DevioDeviceWatch";

class DeviceNotifier {
public:
    // `session` supplies the current vendor and product id.
    DeviceNotifier(IHidBackend& backend, MessageTarget& target, const HidSession& session);
    ~DeviceNotifier();
    DeviceNotifier(const DeviceNotifier&) = delete;
    DeviceNotifier& operator=(const DeviceNotifier&) = delete;

    // True once the window exists and is registered for the notices. Starting a
    // running notifier changes nothing and succeeds.
    bool Start();
    // Ends the thread and its window and waits for it. Harmless when not running.
    void Stop();
    bool Running() const { return thread_.Valid(); }

private:
    struct Startup;
    void ThreadMain(Startup* startup);

    IHidBackend& backend_;
    MessageTarget& target_;
    const HidSession& session_;
    KernelHandle thread_;
    HWND window_ = nullptr;  // owned by the notifier thread, which destroys it
    DWORD threadId_ = 0;
};

}  // namespace hidio

#pragma once
// The window that hears from the library (the Monitor's main window), with the
// two message numbers it chose. Readers post from their own threads; the
// Monitor sets and clears it on its main thread.
#include <windows.h>

#include <mutex>

#include "hid_backend.h"
#include "hid_mutex.h"

namespace hidio {

class MessageTarget final : public IDeviceEventSink {
public:
    void Set(HWND window, UINT eventMessage, UINT plugMessage);
    // After this nothing more is posted.
    void Clear();

    // eventMessage with wParam = code, lParam = value.
    void OnDeviceEvent(HidDeviceEvent event) override;
    // plugMessage with wParam 1 (attached) or 0 (removed), lParam 0.
    void PostPlug(bool attached);

private:
    HidMutex mutex_;
    HWND window_ = nullptr;  // not owned: the caller's window
    UINT eventMessage_ = 0;
    UINT plugMessage_ = 0;
};

}  // namespace hidio

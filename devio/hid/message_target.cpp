#include "message_target.h"

namespace hidio {

void MessageTarget::Set(HWND window, UINT eventMessage, UINT plugMessage) {
    std::lock_guard<HidMutex> lock(mutex_);
    window_ = window;
    eventMessage_ = eventMessage;
    plugMessage_ = plugMessage;
}

void MessageTarget::Clear() { Set(nullptr, 0, 0); }

void MessageTarget::OnDeviceEvent(HidDeviceEvent event) {
    std::lock_guard<HidMutex> lock(mutex_);
    if (window_ == nullptr) return;
    PostMessageW(window_, eventMessage_, static_cast<WPARAM>(event.code), static_cast<LPARAM>(event.value));
}

void MessageTarget::PostPlug(bool attached) {
    std::lock_guard<HidMutex> lock(mutex_);
    if (window_ == nullptr) return;
    PostMessageW(window_, plugMessage_, attached ? 1 : 0, 0);
}

}  // namespace hidio

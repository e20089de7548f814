#pragma once
// Owners for the window manager's own objects that are freed by hand: menus
// and icons. Move-only, like the GDI owners, so nothing is destroyed twice.
#include <windows.h>

#include <utility>

template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class UserObject {
public:
    UserObject() = default;
    explicit UserObject(Handle handle) : handle_(handle) {}
    ~UserObject() { Reset(); }
    UserObject(UserObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UserObject& operator=(UserObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UserObject(const UserObject&) = delete;
    UserObject& operator=(const UserObject&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }
    // Gives up ownership, for a menu that becomes another menu's submenu.
    Handle Release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

// Not for icons loaded with LR_SHARED: those belong to the system.
using MenuHandle = UserObject<HMENU, &DestroyMenu>;
using IconHandle = UserObject<HICON, &DestroyIcon>;

#pragma once
// The owner of a handle that is freed by one function: popup menus and icons
// here, the GDI objects in gdi.h. Each such handle lives in one of these, so
// nothing is destroyed by hand and an early return never leaks.
#include <windows.h>

#include <utility>

// Owns one USER object and destroys it with `Destroy` (any function that
// takes the handle, so other kinds of handle can be owned the same way).
template <typename Handle, auto Destroy>
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
        if (handle_) Destroy(handle_);
        handle_ = handle;
    }
    // Gives up ownership, for a menu that becomes another menu's submenu (its
    // parent destroys it then).
    Handle Release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

// A menu made with CreateMenu or CreatePopupMenu (not a window's own menu).
using MenuHandle = UserObject<HMENU, DestroyMenu>;
// An icon made with LoadImage without LR_SHARED, CreateIconIndirect or SHGetFileInfo.
using IconHandle = UserObject<HICON, DestroyIcon>;
// An event hook made with SetWinEventHook.
using WinEventHookHandle = UserObject<HWINEVENTHOOK, UnhookWinEvent>;

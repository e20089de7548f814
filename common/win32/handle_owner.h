#pragma once
// The owner of a handle that one function frees: modules here, menus, icons
// and hooks in user_handles.h, GDI objects in gdi.h. Each such handle lives in
// one of these, so nothing is freed by hand and an early return never leaks.
#include <utility>

// Owns one handle and frees it with `Free` (any function that takes the handle).
template <typename Handle, auto Free>
class HandleOwner {
public:
    HandleOwner() = default;
    explicit HandleOwner(Handle handle) : handle_(handle) {}
    ~HandleOwner() { Reset(); }
    HandleOwner(HandleOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    HandleOwner& operator=(HandleOwner&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }
    // Gives up ownership, to an API or an object that frees the handle itself.
    Handle Release() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

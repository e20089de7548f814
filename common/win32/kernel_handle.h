#pragma once
// Owner for a kernel handle (file, event, thread, mutex): closed once, never by hand.
#include <windows.h>

// Both null and INVALID_HANDLE_VALUE mean "none", as the APIs that return
// handles use one or the other.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() { Reset(); }
    KernelHandle(KernelHandle&& other) noexcept : handle_(other.Release()) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }
    HANDLE Release() {
        HANDLE h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(HANDLE handle = nullptr) {
        if (Valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

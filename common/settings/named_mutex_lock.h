#pragma once
// The store lock as the Windows programs share it: a named mutex.
#include <memory>

#include "kernel_handle.h"
#include "shared_lock.h"

class NamedMutexLock final : public ISharedLock {
public:
    // Creates the mutex (not owned), as the Monitor does. `alreadyExisted` tells
    // whether some process had created it before.
    static std::unique_ptr<NamedMutexLock> Create(const wchar_t* name, bool& alreadyExisted);
    // Opens an existing mutex with full access, as Option does; null when no
    // Monitor has created it.
    static std::unique_ptr<NamedMutexLock> Open(const wchar_t* name);

    bool Acquire() override;
    void Release() override;

private:
    explicit NamedMutexLock(HANDLE handle) : handle_(handle) {}
    KernelHandle handle_;
};

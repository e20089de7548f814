#include "named_mutex_lock.h"

#include <windows.h>

std::unique_ptr<NamedMutexLock> NamedMutexLock::Create(const wchar_t* name, bool& alreadyExisted) {
    HANDLE h = CreateMutexW(nullptr, FALSE, name);
    alreadyExisted = h != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    if (!h) return nullptr;
    return std::unique_ptr<NamedMutexLock>(new NamedMutexLock(h));
}

std::unique_ptr<NamedMutexLock> NamedMutexLock::Open(const wchar_t* name) {
    HANDLE h = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name);
    if (!h) return nullptr;
    return std::unique_ptr<NamedMutexLock>(new NamedMutexLock(h));
}

bool NamedMutexLock::Acquire() {
    const DWORD r = WaitForSingleObject(handle_.get(), INFINITE);
    if (r == WAIT_OBJECT_0) return true;
    if (r == WAIT_ABANDONED) {
        // The previous holder died inside a load or save. We own the mutex now;
        // give it back so nobody waits forever, and report the wait as failed.
        ReleaseMutex(handle_.get());
        OutputDebugStringW(L"store lock was abandoned by its previous holder\n");
    }
    return false;
}

void NamedMutexLock::Release() { ReleaseMutex(handle_.get()); }

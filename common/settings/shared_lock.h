#pragma once
// The lock that keeps the two programs from using the profile store at the same
// time. Windows uses the named mutex "K417_7741_Gaming_Mouse_Normal_Mutex_Object";
// native builds and tests use an in-process lock.
#include <memory>
#include <mutex>

inline constexpr wchar_t kStoreLockName[] = L"K417_7741_Gaming_Mouse_Normal_Mutex_Object";

class ISharedLock {
public:
    virtual ~ISharedLock() = default;
    // Waits without time limit. False when there is no lock to wait for, or when
    // the previous holder died holding it; in that case the lock is released
    // again before returning, so it is never left owned.
    virtual bool Acquire() = 0;
    virtual void Release() = 0;
};

// An in-process stand-in for the named mutex.
class InProcessLock final : public ISharedLock {
public:
    bool Acquire() override {
        mutex_.lock();
        return true;
    }
    void Release() override { mutex_.unlock(); }

private:
    std::mutex mutex_;
};

// Holds a lock for one scope. `held()` says whether Acquire succeeded.
class SharedLockScope {
public:
    explicit SharedLockScope(ISharedLock* lock) : lock_(lock), held_(lock != nullptr && lock->Acquire()) {}
    ~SharedLockScope() {
        if (held_) lock_->Release();
    }
    SharedLockScope(const SharedLockScope&) = delete;
    SharedLockScope& operator=(const SharedLockScope&) = delete;
    bool held() const { return held_; }

private:
    ISharedLock* lock_;
    bool held_;
};

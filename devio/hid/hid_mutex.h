#pragma once
// The lock of the library's shared state.
//
// On Windows it is a slim reader/writer lock used exclusively. The mingw-w64
// runtime's std::mutex takes a kernel handle on first use and never gives it
// back (its destructor is trivial), and the library may be loaded and freed many
// times in one process: every cycle would leave handles behind. The lock needs
// no <windows.h> here: an SRWLOCK is one pointer, zero when free.
#if !defined(_WIN32)
#include <mutex>
#endif

namespace hidio {

class HidMutex {
public:
    HidMutex() = default;
    HidMutex(const HidMutex&) = delete;
    HidMutex& operator=(const HidMutex&) = delete;

#if defined(_WIN32)
    void lock();
    void unlock();

private:
    void* lock_ = nullptr;
#else
    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }

private:
    std::mutex mutex_;
#endif
};

}  // namespace hidio

#include <windows.h>

#include "hid_mutex.h"

namespace hidio {

static_assert(sizeof(SRWLOCK) == sizeof(void*), "an SRWLOCK is one pointer");

void HidMutex::lock() { AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_)); }

void HidMutex::unlock() { ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_)); }

}  // namespace hidio

#include "platform_sleeper_win32.h"

#include <windows.h>
#include <mmsystem.h>

void PlatformSleeper::SleepMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void PlatformSleeper::BeginPreciseWaits() {
    if (raise_ && !raised_) raised_ = timeBeginPeriod(1) == TIMERR_NOERROR;
}

void PlatformSleeper::EndPreciseWaits() {
    if (raised_) timeEndPeriod(1);
    raised_ = false;
}

#pragma once
// The foreground timer's clock: a thread that looks at the window in front
// every period and, when another window came to the front, posts the
// foreground timer's WM_TIMER to the Monitor's window, which then follows it
// through the core's ForegroundWatch.
//
// Why not SetTimer: under Wine every WM_TIMER wakes the main thread's message
// loop for several round trips to the server, which at five looks a second
// cost ten times the CPU of the old 2-second tick. A plain Sleep on a thread
// of its own wakes without the server, and the one question it asks
// (GetForegroundWindow) is a single round trip.
#include <windows.h>

#include <atomic>

#include "kernel_handle.h"

// How the Monitor looks at the foreground while the mouse is connected: every
// `periodMs`, on the poller's thread or, without it, on a window timer.
struct ForegroundClock {
    unsigned periodMs = 0;
    bool ownThread = true;
};

class CForegroundPoller {
public:
    CForegroundPoller() = default;
    ~CForegroundPoller();  // waits for the thread
    CForegroundPoller(const CForegroundPoller&) = delete;
    CForegroundPoller& operator=(const CForegroundPoller&) = delete;

    // Posts WM_TIMER `timerId` to `target` after each change of the window in
    // front, or after every look when `everyLook`. False when the thread could
    // not be started.
    bool Start(HWND target, UINT_PTR timerId, unsigned periodMs, bool everyLook = false);
    // Another pace for a running thread, from its next look on: the sleep
    // under way ends first.
    void SetPace(unsigned periodMs, bool everyLook);
    // Returns at once: the thread ends after its current sleep, posting nothing more.
    void Stop();

private:
    static DWORD WINAPI Run(void* self);

    HWND target_ = nullptr;  // not owned
    UINT_PTR timerId_ = 0;
    std::atomic<unsigned> periodMs_{0};
    std::atomic<bool> everyLook_{false};
    std::atomic<bool> running_{false};
    KernelHandle thread_;
};

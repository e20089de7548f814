#pragma once
// The foreground timer's clock at the quick pace: a thread that looks at the
// window in front every period and, when another window came to the front,
// posts the foreground timer's WM_TIMER to the Monitor's window, which then
// follows it through the core's ForegroundWatch.
//
// Why not SetTimer: under Wine every WM_TIMER wakes the main thread's message
// loop for several round trips to the server, which at five looks a second
// cost ten times the CPU of the old 2-second tick. A plain Sleep on a thread
// of its own wakes without the server, and the one question it asks
// (GetForegroundWindow) is a single round trip. At the slow pace the window
// timer is as cheap as the thread, and the window looks itself.
#include <windows.h>

#include <atomic>
#include <memory>

// How the Monitor looks at the foreground while the mouse is connected: every
// `periodMs`, on the poller's thread or, without it, on a window timer.
struct ForegroundClock {
    unsigned periodMs = 0;
    bool ownThread = true;
};

class CForegroundPoller {
public:
    CForegroundPoller() = default;
    // Returns at once, as Stop does: the thread keeps what it reads to itself
    // and ends after its current sleep.
    ~CForegroundPoller();
    CForegroundPoller(const CForegroundPoller&) = delete;
    CForegroundPoller& operator=(const CForegroundPoller&) = delete;

    // Posts WM_TIMER `timerId` to `target` after each change of the window in
    // front and, when `heartbeatMs` is not 0, after that long without a post
    // (a heartbeat of one period posts every look). True also when it already
    // runs; false when the thread could not be started.
    bool Start(HWND target, UINT_PTR timerId, unsigned periodMs, unsigned heartbeatMs = 0);
    // Returns at once: the thread ends after its current sleep, posting nothing
    // more. A Start after it does not wait for that: a new thread looks.
    void Stop();

private:
    // One thread's orders, shared by the thread and this object, so that
    // neither ending the Monitor nor a new start waits out a sleep.
    struct Orders {
        HWND target = nullptr;  // not owned
        UINT_PTR timerId = 0;
        unsigned periodMs = 0;
        unsigned heartbeatMs = 0;
        std::atomic<bool> running{false};
    };

    static DWORD WINAPI Run(void* orders);

    std::shared_ptr<Orders> orders_;
};

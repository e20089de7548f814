#include "foreground_poller_win32.h"

#include "kernel_handle.h"

namespace {
// The thread sleeps and asks one question; the default megabyte would be waste.
constexpr SIZE_T kStackBytes = 64 * 1024;
}  // namespace

CForegroundPoller::~CForegroundPoller() { Stop(); }

bool CForegroundPoller::Start(HWND target, UINT_PTR timerId, unsigned periodMs, unsigned heartbeatMs) {
    if (orders_ && orders_->running) return true;
    // A thread stopped a moment ago may still be asleep; it keeps its own
    // orders, which say stop, and the new thread gets new ones.
    auto orders = std::make_shared<Orders>();
    orders->target = target;
    orders->timerId = timerId;
    orders->heartbeatMs = heartbeatMs;
    orders->periodMs = periodMs;
    orders->running = true;
    // The thread's share travels through its start parameter and is taken
    // back by Run, or here when the thread could not be made.
    auto share = std::make_unique<std::shared_ptr<Orders>>(orders);
    const KernelHandle thread(CreateThread(nullptr, kStackBytes, &CForegroundPoller::Run, share.get(),
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread) return false;
    share.release();
    orders_ = std::move(orders);
    return true;
}

void CForegroundPoller::Stop() {
    if (orders_) orders_->running = false;
}

DWORD WINAPI CForegroundPoller::Run(void* share) {
    const std::unique_ptr<std::shared_ptr<Orders>> taken(static_cast<std::shared_ptr<Orders>*>(share));
    const Orders& orders = **taken;
    // Only what changed is posted; the window's own watch decides whether it
    // is a change of program. Its first look thus comes after one period, as
    // a timer's would.
    HWND last = nullptr;
    unsigned quiet = 0;  // ms since the last post
    for (;;) {
        Sleep(orders.periodMs);
        if (!orders.running) return 0;
        quiet += orders.periodMs;
        HWND now = GetForegroundWindow();
        // No window in front happens between two activations and is no change.
        const bool changed = now && now != last;
        if (changed || (orders.heartbeatMs != 0 && quiet >= orders.heartbeatMs)) {
            if (changed) last = now;
            quiet = 0;
            PostMessageW(orders.target, WM_TIMER, orders.timerId, 0);
        }
    }
}

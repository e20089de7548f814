#include "foreground_poller_win32.h"

namespace {
// The thread sleeps and asks one question; the default megabyte would be waste.
constexpr SIZE_T kStackBytes = 64 * 1024;
}  // namespace

CForegroundPoller::~CForegroundPoller() {
    Stop();
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

bool CForegroundPoller::Start(HWND target, UINT_PTR timerId, unsigned periodMs, bool everyLook) {
    if (running_) return true;
    // A thread stopped a moment ago may still be asleep: it reads the members
    // below when it wakes, so it must be gone before they change.
    if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
    thread_.Reset();
    target_ = target;
    timerId_ = timerId;
    SetPace(periodMs, everyLook);
    running_ = true;
    thread_.Reset(CreateThread(nullptr, kStackBytes, &CForegroundPoller::Run, this, STACK_SIZE_PARAM_IS_A_RESERVATION,
                               nullptr));
    if (!thread_) running_ = false;
    return running_;
}

void CForegroundPoller::Stop() { running_ = false; }

void CForegroundPoller::SetPace(unsigned periodMs, bool everyLook) {
    periodMs_ = periodMs;
    everyLook_ = everyLook;
}

DWORD WINAPI CForegroundPoller::Run(void* self) {
    auto& poller = *static_cast<CForegroundPoller*>(self);
    // Only what changed is posted; the window's own watch decides whether it
    // is a change of program. Its first look thus comes after one period, as
    // a timer's would.
    HWND last = nullptr;
    for (;;) {
        Sleep(poller.periodMs_);
        if (!poller.running_) return 0;
        // At every look the window looks for itself: asking here as well would be a second trip to the server.
        if (poller.everyLook_) {
            last = nullptr;
            PostMessageW(poller.target_, WM_TIMER, poller.timerId_, 0);
            continue;
        }
        HWND now = GetForegroundWindow();
        // No window in front happens between two activations and is no change.
        if (now && now != last) {
            last = now;
            PostMessageW(poller.target_, WM_TIMER, poller.timerId_, 0);
        }
    }
}

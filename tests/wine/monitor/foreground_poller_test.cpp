#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>

#include "foreground_poller_win32.h"

namespace {

// A message-only window to post to; the test reads its queue directly.
class PollerTarget : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (window_) DestroyWindow(window_);
    }

    // The timer id of the next WM_TIMER posted to the window; 0 when none came in `seconds`.
    UINT_PTR NextTimer(unsigned seconds) {
        const ULONGLONG end = GetTickCount64() + seconds * 1000ull;
        for (;;) {
            MSG msg;
            if (PeekMessageW(&msg, window_, WM_TIMER, WM_TIMER, PM_REMOVE)) return msg.wParam;
            const ULONGLONG now = GetTickCount64();
            if (now >= end) return 0;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_POSTMESSAGE);
        }
    }

    // Runs `step`, which must not wait for a thread that sleeps for ever. A
    // step that does would hang the test run, so the test ends the process.
    static void MustReturn(const char* what, const std::function<void()>& step) {
        auto done = std::async(std::launch::async, step);
        if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
            std::fprintf(stderr, "FAILED: %s waited for a poller thread's sleep\n", what);
            std::fflush(stderr);
            std::_Exit(1);
        }
    }

    HWND window_ = nullptr;
};

TEST_F(PollerTarget, PostsEveryLookOrOnlyAChangeOfTheWindowInFront) {
    CForegroundPoller poller;
    ASSERT_TRUE(poller.Start(window_, 5, 10, true));
    EXPECT_EQ(NextTimer(30), 5u);
    EXPECT_EQ(NextTimer(30), 5u) << "at every look each look is posted";
    poller.SetPace(10, false);
    // The window in front of this test never changes: at most the first look after the change of pace is posted.
    NextTimer(1);
    EXPECT_EQ(NextTimer(1), 0u);
    poller.Stop();
}

TEST_F(PollerTarget, NeitherARestartNorTheEndWaitsForAStoppedThreadsSleep) {
    // A sleep without end stands for the slow pace's two seconds, which a
    // Monitor being closed or a mouse plugged in again must not wait out.
    auto poller = std::make_unique<CForegroundPoller>();
    ASSERT_TRUE(poller->Start(window_, 7, INFINITE, true));
    poller->Stop();
    bool restarted = false;
    MustReturn("a start after a stop", [&] { restarted = poller->Start(window_, 8, 10, true); });
    ASSERT_TRUE(restarted);
    EXPECT_EQ(NextTimer(30), 8u) << "the new thread looks at the new pace";
    MustReturn("ending a stopped poller", [&] { poller.reset(); });

    MustReturn("ending a running poller", [&] {
        CForegroundPoller sleeping;
        ASSERT_TRUE(sleeping.Start(window_, 9, INFINITE, true));
    });
}

}  // namespace

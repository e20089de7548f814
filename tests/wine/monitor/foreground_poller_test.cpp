#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "foreground_poller_win32.h"
#include "foreground_window_win32.h"
#include "game_switch.h"
#include "kernel_handle.h"

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

TEST_F(PollerTarget, PostsOnlyAChangeOfTheWindowInFront) {
    CForegroundPoller poller;
    ASSERT_TRUE(poller.Start(window_, 5, 10));
    // The window in front of this test never changes: the first look may be posted, no other.
    NextTimer(1);
    EXPECT_EQ(NextTimer(1), 0u);
    poller.Stop();
}

TEST_F(PollerTarget, WithoutAChangeInFrontAHeartbeatStillComes) {
    // The Monitor's only chance to slow down again once a game has ended.
    CForegroundPoller poller;
    ASSERT_TRUE(poller.Start(window_, 6, 10, 200));
    NextTimer(1);  // the first look may count as a change
    const ULONGLONG from = GetTickCount64();
    EXPECT_EQ(NextTimer(30), 6u);
    EXPECT_GE(GetTickCount64() - from, 150u) << "posted at a look, not at the heartbeat";
    EXPECT_EQ(NextTimer(30), 6u);
    poller.Stop();
}

// The visible top-level window of process `id`; null while it has none.
HWND WindowOf(DWORD id) {
    struct Search {
        DWORD id;
        HWND found;
    } search{id, nullptr};
    EnumWindows(
        [](HWND candidate, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner != wanted->id || !IsWindowVisible(candidate)) return TRUE;
            wanted->found = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(FollowedPrograms, AProgramIsNamedUntilItEnds) {
    // A program with a window of its own, followed as a game in front would be.
    wchar_t command[] = L"notepad.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    const KernelHandle process(child.hProcess), thread(child.hThread);
    HWND window = nullptr;
    for (int i = 0; i < 300 && !(window = WindowOf(child.dwProcessId)); ++i) Sleep(100);
    ASSERT_NE(window, nullptr) << "notepad showed no window";

    CForegroundWindow platform;
    EXPECT_TRUE(platform.FollowedPrograms().empty());
    platform.Follow(reinterpret_cast<uintptr_t>(window));
    platform.Follow(reinterpret_cast<uintptr_t>(window));
    std::vector<std::wstring> followed = platform.FollowedPrograms();
    ASSERT_EQ(followed.size(), 1u) << "followed twice";
    EXPECT_EQ(FoldProgramName(followed[0]), L"NOTEPAD.EXE");

    TerminateProcess(process.get(), 0);
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(platform.FollowedPrograms().empty()) << "an ended program is still followed";
}

}  // namespace

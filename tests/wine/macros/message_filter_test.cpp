// The macro page's thread message filter under Wine: it sees what the thread
// takes from its queue once per message (a peek that leaves the message does
// not count), a consumed message is dispatched as WM_NULL, and nothing is
// filtered once it is removed.
#include "message_filter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 17;

struct Received {
    std::vector<WPARAM> probes;
};

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbe) {
        auto* received = reinterpret_cast<Received*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        received->probes.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class MessageFilter : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"GmFilterTestWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
        ASSERT_NE(window, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&received));
    }
    void TearDown() override { DestroyWindow(window); }

    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

    HWND window = nullptr;
    Received received;
};

TEST_F(MessageFilter, SeesEachMessageOnceAndConsumedOnesNeverArrive) {
    std::vector<WPARAM> seen;
    CThreadMessageFilter filter;
    ASSERT_TRUE(filter.Install([&](const MSG& m) {
        if (m.message != kProbe) return false;
        seen.push_back(m.wParam);
        return m.wParam % 2 == 1;  // the odd ones are consumed
    }));
    for (WPARAM i = 0; i < 4; ++i) PostMessageW(window, kProbe, i, 0);
    MSG peeked;
    ASSERT_TRUE(PeekMessageW(&peeked, window, kProbe, kProbe, PM_NOREMOVE));
    Pump();
    EXPECT_EQ(seen, (std::vector<WPARAM>{0, 1, 2, 3}));
    EXPECT_EQ(received.probes, (std::vector<WPARAM>{0, 2}));

    // A second filter on the same thread is refused while the first is in place.
    CThreadMessageFilter other;
    EXPECT_FALSE(other.Install([](const MSG&) { return true; }));

    filter.Remove();
    EXPECT_FALSE(filter.Installed());
    PostMessageW(window, kProbe, 5, 0);
    Pump();
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(received.probes.back(), 5u);
    EXPECT_TRUE(other.Install([](const MSG&) { return false; }));
}

}  // namespace

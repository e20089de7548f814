// The recorder's keyboard hook under Wine: keys injected with SendInput must
// reach the target window as 0x40A with their own time stamps, reach nobody
// else while the hook is installed, and reach everybody again once it is gone.
#include "keyboard_hook.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct Window {
    HWND hwnd = nullptr;
    explicit Window(HWND h) : hwnd(h) {}
    ~Window() {
        if (hwnd) DestroyWindow(hwnd);
    }
};

HWND MakeTarget() {
    return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

void SendKey(WORD vk, bool up, DWORD time) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.ki.time = time;
    SendInput(1, &input, sizeof input);
}

// Runs the thread's messages (low-level hooks are called from them) for `ms`,
// or until `done` holds, keeping the hook messages that reach `target`.
template <typename Done>
std::vector<std::pair<WPARAM, LPARAM>> PumpUntil(HWND target, DWORD ms, Done done) {
    std::vector<std::pair<WPARAM, LPARAM>> keys;
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0 && !done(keys)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_HOOK_KEY && msg.hwnd == target) {
                keys.emplace_back(msg.wParam, msg.lParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return keys;
}

// Waits for `count` hook messages (a loaded machine may take a while).
std::vector<std::pair<WPARAM, LPARAM>> PumpFor(HWND target, size_t count) {
    return PumpUntil(target, 5000, [count](const auto& keys) { return keys.size() >= count; });
}

// Runs the messages for `ms`, for what must not arrive.
std::vector<std::pair<WPARAM, LPARAM>> Pump(HWND target, DWORD ms) {
    return PumpUntil(target, ms, [](const auto&) { return false; });
}

}  // namespace

TEST(KeyboardHook, PostsEachTransitionWithItsOwnTimeUntilRemoved) {
    Window target(MakeTarget());
    ASSERT_TRUE(target.hwnd);
    CKeyboardHook hook;
    ASSERT_TRUE(hook.Install(target.hwnd));
    EXPECT_TRUE(hook.Installed());
    SendKey('A', false, 1000);
    SendKey('A', true, 1234);
    SendKey(VK_RSHIFT, false, 1300);
    SendKey(VK_RSHIFT, true, 1301);
    const auto keys = PumpFor(target.hwnd, 4);
    EXPECT_TRUE(Pump(target.hwnd, 200).empty()) << "more messages than key transitions";
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0], std::make_pair(WPARAM('A'), LPARAM(0)));
    EXPECT_EQ(keys[1], std::make_pair(WPARAM('A'), kHookKeyReleased));
    // The right key itself, not the generic Shift: the recorder keeps left and right apart.
    EXPECT_EQ(keys[2], std::make_pair(WPARAM(VK_RSHIFT), LPARAM(0)));
    EXPECT_EQ(keys[3], std::make_pair(WPARAM(VK_RSHIFT), kHookKeyReleased));
    // One time per message, the events' own, in order.
    DWORD time = 0;
    for (DWORD expected : {1000u, 1234u, 1300u, 1301u}) {
        ASSERT_TRUE(hook.TakeEventTime(time));
        EXPECT_EQ(time, expected);
    }
    EXPECT_FALSE(hook.TakeEventTime(time));

    hook.Remove();
    EXPECT_FALSE(hook.Installed());
    SendKey('B', false, 2000);
    SendKey('B', true, 2001);
    EXPECT_TRUE(Pump(target.hwnd, 500).empty()) << "keys reached the window after the hook was removed";
}

TEST(KeyboardHook, OneHookPerThreadAndTheDestructorRemovesIt) {
    Window target(MakeTarget());
    {
        CKeyboardHook first;
        ASSERT_TRUE(first.Install(target.hwnd));
        CKeyboardHook second;
        EXPECT_FALSE(second.Install(target.hwnd)) << "two hooks would each post every key";
        EXPECT_TRUE(first.Install(target.hwnd)) << "installing again only changes the target";
    }
    // The first was destroyed: a new one can be installed, and nothing is left over.
    CKeyboardHook again;
    EXPECT_TRUE(again.Install(target.hwnd));
    SendKey('C', false, 3000);
    SendKey('C', true, 3001);
    EXPECT_EQ(PumpFor(target.hwnd, 2).size(), 2u);
}

TEST(KeyboardHook, SwallowsKeysWhileInstalled) {
    Window target(MakeTarget());
    Window edit(CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 10, 10, 200, 30, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(edit.hwnd);
    SetForegroundWindow(edit.hwnd);
    SetFocus(edit.hwnd);
    Pump(target.hwnd, 100);
    auto text = [&] {
        wchar_t buffer[64] = {};
        GetWindowTextW(edit.hwnd, buffer, 64);
        return std::wstring(buffer);
    };
    auto typed = [&](const wchar_t* expected) {
        return PumpUntil(target.hwnd, 3000, [&](const auto&) { return text() == expected; });
    };
    SendKey('X', false, 0);
    SendKey('X', true, 0);
    typed(L"x");
    // Without the hook the key must arrive: otherwise nothing below could tell
    // a swallowed key from a lost one, and a hook that lets keys through would pass.
    ASSERT_EQ(text(), L"x") << "injected keys do not reach a focused window";

    CKeyboardHook hook;
    ASSERT_TRUE(hook.Install(target.hwnd));
    SendKey('Y', false, 0);
    SendKey('Y', true, 0);
    EXPECT_EQ(PumpFor(target.hwnd, 2).size(), 2u);
    Pump(target.hwnd, 300);
    EXPECT_EQ(text(), L"x") << "a key passed the hook";
    hook.Remove();
    SendKey('Z', false, 0);
    SendKey('Z', true, 0);
    typed(L"xz");
    EXPECT_EQ(text(), L"xz");
}

#pragma once
// CKeyboardHook: the system-wide low-level keyboard hook of the recorder and of
// the assignment dialog's key page. While it is installed every key event of
// every program goes to one window of ours as message 0x40A (wParam the
// virtual-key code, lParam 0x80 on a release, 0 on a press) and to nobody
// else. The object owns the hook: it is removed on every way out, and a hook
// that is left behind dies with its thread anyway.
#include <windows.h>

#include <deque>

inline constexpr UINT WM_HOOK_KEY = 0x40A;
inline constexpr LPARAM kHookKeyReleased = 0x80;

class CKeyboardHook {
public:
    CKeyboardHook() = default;
    ~CKeyboardHook() { Remove(); }
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // Installs the hook for `target` (one hook per thread at a time); true
    // when it exists afterwards. Installing again only changes the target.
    bool Install(HWND target);
    void Remove();
    bool Installed() const { return hook_ != nullptr; }

    // The time stamps (milliseconds, the events' own) of the key messages
    // posted so far and not yet taken, oldest first. Whoever handles 0x40A
    // takes exactly one per message, repeats included, so the two stay in
    // step; the recorder then measures delays that a busy queue cannot
    // stretch. False (use the message's own time) once the hook is removed.
    bool TakeEventTime(DWORD& time);

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook_ = nullptr;
    HWND target_ = nullptr;  // not owned
    std::deque<DWORD> times_;
};

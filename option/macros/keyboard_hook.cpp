#include "keyboard_hook.h"

#include "debug_output.h"
#include "module.h"

namespace {

// Low-level hooks are called on the installing thread; one per thread is all
// the pages need, and the procedure has no other way to find its object.
thread_local CKeyboardHook* g_active = nullptr;

// A bound for a window that never takes its times: memory stays small, and
// only a window that broke the one-per-message rule loses its pairing.
constexpr size_t kTimeLimit = 4096;

}  // namespace

bool CKeyboardHook::Install(HWND target) {
    target_ = target;
    if (hook_) return true;
    if (g_active && g_active != this) return false;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &CKeyboardHook::Procedure, CurrentModule(), 0);
    DebugOutF(L"Hhook: %x\r\n", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hook_)));
    if (hook_) g_active = this;
    times_.clear();
    return hook_ != nullptr;
}

void CKeyboardHook::Remove() {
    if (!hook_) return;
    DebugOutF(L"Hhook: %x\r\n", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(hook_)));
    const bool removed = UnhookWindowsHookEx(hook_) != FALSE;
    DebugOut(removed ? L"UnHhook: Success \r\n" : L"UnHhook: Fail \r\n");
    hook_ = nullptr;
    target_ = nullptr;
    times_.clear();
    if (g_active == this) g_active = nullptr;
}

bool CKeyboardHook::TakeEventTime(DWORD& time) {
    if (times_.empty()) return false;
    time = times_.front();
    times_.pop_front();
    return true;
}

LRESULT CALLBACK CKeyboardHook::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    CKeyboardHook* self = g_active;
    if (code < 0 || !self) return CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (self->target_ && event) {
        if (self->times_.size() >= kTimeLimit) self->times_.pop_front();
        self->times_.push_back(event->time);
        PostMessageW(self->target_, WM_HOOK_KEY, event->vkCode, (event->flags & LLKHF_UP) ? kHookKeyReleased : 0);
    }
    // Swallowed: while we record, no other program gets the keys.
    return 1;
}

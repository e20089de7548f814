#include "dialog_key_filter.h"

#include "debug_output.h"

namespace {

thread_local CDialogKeyFilter* g_keyFilter = nullptr;

}  // namespace

bool CDialogKeyFilter::Install(Filter filter) {
    if (g_keyFilter && g_keyFilter != this) return false;
    filter_ = std::move(filter);
    if (hook_) return true;
    // The message filter hook, not the message hook: it runs only inside the
    // dialog loops, where the manager would otherwise read the key first.
    hook_.Reset(SetWindowsHookExW(WH_MSGFILTER, &CDialogKeyFilter::Procedure, nullptr, GetCurrentThreadId()));
    if (!hook_) {
        DebugOut(L"CDialogKeyFilter: the message filter hook could not be installed\n");
        return false;
    }
    g_keyFilter = this;
    return true;
}

void CDialogKeyFilter::Remove() {
    if (!hook_) return;
    hook_.Reset();
    if (g_keyFilter == this) g_keyFilter = nullptr;
}

LRESULT CALLBACK CDialogKeyFilter::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    CDialogKeyFilter* self = g_keyFilter;
    if (code == MSGF_DIALOGBOX && self && self->filter_) {
        bool consumed = false;
        try {
            consumed = self->filter_(*reinterpret_cast<const MSG*>(lParam));
        } catch (...) {
            DebugOut(L"CDialogKeyFilter: the filter failed\n");
        }
        if (consumed) return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

#include "message_filter.h"

#include "debug_output.h"

namespace {

thread_local CThreadMessageFilter* g_filter = nullptr;

}  // namespace

bool CThreadMessageFilter::Install(Filter filter) {
    filter_ = std::move(filter);
    busy_ = false;
    if (hook_) return true;
    if (g_filter && g_filter != this) return false;
    hook_.Reset(SetWindowsHookExW(WH_GETMESSAGE, &CThreadMessageFilter::Procedure, nullptr, GetCurrentThreadId()));
    if (!hook_) {
        DebugOut(L"CThreadMessageFilter: the message hook could not be installed\n");
        return false;
    }
    g_filter = this;
    return true;
}

void CThreadMessageFilter::Remove() {
    if (!hook_) return;
    hook_.Reset();
    if (g_filter == this) g_filter = nullptr;
}

LRESULT CALLBACK CThreadMessageFilter::Procedure(int code, WPARAM wParam, LPARAM lParam) {
    CThreadMessageFilter* self = g_filter;
    // A peek that leaves the message in the queue shows it again later: only
    // the removal counts, or one click would be recorded twice.
    if (code == HC_ACTION && wParam == PM_REMOVE && self && self->filter_ && !self->busy_) {
        auto* message = reinterpret_cast<MSG*>(lParam);
        self->busy_ = true;
        bool consumed = false;
        try {
            consumed = self->filter_(*message);
        } catch (...) {
            DebugOut(L"CThreadMessageFilter: the filter failed\n");
        }
        // The object may be gone if the filter ended its owner.
        if (g_filter == self) self->busy_ = false;
        if (consumed) message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

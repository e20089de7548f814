#pragma once
// CThreadMessageFilter: looks at every message this thread takes from its
// queue, before it is dispatched, in every loop that takes them: the main
// window's, a menu's, a drag's. The macro page records mouse buttons that
// reach any of Option's windows this way, and keeps keys from operating the
// page while it records.
#include <windows.h>

#include <functional>

#include "user_handles.h"

class CThreadMessageFilter {
public:
    // True: the message is consumed (it is dispatched as WM_NULL).
    using Filter = std::function<bool(const MSG&)>;

    CThreadMessageFilter() = default;
    ~CThreadMessageFilter() { Remove(); }
    CThreadMessageFilter(const CThreadMessageFilter&) = delete;
    CThreadMessageFilter& operator=(const CThreadMessageFilter&) = delete;

    // One filter per thread at a time; installing again replaces the function.
    bool Install(Filter filter);
    void Remove();
    bool Installed() const { return static_cast<bool>(hook_); }

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

    WindowsHookHandle hook_;
    Filter filter_;
    bool busy_ = false;
};

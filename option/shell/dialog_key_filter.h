#pragma once
// CDialogKeyFilter: sees every message a dialog loop of this thread hands to
// the dialog manager, before the manager reads it as navigation. Keys the
// manager has no meaning for, or a wrong one (Ctrl+PageDown is no more than
// a key to the focused control), can be taken here by the window they are for.
#include <windows.h>

#include <functional>

#include "user_handles.h"

class CDialogKeyFilter {
public:
    // True: the message is consumed, and neither the dialog manager nor the
    // focused control sees it.
    using Filter = std::function<bool(const MSG&)>;

    CDialogKeyFilter() = default;
    ~CDialogKeyFilter() { Remove(); }
    CDialogKeyFilter(const CDialogKeyFilter&) = delete;
    CDialogKeyFilter& operator=(const CDialogKeyFilter&) = delete;

    // One filter per thread; false when another is installed or the hook fails.
    bool Install(Filter filter);
    void Remove();

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam);

    WindowsHookHandle hook_;
    Filter filter_;
};

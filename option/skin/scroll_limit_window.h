#pragma once
// CScrollLimitWindow: the clipping window "LIMIT" between a scroll-bar frame
// and its list. The list moves inside it so that its own grey bars fall
// outside what shows. A list may still address its owner through its parent:
// whatever reaches this window for the owner goes on to the owner.
#include <windows.h>

#include "window.h"

class CScrollLimitWindow : public CWindow {
public:
    explicit CScrollLimitWindow(HWND owner) : owner_(owner) {}  // not owned

    // A child of `frame` of no size; the frame places it.
    bool Create(HWND frame);
    // A plain container: listeners pass through it to the list.
    bool Describe(AccessibleFacts& facts) const override {
        facts.role = AccessibleRole::kClient;
        facts.focusable = false;
        return true;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND owner_;  // not owned: the list's first parent
};

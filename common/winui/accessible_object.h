#pragma once
// The answer of our windows to WM_GETOBJECT: an IAccessible of their own, for
// the platform has no standard proxy for them everywhere (Wine has none at
// all). The object holds only the window handle and asks the window's
// CWindow::Describe on every call, so it never outlives what it describes: a
// window that is gone answers with an error.
#include <windows.h>

#include "accessible_rules.h"

// The LRESULT of WM_GETOBJECT for `window` (OBJID_CLIENT only), or 0 when the
// window describes nothing and the default procedure should answer.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam);

// The answer a screen reader gets for `window` now; false when it has none.
bool AccessibleAnswerOf(HWND window, AccessibleAnswer& answer);
// The same for the part `index` (from 0) of `window`, a list's row.
bool AccessibleItemAnswerOf(HWND window, int index, AccessibleAnswer& answer);

// Announces to listeners (EVENT_OBJECT_*) that `window`'s client object, or
// its part `child` (from 1, a list's row), changed.
void NotifyAccessible(HWND window, DWORD event, LONG child = CHILDID_SELF);

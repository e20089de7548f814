#pragma once
// What the whole of Option shares for its run: the texts of uistr.dll and the
// configuration page that other pages tell about their changes.
#include <windows.h>

#include <string>

class CTextLibrary;

// The text library, loaded when the main window is created.
CTextLibrary& OptionTexts();
// The text of `id` from uistr.dll; empty without the library.
std::wstring OptionText(UINT id);

// The configuration page registers itself when it is initialised, so any
// page can post it WM_SETTINGS_CHANGED after changing the current profile.
void RegisterSettingsTarget(HWND page);
HWND SettingsTarget();
// Posts WM_SETTINGS_CHANGED to the registered page; false when there is none.
bool PostSettingsChanged();

#pragma once
// The Monitor's notification-area icon and its right-click menu. The icon is
// the small icon of the Monitor's own executable; the tip and the menu texts
// come from the text library.
#include <windows.h>

#include <string>

#include "user_handles.h"

class CTextLibrary;

class CTrayIcon {
public:
    static constexpr UINT kIconId = 102;
    static constexpr int kTipUnits = 128;  // the tip field, terminator included
    static constexpr int kIconResourceId = 1;  // the program icon in Monitor.exe's resources

    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // The owner window receives `callbackMessage` with wParam = icon id and
    // lParam = the mouse message over the icon.
    void Attach(HWND owner, UINT callbackMessage, const CTextLibrary* texts);

    bool Add();  // false when the shell refused it
    void Remove();  // harmless when the icon is not shown
    bool shown() const { return shown_; }

    // The profile the mouse holds, named in the tip after the program's name;
    // a shown icon takes the new tip at once.
    void SetProfileName(std::wstring name);

    // Builds the menu anew, shows it at the cursor and destroys it. The chosen
    // item arrives later as WM_COMMAND. `gameProfiles` checks that entry.
    void ShowMenu(bool gameProfiles);

private:
    HICON SmallIcon();
    std::wstring Tip() const;

    HWND owner_ = nullptr;                 // not owned
    UINT callbackMessage_ = 0;
    const CTextLibrary* texts_ = nullptr;  // not owned
    IconHandle icon_;                      // loaded on first use
    bool shown_ = false;
    std::wstring profileName_;
};

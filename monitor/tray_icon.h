#pragma once
// The Monitor's notification-area icon and its right-click menu. The icon is
// the small icon of the Monitor's own executable at the size of the owner's
// DPI, in grey while the mouse is away; the tip, the balloon and the menu texts come from the text library.
// It shows for as long as the Monitor runs, so that the suite can be opened
// before the mouse is plugged in and the user sees why Option closed.
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

    // Whether the mouse is there: the picture and the tip follow at once. An
    // unplug (`announce`) also shows one balloon, which says why Option closed.
    void SetConnected(bool connected, bool announce);
    bool connected() const { return connected_; }

    // The display's DPI or settings may have changed: a shown icon whose size
    // no longer fits gets pictures of the new size.
    void FollowDisplay();

    // Builds the menu anew, shows it at the cursor and destroys it. The chosen
    // item arrives later as WM_COMMAND. `gameProfiles` checks that entry.
    void ShowMenu(bool gameProfiles);

private:
    int WantedSize() const;  // the small-icon size at the owner's DPI
    HICON SmallIcon();
    HICON Icon();  // the small icon, or its grey copy while the mouse is away
    std::wstring Tip() const;
    std::wstring Text(int id) const;
    // Tells the shell the current picture and tip of a shown icon.
    void Update();

    HWND owner_ = nullptr;                 // not owned
    UINT callbackMessage_ = 0;
    const CTextLibrary* texts_ = nullptr;  // not owned
    IconHandle icon_;                      // loaded on first use
    IconHandle greyIcon_;                  // made from icon_ on first use
    int iconSize_ = 0;                     // what icon_ was loaded for
    bool shown_ = false;
    bool connected_ = false;
    bool balloon_ = false;  // the unplug's balloon may still show
    std::wstring profileName_;
};

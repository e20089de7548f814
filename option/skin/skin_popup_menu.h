#pragma once
// CSkinPopupMenu: a choice menu whose items the program draws in the skins'
// dark colours, in one font and one fixed width. Its frame comes from
// CMenuFrameHook. Every window of ours routes WM_MEASUREITEM and WM_DRAWITEM of menu
// items to RouteMeasureItem and RouteDrawItem, which the menu registers.
#include <windows.h>

#include <string>

#include "popup_menu_model.h"
#include "user_handles.h"

class CSkinButtonBase;

class CSkinPopupMenu {
public:
    static constexpr int kSubmenuIconId = 145;

    // `font` is not owned (callers take it from the thread's font cache); it
    // must outlive the menu's tracking.
    explicit CSkinPopupMenu(HFONT font, int itemHeight = 20);
    ~CSkinPopupMenu();
    CSkinPopupMenu(const CSkinPopupMenu&) = delete;
    CSkinPopupMenu& operator=(const CSkinPopupMenu&) = delete;

    // Appends an owner-drawn entry: a separator for PopupMenuModel::kSeparatorId,
    // an entry that opens `submenu` (not owned: it is detached again before this
    // menu is destroyed) when given, a command otherwise.
    bool AddItem(UINT id, const std::wstring& text, HMENU submenu = nullptr, int mark = 0);
    // The width of every item; called after the items are added.
    void SetWidth(int width) { model_.SetWidth(width); }
    // Shows the menu with its top left corner at the screen point; the right
    // button selects too. The choice arrives at `owner` as WM_COMMAND.
    BOOL Track(HWND owner, int x, int y);
    void Destroy();
    // The drop-down of a skinned button: opened at its bottom-left corner
    // (`lift` pixels higher), then destroyed, and the button, which never saw
    // the pointer leave, loses its hover look.
    void TrackUnder(HWND owner, CSkinButtonBase& button, int lift = 0);

    HMENU menu() const { return menu_.get(); }
    PopupMenuModel& model() { return model_; }
    HFONT font() const { return font_; }

    static bool RouteMeasureItem(MEASUREITEMSTRUCT* item);
    static bool RouteDrawItem(const DRAWITEMSTRUCT* item);

private:
    static CSkinPopupMenu* OwnerOf(ULONG_PTR itemData);
    void Measure(MEASUREITEMSTRUCT* item);
    void Draw(const DRAWITEMSTRUCT* item) const;

    MenuHandle menu_;
    HFONT font_;            // not owned
    PopupMenuModel model_;
};

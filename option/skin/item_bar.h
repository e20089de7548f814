#pragma once
// CItemBar: the bar over a list of named items that the configuration page
// (its profiles) and the macro page (its macros) both carry: a drop-down
// button that opens the list to pick an item, a name button that opens a box
// to rename it, new, delete, and a more-menu. The controls are children of the
// page; the page configures the bar with its skin entries, the more-menu's
// items and the handlers that do the work. Drop-down and rename state are the
// ItemBarModel's.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bitmap_edit.h"
#include "item_bar_model.h"
#include "option_text_ids.h"
#include "skin_button.h"
#include "skin_list_box.h"

class SkinDescription;

// An item of the more-menu: its command and the number of its text.
struct ItemBarMenuItem {
    UINT command;
    UINT text;
};
inline constexpr ItemBarMenuItem kItemBarCopy{1001, option_text::kCopy};
inline constexpr ItemBarMenuItem kItemBarImport{1002, option_text::kImport};
inline constexpr ItemBarMenuItem kItemBarExport{1003, option_text::kExport};

class CItemBar {
public:
    // The page's skin entries of the bar, and the list's control id.
    struct Layout {
        int dropDownEntry = 0;
        int newEntry = 0;
        int deleteEntry = 0;
        int moreEntry = 0;
        int nameEntry = 0;
        int listEntry = 0;
        int renameEntry = 0;
        int listId = 0;
        // The open list lies over new, delete and more as well as the name.
        bool listCoversButtons = false;
    };
    struct Handlers {
        // Before every click of a bar button: what the page closes first.
        std::function<void(HWND control)> beforeClick;
        // Fills the list with the items as they are now.
        std::function<void()> fillList;
        std::function<void(int row)> picked;
        std::function<void()> added;
        std::function<void()> deleted;
        // Begins a rename in the model: the name the box opens with, none
        // when there is nothing to rename.
        std::function<std::optional<std::u16string>()> renameBegins;
        // The rename ended with `typed` in the box (the model's rename is over).
        std::function<void(const std::u16string& typed)> renameEnds;
        // The current item's name, as it stands.
        std::function<std::u16string()> currentName;
        // The text of a number, looked up when the menu opens.
        std::function<std::wstring(UINT)> text;
    };

    explicit CItemBar(ItemBarModel& model) : model_(model) {}
    CItemBar(const CItemBar&) = delete;
    CItemBar& operator=(const CItemBar&) = delete;

    void Configure(const Layout& layout, Handlers handlers);
    // Make the controls in `page`, in the order the page lays its children
    // (which one lies over another). A control that cannot be made is left
    // out, and the bar works on without it.
    void CreateList(HWND page, const SkinDescription& skin);
    void CreateButtons(HWND page, const SkinDescription& skin, const SkinPictures& pictures);
    void CreateRenameBox(HWND page, const SkinDescription& skin);
    void AddMenuItem(const ItemBarMenuItem& item, std::function<void()> chosen);
    // What listeners hear the list and the rename box as (the bar's label).
    void SetAccessibleName(const std::wstring& name);

    // Closes what a command from `control` (null: a menu) closes first.
    void CloseFor(HWND control);
    // A command of the list (a pick) or of the more-menu. False for anything else.
    bool OnCommand(WORD id, WORD code, HWND control);
    bool IsRenameBox(HWND control) const { return renameBox_ && control == renameBox_->hwnd(); }

    // Shows `name` on the drop-down and the name button at once, and in the
    // box unless a rename is being typed there.
    void ShowName(const std::wstring& name);
    void OpenDropDown();
    void CloseDropDown();
    void StartRename();
    void FinishRename();
    // Abandons a running rename: the old name stays. True when one ran.
    bool CancelRename();
    // Closes the drop-down and finishes a rename. True when one was open.
    bool CloseTransients();

    CSkinListBox* List() const { return list_.get(); }
    std::wstring TypedName() const { return renameBox_ ? renameBox_->Text() : std::wstring(); }

private:
    std::unique_ptr<CSkinButton> Button(const SkinDescription& skin, int entry, const SkinPictures& pictures,
                                        void (CItemBar::*clicked)());
    void BeforeClick(const std::unique_ptr<CSkinButton>& button);
    void ToggleDropDown();
    void Add();
    void Delete();
    void ShowMenu();

    struct MenuEntry {
        ItemBarMenuItem item;
        std::function<void()> chosen;
    };

    ItemBarModel& model_;
    HWND page_ = nullptr;
    Layout layout_;
    Handlers handlers_;
    std::vector<MenuEntry> menu_;
    std::unique_ptr<CSkinListBox> list_;
    std::unique_ptr<CSkinButton> dropDown_;
    std::unique_ptr<CSkinButton> newButton_;
    std::unique_ptr<CSkinButton> deleteButton_;
    std::unique_ptr<CSkinButton> moreButton_;
    std::unique_ptr<CSkinButton> nameButton_;
    std::unique_ptr<CBitmapEdit> renameBox_;
};

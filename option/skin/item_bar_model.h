#pragma once
// The rules of an item bar, without windows: the bar over a list of named
// items (the profiles, the macros) with a drop-down to pick one, a box to
// rename it, and the buttons new, delete and more. It knows whether the
// drop-down is open and which rename runs, and what a command from one of the
// page's controls closes before it is carried out. Portable.
#include <optional>
#include <string>

class ItemBarModel {
public:
    // Where a command of the page comes from.
    enum class Source { kDropDown, kList, kRenameBox, kOther };
    // What a command closes before it is carried out.
    struct Closing {
        bool dropDown = false;
        bool rename = false;
        bool operator==(const Closing&) const = default;
    };
    // A rename as it began: the item's position and its name then.
    struct Rename {
        int position = -1;
        std::u16string oldName;
        bool operator==(const Rename&) const = default;
    };

    bool DropDownOpen() const { return dropDownOpen_; }
    void OpenDropDown() { dropDownOpen_ = true; }
    // True when it was open.
    bool CloseDropDown();

    // Begins renaming the item at `position` (none below 0: refused). A rename
    // already running goes on as it is.
    bool BeginRename(int position, std::u16string name);
    // Ends the rename: the one that ran, if any.
    std::optional<Rename> EndRename();
    bool Renaming() const { return rename_.has_value(); }
    const std::optional<Rename>& Pending() const { return rename_; }

    // The list picks and the drop-down opens and closes itself with the
    // drop-down open; the box's own notices leave the rename running.
    // Anything else ends both first.
    Closing ClosedBy(Source source) const;

private:
    bool dropDownOpen_ = false;
    std::optional<Rename> rename_;
};

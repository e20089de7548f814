#include "item_bar_model.h"

#include <utility>

bool ItemBarModel::CloseDropDown() {
    const bool open = dropDownOpen_;
    dropDownOpen_ = false;
    return open;
}

bool ItemBarModel::BeginRename(int position, std::u16string name) {
    if (position < 0) return false;
    if (!rename_) rename_ = Rename{position, std::move(name)};
    return true;
}

std::optional<ItemBarModel::Rename> ItemBarModel::EndRename() {
    std::optional<Rename> ended = std::move(rename_);
    rename_.reset();
    return ended;
}

ItemBarModel::Closing ItemBarModel::ClosedBy(Source source) const {
    Closing closing;
    closing.dropDown = dropDownOpen_ && source != Source::kList && source != Source::kDropDown;
    closing.rename = Renaming() && source != Source::kRenameBox;
    return closing;
}

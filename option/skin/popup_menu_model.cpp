#include "popup_menu_model.h"

#include "skin_scale.h"

#include <algorithm>
#include <limits>

const PopupMenuItem& PopupMenuModel::AddItem(uint32_t id, std::u16string text, bool opensSubmenu, int mark) {
    auto item = std::make_unique<PopupMenuItem>();
    item->separator = id == kSeparatorId;
    item->id = item->separator ? 0 : id;
    item->opensSubmenu = opensSubmenu && !item->separator;
    item->mark = mark;
    const int64_t textWidth = int64_t{kPixelsPerCharacter} * static_cast<int64_t>(text.size());
    width_ = static_cast<int32_t>(std::max<int64_t>(width_, std::min<int64_t>(textWidth, 0x7FFF)));
    item->text = std::move(text);
    items_.push_back(std::move(item));
    return *items_.back();
}

bool PopupMenuModel::Owns(const PopupMenuItem* item) const {
    return std::any_of(items_.begin(), items_.end(), [item](const auto& owned) { return owned.get() == item; });
}

void PopupMenuModel::Clear() {
    items_.clear();
    totalHeight_ = 0;
}

PopupItemSize PopupMenuModel::Measure(const PopupMenuItem& item) {
    PopupItemSize size;
    // Widths and heights are of the 100 % layout; the menu shows at the skin scale.
    size.width = S(width_);
    if (item.separator) {
        size.height = S(kSeparatorHeight);
    } else if (item.id == 1 && !item.opensSubmenu) {
        size.height = 0;
    } else {
        size.height = S(itemHeight_ + 3);
    }
    totalHeight_ = static_cast<int32_t>(
        std::min<int64_t>(int64_t{totalHeight_} + size.height, std::numeric_limits<int32_t>::max()));
    return size;
}

PopupItemLook PopupMenuModel::Look(const PopupMenuItem& item, bool selected) const {
    if (item.separator) return PopupItemLook{colors.background, colors.separator};
    PopupItemLook look{selected ? colors.highlight : colors.background,
                       selected ? colors.selectedText : colors.text};
    if (item.mark == 1) look.text = colors.markedText;
    return look;
}

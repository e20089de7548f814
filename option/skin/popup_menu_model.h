#pragma once
// The items of a skinned popup menu and the rules for measuring and colouring
// them. The Win32 menu object draws what this model says. Portable.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin_color.h"

struct PopupMenuColors {
    SkinColor background = SkinRgb(16, 16, 16);
    SkinColor highlight = kSkinAccent;
    SkinColor text = kSkinWhite;
    SkinColor selectedText = kSkinWhite;
    SkinColor separator = SkinRgb(16, 16, 16);
    SkinColor markedText = SkinRgb(68, 192, 255);
};

struct PopupMenuItem {
    std::u16string text;
    uint32_t id = 0;          // 0 for a separator
    bool separator = false;
    bool opensSubmenu = false;
    int mark = 0;             // 1: shown in the marked text colour
};

struct PopupItemSize {
    int32_t width = 0;
    int32_t height = 0;
};

struct PopupItemLook {
    SkinColor fill;
    SkinColor text;
};

class PopupMenuModel {
public:
    // The platform's flag for a separator entry; callers pass it as the id.
    static constexpr uint32_t kSeparatorId = 0x800;
    static constexpr int32_t kSeparatorHeight = 5;
    static constexpr int32_t kPixelsPerCharacter = 8;

    explicit PopupMenuModel(int32_t itemHeight = 20) : itemHeight_(itemHeight) {}

    // Appends an item and returns it; the address stays valid for the model's
    // life (the platform menu keeps it as the item's data).
    const PopupMenuItem& AddItem(uint32_t id, std::u16string text, bool opensSubmenu, int mark);
    void SetWidth(int32_t width) { width_ = width; }
    int32_t Width() const { return width_; }
    int32_t TotalHeight() const { return totalHeight_; }
    size_t Count() const { return items_.size(); }
    const PopupMenuItem& Item(size_t index) const { return *items_[index]; }
    bool Owns(const PopupMenuItem* item) const;
    void Clear();

    // The size the platform asks for; each call adds the height to the total.
    PopupItemSize Measure(const PopupMenuItem& item);
    PopupItemLook Look(const PopupMenuItem& item, bool selected) const;

    PopupMenuColors colors;

private:
    int32_t itemHeight_;
    int32_t width_ = 0;
    int32_t totalHeight_ = 0;
    std::vector<std::unique_ptr<PopupMenuItem>> items_;
};

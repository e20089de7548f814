#include "list_box_model.h"

#include "skin_scale.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

SkinPoint At(const SkinRect& row, int64_t dx, int64_t dy) {
    return SkinPoint{ToInt32(int64_t{row.left} + dx), ToInt32(int64_t{row.top} + dy)};
}

constexpr int32_t kIconLeft = 5;
constexpr int32_t kIconTop = 3;
constexpr int32_t kIconWidth = 16;
constexpr int32_t kTextLeft = 10;
constexpr int32_t kTextTopBesideIcon = 3;
constexpr int32_t kTextTopPlain = 4;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

int RowIconId(uint32_t itemValue) {
    const int id = RowKind(itemValue) & 0x0F;
    return id >= kFirstRowIconId && id <= kLastRowIconId ? id : 0;
}

std::u16string SpokenRowName(std::u16string_view text, uint32_t itemValue) {
    std::u16string name(text);
    const uint8_t kind = RowKind(itemValue);
    if (kind == list_row_kind::kKeyPress) name += u" Down";
    if (kind == list_row_kind::kKeyRelease) name += u" Up";
    return name;
}

RowLayout LayoutRow(const SkinRect& row, uint32_t itemValue) {
    RowLayout layout;
    layout.icon = RowIconId(itemValue);
    if (layout.icon != 0) {
        layout.iconAt = At(row, S(kIconLeft), S(kIconTop));
        layout.textAt = At(row, S(kTextLeft + kIconWidth), S(kTextTopBesideIcon));
    } else {
        layout.textAt = At(row, S(kTextLeft), S(kTextTopPlain));
    }
    return layout;
}

std::array<SkinPoint, 3> HoverTriangle(const SkinRect& row) {
    const int64_t right = row.right;
    const int64_t middle = int64_t{row.top} + (int64_t{row.bottom} - row.top) / 2;
    return {SkinPoint{ToInt32(right - S(16)), ToInt32(middle)},
            SkinPoint{ToInt32(right - S(6)), ToInt32(int64_t{row.top} + S(5))},
            SkinPoint{ToInt32(right - S(6)), ToInt32(int64_t{row.bottom} - S(5))}};
}

SkinRect SelectionInset(const SkinRect& row) {
    const int64_t left = int64_t{row.left} + S(2);
    const int64_t top = int64_t{row.top} + S(1);
    // A row too small for the inset gets an empty one, not an inverted one.
    const int64_t right = std::max(int64_t{row.right} - S(5), left);
    const int64_t bottom = std::max(int64_t{row.bottom} - S(1), top);
    return SkinRect{ToInt32(left), ToInt32(top), ToInt32(right), ToInt32(bottom)};
}

RowPaint PlanRow(const SkinRect& row, uint32_t itemValue, const RowDrawState& state, const ListBoxColors& colors) {
    RowPaint paint;
    if (state.hover) {
        paint.triangle = HoverTriangle(row);
        paint.triangleColor = colors.selection;
    } else {
        paint.fill = row;
        paint.fillColor = colors.background;
    }
    if (state.selected) {
        paint.inset = SelectionInset(row);
        paint.insetColor = colors.selection;
    } else if (state.selectionChanged) {
        paint.inset = SelectionInset(row);
        paint.insetColor = colors.background;
    }
    paint.layout = LayoutRow(row, itemValue);
    paint.textColor = state.selected && state.focused ? colors.selectedText : colors.text;
    paint.disabledText = state.disabled;
    paint.seeksPartner = state.selected && SeeksPartner(itemValue);
    return paint;
}

RowPaint PlanPartnerRow(const SkinRect& row, uint32_t itemValue, const ListBoxColors& colors) {
    RowPaint paint;
    paint.fill = row;
    paint.fillColor = kPartnerFill;
    paint.layout = LayoutRow(row, itemValue);
    paint.textColor = colors.text;
    return paint;
}

bool SeeksPartner(uint32_t itemValue) {
    const uint8_t kind = RowKind(itemValue);
    return kind == list_row_kind::kKeyPress || kind == list_row_kind::kKeyRelease;
}

std::optional<size_t> FindPartnerRow(std::span<const uint32_t> itemValues, size_t selected) {
    if (selected >= itemValues.size() || !SeeksPartner(itemValues[selected])) return std::nullopt;
    const uint8_t key = RowKeyCode(itemValues[selected]);
    if (RowKind(itemValues[selected]) == list_row_kind::kKeyPress) {
        for (size_t row = selected + 1; row < itemValues.size(); ++row) {
            if (RowKeyCode(itemValues[row]) == key) return row;
        }
    } else {
        for (size_t row = selected; row-- > 0;) {
            if (RowKeyCode(itemValues[row]) == key) return row;
        }
    }
    return std::nullopt;
}

std::optional<size_t> ListKeyTarget(ListKey key, std::optional<size_t> selected, size_t rowCount, size_t pageRows) {
    if (rowCount == 0) return std::nullopt;
    const size_t last = rowCount - 1;
    const size_t page = std::max<size_t>(pageRows, 1);
    if (!selected || *selected > last)
        return key == ListKey::kDown || key == ListKey::kHome || key == ListKey::kPageDown ? 0 : last;
    const size_t row = *selected;
    switch (key) {
        case ListKey::kUp: return row > 0 ? row - 1 : 0;
        case ListKey::kDown: return std::min(row + 1, last);
        case ListKey::kPageUp: return row > page ? row - page : 0;
        case ListKey::kPageDown: return last - row > page ? row + page : last;
        case ListKey::kHome: return 0;
        case ListKey::kEnd: return last;
    }
    return row;
}

std::optional<size_t> RowAtPoint(int32_t y, size_t topIndex, size_t rowCount, int32_t clientHeight) {
    if (y < 0 || y >= clientHeight) return std::nullopt;
    const size_t down = static_cast<size_t>(y / S(kListRowHeight));
    if (topIndex >= rowCount || down >= rowCount - topIndex) return std::nullopt;
    return topIndex + down;
}

std::u16string CutToEditLimit(std::u16string_view text) {
    size_t length = std::min(text.size(), ListRowEditor::kTextLimit);
    if (length < text.size() && length > 0 && IsHighSurrogate(text[length - 1])) --length;
    return std::u16string(text.substr(0, length));
}

std::optional<ListRowEditor::Begun> ListRowEditor::Begin(std::optional<size_t> selected, size_t rowCount,
                                                         const SkinRect& rowRect, uint32_t itemValue,
                                                         std::u16string_view rowText) {
    if (row_ || !selected || *selected >= rowCount) return std::nullopt;
    row_ = *selected;
    Begun begun;
    begun.row = *selected;
    begun.editRect = rowRect;
    if (RowIconId(itemValue) != 0) {
        begun.editRect.left = std::min(ToInt32(int64_t{rowRect.left} + S(kTextLeft + kIconWidth)), rowRect.right);
    }
    begun.text = CutToEditLimit(rowText);
    return begun;
}

ListRowEditor::Outcome ListRowEditor::Commit(std::u16string_view editText, size_t rowCount) {
    Outcome outcome;
    if (!row_) return outcome;
    outcome.row = *row_;
    row_.reset();
    if (outcome.row >= rowCount) {
        outcome.end = End::kAbandoned;
        return outcome;
    }
    if (editText.empty()) {
        // Removing the row leaves nothing to report as edited.
        outcome.end = End::kRemoved;
        return outcome;
    }
    outcome.end = End::kReplaced;
    outcome.text = CutToEditLimit(editText);
    outcome.notifyOwner = true;
    return outcome;
}

ListRowEditor::Outcome ListRowEditor::Cancel() {
    Outcome outcome;
    if (!row_) return outcome;
    outcome.row = *row_;
    outcome.end = End::kAbandoned;
    row_.reset();
    return outcome;
}

int32_t WheelLines::Add(int32_t wheelDelta) {
    // The platform's delta is 16 bits; anything wider is cut to that, which
    // also keeps the sum below from overflowing.
    const int32_t delta = std::clamp<int32_t>(wheelDelta, std::numeric_limits<int16_t>::min(),
                                              std::numeric_limits<int16_t>::max());
    if ((delta > 0 && carry_ < 0) || (delta < 0 && carry_ > 0)) carry_ = 0;
    carry_ += delta;
    const int32_t notches = carry_ / kNotch;
    carry_ -= notches * kNotch;
    return -notches;
}

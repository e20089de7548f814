#pragma once
// The rules of the owner-drawn list box (`CSkinListBox`) that need no window:
// how a row is painted, which icon it carries, which row partners a selected
// key step, the in-place edit of a row and the wheel. The list window asks
// these rules for every row it draws and every edit it runs. Portable.
//
// A row's 32-bit item value is the owner's: the event list of the macro page
// packs a key code into bits 15-8 and a row kind into bits 7-0; the profile
// list leaves it 0, which gives plain rows without icon or partner.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "button_pos.h"
#include "skin_color.h"
#include "skin_point.h"

// Row kinds, bits 7-0 of the item value. The low four bits name the row's
// icon resource, so a press and a release of a mouse button share one icon.
namespace list_row_kind {
inline constexpr uint8_t kNone = 0x00;
inline constexpr uint8_t kDelay = 0x02;
inline constexpr uint8_t kKeyPress = 0x13;
inline constexpr uint8_t kKeyRelease = 0x24;
inline constexpr uint8_t kMousePress = 0x15;
inline constexpr uint8_t kMouseRelease = 0x25;
}  // namespace list_row_kind

constexpr uint8_t RowKind(uint32_t itemValue) { return static_cast<uint8_t>(itemValue & 0xFF); }
constexpr uint8_t RowKeyCode(uint32_t itemValue) { return static_cast<uint8_t>((itemValue >> 8) & 0xFF); }

inline constexpr int32_t kListRowHeight = 20;
inline constexpr int32_t kListFontHeight = 14;  // "Arial"
// The partner of a selected key step stands out from the selection itself.
inline constexpr SkinColor kPartnerFill = 0xC84163;
// Row icons are drawn with pure red as their transparent colour.
inline constexpr SkinColor kRowIconTransparent = SkinRgb(255, 0, 0);
// Bitmap resources of the row icons: delay, key press, key release, mouse button.
inline constexpr int kFirstRowIconId = 2;
inline constexpr int kLastRowIconId = 5;

// Colours given by the owner at creation; the defaults are the ones both the
// configuration page and the macro page use.
struct ListBoxColors {
    SkinColor background = 0x291B1F;
    SkinColor selection = 0x954163;
    SkinColor text = 0xFFFFFF;
    SkinColor selectedText = 0xFFFFFF;
};

// The icon resource of a row, or 0 for none. Only kinds whose low four bits
// name one of the four icons get one: any other kind (the owner's 0 above
// all) is drawn as a plain row instead of asking for a resource that is not
// there.
int RowIconId(uint32_t itemValue);

// What a screen reader says for a row: its text, and for a key step the
// direction its icon shows, in the words a mouse-button step's text has.
std::u16string SpokenRowName(std::u16string_view text, uint32_t itemValue);

// Where a row's icon and text go. Text beside an icon starts after it; a
// plain row uses the room the icon would take.
struct RowLayout {
    int icon = 0;  // 0: none
    SkinPoint iconAt;
    SkinPoint textAt;
};
RowLayout LayoutRow(const SkinRect& row, uint32_t itemValue);

// The mark of the row under the pointer: a small triangle pointing left at the
// row's right end, clear of the selection's inset on the right.
std::array<SkinPoint, 3> HoverTriangle(const SkinRect& row);
// The selection is an inset bar, so neighbouring selected-looking rows (a step
// and its partner) stay apart.
SkinRect SelectionInset(const SkinRect& row);

// What the platform says about the row being drawn.
struct RowDrawState {
    bool hover = false;
    bool selected = false;
    bool focused = false;           // the row has the keyboard focus
    bool disabled = false;
    bool selectionChanged = false;  // drawn because its selection state changed
};

// One row's painting, in the order the list paints it: the row fill, the
// inset, the hover triangle, then icon and text. The triangle comes after the
// inset so that a row losing its selection under the pointer keeps its mark.
struct RowPaint {
    // The row under the pointer is not cleared: only its mark is added.
    std::optional<SkinRect> fill;
    SkinColor fillColor = 0;
    // Selected rows get the inset in the selection colour; a row that has just
    // lost the selection gets it back in the background colour.
    std::optional<SkinRect> inset;
    SkinColor insetColor = 0;
    std::optional<std::array<SkinPoint, 3>> triangle;
    SkinColor triangleColor = 0;
    RowLayout layout;
    SkinColor textColor = 0;
    bool disabledText = false;  // the window uses the system's button-shadow colour
    bool seeksPartner = false;  // a selected key press or release
};
RowPaint PlanRow(const SkinRect& row, uint32_t itemValue, const RowDrawState& state, const ListBoxColors& colors);

// The partner row of a selected key step is filled whole in kPartnerFill and
// gets its icon and text again on top.
RowPaint PlanPartnerRow(const SkinRect& row, uint32_t itemValue, const ListBoxColors& colors);

// Only a key press or a key release has a partner; mouse-button steps and
// delays do not.
bool SeeksPartner(uint32_t itemValue);

// The partner of row `selected`: for a key press the first row below it with
// the same key code, for a key release the first row above it. None when the
// row seeks no partner, when `selected` is not a row, or when no such row
// exists: the list then draws the step alone (and notes it on the debug
// output) instead of interrupting its own painting with a message box.
std::optional<size_t> FindPartnerRow(std::span<const uint32_t> itemValues, size_t selected);

// The row under a point of the client area. Every row has the same height,
// so it is the top row plus whole rows down; below the last row is none.
std::optional<size_t> RowAtPoint(int32_t y, size_t topIndex, size_t rowCount, int32_t clientHeight);

// The keys that move a list's selection. In a drop-down they only move it;
// Enter then chooses, as a click on the row does.
enum class ListKey { kUp, kDown, kPageUp, kPageDown, kHome, kEnd };

// The row a key moves the selection to, staying at the ends (no wrap): a page
// key moves by `pageRows` (at least one). Without a selection Down and Home
// go to the first row, Up and End to the last; an empty list has none.
std::optional<size_t> ListKeyTarget(ListKey key, std::optional<size_t> selected, size_t rowCount, size_t pageRows);

// In-place editing of one row. A single edit runs at a time; whichever way it
// ends (Enter, the list regaining the focus, Esc) it ends once, so the focus
// coming back after an Enter cannot commit the same edit a second time.
class ListRowEditor {
public:
    static constexpr size_t kTextLimit = 20;
    // Sent to the owner after a commit that kept the row: wParam the row,
    // lParam the list's control id.
    static constexpr uint32_t kRowEditedMessage = 0x5F6;

    struct Begun {
        size_t row = 0;
        SkinRect editRect;     // over the row, starting where the text starts
        std::u16string text;   // shown with all of it selected
    };

    enum class End {
        kNone,       // no edit was running
        kAbandoned,  // Esc, or the row disappeared meanwhile: the row is untouched
        kReplaced,   // the row's text becomes `text`; its item value stays
        kRemoved,    // the text was empty: the row goes
    };
    struct Outcome {
        End end = End::kNone;
        size_t row = 0;
        std::u16string text;
        bool notifyOwner = false;  // post kRowEditedMessage
    };

    // Starts editing the selected row. Nothing when an edit runs already,
    // nothing is selected, or the selection is not a row.
    std::optional<Begun> Begin(std::optional<size_t> selected, size_t rowCount, const SkinRect& rowRect,
                               uint32_t itemValue, std::u16string_view rowText);
    // Enter, or the list getting the focus back from the edit control.
    Outcome Commit(std::u16string_view editText, size_t rowCount);
    // Esc.
    Outcome Cancel();

    bool Editing() const { return row_.has_value(); }
    std::optional<size_t> Row() const { return row_; }

private:
    std::optional<size_t> row_;
};

// The edit control never holds more than kTextLimit UTF-16 units; a row text
// longer than that is cut, never in the middle of a surrogate pair.
std::u16string CutToEditLimit(std::u16string_view text);

// One notch of the wheel (120) scrolls one line. Finer wheels report parts of
// a notch, which add up until they make one; turning back drops what was
// gathered the other way.
class WheelLines {
public:
    static constexpr int32_t kNotch = 120;
    // Lines to scroll for a wheel message's delta: negative up (the wheel
    // turned away from the user), positive down.
    int32_t Add(int32_t wheelDelta);

private:
    int32_t carry_ = 0;
};

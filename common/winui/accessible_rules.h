#pragma once
// What a screen reader is told about a window of ours: the rules that turn
// what a control knows about itself into a name, a role, a state and a value.
// Plain data, so the rules are tested without Windows; the accessible object
// (accessible_object.h) only carries the answer to the platform.
#include <cstdint>
#include <string>

enum class AccessibleRole {
    kNone,  // not described: no accessible object of our own
    kPushButton,
    kCheckButton,  // a two-state switch
    kPageTab,
    kList,
    kListItem,
    kSlider,
    kEditableText,
    kStaticText,
    kScrollBar,
    kDialog,
    kClient,
};

namespace accessible_state {
inline constexpr uint32_t kChecked = 1u << 0;
inline constexpr uint32_t kUnavailable = 1u << 1;
inline constexpr uint32_t kFocusable = 1u << 2;
inline constexpr uint32_t kFocused = 1u << 3;
inline constexpr uint32_t kInvisible = 1u << 4;
inline constexpr uint32_t kSelectable = 1u << 5;  // a list's row
inline constexpr uint32_t kSelected = 1u << 6;
}  // namespace accessible_state

// What a control says of itself (role, texts, check) and what its window is
// (visible, enabled, focused), in the language it shows.
struct AccessibleFacts {
    AccessibleRole role = AccessibleRole::kNone;
    std::wstring name;     // given by the owner; wins over caption and tooltip
    bool nameAsTyped = false;  // the name is the user's text (a profile, a path): an '&' in it is one
    std::wstring caption;  // may carry '&' mnemonics and line breaks
    std::wstring tooltip;
    std::wstring value;    // sliders: the value with its unit
    bool checked = false;  // meaningful for switches and tabs only
    bool selected = false;  // a list's row that is the list's choice
    bool focusable = true;
    bool visible = true;
    bool enabled = true;
    bool focused = false;
};

struct AccessibleAnswer {
    std::wstring name;
    AccessibleRole role = AccessibleRole::kNone;
    uint32_t state = 0;  // accessible_state bits
    std::wstring value;
};

AccessibleAnswer DescribeAccessible(const AccessibleFacts& facts);

// A text as a screen reader should read it: mnemonic '&' dropped ("&&" is one
// '&') unless the text is no caption, line breaks and runs of blanks made one
// blank, ends trimmed.
std::wstring SpokenText(const std::wstring& text, bool mnemonics = true);

// A mouse button's name on the mouse views: "G4: DPI up" (number from 1).
std::wstring NumberedButtonName(int number, const std::wstring& function);

#pragma once
// The assignment dialog without windows: its copy of one button's record, the
// page (function class) it shows, what entering a page does to the copy, and
// what each page's choices store. The dialog turns menu picks, keys and typed
// text into these calls and shows what they leave; on OK the caller takes the
// copy through `Accept`.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "button_assignment.h"
#include "keyboard_layout.h"
#include "macro_library.h"
#include "option_text_ids.h"
#include "stop_chord.h"

namespace assign {

// One entry of a page's drop-down menu: command id 1001 + position.
struct MenuEntry {
    uint8_t code;
    int textId;
};
// The menus of the mouse, DPI, media and shortcut pages, in menu order.
std::span<const MenuEntry> MenuOf(uint8_t functionClass);
// The code a menu command (1001...) of a page stands for; none outside the menu.
std::optional<uint8_t> MenuCode(uint8_t functionClass, int command);

inline constexpr int kCategoryCommand = 1000;  // + class 1-9
inline constexpr int kRepeatModeCommand = 1000;  // + 1 + the MacroRepeat number
// The repeat menu's captions, by MacroRepeat number.
inline constexpr std::array<int, kMacroRepeatModes> kRepeatModeTexts{option_text::kPlayOnce, option_text::kRepeatCount,
                                                     option_text::kWhileHeld, option_text::kToggle};
inline constexpr int kRepeatCountMin = 2;
inline constexpr int kRepeatCountMax = 255;

// The repeat-count box: the text without leading blanks as a number, kept in
// 2-255. `writeBack` is the text the box must show instead of what was typed:
// at once for a number above 255 (no further digit can make it fit), and only
// once the typing is over (`finished`) for one below 2, so typing "12" can pass
// through "1".
struct RepeatCount {
    int value = kRepeatCountMin;
    std::optional<std::u16string> writeBack;
};
RepeatCount ReadRepeatCount(std::u16string_view text, bool finished);

class AssignModel {
public:
    AssignModel(const ButtonAssignment& record, int buttonIndex);

    const ButtonAssignment& Record() const { return record_; }
    MacroRepeat Repeat() const { return MacroRepeatOf(record_.repeatMode); }
    int ButtonIndex() const { return buttonIndex_; }
    // "G%d" with this number.
    int ButtonNumber() const { return ::ButtonNumber(buttonIndex_); }
    // The page shown: the record's class when the dialog opened, or the
    // default page for a class outside 1-9; then the last category chosen.
    uint8_t Page() const { return page_; }

    // Opening shows the record's own page and enters it.
    void Open();
    // The category menu: sets the class and enters its page.
    bool ChooseCategory(uint8_t functionClass);

    // ---- the pages' choices
    // Key page: a key message stores the key's device code (0 for a key the
    // mouse cannot send). Returns the name the key box shows.
    std::u16string TakeKey(uint32_t virtualKey, const IKeyboardLayout& layout);
    // A key transition while the key page listens: the stop combination is
    // not a key (its modifiers neither), it ends the listening and the key
    // taken before stays.
    struct Heard {
        std::optional<std::u16string> name;  // what the key box shows now, when a key was taken
        bool ended = false;
    };
    Heard HearKey(uint32_t virtualKey, bool release, const IKeyboardLayout& layout);
    // The key page listens afresh: nothing held back from before counts.
    void StartListening() { chord_.Reset(); }
    // Mouse, DPI, media, shortcut pages: a menu command.
    bool ChooseMenu(int command);
    // Macro page: the macro at a list position.
    bool ChooseMacro(const MacroLibrary& library, int position);
    bool ChooseRepeatMode(int command);
    RepeatCount TypeRepeatCount(std::u16string_view text, bool finished);
    // Launch page: the two choices keep the text at offset 710.
    void ChooseProgram();
    void ChooseCommand();
    void SetProgram(std::u16string_view path);
    void SetCommandText(std::u16string_view text);
    bool CommandChosen() const { return record_.FunctionCode == kCodeLaunchCommand; }
    // What the command box shows: the text OK would launch, none while the
    // program choice is on (leaving the page drops a typed command).
    std::u16string CommandText() const;

    // OK: the acceptance rules applied to the copy, which is returned.
    const ButtonAssignment& Accept();

private:
    void Enter(uint8_t page);
    void ResetTo(uint8_t functionClass, uint8_t code);

    ButtonAssignment record_;
    int buttonIndex_;
    uint8_t page_ = kClassDefault;
    StopChordFilter chord_;
};

}  // namespace assign

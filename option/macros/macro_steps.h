#pragma once
// The steps of the macro being edited, without windows: the working copy, the
// rows the event list shows for it, and what the step buttons do to it. Row
// numbers and step indexes differ as soon as a 0 ms delay step is present
// (such a step has no row), so every operation that starts from a row goes
// through the row's item value to find its step.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard_layout.h"
#include "macro_record.h"

inline constexpr uint16_t kMaxStepDelay = 65535;
// Recording stops once a macro holds this many key steps.
inline constexpr int kMaxRecordedKeySteps = 60;

struct MacroWorkingCopy {
    int32_t count = 0;
    std::array<MacroEvent, kMaxMacroEvents> events{};

    // A stored count outside 0-160 is brought into range, so a damaged record
    // never makes the editor read or write past the slots.
    static MacroWorkingCopy FromRecord(const MacroRecord& record);
    // Writes the count and all 160 slots, as the record is stored whole.
    void StoreInto(MacroRecord& record) const;
    void Clear();
    bool Fits(int extraSteps) const { return extraSteps >= 0 && count + extraSteps <= kMaxMacroEvents; }
    // Inserts at `index` (0..count). False, with nothing changed, when the
    // copy is full or the index is outside.
    bool InsertAt(int index, const MacroEvent& event);
    void RemoveAt(int index);
    // Steps that are not pure delays.
    int KeySteps() const;

    friend bool operator==(const MacroWorkingCopy&, const MacroWorkingCopy&);
};

MacroEvent DelayStep(uint16_t delay);
MacroEvent KeyStep(uint8_t keyCode, bool press);
bool IsDelayStep(const MacroEvent& event);
bool IsPress(const MacroEvent& event);
bool IsMouseButtonCode(uint8_t keyCode);

// The item value of an event-list row: step index + 1 in bits 31-16, the key
// code in 15-8 (0 for a delay), the row kind in 7-0.
uint32_t StepItemValue(int step, const MacroEvent& event);
// The step a row's item value stands for, or -1 for a value without one.
int ItemValueStep(uint32_t itemValue);

struct EventRow {
    std::u16string text;
    uint32_t itemValue = 0;
    int step = 0;
};
// Delay steps of 0 ms give no row; mouse buttons get " Down" or " Up".
std::vector<EventRow> BuildEventRows(const MacroWorkingCopy& copy, const IKeyboardLayout& layout);
std::vector<uint32_t> RowItemValues(const std::vector<EventRow>& rows);

// The step that pairs with a key or mouse-button step: for a press the next
// step with the same key code, for a release the previous one. The search is
// the event list's own partner search run over the steps, so the step a
// button changes is the one the list highlights.
// `transitionOnly` narrows it to the opposite transition (a press's next
// release, a release's previous press): what Delete takes along, so that a
// key doubled by an edit still loses a balanced pair.
std::optional<int> PartnerStep(const MacroWorkingCopy& copy, int step, bool transitionOnly = false);

// The outcome of a step operation: whether the steps changed and which step
// the list should select afterwards (none: the refill rule decides).
struct StepChange {
    bool changed = false;
    std::optional<int> selectStep;
};

// Swaps the step of row `row` with the step of the row above / below.
// Refused on the first / last row and when both steps are the same key or
// button, so a press never passes its own release.
StepChange MoveStepUp(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row);
StepChange MoveStepDown(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row);
// A delay goes alone, a press with its release and a release with its press.
// With a single row left the whole copy is cleared.
StepChange DeleteStep(MacroWorkingCopy& copy, const std::vector<EventRow>& rows, int row);
// The delay of a delay step; longer than 65535 ms is cut to 65535.
bool SetStepDelay(MacroWorkingCopy& copy, int step, uint32_t delay);
// The new key of a key step and of its partner.
bool SetStepKey(MacroWorkingCopy& copy, int step, uint8_t keyCode);

// A typed number of milliseconds: leading blanks skipped, digits read up to
// the first other character, 65536 and above cut to 65535. None when the text
// starts with no digit.
std::optional<uint16_t> ParseDelayText(std::u16string_view text);

// Shift, Ctrl and Alt arrive as the generic virtual keys 16, 17 and 18 in
// window messages; the key data (scan code in bits 23-16, extended bit 24)
// tells left from right. Other keys come back unchanged.
uint32_t RefineModifierKey(uint32_t virtualKey, uint32_t keyData);

#pragma once
// The stored forms of a macro: one step (MacroEvent) and one library entry
// (MacroRecord). Both are copied and compared byte for byte and stored whole,
// so their layout is fixed here and checked at compile time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "byte_order.h"

inline constexpr int kMaxMacroEvents = 160;
inline constexpr uint8_t kDelayStepKey = 0xFF;  // key code of a pure delay step
inline constexpr uint8_t kPressFlagDown = 1;    // anything else is a release
inline constexpr uint8_t kPressFlagUp = 2;      // what the editor writes for a release

struct MacroEvent {
    uint8_t keyCode;    // device key code; 240-244 mouse buttons; 0xFF pure delay
    uint8_t pressFlag;  // 1 press, anything else release
    uint16_t delay;     // milliseconds
};
static_assert(sizeof(MacroEvent) == 4);
static_assert(offsetof(MacroEvent, keyCode) == 0);
static_assert(offsetof(MacroEvent, pressFlag) == 1);
static_assert(offsetof(MacroEvent, delay) == 2);

inline constexpr int kMacroNameUnits = 50;       // including the terminator
inline constexpr int kMacroNameTypedLimit = 20;  // what a user may type

struct MacroRecord {
    char16_t name[kMacroNameUnits];
    int32_t reserved;
    int32_t eventCount;  // 0-160
    MacroEvent events[kMaxMacroEvents];
};
static_assert(sizeof(MacroRecord) == 748);
static_assert(offsetof(MacroRecord, name) == 0);
static_assert(offsetof(MacroRecord, reserved) == 100);
static_assert(offsetof(MacroRecord, eventCount) == 104);
static_assert(offsetof(MacroRecord, events) == 108);

// Copies text (up to a NUL, if it holds one) into a fixed UTF-16 field, cutting
// it so the terminator always fits, and zero-fills the rest of the field.
void CopyToField(char16_t* field, size_t units, std::u16string_view text);
// Reads a fixed UTF-16 field up to its terminator (or its end, if it has none).
std::u16string FieldText(const char16_t* field, size_t units);

template <size_t N>
void CopyToField(char16_t (&field)[N], std::u16string_view text) {
    CopyToField(field, N, text);
}
template <size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
    return FieldText(field, N);
}

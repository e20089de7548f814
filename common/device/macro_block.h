#pragma once
// The MacroBlock: one macro of a button as the mouse plays it, sent after
// command 0x0F. Steps are (key, press or release, delay) as the macro editor
// stores them; the mouse takes them in a short or a long form.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "feature_command.h"
#include "macro_record.h"

struct ButtonAssignment;

inline constexpr size_t kMacroStepsOffset = 2;  // after the repeat header
inline constexpr int kShortFormMaxTenths = 127;  // delays up to 1279 ms fit the short form
// The long form counts in 50 ms and keeps eight bits: 12750 ms is the longest
// delay one step can hold.
inline constexpr int kLongFormMaxUnits = 255;

// Bytes 0-1 by repeat mode: 0 plays once (00 01), 1 plays `repeatCount` times
// (big-endian), anything else leaves the count to the mouse (00 00).
std::array<uint8_t, 2> MacroRepeatHeader(int32_t repeatMode, int32_t repeatCount);

// Folds pure delay steps (key 0xFF) into the step before them. A delay step in
// first place stays. Delays add up to at most 65535 ms rather than wrapping
// round to a short one.
std::vector<MacroEvent> MergeDelaySteps(std::span<const MacroEvent> steps);

// One step in the mouse's form; returns its length (2 or 4) in `out`.
int EncodeMacroStep(const MacroEvent& step, std::array<uint8_t, 4>& out);

// The block of a macro button (code 16): header, the merged steps back to back
// from byte 2; what does not fit ends at byte 127.
DeviceBlock BuildMacroBlock(const ButtonAssignment& record);

#pragma once
// Reads the virtual mouse's slot back into profile terms: DPI levels, colours,
// lighting, button functions and macro steps, so a test can hold the mouse
// against the profile it was sent.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "attribute_block.h"
#include "button_table.h"
#include "mouse_emulator.h"

struct DecodedLighting {
    int lightSwitch = -1;  // 0-3; -1 for the out-of-range triple, -2 for bytes no profile gives
    int level = -1;        // the deciding field (intensity for mode 1, speed for 2 and 3), 0-2
    int direction = 0;     // mode 3 only
};

struct DecodedButton {
    ButtonEntry entry;
    // Every function code that goes out as these bytes on this button (several
    // codes share bytes: 0 and the unknown codes, 17 and 65, the macro kinds...).
    std::vector<uint8_t> codes;
    uint8_t keyCode = 0;    // kind 0: the key usage
    uint8_t modifiers = 0;  // kind 0: the modifier mask
};

struct DecodedStep {
    uint8_t key = 0;
    bool press = false;
    int delayMs = 0;  // as the mouse counts it: 10 ms steps in the short form, 50 ms in the long
    bool longForm = false;
};

struct DecodedMacro {
    bool empty = true;            // all 128 bytes zero
    uint16_t repeatHeader = 0;    // bytes 0-1, big-endian: play count, 0 = left to the mouse
    std::vector<DecodedStep> steps;
};

struct DecodedSlot {
    int pollingRate = 0;
    int cpiStep = 0;  // 0-based, as the profile keeps it
    int maxDpi = 0;
    std::array<uint8_t, 5> dpiBytesX{};
    std::array<uint8_t, 5> dpiBytesY{};
    std::array<int, 5> cpiLevels{};  // units of 100 DPI, from the X bytes
    LightingTriple lightBytes{};
    DecodedLighting lighting;
    std::array<std::array<uint8_t, 3>, 5> colours{};  // red, green, blue as the mouse holds them
    bool fixedBytesIntact = false;  // every byte the profile does not decide is as the format says
    std::array<DecodedButton, kDeviceButtons> buttons;
    std::array<DecodedMacro, kSlotMacros> macros;
};

DecodedSlot DecodeSlot(const MouseSlot& slot);
DecodedLighting DecodeLighting(const LightingTriple& bytes);
// Every function code whose entry, on the button at `buttonIndex`, is these
// bytes, in code order; read from the decoder's own table of the format.
std::vector<uint8_t> CodesForEntry(const ButtonEntry& entry, int buttonIndex);
// Whether that table has a row for the code; the host sends any other code as
// four zero bytes.
bool SlotKnowsFunction(uint8_t functionCode);
// Steps end at the first byte whose bit 0 is clear (a step's first byte always
// has it set). A 0x01/0x81 step whose fourth byte is 0x02 is read as the long
// form; the format cannot tell that from two short steps when the second key
// is usage 2, which no keyboard produces.
DecodedMacro DecodeMacroBlock(const DeviceBlock& block);

// A few lines for people (mousesim state).
std::string SlotSummary(const DecodedSlot& slot);

#include "slot_decoder.h"

#include <algorithm>

#include "button_assignment.h"
#include "download_report.h"

DecodedLighting DecodeLighting(const LightingTriple& bytes) {
    DecodedLighting out;
    if (bytes == kLightingFallback) return out;
    out.lightSwitch = -2;
    if (bytes == LightingTriple{0, 0, 0}) {
        out.lightSwitch = 0;
        out.level = 0;
        return out;
    }
    for (int mode = 1; mode <= 3; ++mode) {
        for (int level = 0; level <= 2; ++level) {
            // Mode 1 is decided by intensity, modes 2 and 3 by speed.
            const LightingTriple t = MakeLightingTriple(mode, level, level, bytes[2]);
            if (t == bytes) {
                out.lightSwitch = mode;
                out.level = level;
                out.direction = mode == 3 ? bytes[2] : 0;
                return out;
            }
        }
    }
    return out;
}

std::vector<uint8_t> CodesForEntry(const ButtonEntry& entry, int buttonIndex) {
    const auto number = static_cast<uint8_t>(buttonIndex + 1);
    std::vector<uint8_t> codes;
    for (const DeviceFunctionRow& row : DeviceFunctionTable()) {
        bool match = false;
        if (row.code == kCodeKeyboardKey) {
            match = entry.kind == kKindKeyboard && entry.arg3 == 0;
        } else if (row.code == kCodeMacro) {
            match = entry.kind == kKindMacro && entry.arg2 == number && entry.arg3 == 0;
        } else {
            ButtonEntry expected = row.entry;
            if (expected.kind == kKindMacro) expected.arg2 = number;
            if (row.code == kCodeLaunchProgram || row.code == kCodeLaunchCommand) expected.arg3 = number;
            match = expected == entry;
        }
        if (match) codes.push_back(row.code);
    }
    return codes;
}

DecodedMacro DecodeMacroBlock(const DeviceBlock& block) {
    DecodedMacro out;
    out.empty = std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0; });
    out.repeatHeader = bytes::LoadBe16(block.data());
    size_t pos = 2;
    while (pos + 1 < block.size()) {
        const uint8_t first = block[pos];
        if ((first & 0x01) == 0) break;
        DecodedStep step;
        step.key = block[pos + 1];
        step.press = (first & 0x80) == 0;
        const bool longForm = (first & 0x7E) == 0 && pos + 3 < block.size() && block[pos + 3] == 0x02;
        if (longForm) {
            step.longForm = true;
            step.delayMs = block[pos + 2] * 50;
            pos += 4;
        } else {
            step.delayMs = (first & 0x7F) * 10;
            pos += 2;
        }
        out.steps.push_back(step);
    }
    return out;
}

DecodedSlot DecodeSlot(const MouseSlot& slot) {
    DecodedSlot out;
    out.pollingRate = slot.pollingRate;
    out.cpiStep = slot.activeLevel - 1;
    const DeviceBlock& a = slot.attributes;
    out.maxDpi = a[kAttrMaxDpi];
    for (size_t i = 0; i < 5; ++i) {
        out.dpiBytesX[i] = a[kAttrDpiX + i];
        out.dpiBytesY[i] = a[kAttrDpiY + i];
        out.cpiLevels[i] = a[kAttrDpiX + i] / 2;
        for (size_t c = 0; c < 3; ++c) out.colours[i][c] = a[kAttrColours + 3 * i + c];
    }
    std::copy_n(a.begin() + kAttrLighting, 3, out.lightBytes.begin());
    out.lighting = DecodeLighting(out.lightBytes);

    const DeviceBlock fixed = AttributeBlockTemplate();
    out.fixedBytesIntact = true;
    for (size_t i = 0; i < a.size(); ++i) {
        const bool profileByte = i == kAttrMaxDpi || (i >= kAttrLighting && i < kAttrLighting + 3) ||
                                 (i >= kAttrDpiX && i < kAttrDpiX + 5) || (i >= kAttrDpiY && i < kAttrDpiY + 5) ||
                                 (i >= kAttrColours && i < kAttrColours + 15);
        if (!profileByte && a[i] != fixed[i]) out.fixedBytesIntact = false;
    }
    for (size_t i = 64; i < slot.buttonTable.size(); ++i)
        if (slot.buttonTable[i] != 0) out.fixedBytesIntact = false;

    for (int i = 0; i < kDeviceButtons; ++i) {
        DecodedButton& b = out.buttons[static_cast<size_t>(i)];
        const uint8_t* e = slot.buttonTable.data() + 4 * i;
        b.entry = {e[0], e[1], e[2], e[3]};
        b.codes = CodesForEntry(b.entry, i);
        if (b.entry.kind == kKindKeyboard) {
            b.modifiers = b.entry.arg1;
            b.keyCode = b.entry.arg2;
        }
    }
    for (size_t m = 0; m < slot.macros.size(); ++m) out.macros[m] = DecodeMacroBlock(slot.macros[m]);
    return out;
}

std::string SlotSummary(const DecodedSlot& s) {
    std::string text;
    text += "polling rate: " + std::to_string(s.pollingRate) + " ms\n";
    text += "DPI level: " + std::to_string(s.cpiStep + 1) + " of " + std::to_string(s.maxDpi) + "\n";
    text += "DPI levels:";
    for (uint8_t b : s.dpiBytesX) text += " " + std::to_string(b * 50);
    text += "\n";
    text += "lighting: " + HexBytes(s.lightBytes) + " (mode " + std::to_string(s.lighting.lightSwitch) + ")\n";
    text += "colours:";
    for (const auto& c : s.colours) text += " " + HexBytes(c);
    text += "\n";
    for (int i = 0; i < kDeviceButtons; ++i) {
        const DecodedButton& b = s.buttons[static_cast<size_t>(i)];
        text += "button " + std::to_string(i) + ": " +
                HexBytes(std::array<uint8_t, 4>{b.entry.kind, b.entry.arg1, b.entry.arg2, b.entry.arg3}) + "\n";
    }
    for (size_t m = 0; m < s.macros.size(); ++m) {
        if (s.macros[m].empty) continue;
        text += "macro " + std::to_string(m + 1) + ": " + std::to_string(s.macros[m].steps.size()) + " steps\n";
    }
    return text;
}

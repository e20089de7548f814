#include "slot_decoder.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "download_report.h"
#include "text_util.h"

namespace {

// What each function the host offers looks like in the button table, as the
// protocol description's button-function table prints it (docs/device-protocol.md,
// section 4): the function code, then kind and three arguments. "mod", "key"
// and "rep" stand for any byte, "n" for the button number (index + 1).
//
// Written from the description, not taken from the encoder's table, so that
// the round-trip tests hold two readings of the format against each other.
constexpr std::string_view kFunctionEntries = R"(
  0  00 00 00 00
  1  01 00 F0 00
  2  01 00 F1 00
  3  01 00 F2 00
  4  01 00 F4 00
  5  01 00 F3 00
  6  0A F0 32 02
  7  04 00 01 00
  8  04 00 02 00
  9  04 00 04 00
 10  04 00 03 00
 11  0A F0 10 00
 12  00 mod key 00
 13  07 00 03 00
 14  07 00 01 00
 15  07 00 02 00
 16  09 rep n 00
 17  06 00 0A n
 18  08 00 03 00
 19  08 00 01 00
 20  08 00 02 00
 22  0A 01 00 00
 23  00 08 00 00
 24  06 00 A0 00
 25  03 00 83 01
 26  03 00 B6 00
 27  03 00 B5 00
 28  03 00 CD 00
 29  03 00 B7 00
 30  03 00 E2 00
 31  03 00 E9 00
 32  03 00 EA 00
 33  03 00 92 01
 34  03 00 8A 01
 35  03 00 2A 02
 36  03 00 25 02
 37  03 00 24 02
 38  03 00 26 02
 39  03 00 94 01
 40  03 00 27 02
 41  03 00 23 02
 42  03 00 21 02
 50  09 00 n 04
 52  03 00 94 01
 56  09 00 n 04
 57  09 00 n 04
 58  09 00 n 04
 59  09 00 n 04
 60  09 00 n 04
 62  09 00 n 04
 65  06 00 0A n
112  00 03 29 00
113  00 08 18 00
114  00 08 07 00
115  00 08 2B 00
116  00 04 2B 00
117  00 04 3D 00
118  00 01 1B 00
119  00 01 06 00
120  00 01 19 00
)";

struct BytePattern {
    enum class Kind { kExact, kAny, kButtonNumber } kind = Kind::kExact;
    uint8_t value = 0;
    bool Matches(uint8_t byte, uint8_t buttonNumber) const {
        return kind == Kind::kAny || byte == (kind == Kind::kButtonNumber ? buttonNumber : value);
    }
};

struct FunctionEntry {
    uint8_t code = 0;
    std::array<BytePattern, 4> bytes{};
};

std::optional<BytePattern> ParseBytePattern(std::string_view word) {
    if (word == "n") return BytePattern{BytePattern::Kind::kButtonNumber};
    if (word == "mod" || word == "key" || word == "rep") return BytePattern{BytePattern::Kind::kAny};
    const int high = word.size() == 2 ? HexDigitValue(word[0]) : -1;
    const int low = word.size() == 2 ? HexDigitValue(word[1]) : -1;
    if (high < 0 || low < 0) return std::nullopt;
    return BytePattern{BytePattern::Kind::kExact, static_cast<uint8_t>(high * 16 + low)};
}

// One row a line; a line that does not read is left out (and its code then
// fails the round-trip tests). In code order, as the table is written.
std::vector<FunctionEntry> ReadFunctionEntries() {
    std::vector<FunctionEntry> rows;
    std::string_view rest = kFunctionEntries;
    while (!rest.empty()) {
        const size_t lineEnd = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, lineEnd);
        rest.remove_prefix(std::min(lineEnd + 1, rest.size()));
        std::vector<std::string_view> words;
        while (!line.empty()) {
            const size_t start = line.find_first_not_of(' ');
            if (start == std::string_view::npos) break;
            line.remove_prefix(start);
            const size_t end = std::min(line.find(' '), line.size());
            words.push_back(line.substr(0, end));
            line.remove_prefix(end);
        }
        if (words.size() != 5) continue;
        unsigned code = 0;
        const auto [end, error] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), code);
        bool readable = error == std::errc() && end == words[0].data() + words[0].size() && code <= 0xFF;
        FunctionEntry row;
        row.code = static_cast<uint8_t>(code);
        for (size_t b = 0; b < row.bytes.size() && readable; ++b) {
            const auto pattern = ParseBytePattern(words[b + 1]);
            readable = pattern.has_value();
            if (readable) row.bytes[b] = *pattern;
        }
        if (readable) rows.push_back(row);
    }
    return rows;
}

const std::vector<FunctionEntry>& FunctionEntries() {
    static const std::vector<FunctionEntry> rows = ReadFunctionEntries();
    return rows;
}

}  // namespace

bool SlotKnowsFunction(uint8_t functionCode) {
    const auto& rows = FunctionEntries();
    return std::any_of(rows.begin(), rows.end(), [&](const FunctionEntry& row) { return row.code == functionCode; });
}

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
    const std::array<uint8_t, 4> bytes{entry.kind, entry.arg1, entry.arg2, entry.arg3};
    std::vector<uint8_t> codes;
    for (const FunctionEntry& row : FunctionEntries()) {
        bool match = true;
        for (size_t i = 0; i < bytes.size(); ++i) match = match && row.bytes[i].Matches(bytes[i], number);
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

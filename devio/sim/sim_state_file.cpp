#include "sim_state_file.h"

#include "download_report.h"
#include "ini_file.h"
#include "slot_decoder.h"
#include "text_codec.h"
#include "text_util.h"

namespace {

std::u16string U(const std::string& s) { return Utf8ToU16(s); }
std::u16string Key(const char* base, size_t i) { return U(base + std::to_string(i)); }

// Hex digits without separators: "FFFF0000...".
std::u16string PackedHex(const DeviceBlock& block) {
    std::string text = HexBytes(block);
    std::erase(text, ' ');
    return U(text);
}

bool ParsePackedHex(const std::u16string& text, DeviceBlock& block) {
    if (text.size() != block.size() * 2) return false;
    for (size_t i = 0; i < block.size(); ++i) {
        const int hi = HexDigitValue(text[2 * i]), lo = HexDigitValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        block[i] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

std::string CodesText(const std::vector<uint8_t>& codes) {
    std::string text;
    for (uint8_t c : codes) text += (text.empty() ? "" : " ") + std::to_string(c);
    return text;
}

}  // namespace

bool WriteSimStateFile(const std::filesystem::path& path, const MouseSlot& slot, const SimStatus& status,
                       std::string* error) {
    const DecodedSlot d = DecodeSlot(slot);
    CIniFile ini(path);
    ini.Clear();
    ini.WriteInt(u"Device", u"Attached", status.attached ? 1 : 0);
    ini.WriteInt(u"Device", u"ProtocolErrors", status.protocolErrors);
    ini.WriteInt(u"Device", u"Downloads", status.downloads);
    ini.WriteString(u"Device", u"LastError", U(status.lastError));

    const std::u16string s = u"Slot";
    ini.WriteInt(s, u"PollingRate", d.pollingRate);
    ini.WriteInt(s, u"ActiveLevel", slot.activeLevel);
    ini.WriteInt(s, u"CpiStep", d.cpiStep);
    ini.WriteInt(s, u"MaxDPI", d.maxDpi);
    for (size_t i = 0; i < 5; ++i) ini.WriteInt(s, Key("CpiLevel_X", i), d.cpiLevels[i]);
    for (size_t i = 0; i < 5; ++i) ini.WriteInt(s, Key("DpiByteX", i), d.dpiBytesX[i]);
    for (size_t i = 0; i < 5; ++i) ini.WriteInt(s, Key("DpiByteY", i), d.dpiBytesY[i]);
    ini.WriteString(s, u"LightBytes", U(HexBytes(d.lightBytes)));
    ini.WriteInt(s, u"LightSwitch", d.lighting.lightSwitch);
    ini.WriteInt(s, u"LightLevel", d.lighting.level);
    ini.WriteInt(s, u"LightDir", d.lighting.direction);
    for (size_t i = 0; i < 5; ++i) {
        const auto& c = d.colours[i];
        ini.WriteInt(s, Key("DPIColor", i), c[0] | (c[1] << 8) | (c[2] << 16));
    }
    ini.WriteInt(s, u"FixedBytesIntact", d.fixedBytesIntact ? 1 : 0);
    ini.WriteString(s, u"AttributeBlock", PackedHex(slot.attributes));

    const std::u16string b = u"Buttons";
    for (size_t i = 0; i < kDeviceButtons; ++i) {
        const DecodedButton& button = d.buttons[i];
        const std::array<uint8_t, 4> entry = {button.entry.kind, button.entry.arg1, button.entry.arg2,
                                              button.entry.arg3};
        ini.WriteString(b, Key("Entry", i), U(HexBytes(entry)));
        ini.WriteString(b, Key("Codes", i), U(CodesText(button.codes)));
        if (button.entry.kind == kKindKeyboard) {
            ini.WriteInt(b, Key("Key", i), button.keyCode);
            ini.WriteInt(b, Key("Modifiers", i), button.modifiers);
        }
    }
    ini.WriteString(b, u"ButtonTable", PackedHex(slot.buttonTable));

    for (size_t m = 0; m < slot.macros.size(); ++m) {
        const DecodedMacro& macro = d.macros[m];
        if (macro.empty) continue;
        const std::u16string section = Key("Macro", m + 1);
        ini.WriteInt(section, u"RepeatHeader", macro.repeatHeader);
        ini.WriteInt(section, u"StepCount", static_cast<int32_t>(macro.steps.size()));
        for (size_t i = 0; i < macro.steps.size(); ++i) {
            const DecodedStep& step = macro.steps[i];
            const std::array<uint8_t, 1> key = {step.key};
            ini.WriteString(section, Key("Step", i),
                            U(HexBytes(key) + (step.press ? " down " : " up ") + std::to_string(step.delayMs)));
        }
        ini.WriteString(section, u"Block", PackedHex(slot.macros[m]));
    }
    if (ini.Commit()) return true;
    if (error != nullptr) *error = ini.LastError();
    return false;
}

bool ReadSimStateFile(const std::filesystem::path& path, MouseSlot& slot, SimStatus& status) {
    const CIniFile ini(path);
    if (!ini.HasSection(u"Device")) return false;
    status.attached = ini.ReadInt(u"Device", u"Attached", 1) != 0;
    status.protocolErrors = ini.ReadInt(u"Device", u"ProtocolErrors", -1);
    status.downloads = ini.ReadInt(u"Device", u"Downloads", -1);
    status.lastError = U16ToUtf8(ini.ReadString(u"Device", u"LastError", u""));
    MouseSlot read;
    read.pollingRate = static_cast<uint8_t>(ini.ReadInt(u"Slot", u"PollingRate", 0));
    read.activeLevel = static_cast<uint8_t>(ini.ReadInt(u"Slot", u"ActiveLevel", 0));
    if (!ParsePackedHex(ini.ReadString(u"Slot", u"AttributeBlock", u""), read.attributes)) return false;
    if (!ParsePackedHex(ini.ReadString(u"Buttons", u"ButtonTable", u""), read.buttonTable)) return false;
    for (size_t m = 0; m < read.macros.size(); ++m) {
        const std::u16string section = Key("Macro", m + 1);
        if (!ini.HasSection(section)) continue;
        if (!ParsePackedHex(ini.ReadString(section, u"Block", u""), read.macros[m])) return false;
    }
    slot = read;
    return true;
}

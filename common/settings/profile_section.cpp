#include "profile_section.h"

#include <string>

#include "ini_file.h"
#include "profile_store.h"

namespace {

std::u16string Indexed(const char* key, int i) { return AsciiToU16(key) + IntToText(i); }

// Every field as its key, in file order. One table drives reading and writing,
// so the two can never disagree about order or names.
template <typename Visitor>
void ForEachKey(ProfileKeySet keys, Visitor&& v) {
    const bool all = keys == ProfileKeySet::Store;
    v.Text(u"ProFileName", &ProfileRecord::ProFileName);
    v.Text(u"GameFile", &ProfileRecord::GameFile);
    v.Int(u"DbleClickSpeed", [](ProfileRecord& r) -> int32_t& { return r.DbleClickSpeed; });
    v.Int(u"ScrollWheelSpeed", [](ProfileRecord& r) -> int32_t& { return r.ScrollWheelSpeed; });
    v.Int(u"ScrollWheelFlag", [](ProfileRecord& r) -> int32_t& { return r.ScrollWheelFlag; });
    v.Int(u"MouseSpeed", [](ProfileRecord& r) -> int32_t& { return r.MouseSpeed; });
    v.Int(u"Acceleration", [](ProfileRecord& r) -> int32_t& { return r.Acceleration; });
    v.Int(u"AccelerationFlag", [](ProfileRecord& r) -> int32_t& { return r.AccelerationFlag; });
    v.Int(u"XYCpiFlag", [](ProfileRecord& r) -> int32_t& { return r.XYCpiFlag; });
    if (all) v.Int(u"MaxDPI", [](ProfileRecord& r) -> int32_t& { return r.MaxDPI; });
    for (int i = 0; i < kDpiLevels; ++i)
        v.Int(Indexed("CpiLevel_X", i), [i](ProfileRecord& r) -> int32_t& { return r.CpiLevel_X[i]; });
    for (int i = 0; i < kDpiLevels; ++i)
        v.Int(Indexed("CpiLevel_Y", i), [i](ProfileRecord& r) -> int32_t& { return r.CpiLevel_Y[i]; });
    v.Int(u"CpiStep", [](ProfileRecord& r) -> int32_t& { return r.CpiStep; });
    v.Int(u"PollingRate", [](ProfileRecord& r) -> int32_t& { return r.PollingRate; });
    v.Int(u"LightSwitch", [](ProfileRecord& r) -> int32_t& { return r.LightSwitch; });
    v.Int(u"LightType", [](ProfileRecord& r) -> int32_t& { return r.LightType; });
    v.Int(u"LightIntensity", [](ProfileRecord& r) -> int32_t& { return r.LightIntensity; });
    if (all) {
        v.Int(u"LightDir", [](ProfileRecord& r) -> int32_t& { return r.LightDir; });
        v.Int(u"LightSpeed", [](ProfileRecord& r) -> int32_t& { return r.LightSpeed; });
        for (int i = 0; i < kDpiColors; ++i)
            v.Int(Indexed("DPIColor", i), [i](ProfileRecord& r) -> int32_t& { return r.DPIColor[i]; });
    }
    for (int i = 0; i < kDpiLevels; ++i)
        v.Byte(Indexed("dpiStepFlag", i), [i](ProfileRecord& r) -> uint8_t& { return r.dpiStepFlag[i]; });
    for (int i = 0; i < kDpiLevels; ++i)
        v.Byte(Indexed("dpiIndicator", i), [i](ProfileRecord& r) -> uint8_t& { return r.dpiIndicator[i]; });
    for (int i = 0; i < kButtonCount; ++i) v.Button(Indexed("MacroKeyInfo", i), i);
}

struct Reader {
    const CIniFile& ini;
    std::u16string_view section;
    ProfileRecord& record;

    template <size_t N>
    void Text(std::u16string_view key, char16_t (ProfileRecord::*field)[N]) {
        CopyToField(record.*field, ini.ReadString(section, key, u""));
    }
    template <typename F>
    void Int(std::u16string_view key, F field) {
        field(record) = ini.ReadInt(section, key, -1);
    }
    template <typename F>
    void Byte(std::u16string_view key, F field) {
        field(record) = static_cast<uint8_t>(ini.ReadInt(section, key, -1));
    }
    void Button(std::u16string_view key, int index) {
        ButtonAssignment temp;
        if (ini.ReadStruct(section, key, &temp, sizeof temp)) {
            SanitizeAssignment(temp);
        } else {
            // A missing or damaged value gets the button's own default.
            ResetToDefault(temp, index);
        }
        record.MacroKeyInfo[index] = temp;
    }
};

struct Writer {
    CIniFile& ini;
    std::u16string_view section;
    ProfileRecord& record;  // not changed; the visitor hands out references

    template <size_t N>
    void Text(std::u16string_view key, char16_t (ProfileRecord::*field)[N]) {
        ini.WriteString(section, key, FieldText(record.*field));
    }
    template <typename F>
    void Int(std::u16string_view key, F field) {
        ini.WriteInt(section, key, field(record));
    }
    template <typename F>
    void Byte(std::u16string_view key, F field) {
        ini.WriteInt(section, key, field(record));
    }
    void Button(std::u16string_view key, int index) {
        ini.WriteStruct(section, key, &record.MacroKeyInfo[index], sizeof(ButtonAssignment));
    }
};

// Writes into bytes what Writer writes into a document.
struct PlainWriter {
    std::string& out;
    ProfileRecord& record;  // not changed; the visitor hands out references
    bool plain = true;

    void Key(std::u16string_view key) {
        for (char16_t c : key) out.push_back(static_cast<char>(c));  // the table's names are ASCII
        out.push_back('=');
    }
    void Number(int32_t value) {
        out += std::to_string(value);
        out += "\r\n";
    }
    template <size_t N>
    void Text(std::u16string_view key, char16_t (ProfileRecord::*field)[N]) {
        const std::u16string value = EncodeIniValue(FieldText(record.*field));
        for (char16_t c : value) plain = plain && c < 0x80;
        if (!plain) return;
        Key(key);
        for (char16_t c : value) out.push_back(static_cast<char>(c));
        out += "\r\n";
    }
    template <typename F>
    void Int(std::u16string_view key, F field) {
        Key(key);
        Number(field(record));
    }
    template <typename F>
    void Byte(std::u16string_view key, F field) {
        Key(key);
        Number(field(record));
    }
    void Button(std::u16string_view key, int index) {
        Key(key);
        AppendIniStruct(out, &record.MacroKeyInfo[index], sizeof(ButtonAssignment));
        out += "\r\n";
    }
};

}  // namespace

void ReadProfileFields(const CIniFile& ini, std::u16string_view section, ProfileKeySet keys, ProfileRecord& record) {
    record.reserved[0] = record.reserved[1] = 0;
    ForEachKey(keys, Reader{ini, section, record});
}

void WriteProfileFields(CIniFile& ini, std::u16string_view section, ProfileKeySet keys, const ProfileRecord& record) {
    ForEachKey(keys, Writer{ini, section, const_cast<ProfileRecord&>(record)});
}

bool AppendPlainProfileSection(std::string& out, std::u16string_view section, ProfileKeySet keys,
                               const ProfileRecord& record) {
    for (char16_t c : section)
        if (c >= 0x80) return false;
    const size_t start = out.size();
    out.push_back('[');
    for (char16_t c : section) out.push_back(static_cast<char>(c));
    out += "]\r\n";
    PlainWriter writer{out, const_cast<ProfileRecord&>(record)};
    ForEachKey(keys, writer);
    if (writer.plain) return true;
    out.resize(start);
    return false;
}

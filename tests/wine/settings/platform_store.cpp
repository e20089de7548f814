#include "platform_store.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

template <typename Visit>
void ForEachKey(const std::wstring& s, ProfileRecord& p, Visit&& v) {
    v.Text(s, L"ProFileName", p.ProFileName, kProfileNameUnits);
    v.Text(s, L"GameFile", p.GameFile, kGameFileUnits);
    v.Int(s, L"DbleClickSpeed", p.DbleClickSpeed);
    v.Int(s, L"ScrollWheelSpeed", p.ScrollWheelSpeed);
    v.Int(s, L"ScrollWheelFlag", p.ScrollWheelFlag);
    v.Int(s, L"MouseSpeed", p.MouseSpeed);
    v.Int(s, L"Acceleration", p.Acceleration);
    v.Int(s, L"AccelerationFlag", p.AccelerationFlag);
    v.Int(s, L"XYCpiFlag", p.XYCpiFlag);
    v.Int(s, L"MaxDPI", p.MaxDPI);
    for (int k = 0; k < 5; ++k) v.Int(s, L"CpiLevel_X" + std::to_wstring(k), p.CpiLevel_X[k]);
    for (int k = 0; k < 5; ++k) v.Int(s, L"CpiLevel_Y" + std::to_wstring(k), p.CpiLevel_Y[k]);
    v.Int(s, L"CpiStep", p.CpiStep);
    v.Int(s, L"PollingRate", p.PollingRate);
    v.Int(s, L"LightSwitch", p.LightSwitch);
    v.Int(s, L"LightType", p.LightType);
    v.Int(s, L"LightIntensity", p.LightIntensity);
    v.Int(s, L"LightDir", p.LightDir);
    v.Int(s, L"LightSpeed", p.LightSpeed);
    for (int k = 0; k < 7; ++k) v.Int(s, L"DPIColor" + std::to_wstring(k), p.DPIColor[k]);
    for (int k = 0; k < 5; ++k) v.Byte(s, L"dpiStepFlag" + std::to_wstring(k), p.dpiStepFlag[k]);
    for (int k = 0; k < 5; ++k) v.Byte(s, L"dpiIndicator" + std::to_wstring(k), p.dpiIndicator[k]);
    for (int k = 0; k < 16; ++k) v.Struct(s, L"MacroKeyInfo" + std::to_wstring(k), p.MacroKeyInfo[k]);
}

struct Writer {
    const std::wstring& file;
    void Str(const std::wstring& s, const std::wstring& key, const std::wstring& value) {
        WritePrivateProfileStringW(s.c_str(), key.c_str(), value.c_str(), file.c_str());
    }
    void Text(const std::wstring& s, const std::wstring& key, const char16_t* field, size_t units) {
        Str(s, key, W(FieldText(field, units)));
    }
    void Int(const std::wstring& s, const std::wstring& key, int value) {
        wchar_t text[16];
        swprintf(text, 16, L"%d", value);
        Str(s, key, text);
    }
    void Byte(const std::wstring& s, const std::wstring& key, uint8_t value) { Int(s, key, value); }
    void Struct(const std::wstring& s, const std::wstring& key, ButtonAssignment& b) {
        WritePrivateProfileStructW(s.c_str(), key.c_str(), &b, sizeof b, file.c_str());
    }
};

struct Reader {
    const std::wstring& file;
    void Text(const std::wstring& s, const std::wstring& key, char16_t* field, size_t units) {
        std::vector<wchar_t> buffer(4096);
        GetPrivateProfileStringW(s.c_str(), key.c_str(), L"", buffer.data(), 4096, file.c_str());
        CopyToField(field, units, std::u16string(buffer.data(), buffer.data() + wcslen(buffer.data())));
    }
    void Int(const std::wstring& s, const std::wstring& key, int32_t& value) {
        value = static_cast<int32_t>(GetPrivateProfileIntW(s.c_str(), key.c_str(), -1, file.c_str()));
    }
    void Byte(const std::wstring& s, const std::wstring& key, uint8_t& value) {
        value = static_cast<uint8_t>(GetPrivateProfileIntW(s.c_str(), key.c_str(), -1, file.c_str()));
    }
    void Struct(const std::wstring& s, const std::wstring& key, ButtonAssignment& b) {
        ButtonAssignment temp;
        if (GetPrivateProfileStructW(s.c_str(), key.c_str(), &temp, sizeof temp, file.c_str())) b = temp;
    }
};

}  // namespace

void WriteStoreKeyByKey(const std::wstring& file, const ProfileStore& store) {
    Writer w{file};
    const StoreValues& v = store.values;
    w.Int(L"Config", L"number", static_cast<int>(store.profiles.size()));
    w.Int(L"Config", L"ProfileID", v.ProfileID);
    w.Int(L"Config", L"KeysFlag", v.KeysFlag);
    w.Int(L"Config", L"AttributeFlag", v.AttributeFlag);
    w.Int(L"Config", L"DPIStepFlag", v.DPIStepFlag);
    w.Int(L"Config", L"PRateFlag", v.PRateFlag);
    for (size_t i = 0; i < store.profiles.size(); ++i)
        ForEachKey(L"Profile" + std::to_wstring(i), *store.profiles[i], w);
}

void ReadStoreKeyByKey(const std::wstring& file, ProfileStore& store) {
    Reader r{file};
    StoreValues& v = store.values;
    r.Int(L"Config", L"number", v.number);
    r.Int(L"Config", L"ProfileID", v.ProfileID);
    r.Int(L"Config", L"KeysFlag", v.KeysFlag);
    r.Int(L"Config", L"AttributeFlag", v.AttributeFlag);
    r.Int(L"Config", L"DPIStepFlag", v.DPIStepFlag);
    r.Int(L"Config", L"PRateFlag", v.PRateFlag);
    for (int i = 0; i < v.number; ++i) {
        auto p = std::make_unique<ProfileRecord>();
        std::memset(p.get(), 0, sizeof(ProfileRecord));
        ForEachKey(L"Profile" + std::to_wstring(i), *p, r);
        store.profiles.push_back(std::move(p));
    }
}

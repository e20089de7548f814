#include "pointer_settings.h"

#include <climits>
#include <cstdint>

#include "profile_record.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

int ReadNumber(IPointerRegistry* key, const wchar_t* name) {
    if (!key) return 0;
    const std::optional<std::wstring> text = key->ReadString(name);
    return text ? ParseRegistryNumber(*text) : 0;
}

}  // namespace

int ParseRegistryNumber(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t end = text.size();
    while (end > i && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == end) return 0;
    int64_t value = 0;
    for (; i < end; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return 0;
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<int64_t>(INT_MAX) + 1) return 0;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return 0;
    return static_cast<int>(value);
}

PointerApplyResult ApplyPointerSettings(ProfileRecord& profile, IPointerRegistry* key, ISystemPointer& system) {
    PointerApplyResult result;
    // Read in the order the values were always read; the names are historic:
    // "MouseSpeed" is the acceleration level, not the pointer speed.
    int level = ReadNumber(key, kValueAccelerationLevel);
    int threshold2 = ReadNumber(key, kValueThreshold2);
    int threshold1 = ReadNumber(key, kValueThreshold1);

    if (profile.AccelerationFlag != 1 && (level != 0 || threshold2 != 0 || threshold1 != 0)) {
        level = threshold2 = threshold1 = 0;
        profile.Acceleration = 0;
        if (key) {
            key->WriteString(kValueAccelerationLevel, L"0");
            key->WriteString(kValueThreshold2, L"0");
            key->WriteString(kValueThreshold1, L"0");
        }
        result.accelerationSwitchedOff = true;
    }

    system.SetMouseParameters({threshold1, threshold2, level});
    if (profile.MouseSpeed >= kMinPointerSpeed && profile.MouseSpeed <= kMaxPointerSpeed) {
        system.SetPointerSpeed(profile.MouseSpeed);
        result.speedApplied = true;
    }
    return result;
}

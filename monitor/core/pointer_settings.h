#pragma once
// The two Windows pointer settings a profile carries: pointer speed, and
// whether the system's pointer acceleration stays as the user had it. The
// registry key and the system parameters are interfaces, so the rules run and
// are tested without Windows.
#include <array>
#include <optional>
#include <string>
#include <string_view>

struct ProfileRecord;

// The open key "Control Panel\Mouse". Values are strings holding a decimal integer.
class IPointerRegistry {
public:
    virtual ~IPointerRegistry() = default;
    // The text of a string value; nothing when it is missing or not a string.
    virtual std::optional<std::wstring> ReadString(const wchar_t* name) = 0;
    virtual void WriteString(const wchar_t* name, std::wstring_view value) = 0;
};

// The system's pointer parameters.
class ISystemPointer {
public:
    virtual ~ISystemPointer() = default;
    // Threshold 1, threshold 2, acceleration level: the order the system expects.
    virtual void SetMouseParameters(const std::array<int, 3>& triple) = 0;
    virtual void SetPointerSpeed(int speed) = 0;
};

inline constexpr wchar_t kPointerKeyPath[] = L"HKEY_CURRENT_USER\\Control Panel\\Mouse";
inline constexpr wchar_t kValueAccelerationLevel[] = L"MouseSpeed";
inline constexpr wchar_t kValueThreshold1[] = L"MouseThreshold1";
inline constexpr wchar_t kValueThreshold2[] = L"MouseThreshold2";
inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;

// A registry number: optional blanks, an optional sign and decimal digits.
// Anything else (or a number beyond 32 bits) counts as 0.
int ParseRegistryNumber(std::wstring_view text);

struct PointerApplyResult {
    bool accelerationSwitchedOff = false;  // the three registry values were written as "0"
    bool speedApplied = false;             // false when MouseSpeed was outside 1-20
};

// Applies the profile's pointer settings. A null key reads as all 0 and takes
// no writes. A pointer speed outside 1-20 (only a damaged store holds one) is
// left as the system has it rather than handed over.
PointerApplyResult ApplyPointerSettings(ProfileRecord& profile, IPointerRegistry* key, ISystemPointer& system);

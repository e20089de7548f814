#pragma once
// One "BUTTONPOS" entry of a skin description file: where a control of a
// skinned window sits, and the text it shows as its tooltip.
//
//   value   = name "," x "," y "," width "," height ["," ...] "," text
//
// Portable (no <windows.h>): the skin windows and the tests share it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct SkinRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const SkinRect&) const = default;
};

struct ButtonPos {
    static constexpr size_t kNameUnits = 40;
    static constexpr size_t kTextUnits = 400;

    char16_t name[kNameUnits] = {};  // informative only
    SkinRect rect;                   // client pixels of the window
    char16_t text[kTextUnits] = {};  // the control's tooltip
    uint32_t initialCheck = 0;       // always 0 after parsing
    // The "BUTTONPOS" number the entry was read under: the control's id. 0
    // for a value parsed on its own, and controls with id 0 have no entry.
    int32_t entry = 0;

    std::u16string_view Name() const { return std::u16string_view(name); }
    std::u16string_view Text() const { return std::u16string_view(text); }
};

// Parses one entry value. Never fails: whatever cannot be read stays zero or
// empty, and texts longer than their fields are cut to fit (39 and 399 units).
ButtonPos ParseButtonPos(std::u16string_view value);

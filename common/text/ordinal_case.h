#pragma once
// Case-blind comparison of names (profiles, macros, games), as the platform
// compares them ordinally: every UTF-16 code unit goes to its simple upper
// case on its own, with no locale and no expansion, so "Büro" equals "BÜRO"
// and "ß" stays apart from "SS". Stored names keep the case they were typed
// in; only comparisons fold. The table is generated (make_ordinal_case_table.py).
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>

#include "ordinal_case_table.h"

// The upper case of one code unit; units beyond the BMP (a 32-bit wchar_t)
// stay as they are, as do the halves of a surrogate pair.
template <typename Char>
constexpr Char OrdinalUpper(Char c) {
    const auto unit = static_cast<uint32_t>(c);
    if (unit < 0x80) return unit >= 'a' && unit <= 'z' ? static_cast<Char>(unit - 0x20) : c;
    if (unit > 0xFFFF) return c;
    const auto* end = kOrdinalCaseRanges + std::size(kOrdinalCaseRanges);
    const auto* range = std::upper_bound(kOrdinalCaseRanges, end, unit,
                                         [](uint32_t u, const OrdinalCaseRange& r) { return u < r.first; });
    if (range == kOrdinalCaseRanges) return c;
    --range;
    if (unit > range->last || (unit - range->first) % range->step != 0) return c;
    return static_cast<Char>(static_cast<int32_t>(unit) + range->delta);
}

template <typename Char>
std::basic_string<Char> OrdinalUpperText(std::basic_string_view<Char> text) {
    std::basic_string<Char> out(text);
    for (Char& c : out) c = OrdinalUpper(c);
    return out;
}

template <typename Char>
constexpr bool EqualsIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && OrdinalUpper(a[i]) != OrdinalUpper(b[i])) return false;
    return true;
}

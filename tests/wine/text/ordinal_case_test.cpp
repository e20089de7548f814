// The portable name rule against the platform's own ordinal comparison without
// case, so the two cannot drift apart when either table changes: every code
// unit of the BMP is compared with each unit one case distance away (every
// distance the table knows, and those of letters the rule keeps apart from
// their Unicode partners), and the platform must agree on every pair.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <sstream>
#include <string>

#include "ordinal_case.h"

namespace {

bool PlatformEqual(wchar_t a, wchar_t b) { return CompareStringOrdinal(&a, 1, &b, 1, TRUE) == CSTR_EQUAL; }

std::set<int32_t> CaseDistances() {
    std::set<int32_t> distances;
    for (const OrdinalCaseRange& range : kOrdinalCaseRanges) {
        distances.insert(range.delta);
        distances.insert(-range.delta);
    }
    // Partners the rule keeps apart: dotless i and I, long s and S, capital
    // sharp s and sharp s, the Kelvin, Ohm and Angstrom signs and their letters,
    // the micro sign and mu, the Greek symbol variants and their capitals.
    for (const auto& [a, b] : {std::pair{0x0131, 0x0049}, {0x017F, 0x0053}, {0x1E9E, 0x00DF}, {0x212A, 0x006B},
                               {0x2126, 0x03C9}, {0x212B, 0x00E5}, {0x0130, 0x0069}, {0x00B5, 0x039C},
                               {0x0345, 0x0399}, {0x03D0, 0x0392}, {0x03D1, 0x0398}, {0x03F5, 0x0395},
                               {0x1E9B, 0x1E60}, {0x1FBE, 0x0399}}) {
        distances.insert(b - a);
        distances.insert(a - b);
    }
    return distances;
}

}  // namespace

TEST(OrdinalCase, AgreesWithThePlatformOnEveryUnitOfTheBmp) {
    const std::set<int32_t> distances = CaseDistances();
    int compared = 0, differ = 0;
    std::ostringstream first;
    for (int32_t c = 0; c <= 0xFFFF; ++c) {
        for (const int32_t distance : distances) {
            const int32_t d = c + distance;
            if (d < 0 || d > 0xFFFF) continue;
            const auto a = static_cast<wchar_t>(c), b = static_cast<wchar_t>(d);
            const bool ours = EqualsIgnoringCase(std::wstring_view(&a, 1), std::wstring_view(&b, 1));
            ++compared;
            if (ours == PlatformEqual(a, b)) continue;
            if (++differ <= 20)
                first << std::hex << "U+" << c << " U+" << d << (ours ? " equal" : " apart") << " here, not there\n";
        }
    }
    EXPECT_EQ(differ, 0) << "of " << compared << " pairs; the first:\n" << first.str();
    EXPECT_GT(compared, 1000000);
}

TEST(OrdinalCase, WholeNamesCompareAsThePlatformComparesThem) {
    for (const auto& [a, b] : {std::pair<std::wstring, std::wstring>{L"Büro", L"BÜRO"}, {L"straße", L"STRASSE"},
                               {L"Ωmega", L"ωMEGA"}, {L"Профиль", L"ПРОФИЛЬ"}, {L"game", L"gamé"}}) {
        const bool platform =
            CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
        EXPECT_EQ(EqualsIgnoringCase(std::wstring_view(a), std::wstring_view(b)), platform);
    }
}

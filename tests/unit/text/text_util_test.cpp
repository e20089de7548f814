// The shared text helpers on what their callers meet: INI files, device
// interface paths, command lines and names, in three character types.
#include "text_util.h"

#include "ordinal_case.h"

#include <gtest/gtest.h>

TEST(TextUtil, HexDigitsOfEveryCharacterType) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue(u'9'), 9);
    EXPECT_EQ(HexDigitValue(L'a'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    for (const char c : {'g', 'G', '/', ':', '@', '`', ' ', '\0', '\xC6'}) EXPECT_EQ(HexDigitValue(c), -1) << int(c);
    // Full-width digits and letters are no hex digits, nor are their low bytes.
    EXPECT_EQ(HexDigitValue(u'\uFF11'), -1);
    EXPECT_EQ(HexDigitValue(char16_t(0x0141)), -1);
}

TEST(TextUtil, OnlyAsciiLettersChangeCase) {
    EXPECT_EQ(ToAsciiLower(std::u16string_view(u"Profile_ÄÉ[Z]@")), u"profile_ÄÉ[z]@");
    EXPECT_EQ(ToAsciiLower(std::string_view("CpiLevel_X4")), "cpilevel_x4");
    EXPECT_EQ(AsciiUpper(L'v'), L'V');
    EXPECT_EQ(AsciiUpper(L'\u00E9'), L'\u00E9');
    EXPECT_TRUE(EqualsIgnoringAsciiCase(std::u16string_view(u"PROFILE"), std::u16string_view(u"profile")));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::u16string_view(u"\u00C4"), std::u16string_view(u"\u00E4")));
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::wstring_view(L"VID"), std::wstring_view(L"VI")));
    // '[' and '{' sit 32 apart like the letters but are no letters.
    EXPECT_FALSE(EqualsIgnoringAsciiCase(std::string_view("["), std::string_view("{")));
}

// Pairs of names and whether the name rule takes them for one name.
struct NamePair {
    std::u16string_view a, b;
    bool same;
};

class OrdinalCaseTest : public ::testing::TestWithParam<NamePair> {};

TEST_P(OrdinalCaseTest, FoldsEachUnitToItsOneUpperCase) {
    const NamePair& p = GetParam();
    EXPECT_EQ(EqualsIgnoringCase(p.a, p.b), p.same);
    EXPECT_EQ(EqualsIgnoringCase(p.b, p.a), p.same);
    EXPECT_EQ(OrdinalUpperText(p.a) == OrdinalUpperText(p.b), p.same);
}

INSTANTIATE_TEST_SUITE_P(
    Names, OrdinalCaseTest,
    ::testing::Values(NamePair{u"Büro", u"BÜRO", true}, NamePair{u"Profile", u"pROFILE", true},
                      NamePair{u"Ωμέγα", u"ΩΜΈΓΑ", true},          // Greek with its accented capitals
                      NamePair{u"профиль", u"ПРОФИЛЬ", true},      // Cyrillic, 32 and 80 apart
                      NamePair{u"ÿ", u"Ÿ", true},                  // partners far apart
                      NamePair{u"ǆ", u"Ǆ", true},
                      // Only pairs that go both ways: the title-case digraph and the
                      // micro sign stay apart from the capitals their upper case gives.
                      NamePair{u"ǅ", u"Ǆ", false}, NamePair{u"µ", u"Μ", false},
                      NamePair{u"ⓐｂ", u"ⒶＢ", true},              // circled and full-width letters
                      NamePair{u"ᾳ", u"ᾼ", true},                  // one unit, not the expansion
                      NamePair{u"straße", u"STRASSE", false},      // no expansions
                      NamePair{u"ß", u"ẞ", false},                 // nor the capital sharp s
                      NamePair{u"\u212A", u"k", false},           // the Kelvin sign is no letter k
                      NamePair{u"ı", u"I", false}, NamePair{u"ſ", u"s", false},
                      NamePair{u"game", u"gamé", false}, NamePair{u"Büro", u"BÜR", false},
                      // Units beyond the BMP stay as they are, as the platform leaves them.
                      NamePair{u"\U00010428", u"\U00010400", false}));

TEST(OrdinalCase, UpperCaseIsStableAndBeyondTheBmpNothingChanges) {
    for (uint32_t c = 0; c <= 0xFFFF; ++c) {
        const char16_t upper = OrdinalUpper(static_cast<char16_t>(c));
        ASSERT_EQ(OrdinalUpper(upper), upper) << std::hex << c;
        // The same rule for the Monitor's wide strings, whatever their width.
        ASSERT_EQ(static_cast<char16_t>(OrdinalUpper(static_cast<wchar_t>(c))), upper) << std::hex << c;
    }
    EXPECT_EQ(OrdinalUpper(char32_t(0x10428)), char32_t(0x10428));
}

TEST(TextUtil, TrimsWithTheCallersIdeaOfBlank) {
    EXPECT_EQ(TrimView(std::u16string_view(u" \t\r\n\v\fName \f"), IsAsciiBlank<char16_t>), u"Name");
    EXPECT_EQ(TrimView(std::u16string_view(u" \t "), IsAsciiBlank<char16_t>), u"");
    EXPECT_EQ(TrimView(std::u16string_view(u""), IsAsciiBlank<char16_t>), u"");
    EXPECT_EQ(TrimView(std::u16string_view(u"a b"), IsAsciiBlank<char16_t>), u"a b");
    // The INI reader counts the end-of-file mark as blank; the names of the store do not.
    const auto iniBlank = [](char16_t c) { return IsAsciiBlank(c) || c == 0x1A; };
    EXPECT_EQ(TrimView(std::u16string_view(u"\x1A" u"key\x1A"), iniBlank), u"key");
    EXPECT_EQ(TrimView(std::u16string_view(u"\x1A" u"key"), IsAsciiBlank<char16_t>), u"\x1A" u"key");
    EXPECT_FALSE(IsAsciiBlank(char16_t(0x00A0)));
}

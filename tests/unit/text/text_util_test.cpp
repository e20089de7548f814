// The shared text helpers on what their callers meet: INI files, device
// interface paths and command lines, in three character types.
#include "text_util.h"

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

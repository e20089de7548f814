#include "ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "test_support.h"
#include "text_codec.h"

namespace {

CIniFile Parsed(const std::string& bytes) {
    CIniFile ini("unused.ini");
    ini.Parse(bytes);
    return ini;
}

}  // namespace

TEST(IniRead, FollowsThePlatformsLineAndNameRules) {
    const CIniFile ini = Parsed(
        "[First]x\r\n"
        "  Key One  =  spaced value  \n"
        "noequals\r"
        "NoEquals=hidden by the line above\n"
        ";comment=hidden\r\n"
        "dup=first\n"
        "DUP=second\n"
        "empty=\n"
        "q1=\"quoted\"\n"
        "q2='single'\n"
        "q3=\"unmatched\n"
        "q4=\"\n"
        "[first]\n"
        "late=never seen\n"
        "[Second\n"
        "orphan=goes to the previous section\n");
    EXPECT_EQ(ini.ReadString(u"FIRST", u"key one", u"d"), u"spaced value");
    EXPECT_EQ(ini.ReadString(u"First", u"noequals", u"d"), u"d");
    EXPECT_EQ(ini.ReadString(u"First", u";comment", u"d"), u"d");
    EXPECT_EQ(ini.ReadString(u"First", u"dup", u"d"), u"first");
    EXPECT_EQ(ini.ReadString(u"First", u"empty", u"d"), u"");
    EXPECT_EQ(ini.ReadString(u"First", u"q1", u"d"), u"quoted");
    EXPECT_EQ(ini.ReadString(u"First", u"q2", u"d"), u"single");
    EXPECT_EQ(ini.ReadString(u"First", u"q3", u"d"), u"\"unmatched");
    EXPECT_EQ(ini.ReadString(u"First", u"q4", u"d"), u"\"");
    EXPECT_EQ(ini.ReadString(u"First", u"late", u"d"), u"d");
    EXPECT_EQ(ini.ReadString(u"First", u"orphan", u"d"), u"d");  // the first [first] won
    EXPECT_FALSE(ini.HasSection(u"Second"));
    EXPECT_EQ(ini.ReadString(u"Missing", u"key", u"default  "), u"default");
}

TEST(IniRead, CutsLongTextsAt4095Units) {
    const CIniFile ini = Parsed("[S]\nk=" + std::string(5000, 'x') + "\n");
    EXPECT_EQ(ini.ReadString(u"S", u"k", u"").size(), 4095u);
}

TEST(IniRead, ReadsIntegersAsThePlatformDoes) {
    const CIniFile ini = Parsed(
        "[N]\nneg=-12abc\nword=abc\nempty=\nwrap=4294967297\nplus=+7\nhex=0x10\noct=0o17\nbin=0b101\n"
        "upperhex=0X10\nquoted=\" 42\"\nlong=0000000000000000000000000000099\nmin=-2147483648\n");
    EXPECT_EQ(ini.ReadInt(u"N", u"neg", -1), -12);
    EXPECT_EQ(ini.ReadInt(u"N", u"word", -1), 0);
    EXPECT_EQ(ini.ReadInt(u"N", u"empty", -1), -1);
    EXPECT_EQ(ini.ReadInt(u"N", u"missing", -1), -1);
    EXPECT_EQ(ini.ReadInt(u"N", u"wrap", -1), 1);
    EXPECT_EQ(ini.ReadInt(u"N", u"plus", -1), 7);
    EXPECT_EQ(ini.ReadInt(u"N", u"hex", -1), 16);
    EXPECT_EQ(ini.ReadInt(u"N", u"oct", -1), 15);
    EXPECT_EQ(ini.ReadInt(u"N", u"bin", -1), 5);
    EXPECT_EQ(ini.ReadInt(u"N", u"upperhex", -1), 0);
    EXPECT_EQ(ini.ReadInt(u"N", u"quoted", -1), 42);
    EXPECT_EQ(ini.ReadInt(u"N", u"long", -1), 0);  // only the first 29 characters count
    EXPECT_EQ(ini.ReadInt(u"N", u"min", -1), INT32_MIN);
}

TEST(IniRead, AcceptsOnlyWellFormedStructs) {
    const CIniFile ini = Parsed(
        "[S]\nok=0102FF02\nlower=0102ff02\nsum=0102FF03\nshort=0102FF0\nlong=0102FF020\nbad=01G2FF02\n");
    unsigned char b[3] = {9, 9, 9};
    EXPECT_TRUE(ini.ReadStruct(u"S", u"ok", b, 3));
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[2], 0xFF);
    EXPECT_TRUE(ini.ReadStruct(u"S", u"lower", b, 3));
    unsigned char untouched[3] = {9, 9, 9};
    for (const char16_t* key : {u"sum", u"short", u"long", u"bad", u"missing"}) {
        EXPECT_FALSE(ini.ReadStruct(u"S", key, untouched, 3)) << std::string(key, key + 4);
        EXPECT_EQ(untouched[0], 9);
    }
}

TEST(IniWrite, ProducesThePlatformsBytesForAsciiFiles) {
    CIniFile ini("unused.ini");
    ini.Clear();
    ini.WriteString(u" S1 ", u" k1 ", u"plain");
    ini.WriteInt(u"S1", u"n", -1);
    ini.WriteString(u"S2", u"a", u"1");
    ini.WriteString(u"s1", u"K2", u"into the first section");
    ini.WriteString(u"S1", u"N", u"replaced in place");
    const unsigned char b[3] = {1, 2, 0xFF};
    ini.WriteStruct(u"S2", u"st", b, 3);
    EXPECT_EQ(ini.Serialize(),
              "[S1]\r\nk1=plain\r\nn=replaced in place\r\nK2=into the first section\r\n"
              "[S2]\r\na=1\r\nst=0102FF02\r\n");
}

TEST(IniWrite, KeepsValuesThePlatformWouldMangle) {
    CIniFile ini("unused.ini");
    ini.Clear();
    const std::u16string values[] = {u" lead", u"trail ", u"\"quoted\"", u"'q'", u"a\r\nb", u""};
    for (size_t i = 0; i < std::size(values); ++i) ini.WriteString(u"S", IntToText(int(i)), values[i]);
    const CIniFile back = Parsed(ini.Serialize());
    EXPECT_EQ(back.ReadString(u"S", u"0", u"x"), u" lead");
    EXPECT_EQ(back.ReadString(u"S", u"1", u"x"), u"trail ");
    EXPECT_EQ(back.ReadString(u"S", u"2", u"x"), u"\"quoted\"");
    EXPECT_EQ(back.ReadString(u"S", u"3", u"x"), u"'q'");
    EXPECT_EQ(back.ReadString(u"S", u"4", u"x"), u"a  b");  // a line break cannot live in a line
    EXPECT_EQ(back.ReadString(u"S", u"5", u"x"), u"");
}

TEST(IniEncoding, WritesUtf16OnlyWhenTextNeedsIt) {
    CIniFile ini("unused.ini");
    ini.Clear();
    ini.WriteString(u"S", u"name", u"Pr\u00e9cision \u5c04\u51fb");
    const std::string bytes = ini.Serialize();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    EXPECT_EQ(bytes.size(), 2 + 2 * std::u16string(u"[S]\r\nname=Pr\u00e9cision \u5c04\u51fb\r\n").size());
    EXPECT_EQ(Parsed(bytes).ReadString(u"S", u"name", u""), u"Pr\u00e9cision \u5c04\u51fb");
}

TEST(IniEncoding, ReadsEveryMarkAndEightBitText) {
    // UTF-16 big-endian, UTF-8 with its mark, and Windows-1252 without any mark.
    std::string be = "\xFE\xFF";
    for (char16_t c : std::u16string(u"[S]\nk=\u5c04\n")) {
        be.push_back(static_cast<char>(c >> 8));
        be.push_back(static_cast<char>(c & 0xFF));
    }
    EXPECT_EQ(Parsed(be).ReadString(u"S", u"k", u""), u"\u5c04");
    EXPECT_EQ(Parsed("\xEF\xBB\xBF[S]\nk=\xC3\xA9\n").ReadString(u"S", u"k", u""), u"\u00e9");
    EXPECT_EQ(Parsed("[S]\nk=\xE9\x80\n").ReadString(u"S", u"k", u""), u"\u00e9\u20ac");
}

TEST(IniCommit, ReplacesTheFileAndSurvivesAFailedWrite) {
    TempFolder dir;
    const auto path = dir / "a.ini";
    CIniFile first(path);
    first.WriteString(u"S", u"k", u"one");
    ASSERT_TRUE(first.Commit());
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=one\r\n");

    // A second object sees the file and adds to it, as the platform would.
    CIniFile second(path);
    EXPECT_EQ(second.ReadString(u"S", u"k", u""), u"one");
    second.WriteString(u"S", u"k2", u"two");
    ASSERT_TRUE(second.Commit());
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=one\r\nk2=two\r\n");

    // A write that cannot happen is reported and leaves nothing behind.
    CIniFile nowhere(dir / "missing-folder" / "b.ini");
    nowhere.WriteString(u"S", u"k", u"v");
    EXPECT_FALSE(nowhere.Commit());
    EXPECT_FALSE(nowhere.LastError().empty());
    std::filesystem::create_directory(dir / "c.ini");
    CIniFile blocked(dir / "c.ini");
    blocked.WriteString(u"S", u"k", u"v");
    EXPECT_FALSE(blocked.Commit());
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
    EXPECT_EQ(files, 1u);  // only a.ini: no temporary file was left
}

TEST(IniRead, KeyNamesListEachReadableKeyOnceInFileOrder) {
    CIniFile ini("");
    ini.Parse("[Config]\r\nb=1\r\nA=2\r\nnovalue\r\nB=3\r\n c =4\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(ini.KeyNames(u"config"), (std::vector<std::u16string>{u"b", u"A", u"c"}));
    EXPECT_TRUE(ini.KeyNames(u"Missing").empty());
}

namespace {

// The same text as UTF-16 with its mark, which is parsed from decoded text
// rather than split as bytes: both ways must give the same document.
std::string AsMarkedUtf16(std::string_view ansi) {
    const std::u16string text = DecodeAnsi(ansi);
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

}  // namespace

TEST(IniRead, EightBitFilesSplitAsTheirDecodedText) {
    // Line breaks of every kind at every offset of the eight-byte scan, blanks
    // and the end-of-file mark at the edges, 8-bit letters next to '=' and ']'.
    std::string text = "lead=before any header\r\n\x1A [S\xE9]x \t\r\n";
    for (int n = 0; n < 20; ++n) {
        text += std::string(static_cast<size_t>(n), 'k') + std::to_string(n) + "=" + std::string(static_cast<size_t>(n % 9), 'v');
        text += n % 4 == 0 ? "\r\n" : n % 4 == 1 ? "\n" : n % 4 == 2 ? "\r" : "\r\r\n";
    }
    text += "\xE9\x80=\xE9 \x1A\n; comment=x\nnoequals\r\n  =empty key\n[ T ]\rk=\"q\"\r\n[S\xC9]\nk0=hidden\n\xA0k=nbsp\nlast=no break";
    const CIniFile bytes = Parsed(text);
    const CIniFile decoded = Parsed(AsMarkedUtf16(text));
    EXPECT_EQ(bytes.SerializeText(), decoded.SerializeText());
    EXPECT_EQ(bytes.SectionNames(), decoded.SectionNames());
    EXPECT_EQ(bytes.ReadString(u"S\u00e9", u"\u00e9\u20ac", u"d"), u"\u00e9");
    // Names fold ASCII letters only: "[S\xC9]" is a section of its own.
    EXPECT_EQ(bytes.ReadString(u"S\u00c9", u"k0", u"d"), u"hidden");
    EXPECT_EQ(bytes.ReadString(u"s\u00e9", u"k0", u"d"), u"d");
    EXPECT_EQ(bytes.ReadString(u"", u"lead", u"d"), u"before any header");
    EXPECT_EQ(bytes.ReadString(u"T", u"k", u"d"), u"q");
    EXPECT_EQ(bytes.ReadString(u"S\u00c9", u"last", u"d"), u"no break");
    for (int n = 0; n < 20; ++n) {
        const std::u16string key = std::u16string(static_cast<size_t>(n), u'k') + IntToText(n);
        EXPECT_EQ(bytes.ReadString(u"S\u00e9", key, u"d"), std::u16string(static_cast<size_t>(n % 9), u'v')) << n;
    }
}

TEST(IniRead, APartialReadKeepsOnlyWhatItIsAskedFor) {
    const std::string text =
        "top=1\r\n[A]\r\nx=1\r\nnoequals\r\nNOEQUALS=hidden\r\ny=2\r\n[B]\r\nx=3\r\n[a]\r\nx=late\r\nz=4\r\n";
    for (const std::string& bytes : {text, AsMarkedUtf16(text)}) {
        CIniFile ini("unused.ini");
        ini.ParseOnly(bytes, [](std::u16string_view section, std::u16string_view key) {
            return section == u"A" || section == u"a" || key == u"NoEquals" || key == u"noequals";
        });
        // Every section is still known, the implicit one only when something of it is kept.
        EXPECT_EQ(ini.SectionNames(), (std::vector<std::u16string>{u"A", u"B", u"a"}));
        EXPECT_EQ(ini.ReadString(u"A", u"x", u"d"), u"1");
        EXPECT_EQ(ini.ReadString(u"A", u"y", u"d"), u"2");
        EXPECT_EQ(ini.ReadString(u"A", u"z", u"d"), u"d");  // the duplicate section stays text only
        EXPECT_EQ(ini.ReadString(u"A", u"noequals", u"d"), u"d");  // still hidden by the line without '='
        EXPECT_EQ(ini.ReadString(u"B", u"x", u"d"), u"d");
        EXPECT_EQ(ini.ReadString(u"", u"top", u"d"), u"d");
    }
    TempFolder dir;
    WriteBytes(dir / "f.ini", text);
    CIniFile file(dir / "f.ini");
    file.LoadOnly([](std::u16string_view section, std::u16string_view) { return section == u"B"; });
    EXPECT_EQ(file.ReadString(u"B", u"x", u"d"), u"3");
    EXPECT_EQ(file.ReadString(u"A", u"x", u"d"), u"d");
}

TEST(IniWrite, StructsAreUpperCaseHexWithAByteSumAtEveryLength) {
    // Lengths around the sixteen-byte steps of the encoder, every byte value.
    std::vector<uint8_t> bytes(300);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    for (size_t size : {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{17}, size_t{33}, size_t{256}, size_t{300}}) {
        std::string expected;
        unsigned sum = 0;
        char digits[3];
        for (size_t i = 0; i < size; ++i) {
            std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
            expected += digits;
            sum += bytes[i];
        }
        std::snprintf(digits, sizeof digits, "%02X", sum & 0xFF);
        expected += digits;
        CIniFile ini("unused.ini");
        ini.Clear();
        ini.WriteStruct(u"S", u"k", bytes.data(), size);
        EXPECT_EQ(ini.Serialize(), "[S]\r\nk=" + expected + "\r\n") << size;
        std::vector<uint8_t> back(size + 1, 0xEE);
        EXPECT_TRUE(ini.ReadStruct(u"S", u"k", back.data(), size)) << size;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + static_cast<long>(size), back.begin())) << size;
    }
}

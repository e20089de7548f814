#include "text_language.h"

#include <gtest/gtest.h>

#include <vector>

#include "ini_file.h"
#include "test_support.h"

namespace {

// A block as the resource compiler writes it: 16 counted strings.
std::vector<uint8_t> Block(const std::vector<std::u16string>& texts) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < texts.size() ? texts[i] : u"";
        bytes.push_back(static_cast<uint8_t>(text.size() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(text.size() >> 8));
        for (char16_t c : text) {
            bytes.push_back(static_cast<uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
    }
    return bytes;
}

}  // namespace

TEST(TextLanguage, TheDisplayLanguageChoosesGermanForEveryGermanRegionAndEnglishOtherwise) {
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0407), kLanguageGerman);  // Germany
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0C07), kLanguageGerman);  // Austria
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0807), kLanguageGerman);  // Switzerland
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0409), kLanguageEnglish);
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0809), kLanguageEnglish);  // English (UK)
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0411), kLanguageEnglish);  // Japanese: no table
    EXPECT_EQ(ChooseTextLanguage(std::nullopt, 0x0000), kLanguageEnglish);
    // The override wins both ways.
    EXPECT_EQ(ChooseTextLanguage(kLanguageEnglish, 0x0407), kLanguageEnglish);
    EXPECT_EQ(ChooseTextLanguage(kLanguageGerman, 0x0411), kLanguageGerman);
}

TEST(TextLanguage, OverrideValuesAreReadLeniently) {
    for (std::u16string_view german : {u"de", u"DE", u" German ", u"Deutsch", u"de-AT", u"0x0407", u"1031", u"0x0C07"})
        EXPECT_EQ(ParseLanguageOverride(german), kLanguageGerman) << std::string(german.begin(), german.end());
    for (std::u16string_view english : {u"en", u"English", u"en-GB", u"0x0409", u"1033"})
        EXPECT_EQ(ParseLanguageOverride(english), kLanguageEnglish) << std::string(english.begin(), english.end());
    // Anything not understood leaves the choice to Windows.
    for (std::u16string_view other : {u"", u"  ", u"ja", u"fr-FR", u"0x0411", u"0x", u"99999999", u"de_DE_x", u"auto"})
        EXPECT_FALSE(ParseLanguageOverride(other).has_value()) << std::string(other.begin(), other.end());
}

TEST(TextLanguage, TheOverrideComesFromTheStoresConfigSection) {
    TempFolder folder;
    EXPECT_FALSE(ReadLanguageOverride(folder.path()).has_value());  // no store at all
    std::filesystem::create_directories(folder.path() / "config");
    WriteBytes(folder.path() / "config" / "Config.data", "[Config]\r\nnumber=1\r\nLanguage=de\r\n");
    EXPECT_EQ(ReadLanguageOverride(folder.path()), kLanguageGerman);
    WriteBytes(folder.path() / "config" / "Config.data", "[Profile0]\r\nLanguage=de\r\n");
    EXPECT_FALSE(ReadLanguageOverride(folder.path()).has_value());  // another section does not count
}

TEST(TextLanguage, TheOverrideSurvivesASaveOfTheStore) {
    TempFolder folder;
    const auto file = ProfileStorePath(folder.path());
    std::filesystem::create_directories(file.parent_path());
    WriteBytes(file, "[Config]\r\nnumber=0\r\nProfileID=-1\r\nLanguage=English\r\n");
    ProfileStore store;
    LoadProfileStore(file, store);
    ASSERT_TRUE(SaveProfileStore(file, store));
    EXPECT_EQ(ReadLanguageOverride(folder.path()), kLanguageEnglish);
}

TEST(StringBlock, TextsAreFoundByIndexWithEmptyEntriesBetween) {
    const auto block = Block({u"", u"Einstellungen", u"", u"Makros", u"\u00e4\u00f6\u00fc\u00df"});
    EXPECT_EQ(StringBlockText(block.data(), block.size(), 1), u"Einstellungen");
    EXPECT_EQ(StringBlockText(block.data(), block.size(), 3), u"Makros");
    EXPECT_EQ(StringBlockText(block.data(), block.size(), 4), u"\u00e4\u00f6\u00fc\u00df");
    EXPECT_EQ(StringBlockText(block.data(), block.size(), 0), u"");
    EXPECT_EQ(StringBlockText(block.data(), block.size(), 15), u"");
    EXPECT_EQ(StringBlockId(1005), 63u);
    EXPECT_EQ(StringBlockIndex(1005), 13u);
}

TEST(StringBlock, ADamagedBlockGivesNothingAndIsNeverReadPastItsEnd) {
    const auto block = Block({u"Einstellungen", u"Makros"});
    EXPECT_FALSE(StringBlockText(block.data(), block.size(), 16).has_value());
    EXPECT_FALSE(StringBlockText(nullptr, 0, 0).has_value());
    // Cut inside the first text: neither it nor anything after it is read.
    EXPECT_FALSE(StringBlockText(block.data(), 10, 0).has_value());
    EXPECT_FALSE(StringBlockText(block.data(), 10, 5).has_value());
    // A length far beyond the block.
    std::vector<uint8_t> bad = block;
    bad[0] = 0xFF;
    bad[1] = 0xFF;
    EXPECT_FALSE(StringBlockText(bad.data(), bad.size(), 0).has_value());
    EXPECT_FALSE(StringBlockText(bad.data(), bad.size(), 1).has_value());
    // A block that stops after its last non-empty entry still gives the earlier ones.
    EXPECT_EQ(StringBlockText(block.data(), 2 + 26, 0), u"Einstellungen");
}

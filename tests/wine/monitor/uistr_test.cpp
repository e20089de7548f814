#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "button_assignment.h"
#include "text_ids.h"
#include "text_language.h"
#include "text_library.h"

namespace {

class UistrTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(texts_.Load(GM_STAGE_DIR_WINDOWS, ChooseTextLanguage(ReadLanguageOverride(GM_STAGE_DIR_WINDOWS), GetUserDefaultUILanguage()))) << "no uistr.dll in the staged folder"; }
    CTextLibrary texts_;
};

// Every id either program shows, function names and category names included.
std::set<int> ShownIds() {
    std::set<int> ids = FunctionNameTextIds();
    ids.insert(kOptionTextIds.begin(), kOptionTextIds.end());
    ids.insert(kMonitorTextIds.begin(), kMonitorTextIds.end());
    for (const FunctionClassInfo& row : FunctionClassTable()) ids.insert(row.textId);
    return ids;
}

constexpr uint16_t kLanguages[2] = {kLanguageEnglish, kLanguageGerman};

const char* Tag(uint16_t language) { return language == kLanguageGerman ? "de" : "en"; }

}  // namespace

TEST_F(UistrTest, EveryTextTheProgramsShowIsThere) {
    for (uint16_t language : kLanguages) {
        texts_.SetLanguage(language);
        for (int id : ShownIds()) EXPECT_FALSE(texts_.Text(id).empty()) << "text " << id << " (" << Tag(language) << ")";
    }
}

TEST_F(UistrTest, NoTextNumberServesTwoRoles) {
    // One number for two texts shows the wrong one in one of the places.
    const std::set<int> functions = FunctionNameTextIds();
    const std::set<int> option(kOptionTextIds.begin(), kOptionTextIds.end());
    for (int id : kMonitorTextIds) {
        EXPECT_FALSE(functions.count(id)) << "text " << id << " is the Monitor's and a function's name";
        EXPECT_FALSE(option.count(id)) << "text " << id << " is the Monitor's and Option's";
    }
}

TEST_F(UistrTest, TheGermanTableIsComplete) {
    // Through Text() a missing German text would quietly show in English.
    for (int id : ShownIds()) EXPECT_FALSE(texts_.TextIn(kLanguageGerman, id).empty()) << "no German text " << id;
    // And the table is really another language, not a copy of the English one.
    EXPECT_NE(texts_.TextIn(kLanguageGerman, 1), texts_.TextIn(kLanguageEnglish, 1));
}

TEST_F(UistrTest, FunctionNamesAndMenuEntriesFitTheirButtons) {
    for (uint16_t language : kLanguages) {
        texts_.SetLanguage(language);
        for (int id : FunctionNameTextIds())
            EXPECT_LE(texts_.Text(id).size(), static_cast<size_t>(kFunctionNameBudget))
                << "text " << id << " (" << Tag(language) << ")";
        for (int id : kMenuTextIds)
            EXPECT_LE(texts_.Text(id).size(), static_cast<size_t>(kFunctionNameBudget))
                << "text " << id << " (" << Tag(language) << ")";
        EXPECT_LT(texts_.Text(kTextTrayTip).size(), static_cast<size_t>(kTrayTipUnits)) << Tag(language);
    }
}

TEST_F(UistrTest, FunctionNamesAreDistinctWithinEachMenu) {
    // Two entries of one drop-down with the same caption could not be told apart.
    std::set<uint8_t> classes;
    for (const FunctionCodeInfo& row : FunctionCodeTable()) classes.insert(row.functionClass);
    for (uint16_t language : kLanguages) {
        texts_.SetLanguage(language);
        for (uint8_t functionClass : classes) {
            std::set<std::wstring> seen;
            for (const FunctionCodeInfo& row : FunctionCodeTable()) {
                if (row.functionClass != functionClass || row.textId == 0 || row.menuPosition == 0) continue;
                EXPECT_TRUE(seen.insert(texts_.Text(row.textId)).second)
                    << "duplicate caption, text " << row.textId << " (" << Tag(language) << ")";
            }
        }
        // The category menu too.
        std::set<std::wstring> categories;
        for (const FunctionClassInfo& row : FunctionClassTable())
            EXPECT_TRUE(categories.insert(texts_.Text(row.textId)).second)
                << "duplicate category, text " << row.textId << " (" << Tag(language) << ")";
    }
}

TEST_F(UistrTest, OptionAndTheCommandLineNameEachFunctionTheSameWay) {
    // The two names of a code differ in wording, never in which way it goes.
    const auto words = [](std::string text) {
        std::set<std::string> found;
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (const char* word : {"left", "right", "up", "down", "forward", "back", "next", "previous"})
            for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
                const size_t end = at + std::strlen(word);
                if ((at == 0 || !std::isalpha(static_cast<unsigned char>(text[at - 1]))) &&
                    (end == text.size() || !std::isalpha(static_cast<unsigned char>(text[end]))))
                    found.insert(word);
            }
        return found;
    };
    texts_.SetLanguage(kLanguageEnglish);
    for (const FunctionCodeInfo& row : FunctionCodeTable()) {
        if (row.textId == 0 || row.textId == kTextUnknownFunction) continue;
        const std::wstring shown = texts_.Text(row.textId);
        EXPECT_EQ(words(std::string(shown.begin(), shown.end())), words(row.commandName))
            << "code " << int(row.code) << ": \"" << std::string(shown.begin(), shown.end()) << "\" and \""
            << row.commandName << "\"";
    }
}

TEST(UistrMissing, EveryTextIsEmptyAndNothingBreaks) {
    CTextLibrary texts;
    EXPECT_FALSE(texts.Load(L"Z:\\nonexistent-folder-of-the-suite", kLanguageEnglish));
    EXPECT_TRUE(texts.Text(kTextOpenOption).empty());
    EXPECT_TRUE(texts.Text(1005, 260).empty());
}

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "button_assignment.h"
#include "text_ids.h"
#include "text_library.h"

namespace {

class UistrTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(texts_.Load(GM_STAGE_DIR_WINDOWS)) << "no uistr.dll in the staged folder"; }
    CTextLibrary texts_;
};

// Every function name a button caption or a menu shows.
std::set<int> FunctionNameIds() {
    std::set<int> ids{kTextUnknownFunction};
    for (const FunctionCodeInfo& row : FunctionCodeTable())
        if (row.textId != 0) ids.insert(row.textId);
    return ids;
}

}  // namespace

TEST_F(UistrTest, EveryTextTheProgramsShowIsThere) {
    for (int id : kOptionTextIds) EXPECT_FALSE(texts_.Text(id).empty()) << "text " << id;
    for (int id : kMonitorTextIds) EXPECT_FALSE(texts_.Text(id).empty()) << "text " << id;
    for (int id : FunctionNameIds()) EXPECT_FALSE(texts_.Text(id).empty()) << "text " << id;
    for (const FunctionClassInfo& row : FunctionClassTable())
        EXPECT_FALSE(texts_.Text(row.textId).empty()) << "class text " << row.textId;
}

TEST_F(UistrTest, FunctionNamesAndMenuEntriesFitTheirButtons) {
    for (int id : FunctionNameIds())
        EXPECT_LE(texts_.Text(id).size(), static_cast<size_t>(kFunctionNameBudget)) << "text " << id;
    for (int id : kMenuTextIds)
        EXPECT_LE(texts_.Text(id).size(), static_cast<size_t>(kFunctionNameBudget)) << "text " << id;
    EXPECT_LT(texts_.Text(kTextTrayTip).size(), static_cast<size_t>(kTrayTipUnits));
}

TEST_F(UistrTest, FunctionNamesAreDistinctWithinEachMenu) {
    // Two entries of one drop-down with the same caption could not be told apart.
    std::set<uint8_t> classes;
    for (const FunctionCodeInfo& row : FunctionCodeTable()) classes.insert(row.functionClass);
    for (uint8_t functionClass : classes) {
        std::set<std::wstring> seen;
        for (const FunctionCodeInfo& row : FunctionCodeTable()) {
            if (row.functionClass != functionClass || row.textId == 0 || row.menuPosition == 0) continue;
            EXPECT_TRUE(seen.insert(texts_.Text(row.textId)).second) << "duplicate caption, text " << row.textId;
        }
    }
}

TEST(UistrMissing, EveryTextIsEmptyAndNothingBreaks) {
    CTextLibrary texts;
    EXPECT_FALSE(texts.Load(L"Z:\\nonexistent-folder-of-the-suite"));
    EXPECT_TRUE(texts.Text(kTextOpenOption).empty());
    EXPECT_TRUE(texts.Text(1005, 260).empty());
}

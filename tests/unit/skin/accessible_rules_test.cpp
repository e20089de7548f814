#include <gtest/gtest.h>

#include "accessible_rules.h"

namespace {

using namespace accessible_state;

struct NameCase {
    const wchar_t* name;
    const wchar_t* caption;
    const wchar_t* tooltip;
    const wchar_t* expected;
    bool asTyped = false;
};

class AccessibleName : public testing::TestWithParam<NameCase> {};

TEST_P(AccessibleName, OwnerNameThenCaptionThenTooltipAsSpoken) {
    const NameCase& c = GetParam();
    AccessibleFacts facts;
    facts.role = AccessibleRole::kPushButton;
    facts.name = c.name;
    facts.caption = c.caption;
    facts.tooltip = c.tooltip;
    facts.nameAsTyped = c.asTyped;
    EXPECT_EQ(DescribeAccessible(facts).name, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AccessibleName,
    testing::Values(NameCase{L"G4: DPI up", L"DPI up", L"Tip", L"G4: DPI up"},
                    NameCase{L"", L"&Record", L"Tip", L"Record"},
                    NameCase{L"", L"Copy && paste", L"", L"Copy & paste"},
                    // A wrapped caption reads as one line.
                    NameCase{L"", L"  Levels\r\nin use ", L"", L"Levels in use"},
                    // A caption of blanks or a lone mnemonic says nothing: the tip speaks.
                    NameCase{L"", L" & ", L"Delete profile", L"Delete profile"},
                    NameCase{L"", L"", L"", L""},
                    // A typed name (a profile, a path) is no caption: its '&' is read.
                    NameCase{L"R&D  &&  co", L"", L"", L"R&D && co", true},
                    NameCase{L"R&D", L"", L"", L"RD"}));

struct StateCase {
    AccessibleRole role;
    bool checked, enabled, visible, focused, focusable;
    uint32_t expected;
    bool selected = false;
};

class AccessibleStateRules : public testing::TestWithParam<StateCase> {};

TEST_P(AccessibleStateRules, StateFollowsRoleAndWindow) {
    const StateCase& c = GetParam();
    AccessibleFacts facts;
    facts.role = c.role;
    facts.caption = L"x";
    facts.checked = c.checked;
    facts.enabled = c.enabled;
    facts.visible = c.visible;
    facts.focused = c.focused;
    facts.focusable = c.focusable;
    facts.selected = c.selected;
    EXPECT_EQ(DescribeAccessible(facts).state, c.expected);
}

using R = AccessibleRole;
INSTANTIATE_TEST_SUITE_P(
    Rules, AccessibleStateRules,
    testing::Values(
        StateCase{R::kCheckButton, true, true, true, false, true, kChecked | kFocusable},
        StateCase{R::kPageTab, true, true, true, true, true, kChecked | kFocusable | kFocused},
        // A push button drawn pressed is not "checked" for a listener.
        StateCase{R::kPushButton, true, true, true, false, true, kFocusable},
        // Disabled or hidden: never focusable, whatever the focus says.
        StateCase{R::kCheckButton, true, false, true, true, true, kChecked | kUnavailable},
        StateCase{R::kSlider, false, true, false, false, true, kInvisible},
        StateCase{R::kStaticText, false, true, true, true, true, 0u},
        StateCase{R::kSlider, false, true, true, false, false, 0u},
        // A list's rows: each selectable, the chosen one selected; selection means nothing elsewhere.
        StateCase{R::kListItem, false, true, true, true, true, kSelectable | kSelected | kFocusable | kFocused, true},
        StateCase{R::kListItem, false, true, true, false, true, kSelectable | kFocusable},
        StateCase{R::kPushButton, false, true, true, false, true, kFocusable, true}));

TEST(AccessibleRules, NotDescribedGivesNothing) {
    AccessibleFacts facts;
    facts.caption = L"Hidden meaning";
    facts.enabled = false;
    const AccessibleAnswer answer = DescribeAccessible(facts);
    EXPECT_EQ(answer.role, AccessibleRole::kNone);
    EXPECT_TRUE(answer.name.empty());
    EXPECT_EQ(answer.state, 0u);
}

TEST(AccessibleRules, MouseButtonsAreNamedByNumberAndFunction) {
    EXPECT_EQ(NumberedButtonName(4, L"DPI up"), L"G4: DPI up");
    EXPECT_EQ(NumberedButtonName(16, L"Wheel\r\ndown"), L"G16: Wheel down");
    // No function text (a missing language library): the number alone.
    EXPECT_EQ(NumberedButtonName(12, L""), L"G12");
}

}  // namespace

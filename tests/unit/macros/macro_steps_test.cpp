#include "macro_steps.h"

#include <gtest/gtest.h>

#include "list_box_model.h"

namespace {

constexpr uint8_t kA = 4, kB = 5, kLeft = 240;

MacroWorkingCopy Steps(std::initializer_list<MacroEvent> events) {
    MacroWorkingCopy copy;
    for (const MacroEvent& e : events) EXPECT_TRUE(copy.InsertAt(copy.count, e));
    return copy;
}

MacroEvent Down(uint8_t key) { return KeyStep(key, true); }
MacroEvent Up(uint8_t key) { return KeyStep(key, false); }

std::vector<std::u16string> Texts(const std::vector<EventRow>& rows) {
    std::vector<std::u16string> texts;
    for (const auto& row : rows) texts.push_back(row.text);
    return texts;
}

}  // namespace

TEST(MacroRows, RowsNameKeysButtonsAndDelaysAndCarryStepKeyAndKind) {
    const UsKeyboardLayout us;
    const MacroWorkingCopy copy =
        Steps({Down(kA), DelayStep(0), DelayStep(120), Up(kA), Down(kLeft), Up(kLeft), Down(88)});
    const auto rows = BuildEventRows(copy, us);
    // The 0 ms delay has no row but keeps its step index.
    EXPECT_EQ(Texts(rows), (std::vector<std::u16string>{u"A", u"120 ms", u"A", u"Left Down", u"Left Up", u"Num_ "}));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].itemValue, (1u << 16) | (kA << 8) | list_row_kind::kKeyPress);
    EXPECT_EQ(rows[1].itemValue, (3u << 16) | list_row_kind::kDelay);
    EXPECT_EQ(rows[2].itemValue, (4u << 16) | (kA << 8) | list_row_kind::kKeyRelease);
    EXPECT_EQ(rows[3].itemValue, (5u << 16) | (uint32_t{kLeft} << 8) | list_row_kind::kMousePress);
    EXPECT_EQ(rows[4].itemValue, (6u << 16) | (uint32_t{kLeft} << 8) | list_row_kind::kMouseRelease);
    EXPECT_EQ(rows[2].step, 3);
    EXPECT_EQ(ItemValueStep(rows[2].itemValue), 3);
    EXPECT_EQ(copy.KeySteps(), 5);
    // Any press flag but 1 is a release.
    MacroWorkingCopy odd = Steps({MacroEvent{kLeft, 7, 0}});
    EXPECT_EQ(BuildEventRows(odd, us)[0].text, u"Left Up");
}

TEST(MacroWorkingCopy, HoldsAtMost160StepsAndADamagedCountIsBroughtIntoRange) {
    MacroWorkingCopy copy;
    for (int i = 0; i < kMaxMacroEvents; ++i) ASSERT_TRUE(copy.InsertAt(0, DelayStep(static_cast<uint16_t>(i))));
    EXPECT_FALSE(copy.InsertAt(0, DelayStep(1)));
    EXPECT_FALSE(copy.Fits(1));
    EXPECT_EQ(copy.count, 160);
    EXPECT_EQ(copy.events[0].delay, 159);

    MacroWorkingCopy small;
    EXPECT_FALSE(small.InsertAt(1, Down(kA)));   // past the end
    EXPECT_FALSE(small.InsertAt(-1, Down(kA)));
    EXPECT_EQ(small.count, 0);

    MacroRecord record{};
    record.eventCount = 9999;
    EXPECT_EQ(MacroWorkingCopy::FromRecord(record).count, 160);
    record.eventCount = -3;
    EXPECT_EQ(MacroWorkingCopy::FromRecord(record).count, 0);

    // Removing keeps the slots past the count zero, as a stored record has them.
    MacroWorkingCopy two = Steps({Down(kA), Up(kA)});
    two.RemoveAt(0);
    EXPECT_EQ(two.count, 1);
    EXPECT_EQ(two.events[1].keyCode, 0);
    MacroRecord out{};
    two.StoreInto(out);
    EXPECT_EQ(out.eventCount, 1);
    EXPECT_EQ(out.events[0].keyCode, kA);
    EXPECT_EQ(out.events[0].pressFlag, kPressFlagUp);
}

TEST(MacroPartners, APressPairsWithTheNextStepOfItsKeyAndAReleaseWithThePrevious) {
    const MacroWorkingCopy copy = Steps({Down(kA), Down(kB), DelayStep(50), Up(kB), Up(kA), Down(kLeft), Up(kLeft)});
    EXPECT_EQ(PartnerStep(copy, 0), 4);
    EXPECT_EQ(PartnerStep(copy, 4), 0);
    EXPECT_EQ(PartnerStep(copy, 1), 3);
    EXPECT_EQ(PartnerStep(copy, 2), std::nullopt);  // delays have none
    // Mouse buttons pair for the step operations, though the list draws no partner for them.
    EXPECT_EQ(PartnerStep(copy, 5), 6);
    EXPECT_EQ(PartnerStep(copy, 99), std::nullopt);
    EXPECT_EQ(PartnerStep(Steps({Up(kA), Down(kA)}), 0), std::nullopt);
}

TEST(MacroStepMoves, AStepMovesPastOthersButNeverPastItsOwnPartner) {
    const UsKeyboardLayout us;
    MacroWorkingCopy copy = Steps({Down(kA), DelayStep(50), Up(kA), Down(kB)});
    auto rows = BuildEventRows(copy, us);
    // The press past the delay is fine.
    StepChange change = MoveStepDown(copy, rows, 0);
    EXPECT_TRUE(change.changed);
    EXPECT_EQ(change.selectStep, 1);
    EXPECT_EQ(copy.events[0].keyCode, kDelayStepKey);
    EXPECT_EQ(copy.events[1].keyCode, kA);
    rows = BuildEventRows(copy, us);
    // ... but not past its own release, either way.
    const MacroWorkingCopy before = copy;
    EXPECT_FALSE(MoveStepDown(copy, rows, 1).changed);
    EXPECT_FALSE(MoveStepUp(copy, rows, 2).changed);
    // Neither off the ends.
    EXPECT_FALSE(MoveStepUp(copy, rows, 0).changed);
    EXPECT_FALSE(MoveStepDown(copy, rows, 3).changed);
    EXPECT_FALSE(MoveStepDown(copy, rows, 17).changed);
    EXPECT_EQ(copy, before);
    // Two delays swap freely.
    MacroWorkingCopy delays = Steps({DelayStep(10), DelayStep(20)});
    EXPECT_TRUE(MoveStepDown(delays, BuildEventRows(delays, us), 0).changed);
    EXPECT_EQ(delays.events[0].delay, 20);
}

TEST(MacroStepMoves, AMoveGoesToTheNeighbouringRowOverAHiddenDelay) {
    const UsKeyboardLayout us;
    MacroWorkingCopy copy = Steps({Down(kA), DelayStep(0), Down(kB)});
    const auto rows = BuildEventRows(copy, us);
    const StepChange change = MoveStepUp(copy, rows, 1);
    ASSERT_TRUE(change.changed);
    EXPECT_EQ(change.selectStep, 0);
    EXPECT_EQ(copy.events[0].keyCode, kB);
    EXPECT_EQ(copy.events[1].delay, 0);
    EXPECT_EQ(copy.events[2].keyCode, kA);
}

TEST(MacroStepDelete, KeysGoWithTheirPartnerDelaysAloneAndTheLastRowClearsAll) {
    const UsKeyboardLayout us;
    // The press of a key, a 50 ms delay, its release: both key steps go.
    MacroWorkingCopy copy = Steps({Down(kA), DelayStep(50), Up(kA)});
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 0).changed);
    ASSERT_EQ(copy.count, 1);
    EXPECT_EQ(copy.events[0].delay, 50);

    copy = Steps({Down(kB), Down(kA), DelayStep(50), Up(kA), Up(kB)});
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 3).changed);  // release of A takes its press
    ASSERT_EQ(copy.count, 3);
    EXPECT_EQ(copy.events[0].keyCode, kB);
    EXPECT_EQ(copy.events[1].keyCode, kDelayStepKey);
    EXPECT_EQ(copy.events[2].keyCode, kB);

    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 1).changed);  // a delay goes alone
    EXPECT_EQ(copy.count, 2);

    // A press without a release goes alone.
    copy = Steps({Down(kA), Down(kB)});
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 0).changed);
    ASSERT_EQ(copy.count, 1);
    EXPECT_EQ(copy.events[0].keyCode, kB);

    // A key doubled by an edit: a press takes the next release, not the next press.
    copy = Steps({Down(kA), Down(kA), Up(kA), Up(kA)});
    EXPECT_EQ(PartnerStep(copy, 0), 1);
    EXPECT_EQ(PartnerStep(copy, 0, true), 2);
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 0).changed);
    ASSERT_EQ(copy.count, 2);
    EXPECT_TRUE(IsPress(copy.events[0]));
    EXPECT_FALSE(IsPress(copy.events[1]));
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 1).changed);
    EXPECT_EQ(copy.count, 0);

    // One row left: hidden 0 ms steps go with it.
    copy = Steps({DelayStep(0), Down(kA), DelayStep(0)});
    EXPECT_TRUE(DeleteStep(copy, BuildEventRows(copy, us), 0).changed);
    EXPECT_EQ(copy, MacroWorkingCopy{});
    EXPECT_FALSE(DeleteStep(copy, BuildEventRows(copy, us), 0).changed);
}

TEST(MacroStepEdits, DelaysAreCappedAndAKeyChangeTakesItsPartnerAlong) {
    MacroWorkingCopy copy = Steps({Down(kA), DelayStep(50), Up(kA), Down(kA), Up(kA)});
    EXPECT_TRUE(SetStepDelay(copy, 1, 99999));
    EXPECT_EQ(copy.events[1].delay, 65535);
    EXPECT_FALSE(SetStepDelay(copy, 0, 10));  // not a delay step
    EXPECT_FALSE(SetStepDelay(copy, 5, 10));

    EXPECT_TRUE(SetStepKey(copy, 2, kB));  // a release changes the press before it
    EXPECT_EQ(copy.events[0].keyCode, kB);
    EXPECT_EQ(copy.events[2].keyCode, kB);
    EXPECT_EQ(copy.events[3].keyCode, kA);  // the next pair is another one
    EXPECT_EQ(copy.events[4].keyCode, kA);
    EXPECT_FALSE(SetStepKey(copy, 1, kB));  // a delay has no key
    EXPECT_FALSE(SetStepKey(copy, 3, kDelayStepKey));
    EXPECT_EQ(copy.events[3].keyCode, kA);
}

TEST(MacroTexts, TypedDelaysAreReadUpToTheirDigitsAndCapped) {
    EXPECT_EQ(ParseDelayText(u"50"), 50);
    EXPECT_EQ(ParseDelayText(u"99999"), 65535);
    EXPECT_EQ(ParseDelayText(u"65536"), 65535);
    EXPECT_EQ(ParseDelayText(u"65535"), 65535);
    EXPECT_EQ(ParseDelayText(u"0"), 0);
    EXPECT_EQ(ParseDelayText(u" 12 ms"), 12);
    EXPECT_EQ(ParseDelayText(u"123456789012345678901234567890"), 65535);
    EXPECT_EQ(ParseDelayText(u""), std::nullopt);
    EXPECT_EQ(ParseDelayText(u"ms"), std::nullopt);
    EXPECT_EQ(ParseDelayText(u"-5"), std::nullopt);
}

TEST(MacroModifierKeys, ShiftCtrlAndAltAreToldLeftFromRightByTheKeyData) {
    EXPECT_EQ(RefineModifierKey(16, 0xC02A0001), 160u);
    EXPECT_EQ(RefineModifierKey(16, 0xC0360001), 161u);
    EXPECT_EQ(RefineModifierKey(17, 0xC01D0001), 162u);
    EXPECT_EQ(RefineModifierKey(17, 0xC11D0001), 163u);
    EXPECT_EQ(RefineModifierKey(18, 0xC0380001), 164u);
    EXPECT_EQ(RefineModifierKey(18, 0xC1380001), 165u);
    // Key-down data of the same keys (no transition bits) refine alike.
    EXPECT_EQ(RefineModifierKey(16, 0x00360001), 161u);
    EXPECT_EQ(RefineModifierKey(0x41, 0xC1380001), 0x41u);
}

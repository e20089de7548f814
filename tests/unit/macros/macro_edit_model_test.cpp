#include "macro_edit_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>

#include "ini_file.h"

namespace {

constexpr uint32_t kVkA = 0x41, kVkB = 0x42, kVkC = 0x43;
constexpr uint8_t kA = 4, kB = 5, kC = 6;

std::unique_ptr<MacroRecord> Macro(std::u16string_view name, std::initializer_list<MacroEvent> events = {}) {
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    CopyToField(record->name, name);
    for (const MacroEvent& e : events) record->events[record->eventCount++] = e;
    return record;
}

MacroEvent Down(uint8_t key) { return KeyStep(key, true); }
MacroEvent Up(uint8_t key) { return KeyStep(key, false); }

struct Page {
    UsKeyboardLayout us;
    MacroLibrary library;
    int persisted = 0;
    MacroEditModel model{library, us, [this] { ++persisted; }};

    std::u16string Name(int i) const { return FieldText(library[static_cast<size_t>(i)]->name); }
    int StoredCount() const { return library[static_cast<size_t>(model.SelectedPosition())]->eventCount; }
    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& row : model.Rows()) texts.push_back(row.text);
        return texts;
    }
    // The stored macro matches the working copy byte for byte.
    bool StoredMatches() const {
        const MacroRecord& r = *library[static_cast<size_t>(model.SelectedPosition())];
        return MacroWorkingCopy::FromRecord(r) == model.WorkingCopy() && r.eventCount == model.WorkingCopy().count;
    }
};

}  // namespace

TEST(MacroLibraryActions, NewMacrosAreNumberedAfterTheListAndMadeUnique) {
    Page p;
    EXPECT_EQ(p.model.NewMacro(), 0);
    EXPECT_EQ(p.Name(0), u"Macro1");
    p.library.push_back(Macro(u" macro3 "));
    EXPECT_EQ(p.model.NewMacro(), 2);
    EXPECT_EQ(p.Name(2), u"Macro3_1");
    EXPECT_EQ(p.model.SelectedPosition(), 2);
    EXPECT_EQ(p.persisted, 2);
    EXPECT_EQ(p.library[2]->eventCount, 0);
    EXPECT_EQ(p.library[2]->reserved, 0);
}

TEST(MacroLibraryActions, CopiesAreNamedCopyThenCopy1AndKeepTheSteps) {
    Page p;
    p.library.push_back(Macro(u"Jump", {Down(kA), Up(kA)}));
    p.library[0]->reserved = 77;
    p.model.Select(0);
    EXPECT_EQ(p.model.CopyMacro(), 1);
    EXPECT_EQ(p.Name(1), u"Jump_Copy");
    EXPECT_EQ(p.library[1]->reserved, 77);
    EXPECT_EQ(p.library[1]->eventCount, 2);
    EXPECT_EQ(std::memcmp(p.library[1]->events, p.library[0]->events, sizeof p.library[0]->events), 0);
    p.model.Select(0);
    EXPECT_EQ(p.model.CopyMacro(), 2);
    EXPECT_EQ(p.Name(2), u"Jump_Copy_1");
    EXPECT_EQ(p.model.SelectedPosition(), 2);
    // A name as long as the field still reads as a copy and fits.
    p.library.push_back(Macro(std::u16string(49, u'x')));
    p.model.Select(3);
    p.model.CopyMacro();
    EXPECT_EQ(p.Name(4), std::u16string(44, u'x') + u"_Copy");
    p.model.Select(-1);
    EXPECT_EQ(p.model.CopyMacro(), -1);
    EXPECT_EQ(p.library.size(), 5u);
}

TEST(MacroLibraryActions, RenameRefusesEmptySameAndOtherMacrosNamesInAnyCase) {
    Page p;
    p.library.push_back(Macro(u"Alpha"));
    p.library.push_back(Macro(u" Beta "));
    p.model.Select(0);
    EXPECT_EQ(p.model.BeginRename(), u"Alpha");
    EXPECT_FALSE(p.model.EndRename(u"BETA"));
    EXPECT_EQ(p.Name(0), u"Alpha");
    p.model.BeginRename();
    EXPECT_FALSE(p.model.EndRename(u"   "));
    p.model.BeginRename();
    EXPECT_FALSE(p.model.EndRename(u"alpha"));
    EXPECT_EQ(p.persisted, 0);
    std::u16string told;
    p.model.SetRenameHandler([&](int at, std::u16string_view from, std::u16string_view to) {
        // Told while the library still holds the old name, before it is persisted.
        told = std::u16string(from) + u">" + std::u16string(to) + u"@" + IntToText(p.persisted) + u"#" +
               IntToText(at) + p.Name(at);
    });
    p.model.BeginRename();
    EXPECT_TRUE(p.model.EndRename(u"  Gamma  "));
    EXPECT_EQ(p.Name(0), u"Gamma");
    EXPECT_EQ(told, u"Alpha>Gamma@0#0Alpha");
    EXPECT_FALSE(p.model.Renaming());
    EXPECT_EQ(p.persisted, 1);
    // No rename without the box open, and what the box cannot hold is cut.
    EXPECT_FALSE(p.model.EndRename(u"Delta"));
    p.model.BeginRename();
    EXPECT_TRUE(p.model.EndRename(u"abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(p.Name(0), u"abcdefghijklmnopqrst");
    // A name longer than the box's limit (a copy, an import) comes back whole
    // on Esc or without an edit, and stays; an edit of it obeys the limit.
    const std::u16string longName = u"  abcdefghijklmnopqrst_Copy_1 ";
    CopyToField(p.library[0]->name, longName);
    const int persisted = p.persisted;
    EXPECT_EQ(p.model.BeginRename(), longName);
    EXPECT_FALSE(p.model.EndRename(longName));
    p.model.BeginRename();
    EXPECT_FALSE(p.model.EndRename(u"ABCDEFGHIJKLMNOPQRST_copy_1"));
    EXPECT_EQ(p.Name(0), longName);
    EXPECT_EQ(p.persisted, persisted);
    p.model.BeginRename();
    EXPECT_TRUE(p.model.EndRename(u"abcdefghijklmnopqrstuv_Copy_1"));
    EXPECT_EQ(p.Name(0), u"abcdefghijklmnopqrst");
    p.model.Select(-1);
    EXPECT_EQ(p.model.BeginRename(), std::nullopt);
}

// What the macro bar does while a rename is open: each ends it without
// storing what was typed, and the bar shows the name of the macro selected then.
struct BarAction {
    const char* name;
    std::function<void(MacroEditModel&)> act;
};
void PrintTo(const BarAction& action, std::ostream* out) { *out << action.name; }

class MacroBarRename : public ::testing::TestWithParam<BarAction> {};

TEST_P(MacroBarRename, ASelectionEndsTheBarsRenameAndStoresNothingTyped) {
    Page p;
    p.library.push_back(Macro(u"Alpha"));
    p.library.push_back(Macro(u"Beta"));
    p.model.Select(0);
    ASSERT_EQ(p.model.BeginRename(), u"Alpha");
    // The bar's rename is the model's: the window asks the bar.
    EXPECT_EQ(p.model.Bar().Pending(), (ItemBarModel::Rename{0, u"Alpha"}));
    GetParam().act(p.model);
    EXPECT_FALSE(p.model.Renaming());
    EXPECT_FALSE(p.model.Bar().Renaming());
    EXPECT_FALSE(p.model.EndRename(u"Gamma")) << "the box was closed by the selection";
    for (size_t i = 0; i < p.library.size(); ++i) EXPECT_NE(p.Name(static_cast<int>(i)), u"Gamma");
}

INSTANTIATE_TEST_SUITE_P(
    Actions, MacroBarRename,
    ::testing::Values(BarAction{"Pick", [](MacroEditModel& m) { m.Select(1); }},
                      BarAction{"New", [](MacroEditModel& m) { m.NewMacro(); }},
                      BarAction{"Copy", [](MacroEditModel& m) { m.CopyMacro(); }},
                      BarAction{"Delete", [](MacroEditModel& m) { m.DeleteMacro(); }},
                      BarAction{"Import", [](MacroEditModel& m) { m.AddImportedMacro(Macro(u"Delta")); }}),
    [](const ::testing::TestParamInfo<BarAction>& info) { return std::string(info.param.name); });

TEST(MacroLibraryActions, TheBarEndsTheRenameAndTheModelTakesTheTypedName) {
    Page p;
    p.library.push_back(Macro(u"Alpha"));
    p.model.Select(0);
    ASSERT_TRUE(p.model.BeginRename());
    ASSERT_TRUE(p.model.Bar().EndRename());
    EXPECT_FALSE(p.model.Renaming());
    EXPECT_TRUE(p.model.RenameSelected(u" Gamma "));
    EXPECT_EQ(p.Name(0), u"Gamma");
    EXPECT_FALSE(p.model.RenameSelected(u"gamma")) << "the same name in other case";
    EXPECT_EQ(p.persisted, 1);
}

TEST(MacroLibraryActions, DeleteKeepsTheRowOrMovesToTheLastOrToNone) {
    Page p;
    for (auto name : {u"A", u"B", u"C"}) p.library.push_back(Macro(name, {Down(kA)}));
    std::vector<std::u16string> told;
    // Told while the macro is still there, so what plays it can let go of it.
    p.model.SetDeleteHandler([&](int at) { told.push_back(IntToText(at) + p.Name(at) + IntToText(p.persisted)); });
    p.model.Select(1);
    EXPECT_TRUE(p.model.DeleteMacro());
    EXPECT_EQ(told, std::vector<std::u16string>{u"1B0"});
    EXPECT_EQ(p.model.SelectedName(), u"C");
    EXPECT_EQ(p.model.SelectedPosition(), 1);
    EXPECT_TRUE(p.model.DeleteMacro());
    EXPECT_EQ(p.model.SelectedName(), u"A");
    EXPECT_TRUE(p.model.DeleteMacro());
    EXPECT_EQ(p.model.SelectedPosition(), -1);
    EXPECT_TRUE(p.model.Rows().empty());
    EXPECT_FALSE(p.model.DeleteMacro());
    EXPECT_EQ(p.persisted, 3);
}

TEST(MacroLibraryActions, ImportsGetAUniqueNameAndAreSavedAtOnce) {
    Page p;
    p.library.push_back(Macro(u" Fire "));
    auto incoming = Macro(u"FIRE", {Down(kA)});
    incoming->eventCount = 500;  // damaged
    EXPECT_EQ(p.model.AddImportedMacro(std::move(incoming)), 1);
    EXPECT_EQ(p.Name(1), u"FIRE_1");
    EXPECT_EQ(p.model.WorkingCopy().count, 160);
    EXPECT_EQ(p.persisted, 1) << "closing Option now would lose the import";
    EXPECT_EQ(p.model.AddImportedMacro(nullptr), -1);
}

TEST(MacroEventList, SelectingFillsTheListAndSelectsTheLastRowAndItsPartner) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), DelayStep(30), Down(kB), Up(kB), Up(kA), DelayStep(0)}));
    p.model.Select(0);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"30 ms", u"B", u"B", u"A"}));
    EXPECT_EQ(p.model.WorkingCopy().count, 6);
    EXPECT_EQ(p.model.KeySteps(), 4);
    EXPECT_EQ(p.model.SelectedRow(), 4);  // the last row, though the last step has none
    EXPECT_EQ(p.model.PartnerRow(), 0);
    p.model.SelectRow(2);
    EXPECT_EQ(p.model.PartnerRow(), 3);
    p.model.SelectRow(1);
    EXPECT_EQ(p.model.PartnerRow(), std::nullopt);
    p.model.SelectRow(40);
    EXPECT_EQ(p.model.SelectedRow(), std::nullopt);
    p.model.Select(5);
    EXPECT_TRUE(p.model.Rows().empty());
    EXPECT_EQ(p.model.SelectedRow(), std::nullopt);
}

TEST(MacroStepButtons, OperationsStoreAndNeedASelectedRow) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), DelayStep(50), Up(kA), Down(kB), Up(kB)}));
    p.model.Select(0);
    p.model.SelectRow(0);
    EXPECT_FALSE(p.model.MoveStepUp());
    EXPECT_TRUE(p.model.MoveStepDown());
    EXPECT_EQ(p.model.SelectedRow(), 1);  // the moved step stays selected
    EXPECT_EQ(p.Texts()[1], u"A");
    EXPECT_FALSE(p.model.MoveStepDown());  // its own release is next
    EXPECT_TRUE(p.StoredMatches());
    EXPECT_EQ(p.persisted, 1);
    EXPECT_TRUE(p.model.DeleteStep());
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"50 ms", u"B", u"B"}));
    EXPECT_EQ(p.model.SelectedRow(), 2);
    EXPECT_TRUE(p.StoredMatches());
    p.model.SelectRow(std::nullopt);
    EXPECT_FALSE(p.model.DeleteStep());
    EXPECT_FALSE(p.model.MoveStepDown());
    EXPECT_EQ(p.persisted, 2);
}

TEST(MacroStepButtons, EditingADelayRowTakesTheTypedNumberCapped) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), DelayStep(50), Up(kA)}));
    p.model.Select(0);
    p.model.SelectRow(1);
    EXPECT_EQ(p.model.BeginStepEdit(), u"50 ms");
    EXPECT_FALSE(p.model.EditingKeyStep());
    EXPECT_TRUE(p.model.FinishStepEdit(u"99999"));
    EXPECT_EQ(p.library[0]->events[1].delay, 65535);
    EXPECT_EQ(p.model.SelectedRow(), 1);
    // Text without a number keeps the delay.
    p.model.BeginStepEdit();
    EXPECT_FALSE(p.model.FinishStepEdit(u"soon"));
    EXPECT_EQ(p.library[0]->events[1].delay, 65535);
    // 0 ms: the row goes, the step stays.
    p.model.BeginStepEdit();
    EXPECT_TRUE(p.model.FinishStepEdit(u"0"));
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"A"}));
    EXPECT_EQ(p.StoredCount(), 3);
    EXPECT_FALSE(p.model.FinishStepEdit(u"5"));  // no edit running
}

TEST(MacroStepButtons, AnEditEndsWhenItsStepMovesOrAnotherRowIsSelected) {
    Page p;
    p.library.push_back(Macro(u"M", {DelayStep(10), DelayStep(20), Down(kA), Up(kA)}));
    p.model.Select(0);
    p.model.SelectRow(0);
    p.model.BeginStepEdit();
    ASSERT_TRUE(p.model.MoveStepDown());
    EXPECT_FALSE(p.model.EditingStep());
    EXPECT_FALSE(p.model.FinishStepEdit(u"777"));
    EXPECT_EQ(p.library[0]->events[0].delay, 20);
    EXPECT_EQ(p.library[0]->events[1].delay, 10);
    p.model.BeginStepEdit();
    p.model.SelectRow(0);
    EXPECT_FALSE(p.model.EditingStep());
}

TEST(MacroStepButtons, EditingAKeyRowTakesTheNextKeyForTheStepAndItsPartner) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), DelayStep(50), Up(kA), Down(kA), Up(kA)}));
    p.model.Select(0);
    p.model.SelectRow(2);  // the first release of A
    EXPECT_EQ(p.model.BeginStepEdit(), u"A");
    EXPECT_TRUE(p.model.EditingKeyStep());
    EXPECT_EQ(p.model.CaptureEditKey(0x5F, 0), std::nullopt);  // no such key: the last one stays
    EXPECT_EQ(p.model.CaptureEditKey(17, 0xC11D0001), u"Right Ctrl");
    EXPECT_TRUE(p.model.FinishStepEdit(u"ignored"));
    const MacroRecord& r = *p.library[0];
    EXPECT_EQ(r.events[0].keyCode, 228);
    EXPECT_EQ(r.events[2].keyCode, 228);
    EXPECT_EQ(r.events[3].keyCode, kA);
    EXPECT_EQ(p.model.SelectedRow(), 2);
    // Finishing without a key leaves the step as it was, but still stores.
    const int before = p.persisted;
    p.model.BeginStepEdit();
    EXPECT_FALSE(p.model.FinishStepEdit(u""));
    EXPECT_EQ(p.persisted, before + 1);
}

TEST(MacroRecording, TheRecordButtonMakesAMacroWhenNoneIsSelectedAndRecordsAfresh) {
    Page p;
    EXPECT_TRUE(p.model.StartRecording(DelayMode::kFixed, u"50"));
    EXPECT_EQ(p.library.size(), 1u);
    EXPECT_EQ(p.Name(0), u"Macro1");
    EXPECT_FALSE(p.model.StartRecording(DelayMode::kFixed, u"50"));
    p.model.OnRecordedKey(kVkA, false, 10);
    p.model.OnRecordedKey(kVkA, true, 20);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"50 ms", u"A"}));
    EXPECT_EQ(p.model.SelectedRow(), 2);
    p.model.StopRecording();
    EXPECT_TRUE(p.StoredMatches());
    EXPECT_EQ(p.StoredCount(), 3);
    // Recording again starts from an empty macro; an empty delay box means 50.
    p.model.StartRecording(DelayMode::kFixed, u"");
    EXPECT_EQ(p.model.WorkingCopy().count, 0);
    EXPECT_EQ(p.model.Recorder().FixedDelay(), 50);
    p.model.StopRecording();
    EXPECT_EQ(p.StoredCount(), 0);
}

TEST(MacroRecording, MouseButtonsOverTheRecordButtonAreNotRecorded) {
    Page p;
    p.model.StartRecording(DelayMode::kNone, u"0");
    EXPECT_TRUE(p.model.OnRecordedMouseButton(240, false, 1).consumed);
    EXPECT_TRUE(p.model.OnRecordedMouseButton(240, true, 2).consumed);
    p.model.SetPointerOverRecordButton(true);
    EXPECT_FALSE(p.model.OnRecordedMouseButton(240, false, 3).consumed);
    p.model.StopRecording();
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"Left Down", u"Left Up"}));
    EXPECT_FALSE(p.model.OnRecordedKey(kVkA, false, 9).consumed);  // not recording: the key passes on
}

TEST(MacroRecording, TheSixtiethKeyStepStopsAndStores) {
    Page p;
    p.model.StartRecording(DelayMode::kNone, u"");
    MacroEditModel::InputResult result;
    for (uint32_t t = 0; t < 60; ++t) result = p.model.OnRecordedKey(kVkA + (t / 2) % 26, t % 2 == 1, t);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(p.model.Recording());
    EXPECT_EQ(p.StoredCount(), 60);
    EXPECT_TRUE(p.StoredMatches());
}

// The stop combination, Ctrl+Alt+End, as the hook reports it (left keys).
constexpr uint32_t kVkLeftCtrl = 0xA2, kVkLeftAlt = 0xA4, kVkEnd = 0x23;

struct ChordCase {
    const char* name;
    std::vector<uint32_t> presses;  // pressed in this order after "B" (a press and release at 10 and 20 ms)
    bool stops;
    std::vector<std::u16string> rows;
};

class MacroStopChord : public ::testing::TestWithParam<ChordCase> {};

TEST_P(MacroStopChord, OnlyTheCombinationInItsOrderStopsAndItsModifiersAreNotRecorded) {
    Page p;
    p.model.StartRecording(DelayMode::kMeasured, u"");
    p.model.OnRecordedKey(kVkB, false, 10);
    p.model.OnRecordedKey(kVkB, true, 20);
    MacroEditModel::InputResult result;
    uint32_t time = 100;
    for (uint32_t key : GetParam().presses) {
        // A held key repeats its press; a repeat changes nothing.
        result = p.model.OnRecordedKey(key, false, time);
        if (!result.stopped) result = p.model.OnRecordedKey(key, false, time + 5);
        time += 100;
    }
    EXPECT_EQ(result.stopped, GetParam().stops);
    EXPECT_EQ(p.model.Recording(), !GetParam().stops);
    // Stop clicked with keys held back: they were pressed, so they are steps.
    p.model.StopRecording();
    EXPECT_EQ(p.Texts(), GetParam().rows);
    EXPECT_TRUE(p.StoredMatches());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MacroStopChord,
    ::testing::Values(
        ChordCase{"Combination", {kVkLeftCtrl, kVkLeftAlt, kVkEnd}, true, {u"B", u"10 ms", u"B"}},
        // Held back, handed on with their own times when the combination does not come.
        ChordCase{"CtrlAltThenAnotherKey", {kVkLeftCtrl, kVkLeftAlt, kVkA}, false,
                  {u"B", u"10 ms", u"B", u"80 ms", u"Left Ctrl", u"100 ms", u"Left Alt", u"100 ms", u"A"}},
        ChordCase{"OtherOrder", {kVkLeftAlt, kVkLeftCtrl, kVkEnd}, false,
                  {u"B", u"10 ms", u"B", u"80 ms", u"Left Alt", u"100 ms", u"Left Ctrl", u"100 ms", u"End"}},
        ChordCase{"EndAlone", {kVkEnd}, false, {u"B", u"10 ms", u"B", u"80 ms", u"End"}},
        ChordCase{"ALoneModifierHeldAtStop", {kVkLeftCtrl}, false, {u"B", u"10 ms", u"B", u"80 ms", u"Left Ctrl"}}),
    [](const ::testing::TestParamInfo<ChordCase>& info) { return std::string(info.param.name); });

TEST(MacroRecording, ALoneModifierReleasedIsRecordedAndTheKeyThatStartedTheRecordingIsNot) {
    Page p;
    p.model.StartRecording(DelayMode::kNone, u"");
    // Enter pressed the record button: its release comes after the start.
    p.model.OnRecordedKey(0x0D, true, 5);
    p.model.OnRecordedKey(kVkLeftCtrl, false, 10);
    EXPECT_EQ(p.Texts(), std::vector<std::u16string>{}) << "a modifier alone is held back until it is clear";
    p.model.OnRecordedKey(kVkLeftCtrl, true, 20);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"Left Ctrl", u"Left Ctrl"}));
    // A mouse button after a held-back modifier comes after it.
    p.model.OnRecordedKey(kVkLeftCtrl, false, 30);
    p.model.OnRecordedMouseButton(240, false, 40);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"Left Ctrl", u"Left Ctrl", u"Left Ctrl", u"Left Down"}));
}

TEST(MacroInsertPanel, DelaysGoBeforeOrAfterTheSelectedStepButNotOffTheEnds) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), Up(kA), Down(kB), Up(kB)}));
    p.model.Select(0);
    p.model.SelectRow(0);
    ASSERT_TRUE(p.model.OpenInsertPanel());
    EXPECT_FALSE(p.model.InsertDelay(InsertSide::kBefore, DelayBoxValue(u"50")));  // before the first row
    EXPECT_FALSE(p.model.InsertPanelOpen());
    EXPECT_EQ(p.persisted, 1);  // still stored and closed
    EXPECT_EQ(p.StoredCount(), 4);

    p.model.SelectRow(3);
    p.model.OpenInsertPanel();
    EXPECT_FALSE(p.model.InsertDelay(InsertSide::kAfter, 50));  // after the last row

    p.model.SelectRow(1);
    p.model.OpenInsertPanel();
    EXPECT_TRUE(p.model.InsertDelay(InsertSide::kAfter, DelayBoxValue(u"99999")));
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"A", u"65535 ms", u"B", u"B"}));
    EXPECT_EQ(p.model.SelectedRow(), 2);
    p.model.SelectRow(3);
    p.model.OpenInsertPanel();
    EXPECT_TRUE(p.model.InsertDelay(InsertSide::kBefore, 70));
    EXPECT_EQ(p.Texts()[3], u"70 ms");
    EXPECT_EQ(p.model.SelectedRow(), 3);
    EXPECT_TRUE(p.StoredMatches());
    EXPECT_EQ(DelayBoxValue(u""), 50);
}

TEST(MacroInsertPanel, RowsMapToStepsPastHiddenDelays) {
    Page p;
    p.library.push_back(Macro(u"M", {DelayStep(0), Down(kA), Up(kA)}));
    p.model.Select(0);
    p.model.SelectRow(1);  // step 2
    p.model.OpenInsertPanel();
    EXPECT_TRUE(p.model.InsertDelay(InsertSide::kBefore, 40));
    const MacroRecord& r = *p.library[0];
    EXPECT_EQ(r.events[1].keyCode, kA);
    EXPECT_EQ(r.events[2].delay, 40);
    EXPECT_EQ(r.events[3].keyCode, kA);
    EXPECT_EQ(r.events[3].pressFlag, kPressFlagUp);
}

TEST(MacroInsertPanel, AFullCopyTakesNoInsertion) {
    Page p;
    auto full = Macro(u"Full");
    for (int i = 0; i < kMaxMacroEvents; ++i) full->events[i] = DelayStep(10);
    full->eventCount = kMaxMacroEvents;
    p.library.push_back(std::move(full));
    p.model.Select(0);
    p.model.SelectRow(5);
    p.model.OpenInsertPanel();
    EXPECT_FALSE(p.model.InsertDelay(InsertSide::kAfter, 50));
    EXPECT_EQ(p.StoredCount(), 160);
    p.model.OpenInsertPanel();
    EXPECT_TRUE(p.model.StartInsertRecording(InsertSide::kAfter, DelayMode::kNone, 0));
    const auto result = p.model.OnRecordedKey(kVkA, false, 1);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(p.model.Recording());
    EXPECT_EQ(p.StoredCount(), 160);
}

TEST(MacroInsertPanel, RecordingAfterTheSelectedStepInsertsThereAndCancelGivesAllBack) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), Up(kA), Down(kB), Up(kB)}));
    p.model.Select(0);
    const MacroRecord original = *p.library[0];
    p.model.SelectRow(1);
    ASSERT_TRUE(p.model.OpenInsertPanel());
    ASSERT_TRUE(p.model.StartInsertRecording(InsertSide::kAfter, DelayMode::kNone, 50));
    p.model.OnRecordedKey(kVkC, false, 1);
    EXPECT_EQ(p.model.SelectedRow(), 2);  // the row of the step just recorded
    p.model.OnRecordedKey(kVkC, true, 2);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"A", u"C", u"C", u"B", u"B"}));
    EXPECT_EQ(p.model.SelectedRow(), 3);
    p.model.StopRecording();
    EXPECT_TRUE(p.StoredMatches());
    EXPECT_EQ(p.StoredCount(), 6);
    p.model.CancelInsertPanel();
    EXPECT_FALSE(p.model.InsertPanelOpen());
    EXPECT_EQ(std::memcmp(p.library[0].get(), &original, sizeof original), 0);
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"A", u"A", u"B", u"B"}));
}

TEST(MacroInsertPanel, RecordingBeforeTheSelectedStepAndClosingWhileRecording) {
    Page p;
    p.library.push_back(Macro(u"M", {Down(kA), Up(kA)}));
    p.model.Select(0);
    p.model.SelectRow(0);
    // The page's own insert-recording needs no open panel.
    EXPECT_TRUE(p.model.StartInsertRecording(InsertSide::kBefore, DelayModeFromNumber(7), 30));
    EXPECT_TRUE(p.model.InsertRecording());
    p.model.OnRecordedKey(kVkB, false, 100);
    p.model.OnRecordedKey(kVkB, true, 200);  // mode 7 is the fixed mode: a 30 ms delay before
    EXPECT_EQ(p.Texts(), (std::vector<std::u16string>{u"B", u"30 ms", u"B", u"A", u"A"}));
    // Closing the panel ends the recording it started and keeps the steps.
    p.model.OpenInsertPanel();  // refused: recording
    EXPECT_FALSE(p.model.InsertPanelOpen());
    p.model.StopRecording();
    p.model.SelectRow(0);
    ASSERT_TRUE(p.model.OpenInsertPanel());
    p.model.StartInsertRecording(InsertSide::kBefore, DelayMode::kNone, 0);
    p.model.OnRecordedKey(kVkC, false, 300);
    p.model.CloseInsertPanel();
    EXPECT_FALSE(p.model.Recording());
    EXPECT_EQ(p.StoredCount(), 6);
    EXPECT_TRUE(p.StoredMatches());
    // Cancel with a recording still running ends it too and restores.
    p.model.SelectRow(0);
    ASSERT_TRUE(p.model.OpenInsertPanel());
    p.model.StartInsertRecording(InsertSide::kBefore, DelayMode::kNone, 0);
    p.model.OnRecordedKey(kVkA, true, 400);
    p.model.CancelInsertPanel();
    EXPECT_FALSE(p.model.Recording());
    EXPECT_EQ(p.StoredCount(), 6);
    EXPECT_FALSE(p.model.OnRecordedKey(kVkB, false, 500).consumed);
}

TEST(MacroInsertPanel, OpensOnlyWithASelectedRow) {
    Page p;
    EXPECT_FALSE(p.model.OpenInsertPanel());
    p.library.push_back(Macro(u"Empty"));
    p.model.Select(0);
    EXPECT_FALSE(p.model.OpenInsertPanel());
    p.model.CancelInsertPanel();  // nothing open: nothing restored or stored
    EXPECT_EQ(p.persisted, 0);
}

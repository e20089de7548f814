#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "list_box_model.h"

namespace {

namespace kind = list_row_kind;

// The macro page's item value: step index + 1, key code, row kind.
uint32_t Row(uint32_t step, uint8_t key, uint8_t rowKind) { return ((step + 1) << 16) | (key << 8) | rowKind; }

constexpr uint8_t kKeyA = 0x04;
constexpr uint8_t kKeyB = 0x05;
const SkinRect kRow{0, 40, 200, 60};

// Colours all different, so a mix-up shows.
ListBoxColors Distinct() { return ListBoxColors{1, 2, 3, 4}; }

}  // namespace

TEST(ListBoxRows, IconOfEachRowKind) {
    EXPECT_EQ(RowIconId(Row(0, 0, kind::kDelay)), 2);
    EXPECT_EQ(RowIconId(Row(1, kKeyA, kind::kKeyPress)), 3);
    EXPECT_EQ(RowIconId(Row(2, kKeyA, kind::kKeyRelease)), 4);
    EXPECT_EQ(RowIconId(Row(3, 240, kind::kMousePress)), 5);
    EXPECT_EQ(RowIconId(Row(4, 240, kind::kMouseRelease)), 5);
    // The profile list's rows, and kinds that name no icon.
    EXPECT_EQ(RowIconId(0), 0);
    EXPECT_EQ(RowIconId(Row(7, kKeyA, 0)), 0);
    for (uint8_t k : {0x01, 0x06, 0x10, 0x1F, 0xFF}) EXPECT_EQ(RowIconId(k), 0) << int{k};
}

TEST(ListBoxRows, SpokenNameSaysWhatTheIconShows) {
    EXPECT_EQ(SpokenRowName(u"A", Row(1, kKeyA, kind::kKeyPress)), u"A Down");
    EXPECT_EQ(SpokenRowName(u"A", Row(2, kKeyA, kind::kKeyRelease)), u"A Up");
    // Mouse-button steps say it in their text already; delays and plain rows are their text.
    EXPECT_EQ(SpokenRowName(u"Left Down", Row(3, 240, kind::kMousePress)), u"Left Down");
    EXPECT_EQ(SpokenRowName(u"120 ms", Row(0, 0, kind::kDelay)), u"120 ms");
    EXPECT_EQ(SpokenRowName(u"Gamer", 0), u"Gamer");
}

TEST(ListBoxRows, IconAndTextPlaces) {
    const RowLayout plain = LayoutRow(kRow, 0);
    EXPECT_EQ(plain.icon, 0);
    EXPECT_EQ(plain.textAt, (SkinPoint{10, 44}));

    const RowLayout withIcon = LayoutRow(kRow, Row(0, kKeyA, kind::kKeyPress));
    EXPECT_EQ(withIcon.icon, 3);
    EXPECT_EQ(withIcon.iconAt, (SkinPoint{5, 43}));
    EXPECT_EQ(withIcon.textAt, (SkinPoint{26, 43}));

    EXPECT_EQ(LayoutRow(SkinRect{100, 0, 300, 20}, Row(0, 0, kind::kDelay)).textAt, (SkinPoint{126, 3}));
}

TEST(ListBoxRows, HoverTriangleAndSelectionInset) {
    const auto t = HoverTriangle(kRow);
    EXPECT_EQ(t[0], (SkinPoint{184, 50}));
    EXPECT_EQ(t[1], (SkinPoint{194, 45}));
    EXPECT_EQ(t[2], (SkinPoint{194, 55}));
    EXPECT_EQ(SelectionInset(kRow), (SkinRect{2, 41, 195, 59}));
    // The triangle lies inside the row, within the inset's right edge.
    for (const SkinPoint& p : t) {
        EXPECT_LT(p.x, SelectionInset(kRow).right);
        EXPECT_GT(p.y, kRow.top);
        EXPECT_LT(p.y, kRow.bottom);
    }
    // A row too small for the inset gets an empty one.
    const SkinRect tiny = SelectionInset(SkinRect{0, 0, 4, 1});
    EXPECT_TRUE(tiny.IsEmpty());
    EXPECT_GE(tiny.Width(), 0);
    EXPECT_GE(tiny.Height(), 0);
    const SkinRect far = SelectionInset(SkinRect{std::numeric_limits<int32_t>::max() - 1, 0,
                                                 std::numeric_limits<int32_t>::max(), 20});
    EXPECT_GE(far.Width(), 0);
}

TEST(ListBoxRows, PaintingOfEachRowState) {
    const ListBoxColors c = Distinct();
    const uint32_t press = Row(0, kKeyA, kind::kKeyPress);

    const RowPaint idle = PlanRow(kRow, press, RowDrawState{}, c);
    ASSERT_TRUE(idle.fill.has_value());
    EXPECT_EQ(*idle.fill, kRow);
    EXPECT_EQ(idle.fillColor, c.background);
    EXPECT_FALSE(idle.triangle.has_value());
    EXPECT_FALSE(idle.inset.has_value());
    EXPECT_EQ(idle.textColor, c.text);
    EXPECT_FALSE(idle.seeksPartner);

    // The row under the pointer is not cleared; it gets the mark.
    const RowPaint hover = PlanRow(kRow, press, RowDrawState{true}, c);
    EXPECT_FALSE(hover.fill.has_value());
    ASSERT_TRUE(hover.triangle.has_value());
    EXPECT_EQ(hover.triangleColor, c.selection);

    const RowPaint selectedFocus = PlanRow(kRow, press, RowDrawState{false, true, true}, c);
    ASSERT_TRUE(selectedFocus.inset.has_value());
    EXPECT_EQ(*selectedFocus.inset, SelectionInset(kRow));
    EXPECT_EQ(selectedFocus.insetColor, c.selection);
    EXPECT_EQ(selectedFocus.textColor, c.selectedText);
    EXPECT_TRUE(selectedFocus.seeksPartner);

    // Selected without the focus keeps the plain text colour.
    EXPECT_EQ(PlanRow(kRow, press, RowDrawState{false, true, false}, c).textColor, c.text);
    // Focus without selection is not the selected-text colour either.
    EXPECT_EQ(PlanRow(kRow, press, RowDrawState{false, false, true}, c).textColor, c.text);

    // A row losing its selection gets its inset back in the background colour.
    const RowPaint lost = PlanRow(kRow, press, RowDrawState{true, false, false, false, true}, c);
    ASSERT_TRUE(lost.inset.has_value());
    EXPECT_EQ(lost.insetColor, c.background);
    EXPECT_FALSE(lost.seeksPartner);

    EXPECT_TRUE(PlanRow(kRow, press, RowDrawState{false, false, false, true}, c).disabledText);
}

TEST(ListBoxRows, ProfileListRowsArePlain) {
    // Item value 0 everywhere: no icon, text at left + 10, top + 4, never a partner.
    for (bool selected : {false, true}) {
        const RowPaint p = PlanRow(kRow, 0, RowDrawState{false, selected, true}, ListBoxColors{});
        EXPECT_EQ(p.layout.icon, 0);
        EXPECT_EQ(p.layout.textAt, (SkinPoint{10, 44}));
        EXPECT_FALSE(p.seeksPartner);
    }
    const std::vector<uint32_t> profiles(5, 0);
    for (size_t i = 0; i < profiles.size(); ++i) EXPECT_FALSE(FindPartnerRow(profiles, i).has_value());
}

TEST(ListBoxPartner, PressAndReleaseFindEachOther) {
    // Press A, 50 ms, release A: the release two rows below is the partner.
    const std::vector<uint32_t> rows = {Row(0, kKeyA, kind::kKeyPress), Row(1, 0, kind::kDelay),
                                        Row(2, kKeyA, kind::kKeyRelease)};
    EXPECT_EQ(FindPartnerRow(rows, 0), 2u);
    EXPECT_EQ(FindPartnerRow(rows, 2), 0u);
    EXPECT_FALSE(FindPartnerRow(rows, 1).has_value());

    const RowPaint partner = PlanPartnerRow(SkinRect{0, 40, 200, 60}, rows[2], Distinct());
    ASSERT_TRUE(partner.fill.has_value());
    EXPECT_EQ(*partner.fill, (SkinRect{0, 40, 200, 60}));
    EXPECT_EQ(partner.fillColor, 0xC84163u);
    EXPECT_EQ(partner.layout.icon, 4);
}

TEST(ListBoxPartner, NestedAndRepeatedKeys) {
    // Press A, press B, release B, release A.
    const std::vector<uint32_t> nested = {Row(0, kKeyA, kind::kKeyPress), Row(1, kKeyB, kind::kKeyPress),
                                          Row(2, kKeyB, kind::kKeyRelease), Row(3, kKeyA, kind::kKeyRelease)};
    EXPECT_EQ(FindPartnerRow(nested, 0), 3u);
    EXPECT_EQ(FindPartnerRow(nested, 1), 2u);
    EXPECT_EQ(FindPartnerRow(nested, 2), 1u);
    EXPECT_EQ(FindPartnerRow(nested, 3), 0u);

    // A typed twice: each step pairs with its nearest neighbour of that key.
    const std::vector<uint32_t> twice = {Row(0, kKeyA, kind::kKeyPress), Row(1, kKeyA, kind::kKeyRelease),
                                         Row(2, kKeyA, kind::kKeyPress), Row(3, kKeyA, kind::kKeyRelease)};
    EXPECT_EQ(FindPartnerRow(twice, 0), 1u);
    EXPECT_EQ(FindPartnerRow(twice, 2), 3u);
    EXPECT_EQ(FindPartnerRow(twice, 3), 2u);
    EXPECT_EQ(FindPartnerRow(twice, 1), 0u);
}

TEST(ListBoxPartner, NoPartnerIsAnAnswerNotAnError) {
    // A press whose release is missing, a release without a press above it.
    const std::vector<uint32_t> lonely = {Row(0, kKeyB, kind::kKeyRelease), Row(1, kKeyA, kind::kKeyPress),
                                          Row(2, kKeyB, kind::kKeyPress)};
    EXPECT_FALSE(FindPartnerRow(lonely, 0).has_value());
    EXPECT_FALSE(FindPartnerRow(lonely, 1).has_value());
    EXPECT_FALSE(FindPartnerRow(lonely, 2).has_value());
    // Mouse buttons and delays never look for one.
    const std::vector<uint32_t> mouse = {Row(0, 240, kind::kMousePress), Row(1, 240, kind::kMouseRelease)};
    EXPECT_FALSE(FindPartnerRow(mouse, 0).has_value());
    EXPECT_FALSE(FindPartnerRow(mouse, 1).has_value());
    EXPECT_FALSE(SeeksPartner(Row(0, 240, kind::kMousePress)));
    EXPECT_FALSE(SeeksPartner(Row(0, 0, kind::kDelay)));
    // A selection that is not a row.
    EXPECT_FALSE(FindPartnerRow(lonely, 3).has_value());
    EXPECT_FALSE(FindPartnerRow(lonely, std::numeric_limits<size_t>::max()).has_value());
    EXPECT_FALSE(FindPartnerRow(std::vector<uint32_t>{}, 0).has_value());
}

TEST(ListBoxRows, RowUnderThePointer) {
    EXPECT_EQ(RowAtPoint(0, 0, 5, 200), 0u);
    EXPECT_EQ(RowAtPoint(19, 0, 5, 200), 0u);
    EXPECT_EQ(RowAtPoint(20, 0, 5, 200), 1u);
    EXPECT_EQ(RowAtPoint(99, 0, 5, 200), 4u);
    EXPECT_FALSE(RowAtPoint(100, 0, 5, 200).has_value());  // below the last row
    EXPECT_FALSE(RowAtPoint(-1, 0, 5, 200).has_value());
    EXPECT_FALSE(RowAtPoint(50, 0, 5, 40).has_value());  // outside the client area
    // Scrolled down by three rows.
    EXPECT_EQ(RowAtPoint(20, 3, 5, 200), 4u);
    EXPECT_FALSE(RowAtPoint(40, 3, 5, 200).has_value());
    EXPECT_FALSE(RowAtPoint(0, 6, 5, 200).has_value());
    EXPECT_FALSE(RowAtPoint(0, 0, 0, 200).has_value());
    EXPECT_EQ(RowAtPoint(std::numeric_limits<int32_t>::max() - 1, std::numeric_limits<size_t>::max() - 2,
                         std::numeric_limits<size_t>::max(), std::numeric_limits<int32_t>::max()),
              std::nullopt);
}

// Keys move the selection and stay at the ends; a list without a selection
// starts from the end the key points away from.
TEST(ListBoxKeys, TargetOfEachKey) {
    using K = ListKey;
    constexpr std::optional<size_t> none;
    struct Case {
        K key;
        std::optional<size_t> selected;
        size_t rows;
        std::optional<size_t> target;
    };
    const Case cases[] = {
        {K::kDown, 2, 5, 3},  {K::kDown, 4, 5, 4},      {K::kUp, 2, 5, 1},        {K::kUp, 0, 5, 0},
        {K::kHome, 3, 5, 0},  {K::kEnd, 1, 5, 4},       {K::kPageDown, 1, 10, 4}, {K::kPageDown, 8, 10, 9},
        {K::kPageUp, 5, 10, 2}, {K::kPageUp, 2, 10, 0}, {K::kDown, none, 5, 0},   {K::kUp, none, 5, 4},
        {K::kDown, 7, 5, 0},  {K::kDown, none, 0, none}, {K::kEnd, 0, 0, none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListKeyTarget(c.key, c.selected, c.rows, 3), c.target)
            << static_cast<int>(c.key) << " from " << c.selected.value_or(99) << " of " << c.rows;
    EXPECT_EQ(ListKeyTarget(K::kPageDown, 0, 5, 0), 1u) << "a page is at least a row";
}

TEST(ListRowEditor, StartingAnEdit) {
    ListRowEditor editor;
    EXPECT_FALSE(editor.Begin(std::nullopt, 3, kRow, 0, u"x").has_value());
    EXPECT_FALSE(editor.Begin(3, 3, kRow, 0, u"x").has_value());
    EXPECT_FALSE(editor.Editing());

    const auto plain = editor.Begin(1, 3, kRow, 0, u"Profile1");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->row, 1u);
    EXPECT_EQ(plain->editRect, kRow);
    EXPECT_EQ(plain->text, u"Profile1");
    EXPECT_TRUE(editor.Editing());
    // One edit at a time.
    EXPECT_FALSE(editor.Begin(2, 3, kRow, 0, u"other").has_value());
    EXPECT_EQ(editor.Row(), 1u);

    ListRowEditor withIcon;
    const auto delay = withIcon.Begin(0, 1, kRow, Row(0, 0, kind::kDelay), u"50 ms");
    ASSERT_TRUE(delay.has_value());
    EXPECT_EQ(delay->editRect, (SkinRect{26, 40, 200, 60}));
}

TEST(ListRowEditor, EnterCommitsOnceAndTellsTheOwner) {
    ListRowEditor editor;
    ASSERT_TRUE(editor.Begin(2, 4, kRow, 0, u"50 ms").has_value());
    const auto done = editor.Commit(u"75", 4);
    EXPECT_EQ(done.end, ListRowEditor::End::kReplaced);
    EXPECT_EQ(done.row, 2u);
    EXPECT_EQ(done.text, u"75");
    EXPECT_TRUE(done.notifyOwner);  // the owner getting it: SkinListBox's test under Wine
    // The focus coming back after Enter must not commit again.
    const auto again = editor.Commit(u"75", 4);
    EXPECT_EQ(again.end, ListRowEditor::End::kNone);
    EXPECT_FALSE(again.notifyOwner);
    // And a new edit can start.
    EXPECT_TRUE(editor.Begin(0, 4, kRow, 0, u"a").has_value());
}

TEST(ListRowEditor, EmptyTextRemovesTheRowWithoutNotice) {
    ListRowEditor editor;
    ASSERT_TRUE(editor.Begin(0, 1, kRow, 0, u"Macro1").has_value());
    const auto done = editor.Commit(u"", 1);
    EXPECT_EQ(done.end, ListRowEditor::End::kRemoved);
    EXPECT_EQ(done.row, 0u);
    EXPECT_FALSE(done.notifyOwner);
    EXPECT_FALSE(editor.Editing());
    // Blanks are text, not an empty edit.
    ASSERT_TRUE(editor.Begin(0, 1, kRow, 0, u"Macro1").has_value());
    EXPECT_EQ(editor.Commit(u" ", 1).end, ListRowEditor::End::kReplaced);
}

TEST(ListRowEditor, EscAbandonsAndAVanishedRowIsLeftAlone) {
    ListRowEditor editor;
    EXPECT_EQ(editor.Cancel().end, ListRowEditor::End::kNone);
    ASSERT_TRUE(editor.Begin(1, 2, kRow, 0, u"x").has_value());
    const auto esc = editor.Cancel();
    EXPECT_EQ(esc.end, ListRowEditor::End::kAbandoned);
    EXPECT_FALSE(esc.notifyOwner);
    EXPECT_EQ(editor.Commit(u"y", 2).end, ListRowEditor::End::kNone);

    // The list was emptied while the edit ran.
    ASSERT_TRUE(editor.Begin(1, 2, kRow, 0, u"x").has_value());
    const auto gone = editor.Commit(u"y", 1);
    EXPECT_EQ(gone.end, ListRowEditor::End::kAbandoned);
    EXPECT_FALSE(gone.notifyOwner);
    EXPECT_FALSE(editor.Editing());
}

TEST(ListRowEditor, TwentyCharacterLimit) {
    EXPECT_EQ(CutToEditLimit(u"12345678901234567890"), u"12345678901234567890");
    EXPECT_EQ(CutToEditLimit(u"123456789012345678901"), u"12345678901234567890");
    EXPECT_EQ(CutToEditLimit(u""), u"");
    // A character outside the basic plane at the limit is dropped whole.
    const std::u16string pairAtLimit = std::u16string(19, u'a') + u"\U0001F600";
    EXPECT_EQ(CutToEditLimit(pairAtLimit), std::u16string(19, u'a'));
    const std::u16string pairInside = std::u16string(18, u'a') + u"\U0001F600" + u"b";
    EXPECT_EQ(CutToEditLimit(pairInside), std::u16string(18, u'a') + u"\U0001F600");

    ListRowEditor editor;
    const auto begun = editor.Begin(0, 1, kRow, 0, u"A profile name far longer than twenty");
    ASSERT_TRUE(begun.has_value());
    EXPECT_EQ(begun->text.size(), 20u);
    EXPECT_EQ(editor.Commit(u"abcdefghijklmnopqrstuvwxyz", 1).text, u"abcdefghijklmnopqrst");
}

TEST(ListBoxWheel, OneLinePerNotch) {
    WheelLines wheel;
    EXPECT_EQ(wheel.Add(120), -1);
    EXPECT_EQ(wheel.Add(-120), 1);
    EXPECT_EQ(wheel.Add(240), -2);
    EXPECT_EQ(wheel.Add(0), 0);
    // Fine wheels: parts of a notch add up.
    EXPECT_EQ(wheel.Add(60), 0);
    EXPECT_EQ(wheel.Add(60), -1);
    EXPECT_EQ(wheel.Add(90), 0);
    EXPECT_EQ(wheel.Add(90), -1);  // 180: one line, 60 carried
    EXPECT_EQ(wheel.Add(60), -1);
    // Turning back drops what was gathered the other way.
    EXPECT_EQ(wheel.Add(100), 0);
    EXPECT_EQ(wheel.Add(-60), 0);
    EXPECT_EQ(wheel.Add(-60), 1);
    // Deltas beyond 16 bits are the platform's 16-bit limit, and never overflow.
    WheelLines wild;
    EXPECT_EQ(wild.Add(std::numeric_limits<int32_t>::max()), -(32767 / 120));
    for (int i = 0; i < 1000; ++i) wild.Add(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(wild.Add(-120), 1);
}

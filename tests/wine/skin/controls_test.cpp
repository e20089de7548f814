#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bitmap_edit.h"
#include "button_look.h"
#include "scroll_bar_frame.h"
#include "skin_label.h"
#include "skin_list_box.h"
#include "test_support.h"
#include "user_handles.h"

TEST(BitmapEdit, ReportsEachChangeAndTheFocusLoss) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CBitmapEdit edit;
    ASSERT_TRUE(edit.Create(parent.hwnd(), SkinRect{10, 10, 190, 34},
                            WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE, 4011));
    edit.SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
    edit.ApplyFont();
    EXPECT_EQ(parent.editMessage, RegisterWindowMessageW(L"BitmapEdit_KillFocus"));

    SetFocus(edit.hwnd());
    Pump();
    parent.edits.clear();
    SendMessageW(edit.hwnd(), WM_CHAR, L'x', 1);
    Pump();
    EXPECT_EQ(parent.edits, std::vector<WPARAM>{0});

    parent.edits.clear();
    edit.SetText(L"Profile 2");
    Pump();
    EXPECT_EQ(parent.edits, std::vector<WPARAM>{0});
    EXPECT_EQ(edit.Text(), L"Profile 2");

    parent.edits.clear();
    SetFocus(parent.hwnd());
    Pump();
    EXPECT_EQ(parent.edits, std::vector<WPARAM>{1});
}

TEST(BitmapEdit, PaintsItsColoursAndCentresTheText) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CBitmapEdit edit;
    ASSERT_TRUE(edit.Create(parent.hwnd(), SkinRect{10, 10, 190, 70}, WS_VISIBLE | ES_AUTOHSCROLL | ES_MULTILINE, 1));
    edit.SetColors(RGB(251, 251, 251), RGB(31, 27, 41));
    edit.ApplyFont();
    edit.SetText(L"Ag");
    UpdateWindow(edit.hwnd());
    RECT format{};
    SendMessageW(edit.hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.left, 2);
    // A 60-pixel box and a 15-pixel font: the text starts about 22 pixels down.
    EXPECT_GE(format.top, 18);
    EXPECT_LE(format.top, 26);

    BitmapHandle canvas = MakeBitmap(180, 60, [](int, int) { return RGB(0, 0, 0); });
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), canvas.get());
    SendMessageW(edit.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    EXPECT_EQ(GetPixel(dc.get(), 170, 5), RGB(31, 27, 41));
}

TEST(SkinLabel, TakesItsEntryNumberAsItsIdAndPaintsItsSize) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    ButtonPos pos = ParseButtonPos(u"L,10,10,100,24,");
    pos.entry = 32;
    CSkinLabel label;
    ASSERT_TRUE(label.CreateFromSkin(parent.hwnd(), pos));
    EXPECT_EQ(GetDlgItem(parent.hwnd(), 32), label.hwnd());

    // Resized, it paints its new size and no more.
    SetWindowPos(label.hwnd(), nullptr, 0, 0, 40, 12, SWP_NOMOVE | SWP_NOZORDER);
    BitmapHandle canvas = MakeBitmap(100, 24, [](int, int) { return RGB(255, 255, 255); });
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), canvas.get());
    label.Draw(dc.get());
    EXPECT_EQ(GetPixel(dc.get(), 39, 11), RGB(2, 2, 2));
    EXPECT_EQ(GetPixel(dc.get(), 40, 11), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 39, 12), RGB(255, 255, 255));
}

TEST(SkinLabel, PaintsBackgroundAndCentredAccentText) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CSkinLabel label;
    ASSERT_TRUE(label.Create(parent.hwnd(), SkinRect{10, 10, 110, 34}));
    BitmapHandle canvas = MakeBitmap(100, 24, [](int, int) { return RGB(255, 255, 255); });
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), canvas.get());

    auto count = [&](COLORREF c, int x0, int x1) {
        int n = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = 0; y < 24; ++y) n += GetPixel(dc.get(), x, y) == c;
        return n;
    };
    label.Draw(dc.get());  // empty: background only
    EXPECT_EQ(count(RGB(2, 2, 2), 0, 100), 100 * 24);

    label.SetText(L"800");
    label.Draw(dc.get());
    EXPECT_GT(count(CSkinLabel::kTextColor, 35, 65), 10);
    EXPECT_EQ(count(CSkinLabel::kTextColor, 0, 25), 0);  // centred, so nothing near the edges
    EXPECT_EQ(count(CSkinLabel::kTextColor, 75, 100), 0);

    label.SetBkColor(RGB(9, 8, 7));
    label.Draw(dc.get());
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(9, 8, 7));
}

// A list with skinned bars: the frame follows the list's own scroll state as
// soon as the list has handled a message, and goes when the list goes first.
TEST(ScrollBarFrame, FollowsTheListAtOnceAndGoesWithIt) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    auto list = std::make_unique<CSkinListBox>();
    ASSERT_TRUE(list->Create(parent.hwnd(), SkinRect{10, 10, 200, 110}, 77, kSkinListStyle, CSkinListBox::Colors{}));
    for (int row = 0; row < 40; ++row) list->AddString(L"Player " + std::to_wstring(row + 1), 0);
    BitmapHandle bitmap = MakeBitmap(9 * 13, 3 * 13, [](int x, int) { return RGB(x, 40, 90); });
    ASSERT_TRUE(CSkinScrollBar::SkinList(list->hwnd(), bitmap.get()));
    EXPECT_FALSE(CSkinScrollBar::SkinList(list->hwnd(), bitmap.get())) << "a list is skinned once";
    CScrollBarFrame* frame = CSkinScrollBar::FrameOf(list->hwnd());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetDlgItem(parent.hwnd(), 77), frame->hwnd()) << "the frame stands in under the list's id";
    Pump();
    const ScrollState& bar = frame->Vertical().State();
    EXPECT_EQ(bar.max, 39);
    EXPECT_EQ(bar.pos, 0);

    // No painting and no pumping in between: the bar reads the list itself.
    list->SetTopIndex(12);
    EXPECT_EQ(bar.pos, 12);
    SendMessageW(list->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(bar.pos, 13);
    list->AddString(L"Player 41", 0);
    EXPECT_EQ(bar.max, 40);

    // The bar's own scrolling reaches the list.
    SendMessageW(frame->hwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3),
                 reinterpret_cast<LPARAM>(frame->Vertical().hwnd()));
    EXPECT_EQ(SendMessageW(list->hwnd(), LB_GETTOPINDEX, 0, 0), 3);
    EXPECT_EQ(bar.pos, 3);

    // The list's object goes before its parent: the list leaves the frame, and
    // the frame goes.
    const HWND frameWindow = frame->hwnd();
    list.reset();
    Pump();
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_EQ(FindWindowExW(parent.hwnd(), nullptr, L"GmSkinScrollBarFrame", nullptr), nullptr);
}

TEST(SkinListBox, AKeptEditReachesTheOwnerWithItsRowAndListAndAnAbandonedOneDoesNot) {
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CSkinListBox list;
    ASSERT_TRUE(list.Create(parent.hwnd(), SkinRect{10, 10, 210, 110}, 4096,
                            WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY,
                            CSkinListBox::Colors{}));
    list.AddString(L"Macro1", 0);
    list.AddString(L"Macro2", 0);
    list.SetCurSel(1);
    ASSERT_TRUE(list.StartEdit());
    list.SetEditText(L"Reload");
    list.CommitEdit();
    ASSERT_TRUE(PumpUntil([&] { return !parent.rowEdits.empty(); })) << "the owner was not told";
    EXPECT_EQ(parent.rowEdits, (std::vector<std::pair<WPARAM, LPARAM>>{{1, 4096}}));
    EXPECT_EQ(list.Text(1), L"Reload");

    list.SetCurSel(0);
    ASSERT_TRUE(list.StartEdit());
    list.SetEditText(L"Spray");
    list.CancelEdit();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(parent.rowEdits.size(), 1u);
    EXPECT_EQ(list.Text(0), L"Macro1");
}

// The keys of a drop-down's list only move its selection, Enter chooses, and a
// moved selection not chosen goes back with the focus; a page's list keeps the
// system's keys, where every move is a choice.
class SkinListKeys : public testing::TestWithParam<bool> {};

// What a screen reader hears of the list: the events raised in this process.
std::vector<std::tuple<DWORD, HWND, LONG>> g_heard;
void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) g_heard.emplace_back(event, window, child);
}

TEST_P(SkinListKeys, MoveChooseAndGiveBack) {
    const bool dropDown = GetParam();
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    CSkinListBox list;
    ASSERT_TRUE(list.Create(parent.hwnd(), SkinRect{10, 10, 210, 70}, 4112, kSkinListStyle, CSkinListBox::Colors{}));
    for (const wchar_t* name : {L"Gamer", L"Work", L"Game", L"Office", L"Wow", L"Zen"}) list.AddString(name, 0);
    list.SetDropDown(dropDown);
    list.SetCurSel(1);
    SetFocus(list.hwnd());
    const auto key = [&](UINT virtualKey) { SendMessageW(list.hwnd(), WM_KEYDOWN, virtualKey, 1); };
    const MSG enter{list.hwnd(), WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_EQ((SendMessageW(list.hwnd(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
               DLGC_WANTMESSAGE) != 0,
              dropDown);

    Pump();  // painted whole: what follows is what the key itself draws
    g_heard.clear();
    {
        const WinEventHookHandle hook(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, nullptr, &Hear,
                                                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT));
        key(VK_DOWN);
        PumpUntil([] { return !g_heard.empty(); }, 500);
    }
    EXPECT_EQ(list.GetCurSel(), 2);
    if (dropDown) {
        // The third row: the moved selection is announced as the focus, as the system list would.
        const std::tuple<DWORD, HWND, LONG> focus{EVENT_OBJECT_FOCUS, list.hwnd(), 3};
        EXPECT_NE(std::find(g_heard.begin(), g_heard.end(), focus), g_heard.end());
    }
    RECT row{};
    SendMessageW(list.hwnd(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    {
        ClientDC dc(list.hwnd());
        EXPECT_EQ(GetPixel(dc.get(), row.left + 8, row.top + 1), COLORREF{kFocusMarkOnAccent})
            << "the selected row carries the light mark";
    }
    key(VK_END);
    EXPECT_EQ(list.GetCurSel(), 5);
    EXPECT_GT(SendMessageW(list.hwnd(), LB_GETTOPINDEX, 0, 0), 0) << "the last row is scrolled into view";
    EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETCARETINDEX, 0, 0), 5) << "the mark goes with the selection";
    EXPECT_EQ(parent.picks, (dropDown ? std::vector<int>{} : std::vector<int>{2, 5}));
    if (!dropDown) return;

    key(VK_RETURN);
    EXPECT_EQ(parent.picks, std::vector<int>{5});
    key(VK_HOME);
    SendMessageW(list.hwnd(), WM_CHAR, L'w', 1);  // the next row of that letter, not chosen either
    EXPECT_EQ(list.GetCurSel(), 1);
    SetFocus(parent.hwnd());
    EXPECT_EQ(list.GetCurSel(), 5) << "the moved selection stayed without a choice";
    EXPECT_EQ(parent.picks, std::vector<int>{5});
}

INSTANTIATE_TEST_SUITE_P(DropDownOrPage, SkinListKeys, testing::Bool());

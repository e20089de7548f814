#include <gtest/gtest.h>

#include <vector>

#include "app_messages.h"
#include "hover_tracker.h"
#include "skin_button.h"
#include "test_support.h"

namespace {

constexpr COLORREF kNormal = RGB(1, 1, 100), kOver = RGB(1, 100, 1), kDown = RGB(100, 1, 1),
                   kDisabled = RGB(90, 90, 90);
constexpr int kW = 130, kH = 24;

class ButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateTopLevel());
        normal = MakeBitmap(200, 50, [](int, int) { return kNormal; });
        over = MakeBitmap(200, 50, [](int, int) { return kOver; });
        down = MakeBitmap(200, 50, [](int, int) { return kDown; });
        disabled = MakeBitmap(200, 50, [](int, int) { return kDisabled; });
        canvas = MakeBitmap(kW, kH, [](int, int) { return RGB(0, 0, 0); });
    }
    template <typename B>
    void Make(B& button) {
        ASSERT_TRUE(button.CreateFromSkin(parent.hwnd(), ParseButtonPos(u"b,10,10,130,24,tip"),
                                          SkinPictures{normal.get(), over.get(), down.get(), disabled.get()}));
    }
    // What the button shows for `itemState`, drawn into a bitmap of its size.
    COLORREF Shows(CSkinButtonBase& button, UINT itemState, int x = 3, int y = 3) {
        MemoryDC dc(nullptr);
        SelectGuard select(dc.get(), canvas.get());
        button.Draw(dc.get(), RECT{0, 0, kW, kH}, itemState);
        return GetPixel(dc.get(), x, y);
    }
    void Click(HWND button) {
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    // Puts the real pointer on a point of `window`'s client area (the hover
    // rules look where the pointer really is), with the program active. The
    // moves the pointer makes on its own are not handled yet.
    static void PointerTo(HWND window, int x, int y) {
        SetActiveWindow(GetAncestor(window, GA_ROOT));
        POINT at{x, y};
        ClientToScreen(window, &at);
        SetCursorPos(at.x, at.y);
    }
    // To the bare desktop, and its moves handled (they go to no window of ours).
    static void PointerAway() {
        SetCursorPos(1270, 1015);
        Pump();
    }
    static void Move(HWND window, UINT keys = 0) { SendMessageW(window, WM_MOUSEMOVE, keys, MAKELPARAM(5, 5)); }

    RecordingParent parent;
    BitmapHandle normal, over, down, disabled, canvas;
};

}  // namespace

TEST_F(ButtonTest, IsAnOwnerDrawnChildWithItsEntryAsIdAndATabStop) {
    CSkinButton button;
    Make(button);
    const LONG style = GetWindowLongW(button.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_EQ(GetDlgCtrlID(button.hwnd()), 0);  // parsed on its own: no entry

    ButtonPos entry = ParseButtonPos(u"b,10,40,130,24,tip");
    entry.entry = 17;
    CSkinButton numbered;
    ASSERT_TRUE(numbered.CreateFromSkin(parent.hwnd(), entry, SkinPictures{}));
    EXPECT_EQ(GetDlgItem(parent.hwnd(), 17), numbered.hwnd());
    EXPECT_TRUE(GetWindowLongW(numbered.hwnd(), GWL_STYLE) & WS_TABSTOP) << "its pictures took the tab stop";
    // Its click names its id, as a system button's would, and its handle.
    numbered.SetCheckMode(true);
    parent.commandIds.clear();
    Click(numbered.hwnd());
    EXPECT_EQ(parent.commandIds, std::vector<WORD>{17});
    // Space on the focused button presses it as a click does.
    parent.commandIds.clear();
    SetFocus(numbered.hwnd());
    SendMessageW(numbered.hwnd(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    SendMessageW(numbered.hwnd(), WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(parent.commandIds, std::vector<WORD>{17});
}

TEST_F(ButtonTest, PushModePictures) {
    CSkinButton button;
    Make(button);
    EXPECT_EQ(Shows(button, 0), kNormal);
    EXPECT_EQ(Shows(button, ODS_SELECTED), kDown);
    EXPECT_EQ(Shows(button, ODS_DISABLED | ODS_SELECTED), kDisabled);
    button.SetHover(true);
    EXPECT_EQ(Shows(button, 0), kOver);
    button.SetCheck(1);
    EXPECT_EQ(Shows(button, 0), kDown);
    EXPECT_EQ(Shows(button, ODS_DISABLED), kDisabled);
}

TEST_F(ButtonTest, CheckModeClicksToggleAndNotifyOnce) {
    CSkinButton button;
    Make(button);
    button.SetCheckMode(true);
    EXPECT_EQ(Shows(button, ODS_SELECTED), kNormal);  // held down, but not yet checked
    Click(button.hwnd());
    Pump();
    EXPECT_EQ(button.GetCheck(), 1);
    // The capture the system button took at the press is given back, or the
    // next click anywhere would come here.
    EXPECT_NE(GetCapture(), button.hwnd());
    ASSERT_EQ(parent.clicks.size(), 1u);
    EXPECT_EQ(parent.clicks[0], button.hwnd());
    EXPECT_EQ(Shows(button, 0), kDown);
    Click(button.hwnd());
    Pump();
    EXPECT_EQ(button.GetCheck(), 0);
    EXPECT_EQ(parent.clicks.size(), 2u);
    // A quick second click arrives as a double click: still one click.
    SendMessageW(button.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(button.GetCheck(), 1);
    EXPECT_EQ(parent.clicks.size(), 3u);
    // Space is a click too, once, with the check turned over as by the pointer.
    SendMessageW(button.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(button.hwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(button.GetCheck(), 0);
    EXPECT_EQ(parent.clicks.size(), 4u);
    EXPECT_NE(GetCapture(), button.hwnd());
    // A key release without its press (the press went to another control) is no click.
    SendMessageW(button.hwnd(), WM_KEYUP, VK_SPACE, 0xC0000001);
    Pump();
    EXPECT_EQ(button.GetCheck(), 0);
    EXPECT_EQ(parent.clicks.size(), 4u);
}

TEST_F(ButtonTest, PushModeClickIsOneNotification) {
    CSkinButton button;
    Make(button);
    Click(button.hwnd());
    SendMessageW(button.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(parent.clicks.size(), 2u);
    EXPECT_EQ(button.GetCheck(), 0);
}

// The parts of a segmented choice: an arrow presses the next usable part as
// a click does and takes the focus there; a lone button leaves arrows alone.
TEST_F(ButtonTest, ArrowsMoveAcrossTheJoinedPartsOfAChoice) {
    CSkinButton parts[3], lone;
    for (CSkinButton& part : parts) Make(part);
    Make(lone);
    CSkinButtonBase::JoinChoice({&parts[0], &parts[1], &parts[2]});
    EnableWindow(parts[1].hwnd(), FALSE);
    const MSG right{parts[0].hwnd(), WM_KEYDOWN, VK_RIGHT, 0};
    EXPECT_TRUE(SendMessageW(parts[0].hwnd(), WM_GETDLGCODE, VK_RIGHT, reinterpret_cast<LPARAM>(&right)) &
                DLGC_WANTARROWS);
    EXPECT_FALSE(SendMessageW(lone.hwnd(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS);

    SetFocus(parts[0].hwnd());
    const auto key = [](CSkinButton& from, UINT virtualKey) { SendMessageW(from.hwnd(), WM_KEYDOWN, virtualKey, 1); };
    key(parts[0], VK_RIGHT);
    EXPECT_EQ(parent.clicks, (std::vector<HWND>{parts[2].hwnd()})) << "the disabled part is passed over";
    EXPECT_EQ(GetFocus(), parts[2].hwnd());
    key(parts[2], VK_DOWN);  // the end: nothing
    key(parts[2], VK_UP);
    EXPECT_EQ(parent.clicks, (std::vector<HWND>{parts[2].hwnd(), parts[0].hwnd()}));
    EXPECT_EQ(GetFocus(), parts[0].hwnd());
    key(parts[0], VK_LEFT);
    SetFocus(lone.hwnd());
    key(lone, VK_RIGHT);
    EXPECT_EQ(parent.clicks.size(), 2u);
    EXPECT_EQ(GetFocus(), lone.hwnd());
}

TEST_F(ButtonTest, SetCheckWithTheSameValueDoesNotRedraw) {
    CSkinButton button;
    Make(button);
    UpdateWindow(button.hwnd());
    ValidateRect(button.hwnd(), nullptr);
    button.SetCheck(0);
    EXPECT_FALSE(GetUpdateRect(button.hwnd(), nullptr, FALSE));
    button.SetCheck(1);
    EXPECT_TRUE(GetUpdateRect(button.hwnd(), nullptr, FALSE));
}

TEST_F(ButtonTest, HoverIsPostedWithTheHoverId) {
    CSkinButton button;
    Make(button);
    button.SetHoverId(207);
    button.SetHover(true);
    button.SetHover(false);
    Pump();
    ASSERT_EQ(parent.hovers.size(), 2u);
    EXPECT_EQ(parent.hovers[0], (std::pair<WPARAM, LPARAM>{1, 207}));
    EXPECT_EQ(parent.hovers[1], (std::pair<WPARAM, LPARAM>{0, 207}));
}

TEST_F(ButtonTest, LampsSitAtTheirPixels) {
    CSkinButton button;
    Make(button);
    button.SetIndicator(LampIndicator::kBlueGreen);
    EXPECT_EQ(Shows(button, 0, 101, 7), RGB(0, 0, 255));
    EXPECT_EQ(Shows(button, 0, 107, 15), RGB(98, 98, 98));
    EXPECT_EQ(Shows(button, 0, 115, 10), RGB(0, 255, 0));
    EXPECT_EQ(Shows(button, 0, 116, 10), kNormal);  // 4 pixels wide
    EXPECT_EQ(Shows(button, 0, 101, 16), kNormal);  // 10 pixels high
    button.SetIndicator(LampIndicator::kAllDark);
    EXPECT_EQ(Shows(button, 0, 101, 7), RGB(98, 98, 98));
    button.SetIndicator(LampIndicator::kNoLamps);
    EXPECT_EQ(Shows(button, 0, 101, 7), kNormal);
}

TEST_F(ButtonTest, CaptionStaysInsideItsLayout) {
    CSkinButton button;
    Make(button);
    button.SetText(L"A caption far longer than the button can ever show in one line");
    button.SetTextColors(RGB(255, 255, 0), RGB(255, 255, 0), RGB(255, 255, 0), RGB(255, 255, 0));
    for (CaptionAlign mode : {CaptionAlign::kLeft, CaptionAlign::kRight, CaptionAlign::kLeftFrom15}) {
        button.SetAlign(mode);
        int yellowInside = 0, yellowOutside = 0;
        MemoryDC dc(nullptr);
        SelectGuard select(dc.get(), canvas.get());
        button.Draw(dc.get(), RECT{0, 0, kW, kH}, 0);
        for (int x = 0; x < kW; ++x)
            for (int y = 0; y < kH; ++y) {
                const bool yellow = GetPixel(dc.get(), x, y) == RGB(255, 255, 0);
                const bool inside = x >= (mode == CaptionAlign::kLeftFrom15 ? 15 : 5) &&
                                    x < kW - (mode == CaptionAlign::kRight ? 5 : 10);
                (inside ? yellowInside : yellowOutside) += yellow;
            }
        EXPECT_GT(yellowInside, 20) << "mode " << static_cast<int>(mode);
        EXPECT_EQ(yellowOutside, 0) << "mode " << static_cast<int>(mode);
    }
}

TEST_F(ButtonTest, ColourSwatchSparesTheCorners) {
    CSkinColorButton button;
    Make(button);
    button.SetFillColor(RGB(0, 200, 255));
    EXPECT_EQ(Shows(button, 0, 0, 0), kNormal);
    EXPECT_EQ(Shows(button, 0, kW - 1, 0), kNormal);
    EXPECT_EQ(Shows(button, 0, 0, kH - 1), kNormal);
    EXPECT_EQ(Shows(button, 0, kW - 1, kH - 1), kNormal);
    EXPECT_EQ(Shows(button, 0, 1, 0), RGB(0, 200, 255));
    EXPECT_EQ(Shows(button, 0, 0, 1), RGB(0, 200, 255));
    EXPECT_EQ(Shows(button, 0, 60, 12), RGB(0, 200, 255));
    EXPECT_EQ(Shows(button, ODS_DISABLED, 60, 12), kDisabled);  // no swatch while disabled
}

TEST_F(ButtonTest, HoverLightsOnTheFirstMoveAndEndsWithTheLeaveMessage) {
    CSkinButton button;
    Make(button);
    button.SetHoverId(207);
    PointerTo(button.hwnd(), 5, 5);
    Move(button.hwnd());
    EXPECT_TRUE(button.Hover());
    EXPECT_EQ(Shows(button, 0), kOver);
    Pump();               // the pointer's own move arrives too
    Move(button.hwnd());  // still over it: nothing new
    SetCursorPos(1270, 1015);
    SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.Hover());
    EXPECT_EQ(Shows(button, 0), kNormal);
    SendMessageW(button.hwnd(), WM_MOUSELEAVE, 0, 0);  // a late second one
    Pump();
    EXPECT_EQ(parent.hovers, (std::vector<std::pair<WPARAM, LPARAM>>{{1, 207}, {0, 207}}));
}

TEST_F(ButtonTest, NoHoverForADragFromElsewhereOrAMoveFromWhereThePointerWas) {
    CSkinButton button;
    Make(button);
    PointerTo(button.hwnd(), 5, 5);
    Move(button.hwnd(), MK_LBUTTON);
    EXPECT_FALSE(button.Hover());
    Move(button.hwnd());  // released over it
    EXPECT_TRUE(button.Hover());

    // Pressed on the lit button and dragged off: it goes dark although held.
    PointerAway();
    Move(button.hwnd(), MK_LBUTTON);
    EXPECT_FALSE(button.Hover());
    // A move replayed from where the pointer was lights nothing.
    Move(button.hwnd());
    EXPECT_FALSE(button.Hover());
    Pump();
    EXPECT_EQ(parent.hovers.size(), 2u);
}

TEST_F(ButtonTest, PointerThatLeavesWithoutALeaveMessageStillEndsTheHover) {
    CSkinButton button;
    Make(button);
    PointerTo(button.hwnd(), 5, 5);
    Move(button.hwnd());
    ASSERT_TRUE(button.Hover());
    // No leave message will come (as when the pointer leaves for the bare
    // desktop of an X server without a window manager): the check sees it.
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_LEAVE | TME_CANCEL, button.hwnd(), 0};
    TrackMouseEvent(&cancel);
    PointerAway();
    EXPECT_TRUE(PumpUntil([&] { return !button.Hover(); }, 1000));
    Pump();
    ASSERT_EQ(parent.hovers.size(), 2u);
    EXPECT_EQ(parent.hovers[1].first, 0u);
    // With nothing lit the check stops.
    EXPECT_FALSE(KillTimer(button.hwnd(), CHoverTracker::kPointerTimer));
}

TEST_F(ButtonTest, LosingTheFocusEndsTheHover) {
    CSkinButton button;
    Make(button);
    PointerTo(button.hwnd(), 5, 5);
    Move(button.hwnd());
    SetFocus(button.hwnd());
    SetFocus(parent.hwnd());
    EXPECT_FALSE(button.Hover());
    PointerAway();
    ASSERT_FALSE(parent.hovers.empty());
    EXPECT_EQ(parent.hovers.back().first, 0u);
}

namespace {

// A control that lights its rows of 10 pixels one by one, as a list does.
class RowsControl : public CWindow {
public:
    RowsControl()
        : hover_(*this, [this](const HoverState::Change& change) { changes.push_back(change); },
                 [](POINT at) { return at.y >= 0 && at.y < 30 ? static_cast<int>(at.y / 10) : HoverState::kNone; }) {}
    bool Create(HWND parent) {
        CreateParams p;
        p.className = L"GmTestRows";
        p.style = WS_CHILD | WS_VISIBLE;
        p.x = 10;
        p.y = 100;
        p.width = 100;
        p.height = 40;  // the last 10 pixels are no row
        p.parent = parent;
        return CWindow::Create(p);
    }
    std::vector<HoverState::Change> changes;
    CHoverTracker hover_;

protected:
    bool OnMouseMove(POINT at, UINT keys) override {
        hover_.OnMouseMove(at, keys);
        return true;
    }
    bool OnMouseLeave() override {
        hover_.OnMouseLeave();
        return true;
    }
    bool OnTimer(UINT_PTR id) override { return hover_.OnTimer(id); }
};

}  // namespace

TEST_F(ButtonTest, TrackerLightsTheItemsOfAControlOneByOne) {
    RowsControl rows;
    ASSERT_TRUE(rows.Create(parent.hwnd()));
    const int ys[] = {5, 15, 25, 35};
    for (int y : ys) {
        PointerTo(rows.hwnd(), 50, y);
        SendMessageW(rows.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, y));
    }
    SendMessageW(rows.hwnd(), WM_MOUSELEAVE, 0, 0);
    using C = HoverState::Change;
    constexpr int kNone = HoverState::kNone;
    EXPECT_EQ(rows.changes, (std::vector<C>{{kNone, 0}, {0, 1}, {1, 2}, {2, kNone}}));
    PointerAway();
}

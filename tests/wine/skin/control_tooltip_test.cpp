#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "control_tooltip.h"
#include "skin_button.h"
#include "skin_rescale.h"
#include "skin_scale.h"
#include "test_support.h"

namespace {

int ToolCount(HWND tooltip) { return static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)); }

// The tooltip windows of this thread that `owner` owns.
int TooltipsOwnedBy(HWND owner) {
    struct Search {
        HWND owner;
        int found;
    } search{owner, 0};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (GetWindow(window, GW_OWNER) == s->owner && lstrcmpiW(name, L"GmSharedTooltip") == 0) ++s->found;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The tip of `control` on screen, after the pointer rested on it; empty when none showed.
RECT ShownTipOf(HWND tooltip, HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    POINT over{client.right / 2, client.bottom / 2};
    ClientToScreen(control, &over);
    SetCursorPos(over.x, over.y);
    SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
    RECT shown{};
    if (PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000)) GetWindowRect(tooltip, &shown);
    return shown;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool MakeButton(CSkinButton& button, HWND parent, const char16_t* entry) {
    return button.CreateFromSkin(parent, ParseButtonPos(entry), SkinPictures{});
}

// A window with two buttons, each with a tip.
class ControlTooltip : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateTopLevel());
        ASSERT_TRUE(MakeButton(first, parent.hwnd(), u"a,10,10,60,20,first tip"));
        ASSERT_TRUE(MakeButton(second, parent.hwnd(), u"b,10,40,60,20,second tip"));
        tooltip = CControlTooltip::SharedTooltipOf(first.hwnd());
        ASSERT_TRUE(tooltip);
    }

    RecordingParent parent;
    CSkinButton first, second;
    HWND tooltip = nullptr;
};

}  // namespace

TEST_F(ControlTooltip, OneTooltipPerTopLevelWindowWithAToolPerControl) {
    EXPECT_EQ(CControlTooltip::SharedTooltipOf(second.hwnd()), tooltip);
    EXPECT_EQ(TooltipsOwnedBy(parent.hwnd()), 1);
    EXPECT_TRUE(GetWindowLongW(tooltip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_TRUE(GetWindowLongW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ToolCount(tooltip), 2);
    EXPECT_EQ(ToolTextOf(first.hwnd()), L"first tip");
    EXPECT_EQ(ToolTextOf(second.hwnd()), L"second tip");

    // A new text replaces the tool's, it adds none.
    first.SetTooltipText(L"renamed", true);
    EXPECT_EQ(ToolCount(tooltip), 2);
    EXPECT_EQ(ToolTextOf(first.hwnd()), L"renamed");

    // Another top-level window has a tooltip of its own.
    RecordingParent other;
    ASSERT_TRUE(other.CreateTopLevel());
    CSkinButton elsewhere;
    ASSERT_TRUE(MakeButton(elsewhere, other.hwnd(), u"c,10,10,60,20,other tip"));
    ASSERT_TRUE(CControlTooltip::SharedTooltipOf(elsewhere.hwnd()));
    EXPECT_NE(CControlTooltip::SharedTooltipOf(elsewhere.hwnd()), tooltip);
    EXPECT_EQ(ToolCount(tooltip), 2);
}

TEST_F(ControlTooltip, SwitchingOneTipOffOrDestroyingItsControlLeavesTheOthers) {
    first.SetTooltipText(L"first tip", false);
    EXPECT_EQ(ToolCount(tooltip), 1);
    EXPECT_EQ(ToolTextOf(first.hwnd()), L"");
    EXPECT_EQ(ToolTextOf(second.hwnd()), L"second tip");
    first.SetTooltipText(L"first tip", true);
    EXPECT_EQ(ToolCount(tooltip), 2);

    // Held (its drop-down list is open), the tool is out whatever the button
    // is told meanwhile; released, it is back with the last text.
    first.HoldTooltip(true);
    EXPECT_EQ(ToolCount(tooltip), 1);
    first.SetTooltipText(L"while held", true);
    EXPECT_EQ(ToolCount(tooltip), 1);
    first.HoldTooltip(false);
    EXPECT_EQ(ToolCount(tooltip), 2);
    EXPECT_EQ(ToolTextOf(first.hwnd()), L"while held");
    first.SetTooltipText(L"first tip", true);

    DestroyWindow(second.hwnd());
    EXPECT_EQ(ToolCount(tooltip), 1);
    EXPECT_EQ(ToolTextOf(first.hwnd()), L"first tip");

    // The tooltip goes with its window.
    HWND top = parent.hwnd();
    DestroyWindow(top);
    Pump();
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_EQ(TooltipsOwnedBy(top), 0);
}

TEST_F(ControlTooltip, ShowsTheTipOfTheControlUnderThePointer) {
    POINT over{30, 50};  // inside the second button
    ClientToScreen(parent.hwnd(), &over);
    SetCursorPos(over.x, over.y);
    // One move, then the pointer rests there until the tip shows.
    SendMessageW(second.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    const bool shown = PumpUntil([&] { return IsWindowVisible(tooltip) != FALSE; }, 3000);
    ASSERT_TRUE(shown);
    TTTOOLINFOW current{};
    current.cbSize = TTTOOLINFOW_V2_SIZE;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)));
    EXPECT_EQ(current.uId, reinterpret_cast<UINT_PTR>(second.hwnd()));
    SetCursorPos(1200, 1000);
}

TEST_F(ControlTooltip, TheTipFollowsTheSkinScaleInFontAndWrapWidth) {
    ScaleRestorer restore;
    // Long enough to wrap at any scale: the width then shows the wrap width.
    const wchar_t* kLong = L"Assigns the macro chosen in the list to this button of the mouse, "
                           L"for the profile shown, and sends it to the mouse when it is applied";
    first.SetTooltipText(kLong, true);
    const RECT at100 = ShownTipOf(tooltip, first.hwnd());
    ASSERT_GT(Height(at100), 0) << "no tip showed";

    // The scale changes while the tip shows: the tip goes, and shows anew
    // in the new size at the next rest.
    SetSkinScale(200);
    const SkinRescale change{UiScale{100}, UiScale{200}, nullptr};
    SendMessageW(tooltip, SkinRescaleMessage(), 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_FALSE(IsWindowVisible(tooltip));
    SendMessageW(second.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));  // away, so the next rest is a new one
    const RECT at200 = ShownTipOf(tooltip, first.hwnd());
    // Twice the font and twice the wrap width: about twice the tip (its
    // margins are the system's and stay).
    EXPECT_GE(Width(at200) * 10, Width(at100) * 17) << Width(at100) << " -> " << Width(at200);
    EXPECT_GE(Height(at200) * 10, Height(at100) * 17) << Height(at100) << " -> " << Height(at200);

    // A window's tooltip made at 200 % starts with that font.
    RecordingParent other;
    ASSERT_TRUE(other.CreateTopLevel());
    CSkinButton elsewhere;
    ASSERT_TRUE(MakeButton(elsewhere, other.hwnd(), u"c,10,10,60,20,other tip"));
    elsewhere.SetTooltipText(kLong, true);
    const RECT made200 = ShownTipOf(CControlTooltip::SharedTooltipOf(elsewhere.hwnd()), elsewhere.hwnd());
    EXPECT_EQ(Width(made200), Width(at200));
    EXPECT_EQ(Height(made200), Height(at200));
    SetCursorPos(1200, 1000);
}

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "control_tooltip.h"
#include "skin_button.h"
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

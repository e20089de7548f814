#include <gtest/gtest.h>

#include "menu_frame_hook.h"
#include "gdi.h"
#include "gdi_cache.h"
#include "skin_popup_menu.h"
#include "user_handles.h"
#include "test_support.h"

namespace {

ULONG_PTR ItemData(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.dwItemData;
}

struct MenuSeen {
    HWND menuWindow = nullptr;
    bool hadProperty = false;
    size_t subclassed = 0;
};
MenuSeen g_seen;

void CALLBACK LookAtOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_seen.menuWindow = FindWindowW(L"#32768", nullptr);
    g_seen.hadProperty = g_seen.menuWindow && GetPropW(g_seen.menuWindow, CMenuFrameHook::kOldProcProperty);
    g_seen.subclassed = CMenuFrameHook::SubclassedCount();
    EndMenu();
}

class OtherClass : public CWindow {};

}  // namespace

TEST(MenuFrameHook, DressesPopupMenusOnlyWhileTheyAreOpen) {
    ASSERT_TRUE(CMenuFrameHook::Install());
    EXPECT_EQ(CMenuFrameHook::Install(), CMenuFrameHook::Install());  // once
    RecordingParent owner;
    ASSERT_TRUE(owner.CreateTopLevel());
    SetForegroundWindow(owner.hwnd());
    MenuHandle menu(CreatePopupMenu());
    AppendMenuW(menu.get(), MF_STRING, 100, L"one");
    AppendMenuW(menu.get(), MF_STRING, 101, L"two");

    for (int round = 0; round < 2; ++round) {
        g_seen = MenuSeen{};
        SetTimer(nullptr, 0, 200, &LookAtOpenMenu);
        TrackPopupMenu(menu.get(), TPM_LEFTALIGN, 100, 100, 0, owner.hwnd(), nullptr);
        Pump();
        EXPECT_TRUE(g_seen.menuWindow) << "round " << round;
        EXPECT_TRUE(g_seen.hadProperty);
        EXPECT_EQ(g_seen.subclassed, 1u);
        // Closed: given back, and the table's storage freed.
        EXPECT_EQ(CMenuFrameHook::SubclassedCount(), 0u);
        EXPECT_FALSE(CMenuFrameHook::TableAllocated());
    }
    menu.Reset();

    // Windows of any other class are left alone.
    OtherClass other;
    CWindow::CreateParams p;
    p.className = L"GmNotAMenu";
    p.style = WS_POPUP;
    ASSERT_TRUE(other.Create(p));
    EXPECT_FALSE(GetPropW(other.hwnd(), CMenuFrameHook::kOldProcProperty));
    EXPECT_EQ(CMenuFrameHook::SubclassedCount(), 0u);

    CMenuFrameHook::Uninstall();
    EXPECT_FALSE(CMenuFrameHook::Installed());
}

TEST(MenuFrameHook, FrameIsOnePurpleAndTwoDarkLines) {
    OtherClass window;
    CWindow::CreateParams p;
    p.className = L"GmFrameHost";
    p.style = WS_POPUP;
    p.width = 20;
    p.height = 20;
    ASSERT_TRUE(window.Create(p));
    BitmapHandle canvas = MakeBitmap(20, 20, [](int, int) { return RGB(255, 255, 255); });
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), canvas.get());
    CMenuFrameHook::DrawFrame(window.hwnd(), dc.get());
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(128, 21, 153));
    EXPECT_EQ(GetPixel(dc.get(), 19, 10), RGB(128, 21, 153));
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(16, 16, 16));
    EXPECT_EQ(GetPixel(dc.get(), 2, 18), RGB(16, 16, 16));
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), RGB(255, 255, 255));
}

TEST(SkinPopupMenu, MeasuresAndDrawsItsOwnItemsOnly) {
    CSkinPopupMenu menu(CachedFont(L"Arial", 15));
    ASSERT_TRUE(menu.AddItem(1001, L"Copy"));
    ASSERT_TRUE(menu.AddItem(PopupMenuModel::kSeparatorId, L""));
    ASSERT_TRUE(menu.AddItem(1003, L"Current", nullptr, 1));
    menu.SetWidth(54);
    ASSERT_EQ(GetMenuItemCount(menu.menu()), 3);

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = ItemData(menu.menu(), 0);
    ASSERT_TRUE(CSkinPopupMenu::RouteMeasureItem(&measure));
    EXPECT_EQ(measure.itemWidth, 54u);
    EXPECT_EQ(measure.itemHeight, 23u);
    measure.itemData = ItemData(menu.menu(), 1);
    ASSERT_TRUE(CSkinPopupMenu::RouteMeasureItem(&measure));
    EXPECT_EQ(measure.itemHeight, 5u);
    int foreign = 0;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&foreign);  // not an item of ours
    EXPECT_FALSE(CSkinPopupMenu::RouteMeasureItem(&measure));

    BitmapHandle canvas = MakeBitmap(54, 23, [](int, int) { return RGB(255, 255, 255); });
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), canvas.get());
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.hDC = dc.get();
    draw.rcItem = RECT{0, 0, 54, 23};
    draw.itemData = ItemData(menu.menu(), 0);
    draw.itemState = ODS_SELECTED;
    ASSERT_TRUE(CSkinPopupMenu::RouteDrawItem(&draw));
    EXPECT_EQ(GetPixel(dc.get(), 50, 2), RGB(128, 21, 153));
    draw.itemState = 0;
    SelectClipRgn(dc.get(), nullptr);
    ASSERT_TRUE(CSkinPopupMenu::RouteDrawItem(&draw));
    SelectClipRgn(dc.get(), nullptr);
    EXPECT_EQ(GetPixel(dc.get(), 50, 2), RGB(16, 16, 16));

    // The marked item's text is in the marked colour.
    draw.itemData = ItemData(menu.menu(), 2);
    ASSERT_TRUE(CSkinPopupMenu::RouteDrawItem(&draw));
    SelectClipRgn(dc.get(), nullptr);
    int marked = 0;
    for (int x = 0; x < 54; ++x)
        for (int y = 0; y < 23; ++y) marked += GetPixel(dc.get(), x, y) == RGB(68, 192, 255);
    EXPECT_GT(marked, 5);
}

TEST(SkinPopupMenu, SubmenusSurviveTheirParentMenu) {
    const HFONT font = CachedFont(L"Arial", 15);
    CSkinPopupMenu sub(font);
    sub.AddItem(5, L"inner");
    {
        CSkinPopupMenu outer(font);
        ASSERT_TRUE(outer.AddItem(0, L"More", sub.menu()));
        EXPECT_EQ(GetSubMenu(outer.menu(), 0), sub.menu());
    }
    EXPECT_TRUE(IsMenu(sub.menu()));
    EXPECT_EQ(GetMenuItemCount(sub.menu()), 1);
}

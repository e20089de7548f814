// Messages a parent receives about a child control reach the child's object,
// and what the child handles does not reach the parent.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gdi.h"
#include "owner_draw_menu.h"
#include "window.h"

namespace {

class Parent : public CWindow {
public:
    std::vector<UINT> commands;  // notification codes the parent's handler saw
    POINT lastPress{-1, -1};
    int lastWheel = 0;
    UINT lastKey = 0;
    int width = 0;
    int height = 0;

protected:
    bool OnCommand(WORD, WORD code, HWND) override {
        commands.push_back(code);
        return true;
    }
    bool OnLButtonDown(POINT at, UINT) override {
        lastPress = at;
        return true;
    }
    bool OnMouseWheel(int delta, UINT, POINT) override {
        lastWheel = delta;
        return true;
    }
    bool OnKeyDown(UINT key, UINT) override {
        lastKey = key;
        return true;
    }
    bool OnSize(UINT, int w, int h) override {
        width = w;
        height = h;
        return true;
    }
};

// A child that takes some notifications for itself and lets others through.
class Child : public CWindow {
public:
    HBRUSH brush = nullptr;  // not owned
    int scrolls = 0;
    int notifies = 0;
    int measured = 0;
    int compared = 0;
    int deleted = 0;
    bool keepCommands = false;

protected:
    bool OnReflectedCommand(WORD) override { return keepCommands; }
    HBRUSH OnReflectedCtlColor(HDC dc) override {
        SetTextColor(dc, RGB(1, 2, 3));
        return brush;
    }
    bool OnReflectedScroll(UINT message, WPARAM) override {
        if (message == WM_HSCROLL) ++scrolls;
        return true;
    }
    bool OnReflectedNotify(NMHDR* header, LRESULT& result) override {
        ++notifies;
        result = header->code == 77 ? 1234 : 0;
        return header->code == 77;
    }
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) override {
        ++measured;
        item->itemHeight = 37;
        return true;
    }
    bool OnReflectedCompareItem(COMPAREITEMSTRUCT* item, int& result) override {
        ++compared;
        result = item->itemData1 < item->itemData2 ? -1 : item->itemData1 > item->itemData2 ? 1 : 0;
        return true;
    }
    bool OnReflectedDeleteItem(DELETEITEMSTRUCT*) override {
        ++deleted;
        return true;
    }
};

CWindow::CreateParams TopLevel() {
    CWindow::CreateParams p;
    p.className = L"GmTestReflectParent";
    p.title = L"reflection test";
    p.style = WS_POPUP | WS_VISIBLE;
    p.x = 10;
    p.y = 10;
    p.width = 300;
    p.height = 200;
    return p;
}

CWindow::CreateParams ChildOf(HWND parent, const wchar_t* cls, DWORD style, int id) {
    CWindow::CreateParams p;
    p.className = cls;
    p.style = WS_CHILD | WS_VISIBLE | style;
    p.x = 5;
    p.y = 5;
    p.width = 150;
    p.height = 120;
    p.parent = parent;
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    return p;
}

// Someone else's subclass over a control of ours: passes everything on.
WNDPROC g_previous = nullptr;
int g_subclassSeen = 0;
LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_subclassSeen;
    return CallWindowProcW(g_previous, window, message, wParam, lParam);
}

int g_menuMeasured = 0;
bool MeasureMenu(MEASUREITEMSTRUCT* item) {
    ++g_menuMeasured;
    item->itemHeight = 19;
    return true;
}

}  // namespace

TEST(Reflection, CommandsTheChildKeepsDoNotReachTheParent) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    Child button;
    ASSERT_TRUE(button.CreateSuperclassed(L"BUTTON", ChildOf(parent.hwnd(), L"GmTestReflectButton", 0, 11)));

    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(parent.commands, std::vector<UINT>{BN_CLICKED});

    button.keepCommands = true;
    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(parent.commands, std::vector<UINT>{BN_CLICKED}) << "a command the child handled reached the parent";

    // Menu commands carry no control: the parent's handler gets them.
    SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(40001, 0), 0);
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST(Reflection, ColoursScrollsAndNotificationsGoToTheChild) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    Child edit;
    ASSERT_TRUE(edit.CreateSuperclassed(L"EDIT", ChildOf(parent.hwnd(), L"GmTestReflectEdit", 0, 12)));
    BrushHandle brush(CreateSolidBrush(RGB(9, 8, 7)));
    edit.brush = brush.get();

    // The edit asks its parent for colours when it paints.
    ClientDC dc(edit.hwnd());
    for (UINT message : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
        const LRESULT answer = SendMessageW(parent.hwnd(), message, reinterpret_cast<WPARAM>(dc.get()),
                                            reinterpret_cast<LPARAM>(edit.hwnd()));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(answer), brush.get());
    }
    EXPECT_EQ(GetTextColor(dc.get()), RGB(1, 2, 3));

    Child bar;
    ASSERT_TRUE(bar.CreateSuperclassed(L"SCROLLBAR", ChildOf(parent.hwnd(), L"GmTestReflectBar", SBS_HORZ, 13)));
    SendMessageW(parent.hwnd(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar.hwnd()));
    EXPECT_EQ(bar.scrolls, 1);
    // A window's own scroll bars send no handle: nothing to reflect.
    SendMessageW(parent.hwnd(), WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(bar.scrolls, 1);

    NMHDR header{edit.hwnd(), 12, 77};
    EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 1234);
    header.code = 78;  // not the child's: the parent's default answers
    EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&header)), 0);
    EXPECT_EQ(edit.notifies, 2);
}

TEST(Reflection, OwnerDrawnListItemsAreMeasuredComparedAndDeletedByTheList) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    Child list;
    // The list measures its items while it is being created: the child must be
    // found by its id before CreateWindow returns.
    ASSERT_TRUE(list.CreateSuperclassed(
        L"LISTBOX", ChildOf(parent.hwnd(), L"GmTestReflectList", LBS_OWNERDRAWFIXED | LBS_SORT, 14)));
    EXPECT_GE(list.measured, 1);
    EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0), 37);

    SendMessageW(list.hwnd(), LB_ADDSTRING, 0, 30);
    SendMessageW(list.hwnd(), LB_ADDSTRING, 0, 10);
    SendMessageW(list.hwnd(), LB_ADDSTRING, 0, 20);
    EXPECT_GE(list.compared, 1);
    EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETITEMDATA, 0, 0), 10);
    EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETITEMDATA, 2, 0), 30);

    SendMessageW(list.hwnd(), LB_DELETESTRING, 1, 0);
    EXPECT_EQ(list.deleted, 1);
}

TEST(Reflection, MenuItemsGoToTheRegisteredRouter) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    SetOwnerDrawMenuRouter(OwnerDrawMenuRouter{&MeasureMenu, nullptr});
    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemData = 5;
    EXPECT_EQ(SendMessageW(parent.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_EQ(g_menuMeasured, 1);
    EXPECT_EQ(item.itemHeight, 19u);
    SetOwnerDrawMenuRouter(OwnerDrawMenuRouter{});
}

TEST(Reflection, ASubclassedControlKeepsItsObjectAndItsReflection) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    Child edit;
    ASSERT_TRUE(edit.CreateSuperclassed(L"EDIT", ChildOf(parent.hwnd(), L"GmTestReflectEdit", 0, 15)));
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    ASSERT_NE(g_previous, nullptr);

    EXPECT_EQ(CWindow::FromHandle(edit.hwnd()), &edit);
    BrushHandle brush(CreateSolidBrush(RGB(4, 5, 6)));
    edit.brush = brush.get();
    ClientDC dc(edit.hwnd());
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(parent.hwnd(), WM_CTLCOLOREDIT,
                                                    reinterpret_cast<WPARAM>(dc.get()),
                                                    reinterpret_cast<LPARAM>(edit.hwnd()))),
              brush.get());
    // The control still works through the subclass.
    SetWindowTextW(edit.hwnd(), L"abc");
    EXPECT_EQ(GetWindowTextLengthW(edit.hwnd()), 3);
    EXPECT_GT(g_subclassSeen, 0);
}

TEST(Reflection, TypedHandlersDecodeSignedPositionsAndSizes) {
    Parent parent;
    ASSERT_TRUE(parent.Create(TopLevel()));
    // A press left of and above the window while it holds the capture.
    SendMessageW(parent.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, -7));
    EXPECT_EQ(parent.lastPress.x, -5);
    EXPECT_EQ(parent.lastPress.y, -7);
    SendMessageW(parent.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(20, 20));
    EXPECT_EQ(parent.lastWheel, -WHEEL_DELTA);
    SendMessageW(parent.hwnd(), WM_KEYDOWN, VK_HOME, 1);
    EXPECT_EQ(parent.lastKey, static_cast<UINT>(VK_HOME));
    SetWindowPos(parent.hwnd(), nullptr, 0, 0, 250, 120, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(parent.width, 250);
    EXPECT_EQ(parent.height, 120);
}

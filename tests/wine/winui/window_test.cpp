#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "gdi.h"
#include "window.h"

namespace {

class RecordingWindow : public CWindow {
public:
    std::vector<UINT> seen;
    int created = 0;
    bool destroyed = false;
    bool finalMessage = false;
    HWND clickedControl = nullptr;

protected:
    int OnCreate(CREATESTRUCTW*) override {
        ++created;
        return 0;
    }
    void OnDestroy() override { destroyed = true; }
    void OnFinalMessage() override { finalMessage = true; }
    bool OnCommand(WORD, WORD code, HWND control) override {
        if (code == BN_CLICKED) clickedControl = control;
        return true;
    }
};

class RefusingWindow : public CWindow {
protected:
    int OnCreate(CREATESTRUCTW*) override { return -1; }
};

class OwnerDrawnButton : public CWindow {
public:
    int drawn = 0;
    int reflectedClicks = 0;

protected:
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override {
        ++drawn;
        BrushHandle brush(CreateSolidBrush(RGB(1, 2, 3)));
        FillRect(item->hDC, &item->rcItem, brush.get());
        return true;
    }
    bool OnReflectedCommand(WORD code) override {
        if (code == BN_CLICKED) ++reflectedClicks;
        return false;
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

CWindow::CreateParams TopLevel(const wchar_t* cls) {
    CWindow::CreateParams p;
    p.className = cls;
    p.title = L"framework test";
    p.style = WS_OVERLAPPEDWINDOW;
    p.x = 10;
    p.y = 10;
    p.width = 300;
    p.height = 200;
    return p;
}

}  // namespace

TEST(Window, BindsAtCreationAndUnbindsAtTheEnd) {
    RecordingWindow window;
    ASSERT_TRUE(window.Create(TopLevel(L"GmTestWindow")));
    EXPECT_EQ(window.created, 1);
    EXPECT_EQ(CWindow::FromHandle(window.hwnd()), &window);
    HWND handle = window.hwnd();
    DestroyWindow(handle);
    EXPECT_TRUE(window.destroyed);
    EXPECT_TRUE(window.finalMessage);
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, OnCreateCanRefuseTheWindow) {
    RefusingWindow window;
    EXPECT_FALSE(window.Create(TopLevel(L"GmTestRefusing")));
    EXPECT_EQ(window.hwnd(), nullptr);
}

TEST(Window, DestroyingTheObjectDestroysItsWindowWithoutCallingBack) {
    HWND handle = nullptr;
    {
        RecordingWindow window;
        ASSERT_TRUE(window.Create(TopLevel(L"GmTestWindow")));
        handle = window.hwnd();
    }
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, SuperclassedControlPaintsItselfAndParentSeesClicks) {
    RecordingWindow parent;
    ASSERT_TRUE(parent.Create(TopLevel(L"GmTestParent")));
    ShowWindow(parent.hwnd(), SW_SHOW);
    OwnerDrawnButton button;
    CWindow::CreateParams p;
    p.className = L"GmTestButton";
    p.style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    p.x = 10;
    p.y = 10;
    p.width = 80;
    p.height = 30;
    p.parent = parent.hwnd();
    ASSERT_TRUE(button.CreateSuperclassed(L"BUTTON", p));
    EXPECT_EQ(CWindow::FromHandle(button.hwnd()), &button);
    UpdateWindow(parent.hwnd());
    RedrawWindow(button.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_GE(button.drawn, 1);

    // The system class still does the button's work: a click becomes BN_CLICKED.
    SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(parent.clickedControl, button.hwnd());
    EXPECT_EQ(button.reflectedClicks, 1);
}

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "button_look.h"
#include "skin_button.h"
#include "skin_dialog.h"
#include "skin_rescale.h"
#include "skin_scale.h"
#include "test_support.h"

namespace {

constexpr COLORREF kBackground = RGB(30, 30, 40);

// A 60 x 40 skin: the mask cuts a 10 x 10 square off the top-left corner; one
// button entry at (20, 10, 30 x 15).
class SkinFolder {
public:
    SkinFolder() { WriteSet(folder.path(), 1); }
    // The set of 200 % beside it: everything twice the size.
    void AddDoubleSet() {
        std::filesystem::create_directories(folder.path() / L"200");
        WriteSet(folder.path() / L"200", 2);
    }
    std::u16string Folder() const {
        const std::wstring w = folder.Slash();
        return std::u16string(w.begin(), w.end());
    }
    TempFolder folder;

private:
    static void WriteSet(const std::filesystem::path& set, int k) {
        WriteBmp(set / L"mask.bmp", 60 * k, 40 * k,
                 [k](int x, int y) { return x < 10 * k && y < 10 * k ? RGB(255, 255, 255) : RGB(0, 0, 0); });
        const COLORREF faces[4] = {RGB(1, 1, 100), RGB(1, 100, 1), RGB(100, 1, 1), RGB(90, 90, 90)};
        const wchar_t* names[4] = {L"n.bmp", L"o.bmp", L"d.bmp", L"x.bmp"};
        for (int i = 0; i < 4; ++i)
            WriteBmp(set / names[i], 60 * k, 40 * k, [&](int x, int y) {
                return x >= 20 * k && x < 50 * k && y >= 10 * k && y < 25 * k ? faces[i] : kBackground;
            });
        WriteText(set / L"skin_t.ini",
                  "[SCREEN]\r\nMask=mask.bmp\r\nNormal=n.bmp\r\nOver=o.bmp\r\nDown=d.bmp\r\nDisable=x.bmp\r\n"
                  "[BUTTONPOS]\r\n1=B," + std::to_string(20 * k) + "," + std::to_string(10 * k) + "," +
                      std::to_string(30 * k) + "," + std::to_string(15 * k) + ",the tip\r\n");
    }
};

class TestDialog : public CSkinDialog {
public:
    explicit TestDialog(int templateId, std::u16string file = u"skin_t.ini")
        : CSkinDialog(templateId, std::move(file)) {}
    bool initialised = false;
    bool boundAtCreate = false;
    int endAfterInit = -1;
    CSkinButton button;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override {
        boundAtCreate = CWindow::FromHandle(hwnd()) == this;
        button.CreateFromSkin(hwnd(), skin.ReadEntry(1), pictures);
    }
    BOOL OnInitDialog() override {
        initialised = true;
        if (endAfterInit >= 0) PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    void OnCancel() override { EndDialog(endAfterInit); }
};

// Buttons of entries 1 and 2, which have the dialog manager's ids IDOK and
// IDCANCEL; the dialog records their clicks and its OK and Cancel apart.
class TwoButtonDialog : public CSkinDialog {
public:
    TwoButtonDialog() : CSkinDialog(134, u"skin_t.ini") {}
    CSkinButton first, second;
    std::vector<HWND> clicks;
    int oks = 0;
    int cancels = 0;

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override {
        first.CreateFromSkin(hwnd(), skin.ReadEntry(1), pictures);
        second.CreateFromSkin(hwnd(), skin.ReadEntry(2), pictures);
    }
    bool OnDialogCommand(WORD, WORD code, HWND control) override {
        if (code != BN_CLICKED || (control != first.hwnd() && control != second.hwnd())) return false;
        clicks.push_back(control);
        return true;
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};

// The dialog manager's handling of one key, as the message loop of a dialog runs it.
void PressKey(HWND dialog, WPARAM key) {
    MSG msg{};
    msg.hwnd = dialog;
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    msg.lParam = 1;
    IsDialogMessageW(dialog, &msg);
}

}  // namespace

TEST(SkinDialog, EnterEscAndCloseStayTheDialogsOwnWithButtonsOfEntriesOneAndTwo) {
    SkinFolder skin;
    WriteText(skin.folder.path() / L"skin_t.ini",
              "[SCREEN]\r\nNormal=n.bmp\r\n[BUTTONPOS]\r\n1=A,2,2,20,10,first\r\n2=B,2,20,20,10,second\r\n");
    TwoButtonDialog dialog;
    dialog.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    ASSERT_EQ(GetDlgItem(dialog.hwnd(), IDOK), dialog.first.hwnd());
    ASSERT_EQ(GetDlgItem(dialog.hwnd(), IDCANCEL), dialog.second.hwnd());

    PressKey(dialog.hwnd(), VK_RETURN);
    PressKey(dialog.hwnd(), VK_ESCAPE);
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    // Closing even while the button with IDCANCEL's id is disabled.
    EnableWindow(dialog.second.hwnd(), FALSE);
    SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EnableWindow(dialog.second.hwnd(), TRUE);
    Pump();
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_EQ(dialog.cancels, 3);
    EXPECT_TRUE(dialog.clicks.empty());

    // The buttons' own clicks are clicks, never OK or Cancel.
    SendMessageW(dialog.second.hwnd(), BM_CLICK, 0, 0);
    SendMessageW(dialog.first.hwnd(), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(dialog.clicks, (std::vector<HWND>{dialog.second.hwnd(), dialog.first.hwnd()}));
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_EQ(dialog.cancels, 3);
}

TEST(SkinDialog, ModelessDialogTakesItsSkinSizeShapeAndControls) {
    SkinFolder skin;
    TestDialog dialog(134);
    dialog.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    EXPECT_TRUE(dialog.boundAtCreate);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(CWindow::FromHandle(dialog.hwnd()), &dialog);

    RECT window{};
    GetWindowRect(dialog.hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 60);
    EXPECT_EQ(window.bottom - window.top, 40);
    const LONG style = GetWindowLongW(dialog.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));

    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(dialog.hwnd(), shape.get()), ERROR);
    EXPECT_FALSE(PtInRegion(shape.get(), 5, 5));
    EXPECT_TRUE(PtInRegion(shape.get(), 15, 5));
    EXPECT_TRUE(PtInRegion(shape.get(), 59, 39));

    ASSERT_TRUE(dialog.button.hwnd());
    RECT b{};
    GetWindowRect(dialog.button.hwnd(), &b);
    MapWindowPoints(nullptr, dialog.hwnd(), reinterpret_cast<POINT*>(&b), 2);
    EXPECT_EQ(b.left, 20);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.right, 50);
    EXPECT_EQ(b.bottom, 25);
    // Its id is its skin entry number, so the dialog manager finds it.
    EXPECT_EQ(GetDlgCtrlID(dialog.button.hwnd()), 1);
    EXPECT_EQ(GetDlgItem(dialog.hwnd(), 1), dialog.button.hwnd());
    EXPECT_EQ(dialog.button.Tooltip().text(), L"the tip");
    EXPECT_EQ(ToolTextOf(dialog.button.hwnd()), L"the tip");
    EXPECT_EQ(PixelOf(dialog.button.Picture(ButtonPicture::kOver), 0, 0), RGB(1, 100, 1));
    EXPECT_EQ(PixelOf(dialog.Background(), 0, 0), kBackground);

    HWND handle = dialog.hwnd();
    dialog.EndDialog(0);  // modeless: destroyed
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(dialog.Background(), nullptr);
}

// A window that moves by its background, as the main window does.
class DraggedDialog : public TestDialog {
public:
    DraggedDialog() : TestDialog(134) {}

protected:
    DragMode Drag() const override { return DragMode::kSelf; }
};

POINT OriginOf(HWND window) {
    RECT rc{};
    GetWindowRect(window, &rc);
    return POINT{rc.left, rc.top};
}

TEST(SkinDialog, ABackgroundDragMovesTheWindowByThePointersWayAndAClickMovesNothing) {
    SkinFolder skin;
    DraggedDialog dialog;
    dialog.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    SetWindowPos(dialog.hwnd(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND window = dialog.hwnd();

    // Press at (5, 30), move with the button held, release: the window follows
    // the pointer's way, measured on the screen while the window itself moves.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
    EXPECT_EQ(GetCapture(), window);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25, 20));
    EXPECT_EQ(OriginOf(window).x, 120);
    EXPECT_EQ(OriginOf(window).y, 90);
    // The window is now 20 right and 10 up: the same screen point is (5, 30) in it.
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 30));
    EXPECT_EQ(OriginOf(window).x, 120);
    EXPECT_EQ(OriginOf(window).y, 90);
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 30));
    EXPECT_NE(GetCapture(), window);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    EXPECT_EQ(OriginOf(window).x, 120) << "the window still follows the pointer after the release";

    // A click: press and release in one place. And a press whose release went
    // elsewhere: the next move without the button ends it, moving nothing.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 30));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 30));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(50, 35));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 35));
    EXPECT_EQ(OriginOf(window).x, 120);
    EXPECT_EQ(OriginOf(window).y, 90);
    EXPECT_NE(GetCapture(), window);
    dialog.EndDialog(0);
}

TEST(SkinDialog, TabGoesThroughTheShownPagesButtonsAndWrapsWithinTheWindow) {
    SkinFolder skin;
    TestDialog main(102);
    main.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(main.CreateModeless(nullptr));
    TestDialog shown(129), hidden(131);
    for (TestDialog* page : {&shown, &hidden}) {
        page->SetSkinFolder(skin.Folder());
        ASSERT_TRUE(page->CreateModeless(main.hwnd()));
    }
    ShowWindow(shown.hwnd(), SW_SHOWNA);
    EXPECT_TRUE(GetWindowLongW(shown.hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    const HWND own = main.button.hwnd();
    EXPECT_EQ(GetNextDlgTabItem(main.hwnd(), own, FALSE), shown.button.hwnd());
    EXPECT_EQ(GetNextDlgTabItem(main.hwnd(), shown.button.hwnd(), FALSE), own) << "no wrap";
    EXPECT_EQ(GetNextDlgTabItem(main.hwnd(), own, TRUE), shown.button.hwnd()) << "Shift+Tab";
    EnableWindow(own, FALSE);
    EXPECT_EQ(GetNextDlgTabItem(main.hwnd(), shown.button.hwnd(), FALSE), shown.button.hwnd())
        << "a disabled button was a stop";
}

TEST(SkinDialog, TheFocusMarkShowsOnTheFocusedButtonOnceTheKeyboardIsUsedInTheWindow) {
    SkinFolder skin;
    TestDialog main(102);
    main.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(main.CreateModeless(nullptr));
    TestDialog page(131);
    page.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(page.CreateModeless(main.hwnd()));
    ShowWindow(page.hwnd(), SW_SHOWNA);
    SetActiveWindow(main.hwnd());
    SetFocus(page.button.hwnd());
    const COLORREF face = RGB(1, 1, 100);
    auto shows = [](CSkinButton& button, int x, int y) {
        BitmapHandle canvas = MakeBitmap(30, 15, [](int, int) { return RGB(0, 0, 0); });
        MemoryDC dc(nullptr);
        SelectGuard select(dc.get(), canvas.get());
        button.Draw(dc.get(), RECT{0, 0, 30, 15}, ODS_FOCUS);
        return GetPixel(dc.get(), x, y);
    };
    // Opened with no key pressed yet: no mark.
    EXPECT_TRUE(SendMessageW(main.hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    EXPECT_EQ(shows(page.button, 1, 1), face);
    // Tab, in a page of the window, turns the window's cues on.
    SendMessageW(main.hwnd(), WM_NEXTDLGCTL, 0, 0);
    SetFocus(page.button.hwnd());
    EXPECT_FALSE(SendMessageW(main.hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
    // A frame just inside the edge; the edge and the face within untouched.
    EXPECT_EQ(shows(page.button, 1, 1), kFocusMarkColor);
    EXPECT_EQ(shows(page.button, 28, 7), kFocusMarkColor);
    EXPECT_EQ(shows(page.button, 15, 13), kFocusMarkColor);
    EXPECT_EQ(shows(page.button, 0, 0), face);
    EXPECT_EQ(shows(page.button, 4, 4), face);
    EXPECT_EQ(shows(main.button, 1, 1), face) << "a mark on a button without the focus";
}

TEST(SkinDialog, TemplatesGiveTheirStyles) {
    SkinFolder skin;
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateTopLevel());
    TestDialog page(131);
    page.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(page.CreateModeless(parent.hwnd()));
    EXPECT_TRUE(GetWindowLongW(page.hwnd(), GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetParent(page.hwnd()), parent.hwnd());

    TestDialog main(102);
    main.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(main.CreateModeless(nullptr));
    EXPECT_TRUE(GetWindowLongW(main.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowVisible(main.hwnd()));

    TestDialog unknown(777);
    EXPECT_FALSE(unknown.CreateModeless(nullptr));
}

TEST(SkinDialog, ModalDialogRunsUntilEnded) {
    SkinFolder skin;
    TestDialog dialog(134);
    dialog.SetSkinFolder(skin.Folder());
    dialog.endAfterInit = 42;
    EXPECT_EQ(dialog.DoModal(nullptr), 42);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_EQ(dialog.hwnd(), nullptr);
    // The binding was used up: the next dialog binds to its own object.
    TestDialog second(134);
    second.SetSkinFolder(skin.Folder());
    second.endAfterInit = 7;
    EXPECT_EQ(second.DoModal(nullptr), 7);
}

TEST(SkinDialog, MissingSkinStillOpensARectangularWindow) {
    TempFolder empty;
    TestDialog dialog(134, u"nothing_here.ini");
    const std::wstring folder = empty.Slash();
    dialog.SetSkinFolder(std::u16string(folder.begin(), folder.end()));
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    RECT window{};
    GetWindowRect(dialog.hwnd(), &window);
    EXPECT_GT(window.right - window.left, 0);  // the template's size stays
    EXPECT_GT(window.bottom - window.top, 0);
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(dialog.hwnd(), shape.get()), ERROR);  // no region
    EXPECT_EQ(dialog.AppliedRegion(), nullptr);
    UpdateWindow(dialog.hwnd());  // paints without a background picture
    Pump();
}

TEST(SkinDialog, AWindowWithItsOwnFolderTakesThatFoldersSetOfANewScaleOrStaysAsItIs) {
    ScaleRestorer restore;
    SkinFolder skin;
    skin.AddDoubleSet();
    TestDialog dialog(134);
    dialog.SetSkinFolder(skin.Folder());
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    const auto size = [&] {
        RECT window{};
        GetWindowRect(dialog.hwnd(), &window);
        return std::vector<LONG>{window.right - window.left, window.bottom - window.top};
    };
    const auto button = [&] {
        const RECT r = RectInParent(dialog.button.hwnd());
        return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
    };
    const auto rescale = [&](int from, int to) {
        SetSkinScale(to);
        const SkinRescale change{UiScale{from}, UiScale{to}, nullptr};
        SendMessageW(dialog.hwnd(), SkinRescaleMessage(), 0, reinterpret_cast<LPARAM>(&change));
    };
    ASSERT_EQ(size(), (std::vector<LONG>{60, 40}));

    // The folder has no 150 % set: pictures, size and places stay.
    rescale(100, 150);
    EXPECT_EQ(size(), (std::vector<LONG>{60, 40}));
    EXPECT_EQ(button(), (std::vector<LONG>{20, 10, 50, 25}));
    EXPECT_EQ(dialog.SkinFolderPath(), skin.Folder());
    // Its 200 % set is taken, from the 100 % one the window still shows.
    rescale(150, 200);
    EXPECT_EQ(size(), (std::vector<LONG>{120, 80}));
    EXPECT_EQ(button(), (std::vector<LONG>{40, 20, 100, 50}));
    EXPECT_EQ(dialog.SkinFolderPath(), skin.Folder() + u"200\\");
    BITMAP picture{};
    ASSERT_TRUE(GetObjectW(dialog.button.Picture(ButtonPicture::kNormal), sizeof picture, &picture));
    EXPECT_EQ(std::pair(picture.bmWidth, picture.bmHeight), std::pair(60L, 30L));
    rescale(200, 100);
    EXPECT_EQ(size(), (std::vector<LONG>{60, 40}));
    EXPECT_EQ(button(), (std::vector<LONG>{20, 10, 50, 25}));
    DestroyWindow(dialog.hwnd());
}

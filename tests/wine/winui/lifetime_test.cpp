// Windows whose objects go away at awkward moments: inside their own
// handlers, through their destructors, while another window is being bound.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialog_base.h"
#include "window.h"

namespace {

std::vector<std::string> g_events;

CWindow::CreateParams TopLevel(const wchar_t* cls) {
    CWindow::CreateParams p;
    p.className = cls;
    p.title = L"lifetime test";
    p.style = WS_POPUP;
    p.x = 10;
    p.y = 10;
    p.width = 200;
    p.height = 100;
    return p;
}

// Destroys its own window from inside a click and keeps working afterwards,
// as a close button's handler does.
class SelfDestroyingWindow : public CWindow {
public:
    HWND seenAfterDestroy = nullptr;

protected:
    void OnDestroy() override { g_events.push_back("destroy"); }
    void OnFinalMessage() override { g_events.push_back("final"); }
    bool OnLButtonDown(POINT, UINT) override {
        DestroyWindow(hwnd());
        // Still inside the handler: the object must still know its window.
        seenAfterDestroy = hwnd();
        g_events.push_back("handler returns");
        return true;
    }
};

// A window on the heap that deletes itself when its window is gone, or
// straight from a handler. Freed memory is poisoned and kept, so a write into
// the object after its deletion shows.
class HeapWindow : public CWindow {
public:
    static void* operator new(size_t size) {
        void* p = ::operator new(size);
        std::memset(p, 0, size);
        return p;
    }
    static void operator delete(void* p, size_t size) {
        std::memset(p, 0xDD, size);
        Graveyard().push_back({static_cast<unsigned char*>(p), size});
    }
    struct Grave {
        unsigned char* bytes;
        size_t size;
    };
    static std::vector<Grave>& Graveyard() {
        static std::vector<Grave> graves;
        return graves;
    }
    static bool GravesUntouched() {
        for (const Grave& g : Graveyard())
            for (size_t i = 0; i < g.size; ++i)
                if (g.bytes[i] != 0xDD) return false;
        return true;
    }

protected:
    void OnFinalMessage() override {
        g_events.push_back("final");
        delete this;
    }
    bool OnLButtonDown(POINT, UINT) override {
        DestroyWindow(hwnd());
        g_events.push_back("after destroy");
        return true;
    }
    bool OnRButtonDown(POINT, UINT) override {
        g_events.push_back("delete");
        delete this;
        return true;
    }
};

constexpr char16_t kTestDialogClass[] = u"GmTestDialog";

DialogTemplateSpec PopupTemplate() {
    DialogTemplateSpec layout;
    layout.style = dialog_style::kPopup | dialog_style::kSetFont;
    layout.width = 100;
    layout.height = 60;
    layout.pointSize = 10;
    layout.faceName = u"Arial";
    layout.className = kTestDialogClass;
    return layout;
}

class TestDialog : public CDialogBase {
public:
    TestDialog() : CDialogBase(PopupTemplate()) {}
    CWindow* boundAtInit = nullptr;
    TestDialog* nested = nullptr;  // not owned
    bool nestedCreated = false;

protected:
    BOOL OnInitDialog() override {
        boundAtInit = FromHandle(hwnd());
        if (nested) nestedCreated = nested->CreateModeless(nullptr);
        return TRUE;
    }
};

bool IsLiveGdiObject(HGDIOBJ object) { return object && GetObjectType(object) != 0; }

}  // namespace

TEST(WindowLifetime, AWindowDestroyedInsideItsOwnHandlerEndsAfterTheHandler) {
    g_events.clear();
    SelfDestroyingWindow window;
    ASSERT_TRUE(window.Create(TopLevel(L"GmTestSelfDestroying")));
    HWND handle = window.hwnd();
    SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window.seenAfterDestroy, handle);
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"destroy", "handler returns", "final"}));
    EXPECT_EQ(CWindow::FromHandle(handle), nullptr);
}

TEST(WindowLifetime, AnObjectThatDeletesItselfIsNotTouchedAgain) {
    HeapWindow::Graveyard().clear();
    g_events.clear();

    // Deleted from the final message that its own click handler caused.
    auto* first = new HeapWindow;
    ASSERT_TRUE(first->Create(TopLevel(L"GmTestHeapWindow")));
    HWND firstHandle = first->hwnd();
    SendMessageW(firstHandle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(firstHandle));
    EXPECT_EQ(g_events, (std::vector<std::string>{"after destroy", "final"}));

    // Deleted straight from a handler while its window lives: the destructor
    // destroys the window and nothing comes back to the object.
    g_events.clear();
    auto* second = new HeapWindow;
    ASSERT_TRUE(second->Create(TopLevel(L"GmTestHeapWindow")));
    HWND secondHandle = second->hwnd();
    SendMessageW(secondHandle, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(IsWindow(secondHandle));
    EXPECT_EQ(g_events, (std::vector<std::string>{"delete"}));

    ASSERT_EQ(HeapWindow::Graveyard().size(), 2u);
    EXPECT_TRUE(HeapWindow::GravesUntouched()) << "the framework wrote into a deleted object";
}

TEST(WindowLifetime, ADialogDestroyedThroughItsDestructorGoesThroughTheDialogManager) {
    HFONT font = nullptr;
    HWND handle = nullptr;
    {
        TestDialog dialog;
        ASSERT_TRUE(dialog.CreateModeless(nullptr));
        handle = dialog.hwnd();
        font = reinterpret_cast<HFONT>(SendMessageW(handle, WM_GETFONT, 0, 0));
        ASSERT_TRUE(IsLiveGdiObject(font)) << "the template's font was not made";
    }
    EXPECT_FALSE(IsWindow(handle));
    // The dialog manager made the template's font and frees it when its
    // window procedure sees the window go; DefWindowProc would leak it.
    EXPECT_FALSE(IsLiveGdiObject(font));
}

TEST(WindowLifetime, EndingAModelessDialogFromItsOwnCommand) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    HWND handle = dialog.hwnd();
    SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(dialog.hwnd(), nullptr);
    // The object can make its window again.
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    EXPECT_EQ(CWindow::FromHandle(dialog.hwnd()), &dialog);
}

TEST(WindowLifetime, ADialogCreatedWhileAnotherIsBeingBoundBindsToItsOwnObject) {
    TestDialog inner;
    TestDialog outer;
    outer.nested = &inner;
    ASSERT_TRUE(outer.CreateModeless(nullptr));
    ASSERT_TRUE(outer.nestedCreated);
    EXPECT_NE(outer.hwnd(), inner.hwnd());
    EXPECT_EQ(outer.boundAtInit, &outer);
    EXPECT_EQ(inner.boundAtInit, &inner);
    EXPECT_EQ(CWindow::FromHandle(outer.hwnd()), &outer);
    EXPECT_EQ(CWindow::FromHandle(inner.hwnd()), &inner);

    // The binding was consumed: a dialog of the same class made by hand later
    // binds to nothing.
    std::vector<uint16_t> words = BuildDialogTemplate(PopupTemplate());
    HWND stray = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()),
                                            nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(CWindow::FromHandle(stray), nullptr);
    DestroyWindow(stray);
}

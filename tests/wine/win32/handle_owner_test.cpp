// The owners close or destroy what they hold once: at the end of their scope,
// on Reset, never after a move took the handle away or Release gave it up.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "gdi.h"
#include "kernel_handle.h"
#include "user_handles.h"

namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

bool IsIcon(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    // GetIconInfo hands out copies of the icon's bitmaps.
    const BitmapHandle mask(info.hbmMask), color(info.hbmColor);
    return true;
}

HICON MakeIcon() {
    const BYTE andMask[32 * 4] = {};
    const BYTE xorMask[32 * 4] = {};
    return CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
}

}  // namespace

TEST(KernelHandle, ClosesOnceThroughMovesResetAndScope) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(first && second);
    {
        KernelHandle a(first);
        KernelHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), first);
        EXPECT_TRUE(IsOpen(first)) << "a move closes nothing";
        b.Reset(second);
        EXPECT_FALSE(IsOpen(first));
        EXPECT_TRUE(IsOpen(second));
        KernelHandle c;
        c = std::move(b);
        EXPECT_TRUE(IsOpen(second));
    }
    EXPECT_FALSE(IsOpen(second)) << "closed at the end of the scope";

    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        KernelHandle d(kept);
        EXPECT_EQ(d.Release(), kept);
    }
    EXPECT_TRUE(IsOpen(kept)) << "Release gives ownership up";
    const KernelHandle adopted(kept);

    // Both ways the API says "none" count as empty.
    EXPECT_FALSE(KernelHandle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(KernelHandle(nullptr));
}

TEST(UserHandles, MenusAndIconsAreDestroyedOnce) {
    HMENU menu = CreatePopupMenu();
    ASSERT_TRUE(menu);
    {
        MenuHandle a(menu);
        MenuHandle b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_TRUE(IsMenu(menu));
    }
    EXPECT_FALSE(IsMenu(menu));

    // A submenu handed to its parent is destroyed with the parent, not twice.
    MenuHandle parent(CreatePopupMenu());
    MenuHandle child(CreatePopupMenu());
    HMENU childMenu = child.get();
    ASSERT_TRUE(AppendMenuW(parent.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(child.Release()), L"sub"));
    EXPECT_FALSE(child);
    parent.Reset();
    EXPECT_FALSE(IsMenu(childMenu));

    HICON first = MakeIcon();
    HICON second = MakeIcon();
    ASSERT_TRUE(first && second);
    {
        IconHandle icon(first);
        icon.Reset(second);
        EXPECT_FALSE(IsIcon(first));
        EXPECT_TRUE(IsIcon(second));
        IconHandle moved;
        moved = std::move(icon);
        EXPECT_EQ(moved.get(), second);
        EXPECT_TRUE(IsIcon(second));
    }
    EXPECT_FALSE(IsIcon(second));
}

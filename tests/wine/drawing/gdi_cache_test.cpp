#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "gdi_cache.h"

namespace {

LOGFONTW FontOf(HFONT font) {
    LOGFONTW info{};
    GetObjectW(font, sizeof info, &info);
    return info;
}

}  // namespace

TEST(GdiCache, OneFontPerFaceHeightWidthAndWeight) {
    const HFONT arial15 = CachedFont(L"Arial", 15);
    ASSERT_TRUE(arial15);
    EXPECT_EQ(CachedFont(L"Arial", 15, 0, FW_NORMAL), arial15);
    // Every part of the key makes a font of its own.
    EXPECT_NE(CachedFont(L"Arial", 14), arial15);
    EXPECT_NE(CachedFont(L"Arial", 15, 7), arial15);
    EXPECT_NE(CachedFont(L"Arial", 15, 0, FW_BOLD), arial15);
    EXPECT_NE(CachedFont(L"Tahoma", 15), arial15);

    // Made as the skinned windows draw their texts.
    const LOGFONTW made = FontOf(CachedFont(L"Arial", 24, 0, FW_BOLD));
    EXPECT_EQ(made.lfHeight, 24);
    EXPECT_EQ(made.lfWidth, 0);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_EQ(made.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(made.lfPitchAndFamily, FF_SWISS);
    EXPECT_STREQ(made.lfFaceName, L"Arial");
    EXPECT_FALSE(made.lfItalic || made.lfUnderline || made.lfStrikeOut);
}

TEST(GdiCache, OneBrushAndOnePenPerColour) {
    const HBRUSH dark = CachedBrush(RGB(16, 16, 16));
    ASSERT_TRUE(dark);
    EXPECT_EQ(CachedBrush(RGB(16, 16, 16)), dark);
    EXPECT_NE(CachedBrush(RGB(16, 16, 17)), dark);
    LOGBRUSH brush{};
    GetObjectW(dark, sizeof brush, &brush);
    EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(brush.lbColor, RGB(16, 16, 16));

    const HPEN purple = CachedPen(RGB(128, 21, 153));
    ASSERT_TRUE(purple);
    EXPECT_EQ(CachedPen(RGB(128, 21, 153)), purple);
    LOGPEN pen{};
    GetObjectW(purple, sizeof pen, &pen);
    EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(pen.lopnWidth.x, 1);
    EXPECT_EQ(pen.lopnColor, RGB(128, 21, 153));
}

TEST(GdiCache, EachThreadHasItsOwnAndFreesItWhenItEnds) {
    const HBRUSH mine = CachedBrush(RGB(1, 2, 3));
    HBRUSH theirs = nullptr;
    std::thread([&] { theirs = CachedBrush(RGB(1, 2, 3)); }).join();
    ASSERT_TRUE(theirs);
    EXPECT_NE(theirs, mine);
    // The other thread's brush went with it; this thread's stays.
    EXPECT_EQ(GetObjectType(theirs), 0u);
    EXPECT_EQ(GetObjectType(mine), static_cast<DWORD>(OBJ_BRUSH));
}

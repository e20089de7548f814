#include <gtest/gtest.h>

#include <vector>

#include "bitmap_region.h"
#include "test_support.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

int RegionKind(HRGN region, RECT* box) { return GetRgnBox(region, box); }

}  // namespace

TEST(BitmapToRegion, CheckerboardInBatchesEqualsOneCall) {
    // 100 x 100 checkerboard: 5000 one-pixel runs, so three creation batches.
    BitmapHandle mask = MakeBitmap(100, 100, [](int x, int y) { return (x + y) % 2 ? kWhite : RGB(0, 0, 0); });
    RegionHandle region = BitmapToRegion(mask.get(), kWhite, 0);
    ASSERT_TRUE(region);

    std::vector<RECT> runs;
    for (int y = 0; y < 100; ++y)
        for (int x = y % 2; x < 100; x += 2) runs.push_back(RECT{x, y, x + 1, y + 1});
    RegionHandle single = RegionFromRects(runs.data(), runs.size(), RECT{0, 0, 100, 100});
    ASSERT_TRUE(single);
    EXPECT_TRUE(EqualRgn(region.get(), single.get()));
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 99, 99));
    EXPECT_FALSE(PtInRegion(region.get(), 98, 99));
}

TEST(BitmapToRegion, AllWhiteIsEmptyAndNoWhiteIsTheFullRectangle) {
    BitmapHandle white = MakeBitmap(30, 20, [](int, int) { return kWhite; });
    RegionHandle none = BitmapToRegion(white.get(), kWhite, 0);
    ASSERT_TRUE(none);  // a region, but an empty one: the window vanishes yet exists
    RECT box{};
    EXPECT_EQ(RegionKind(none.get(), &box), NULLREGION);

    BitmapHandle black = MakeBitmap(30, 20, [](int, int) { return RGB(0, 0, 0); });
    RegionHandle full = BitmapToRegion(black.get(), kWhite, 0);
    ASSERT_TRUE(full);
    EXPECT_EQ(RegionKind(full.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(box.bottom, 20);

    EXPECT_FALSE(BitmapToRegion(nullptr, kWhite, 0));
}

TEST(BitmapToRegion, ShapeIsUprightAndNearWhiteStaysInside) {
    // Only the top-left 3 x 2 block is inside, plus one near-white pixel.
    BitmapHandle mask = MakeBitmap(40, 30, [](int x, int y) {
        if (x < 3 && y < 2) return RGB(10, 10, 10);
        if (x == 20 && y == 25) return RGB(254, 255, 255);
        return kWhite;
    });
    RegionHandle region = BitmapToRegion(mask.get(), kWhite, 0);
    ASSERT_TRUE(region);
    EXPECT_TRUE(PtInRegion(region.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.get(), 2, 1));
    EXPECT_FALSE(PtInRegion(region.get(), 3, 1));
    EXPECT_FALSE(PtInRegion(region.get(), 0, 29));  // not upside down
    EXPECT_TRUE(PtInRegion(region.get(), 20, 25));
    EXPECT_FALSE(PtInRegion(region.get(), 21, 25));
}

TEST(BitmapToRegion, WorksFromAScreenCompatibleBitmap) {
    // Skin pictures arrive in whatever format the loader made; a device bitmap too.
    ClientDC screen(nullptr);
    BitmapHandle device(CreateCompatibleBitmap(screen.get(), 16, 16));
    {
        MemoryDC dc(screen.get());
        SelectGuard select(dc.get(), device.get());
        BrushHandle white(CreateSolidBrush(kWhite));
        BrushHandle dark(CreateSolidBrush(RGB(0, 0, 0)));
        RECT all{0, 0, 16, 16}, corner{8, 8, 16, 16};
        FillRect(dc.get(), &all, white.get());
        FillRect(dc.get(), &corner, dark.get());
    }
    RegionHandle region = BitmapToRegion(device.get(), kWhite, 0);
    ASSERT_TRUE(region);
    RECT box{};
    EXPECT_EQ(GetRgnBox(region.get(), &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 8);
    EXPECT_EQ(box.top, 8);
    EXPECT_EQ(box.right, 16);
    EXPECT_EQ(box.bottom, 16);
}

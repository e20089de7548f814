#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mask_runs.h"

namespace {

constexpr SkinColor kWhite = SkinRgb(255, 255, 255);

// A picture in 32-bit BGRX pixels, stored top-down or bottom-up like a DIB.
class Picture {
public:
    Picture(int w, int h, bool bottomUp = false, size_t padding = 0)
        : w_(w), h_(h), bottomUp_(bottomUp), stride_(static_cast<size_t>(w) * 4 + padding),
          bytes_(stride_ * static_cast<size_t>(h), 0xEE) {
        Fill(kWhite);
    }
    void Fill(SkinColor c) {
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) Set(x, y, c);
    }
    void Set(int x, int y, SkinColor c) {
        const int row = bottomUp_ ? h_ - 1 - y : y;
        uint8_t* px = bytes_.data() + static_cast<size_t>(row) * stride_ + 4 * static_cast<size_t>(x);
        px[0] = SkinBlue(c);
        px[1] = SkinGreen(c);
        px[2] = SkinRed(c);
        px[3] = 0;
    }
    MaskPixels View() const { return MaskPixels{bytes_.data(), w_, h_, stride_, bottomUp_}; }

private:
    int w_, h_;
    bool bottomUp_;
    size_t stride_;
    std::vector<uint8_t> bytes_;
};

std::vector<MaskRect> Runs(const Picture& p, SkinColor tolerance = 0) {
    return CollectMaskRuns(p.View(), kWhite, tolerance);
}

}  // namespace

TEST(MaskRuns, RunsAreExactToThePixel) {
    Picture p(8, 3);
    p.Set(0, 0, 0);
    p.Set(1, 0, 0);
    p.Set(5, 0, SkinRgb(10, 20, 30));
    p.Set(7, 1, 0);
    for (int x = 0; x < 8; ++x) p.Set(x, 2, 0);
    const std::vector<MaskRect> expected{{0, 0, 2, 1}, {5, 0, 6, 1}, {7, 1, 8, 2}, {0, 2, 8, 3}};
    EXPECT_EQ(Runs(p), expected);
}

TEST(MaskRuns, BottomUpRowsAndPaddedStrideKeepThePictureUpright) {
    for (bool bottomUp : {false, true}) {
        Picture p(5, 4, bottomUp, 12);
        p.Set(1, 0, 0);   // top row
        p.Set(3, 3, 0);   // bottom row
        const std::vector<MaskRect> expected{{1, 0, 2, 1}, {3, 3, 4, 4}};
        EXPECT_EQ(Runs(p), expected) << "bottomUp=" << bottomUp;
    }
}

TEST(MaskRuns, OnlyPureWhiteIsTransparentAtToleranceZero) {
    Picture p(4, 1);
    p.Set(0, 0, SkinRgb(254, 255, 255));
    p.Set(1, 0, SkinRgb(255, 254, 255));
    p.Set(2, 0, SkinRgb(255, 255, 254));
    const std::vector<MaskRect> expected{{0, 0, 3, 1}};
    EXPECT_EQ(Runs(p), expected);

    // A tolerance widens the band upwards from the transparent colour.
    Picture q(3, 1);
    q.Set(0, 0, SkinRgb(250, 250, 250));
    q.Set(1, 0, SkinRgb(240, 250, 250));
    EXPECT_EQ(CollectMaskRuns(q.View(), SkinRgb(245, 245, 245), SkinRgb(5, 5, 5)),
              (std::vector<MaskRect>{{1, 0, 3, 1}}));
    // The band's top is clamped at 255, not wrapped round to a low value.
    Picture r(2, 1);
    r.Set(0, 0, SkinRgb(3, 3, 3));
    EXPECT_EQ(CollectMaskRuns(r.View(), SkinRgb(250, 250, 250), SkinRgb(20, 20, 20)),
              (std::vector<MaskRect>{{0, 0, 1, 1}}));
}

TEST(MaskRuns, AllWhiteGivesNothingAndNoWhiteGivesFullRows) {
    Picture white(6, 5);
    int calls = 0;
    EXPECT_TRUE(ScanMaskRuns(white.View(), kWhite, 0, [&](auto, const MaskRect&) { return ++calls, true; }));
    EXPECT_EQ(calls, 0);

    Picture black(6, 5);
    black.Fill(0);
    const auto runs = Runs(black);
    ASSERT_EQ(runs.size(), 5u);
    for (int y = 0; y < 5; ++y) EXPECT_EQ(runs[y], (MaskRect{0, y, 6, y + 1}));
}

TEST(MaskRuns, CheckerboardIsSplitIntoBatchesWithTheirOwnBounds) {
    Picture p(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if ((x + y) % 2 == 0) p.Set(x, y, 0);
    std::vector<size_t> sizes;
    std::vector<MaskRect> bounds;
    std::vector<MaskRect> all;
    ASSERT_TRUE(ScanMaskRuns(p.View(), kWhite, 0, [&](std::span<const MaskRect> rects, const MaskRect& box) {
        sizes.push_back(rects.size());
        bounds.push_back(box);
        all.insert(all.end(), rects.begin(), rects.end());
        return true;
    }));
    EXPECT_EQ(sizes, (std::vector<size_t>{2000, 2000, 1000}));
    ASSERT_EQ(all.size(), 5000u);
    // 50 runs per row: rows 0-39 in the first batch, 40-79 in the second.
    EXPECT_EQ(bounds[0], (MaskRect{0, 0, 100, 40}));
    EXPECT_EQ(bounds[1], (MaskRect{0, 40, 100, 80}));
    EXPECT_EQ(bounds[2], (MaskRect{0, 80, 100, 100}));
    EXPECT_EQ(all.front(), (MaskRect{0, 0, 1, 1}));
    EXPECT_EQ(all[50], (MaskRect{1, 1, 2, 2}));
    EXPECT_EQ(all.back(), (MaskRect{99, 99, 100, 100}));
}

TEST(MaskRuns, UnusablePixelsOrAStoppingSinkFail) {
    Picture p(4, 4);
    p.Fill(0);
    MaskPixels bad = p.View();
    bad.stride = 8;  // shorter than a row
    EXPECT_FALSE(ScanMaskRuns(bad, kWhite, 0, [](auto, const MaskRect&) { return true; }));
    MaskPixels null{};
    null.width = 4;
    null.height = 4;
    null.stride = 16;
    EXPECT_FALSE(ScanMaskRuns(null, kWhite, 0, [](auto, const MaskRect&) { return true; }));

    int calls = 0;
    EXPECT_FALSE(ScanMaskRuns(p.View(), kWhite, 0, [&](auto, const MaskRect&) { return ++calls, false; }, 2));
    EXPECT_EQ(calls, 1);
}

TEST(MaskRuns, TwentyFourBitRowsAreReadToo) {
    // 3 x 2 pixels, 3 bytes each, rows padded to 12 bytes; bottom-up.
    std::vector<uint8_t> bytes(24, 0xFF);
    auto set = [&](int x, int memoryRow) {
        for (int i = 0; i < 3; ++i) bytes[static_cast<size_t>(memoryRow) * 12 + 3 * x + i] = 0;
    };
    set(1, 1);  // the top row of the picture, stored last
    set(2, 0);
    MaskPixels view{bytes.data(), 3, 2, 12, true, 3};
    EXPECT_EQ(CollectMaskRuns(view, kWhite, 0), (std::vector<MaskRect>{{1, 0, 2, 1}, {2, 1, 3, 2}}));
    view.bytesPerPixel = 2;
    EXPECT_TRUE(CollectMaskRuns(view, kWhite, 0).empty());
}

// Option's resource pictures, read back from the bytes the build writes: the
// scroll bar parts as the bar cuts them, the row icons as the list draws them
// (red transparent), and the submenu arrow as the menu draws it. The pictures
// of every scale keep the layout of the 100 % ones at their scaled sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "art/bmp_file.h"
#include "art/byte_writer.h"
#include "art/ui_scale.h"
#include "resources/option_resources.h"

namespace {

using resources::kScrollCellHeight;
using resources::kScrollCellWidth;

std::map<std::string, std::string> Files(int percent = 100) {
    std::map<std::string, std::string> files;
    for (const auto& f : resources::BuildOptionResources(percent)) files[f.name] = f.bytes;
    return files;
}

art::Image8 Bitmap(const std::string& name, int percent = 100) {
    const auto files = Files(percent);
    EXPECT_TRUE(files.count(name)) << name;
    if (!files.count(name)) return {};
    std::string error;
    const auto image = art::DecodeBmp24(files.at(name), &error);
    EXPECT_TRUE(image.has_value()) << name << ": " << error;
    return image.value_or(art::Image8{});
}

// A part's picture as the bar takes it: the c x c square at the top of its cell.
art::Image8 Square(const art::Image8& sheet, int column, int row) {
    const int c = sheet.Width() / resources::kScrollColumns;
    const int cellH = sheet.Height() / resources::kScrollRows;
    art::Image8 out(c, c);
    for (int y = 0; y < c; ++y)
        for (int x = 0; x < c; ++x) out.At(x, y) = sheet.At(column * c + x, row * cellH + y);
    return out;
}

int Luma(const art::Pixel8& p) { return (299 * p.r + 587 * p.g + 114 * p.b) / 1000; }

// Glyph pixels of an arrow in one line across it, inside the plate's rim: those
// nearer the brightest than the darkest of the plate's inside.
int GlyphWidth(const art::Image8& square, int line, bool horizontalLine) {
    const int c = square.Width();
    const int rim = c * 3 / kScrollCellWidth;
    int lo = 255, hi = 0;
    for (int y = rim; y < c - rim; ++y)
        for (int x = rim; x < c - rim; ++x) {
            lo = std::min(lo, Luma(square.At(x, y)));
            hi = std::max(hi, Luma(square.At(x, y)));
        }
    int n = 0;
    for (int i = rim; i < c - rim; ++i)
        n += Luma(horizontalLine ? square.At(i, line) : square.At(line, i)) * 2 > lo + hi;
    return n;
}

bool IsRed(const art::Pixel8& p) { return p == resources::kTransparentRed; }

// The pictures of each scale set.
class ScaledResources : public ::testing::TestWithParam<int> {
protected:
    int Percent() const { return GetParam(); }
    int S(int v) const { return art::UiScale{GetParam()}.Scale(v); }
};

INSTANTIATE_TEST_SUITE_P(EveryScale, ScaledResources, ::testing::ValuesIn(art::kScalePercents),
                         [](const auto& info) { return std::to_string(info.param); });

TEST(OptionResources, FilesHaveTheNamesTheBuildListsAndTheSameBytesEveryRun) {
    const auto first = resources::BuildOptionResources();
    const auto second = resources::BuildOptionResources();
    std::vector<std::string> names;
    for (const auto& f : first) names.push_back(f.name);
    // skins/CMakeLists.txt names these outputs one by one.
    EXPECT_EQ(names, (std::vector<std::string>{"scrollbar_368.bmp", "row_icon_2.bmp", "row_icon_3.bmp", "row_icon_4.bmp",
                                               "row_icon_5.bmp", "submenu_145.ico"}));
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
}

TEST_P(ScaledResources, ScrollBarGridOfNineByThreeCellsInTheBarsOrder) {
    const art::Image8 sheet = Bitmap("scrollbar_368.bmp", Percent());
    // Option cuts the parts by this layout (skins/README.md): S(13) x S(16) cells.
    const int c = S(kScrollCellWidth);
    ASSERT_EQ(sheet.Width(), 9 * c);
    ASSERT_EQ(sheet.Height(), 3 * S(kScrollCellHeight));
    ASSERT_EQ(c, resources::ScrollPartSide(Percent()));
    ASSERT_EQ(S(kScrollCellHeight), resources::ScrollCellHeight(Percent()));
    if (Percent() == 100) {
        ASSERT_EQ(sheet.Width(), 117);
        ASSERT_EQ(sheet.Height(), 48);
    }

    // Arrows point the way of their column: the triangle widens away from its tip.
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const art::Image8 up = Square(sheet, resources::kUpArrow, row);
        const art::Image8 down = Square(sheet, resources::kDownArrow, row);
        const art::Image8 left = Square(sheet, resources::kLeftArrow, row);
        const art::Image8 right = Square(sheet, resources::kRightArrow, row);
        // Lines 5 and 7 of the 13-pixel part, both across the triangle at every scale.
        const int near = (5 * 2 + 1) * c / (2 * kScrollCellWidth);
        const int far = (7 * 2 + 1) * c / (2 * kScrollCellWidth);
        EXPECT_LT(GlyphWidth(up, near, true), GlyphWidth(up, far, true));
        EXPECT_GT(GlyphWidth(down, near, true), GlyphWidth(down, far, true));
        EXPECT_LT(GlyphWidth(left, near, false), GlyphWidth(left, far, false));
        EXPECT_GT(GlyphWidth(right, near, false), GlyphWidth(right, far, false));
        EXPECT_GT(GlyphWidth(down, far, true), 0);
    }

    // Tracks are tiled along the bar: every line along a track is one colour.
    for (int row = 0; row < 3; ++row) {
        const art::Image8 vertical = Square(sheet, resources::kVerticalTrack, row);
        const art::Image8 horizontal = Square(sheet, resources::kHorizontalTrack, row);
        for (int a = 0; a < c; ++a)
            for (int b = 1; b < c; ++b) {
                ASSERT_EQ(vertical.At(a, b), vertical.At(a, 0)) << "row " << row;
                ASSERT_EQ(horizontal.At(b, a), horizontal.At(0, a)) << "row " << row;
            }
    }

    // The thumb is drawn from its first and last ends (6 pixels at 100 %) with a
    // middle line tiled between: its two ends mirror each other, and the one or
    // two lines between them are alike.
    const int end = resources::ScrollThumbEnd(Percent());
    if (Percent() == 100) {
        EXPECT_EQ(end, 6);
    }
    ASSERT_GE(c - 2 * end, 1);
    ASSERT_LE(c - 2 * end, 2);
    for (int row = 0; row < 3; ++row) {
        const art::Image8 vertical = Square(sheet, resources::kVerticalThumb, row);
        const art::Image8 horizontal = Square(sheet, resources::kHorizontalThumb, row);
        for (int a = 0; a < c; ++a) {
            for (int b = 0; b < end; ++b) {
                ASSERT_EQ(vertical.At(a, b), vertical.At(a, c - 1 - b)) << "row " << row;
                ASSERT_EQ(horizontal.At(b, a), horizontal.At(c - 1 - b, a)) << "row " << row;
            }
            ASSERT_EQ(vertical.At(a, end), vertical.At(a, c - 1 - end)) << "row " << row;
        }
        // A thumb and not a piece of track.
        EXPECT_NE(Luma(vertical.At(c / 2, end)), Luma(Square(sheet, resources::kVerticalTrack, row).At(S(4), end)));
    }
}

TEST_P(ScaledResources, ScrollBarPartsLookDifferentWhenHotAndWhenPressed) {
    const art::Image8 sheet = Bitmap("scrollbar_368.bmp", Percent());
    const int c = S(kScrollCellWidth);
    ASSERT_EQ(sheet.Width(), 9 * c);
    for (int column = 0; column < 8; ++column) {
        SCOPED_TRACE(column);
        const art::Image8 normal = Square(sheet, column, 0);
        const art::Image8 hot = Square(sheet, column, 1);
        const art::Image8 pressed = Square(sheet, column, 2);
        EXPECT_FALSE(normal == hot);
        EXPECT_FALSE(normal == pressed);
        EXPECT_FALSE(hot == pressed);
        // What the pointer is on lights up: hot and pressed are brighter than at rest.
        int sumNormal = 0, sumHot = 0, sumPressed = 0;
        for (int y = 0; y < c; ++y)
            for (int x = 0; x < c; ++x) {
                sumNormal += Luma(normal.At(x, y));
                sumHot += Luma(hot.At(x, y));
                sumPressed += Luma(pressed.At(x, y));
            }
        EXPECT_GT(sumHot, sumNormal);
        EXPECT_GT(sumPressed, sumNormal);
    }
    // The cells of one row are distinct parts.
    std::set<std::string> seen;
    for (int column = 0; column < 8; ++column) {
        const art::Image8 square = Square(sheet, column, 0);
        std::string key;
        for (int y = 0; y < c; ++y)
            for (int x = 0; x < c; ++x) key += {char(square.At(x, y).r), char(square.At(x, y).g)};
        EXPECT_TRUE(seen.insert(key).second) << "column " << column << " repeats another";
    }
}

TEST_P(ScaledResources, ScrollBarCornerSquaresServeABarOnEitherSide) {
    // The frame copies the square at (8c, 0) for a bar on the right and the one
    // at (8c, c) for a bar on the left: mirror images of each other.
    const art::Image8 sheet = Bitmap("scrollbar_368.bmp", Percent());
    const int c = S(kScrollCellWidth);
    ASSERT_EQ(sheet.Width(), 9 * c);
    bool plain = true;
    for (int y = 0; y < c; ++y)
        for (int x = 0; x < c; ++x) {
            ASSERT_EQ(sheet.At(8 * c + x, y), sheet.At(8 * c + c - 1 - x, c + y)) << x << "," << y;
            plain = plain && sheet.At(8 * c + x, y) == sheet.At(8 * c, 0);
        }
    EXPECT_FALSE(plain) << "the corner should mark where the bars meet";
    // Its grip sits in the frame's corner, the lower right for a bar on the right.
    int lowerRight = 0, upperLeft = 0;
    for (int y = 0; y < c / 2; ++y)
        for (int x = 0; x < c / 2; ++x) {
            upperLeft += Luma(sheet.At(8 * c + x, y));
            lowerRight += Luma(sheet.At(8 * c + c - 1 - x, c - 1 - y));
        }
    EXPECT_GT(lowerRight, upperLeft);
}

TEST_P(ScaledResources, RowIconsOfSixteenPixelsOnTransparentRedWithoutRedFringes) {
    std::vector<art::Image8> icons;
    const int size = S(16);
    for (int n = 2; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const art::Image8 icon = Bitmap("row_icon_" + std::to_string(n) + ".bmp", Percent());
        // Drawn at left + 5, top + 3 of a 20-pixel row, before the text at left + 26 (at 100 %).
        ASSERT_EQ(icon.Width(), size);
        ASSERT_EQ(icon.Height(), size);
        int red = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const art::Pixel8 p = icon.At(x, y);
                if (IsRed(p)) {
                    ++red;
                    continue;
                }
                // A pixel that mixes the transparent red into the picture shows as a
                // red fringe on every row colour.
                EXPECT_LE(int(p.r) - std::max(p.g, p.b), 60) << "reddish pixel at " << x << "," << y;
                EXPECT_FALSE(x == 0 || y == 0 || x == size - 1 || y == size - 1)
                    << "picture touches the edge at " << x << "," << y;
            }
        EXPECT_FALSE(IsRed(icon.At(size / 2, size / 2))) << "nothing drawn in the middle";
        EXPECT_GT(red, size * size / 5);
        EXPECT_LT(red, size * size * 4 / 5);
        icons.push_back(icon);
    }
    for (size_t i = 0; i < icons.size(); ++i)
        for (size_t j = i + 1; j < icons.size(); ++j) EXPECT_FALSE(icons[i] == icons[j]) << i + 2 << " and " << j + 2;
}

TEST_P(ScaledResources, SubmenuArrowOfSixteenPixelsPointsRightAndShowsOnBothItemColours) {
    const std::string ico = Files(Percent()).at("submenu_145.ico");
    const int n = S(16);
    ASSERT_GE(ico.size(), 6u + 16 + 40);
    ASSERT_EQ(art::ReadU16le(ico, 2), 1u);  // icon
    ASSERT_EQ(art::ReadU16le(ico, 4), 1u);  // one picture
    EXPECT_EQ(uint8_t(ico[6]), n);
    EXPECT_EQ(uint8_t(ico[7]), n);
    EXPECT_EQ(art::ReadU16le(ico, 6 + 6), 32u);
    const size_t at = art::ReadU32le(ico, 6 + 12);
    ASSERT_EQ(art::ReadU32le(ico, at), 40u);
    ASSERT_LE(at + 40 + size_t(n) * n * 4, ico.size());
    // BGRA rows, bottom-up.
    const auto pixel = [&](int x, int y) {
        const size_t p = at + 40 + (size_t(n - 1 - y) * n + x) * 4;
        return art::Pixel8{uint8_t(ico[p + 2]), uint8_t(ico[p + 1]), uint8_t(ico[p]), uint8_t(ico[p + 3])};
    };
    EXPECT_EQ(pixel(0, 0).a, 0);
    EXPECT_EQ(pixel(n - 1, n - 1).a, 0);
    int first = -1, last = -1;
    std::vector<int> heights(n, 0);
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y) {
            const art::Pixel8 p = pixel(x, y);
            // Centred on the item's height: the menu centres the picture on it.
            ASSERT_EQ(p.a, pixel(x, n - 1 - y).a) << x << "," << y;
            if (p.a < 128) continue;
            ++heights[x];
            if (first < 0) first = x;
            last = x;
            // Light on the dark items (16, 16, 16) and on the selected one (128, 21, 153).
            EXPECT_GT(Luma(p) - Luma({16, 16, 16, 255}), 150);
            EXPECT_GT(Luma(p) - Luma({128, 21, 153, 255}), 100);
        }
    ASSERT_GE(first, 0) << "nothing opaque";
    EXPECT_GT(heights[first], heights[last]) << "the arrow should point right";
    EXPECT_GE(heights[first], S(5));
}

}  // namespace

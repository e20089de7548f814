// The skins folder's loose pictures, read back from the bytes the build
// writes: the slider thumb as the program shapes it (the top-left pixel's
// colour is cut away wherever it occurs) and places it on the skins' tracks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "art/bmp_file.h"
#include "art/ui_scale.h"
#include "pictures/skin_pictures.h"
#include "skin/skin_set.h"

namespace {

using pictures::kSliderThumbHeight;
using pictures::kSliderThumbWidth;
using pictures::kThumbTransparent;

art::Image8 ThumbFromTheSkinSet() {
    const auto files = skin::BuildSkinSet().Files();
    const auto found = std::count_if(files.begin(), files.end(),
                                     [](const skin::GeneratedFile& f) { return f.name == "slider_arrow_rect.bmp"; });
    EXPECT_EQ(found, 1);
    for (const auto& f : files) {
        if (f.name != "slider_arrow_rect.bmp") continue;
        std::string error;
        const auto image = art::DecodeBmp24(f.bytes, &error);
        EXPECT_TRUE(image.has_value()) << error;
        return image.value_or(art::Image8{});
    }
    return {};
}

// The window's shape as the program builds it: every pixel but those of the
// top-left pixel's colour.
std::vector<std::vector<bool>> Shape(const art::Image8& thumb) {
    const art::Pixel8 transparent = thumb.At(0, 0);
    std::vector<std::vector<bool>> inside(thumb.Height(), std::vector<bool>(thumb.Width()));
    for (int y = 0; y < thumb.Height(); ++y)
        for (int x = 0; x < thumb.Width(); ++x) inside[y][x] = !(thumb.At(x, y) == transparent);
    return inside;
}

// Pixels reached from (x, y) through 4-neighbours with the same `inside`.
int Flood(const std::vector<std::vector<bool>>& inside, std::vector<std::vector<bool>>& seen, int x, int y) {
    const int h = int(inside.size()), w = int(inside[0].size());
    const bool kind = inside[y][x];
    std::vector<std::pair<int, int>> todo{{x, y}};
    int count = 0;
    while (!todo.empty()) {
        auto [px, py] = todo.back();
        todo.pop_back();
        if (px < 0 || py < 0 || px >= w || py >= h || seen[py][px] || inside[py][px] != kind) continue;
        seen[py][px] = true;
        ++count;
        todo.insert(todo.end(), {{px + 1, py}, {px - 1, py}, {px, py + 1}, {px, py - 1}});
    }
    return count;
}

// The thumb of each scale set: the picture of the 100 % one, S(14) x S(22) pixels.
class ScaledThumb : public ::testing::TestWithParam<int> {
protected:
    int S(int v) const { return art::UiScale{GetParam()}.Scale(v); }
    art::Image8 Thumb() const {
        if (GetParam() == 100) return ThumbFromTheSkinSet();
        std::string error;
        const auto image = art::DecodeBmp24(pictures::BuildSkinPictures(GetParam()).at(0).bytes, &error);
        EXPECT_TRUE(image.has_value()) << error;
        return image.value_or(art::Image8{});
    }
};

INSTANTIATE_TEST_SUITE_P(EveryScale, ScaledThumb, ::testing::ValuesIn(art::kScalePercents),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace

TEST(SliderThumb, IsOneFileOfTheSkinSetUnderTheNameTheProgramLoads) {
    const art::Image8 thumb = ThumbFromTheSkinSet();
    EXPECT_EQ(thumb.Width(), kSliderThumbWidth);
    EXPECT_EQ(thumb.Height(), kSliderThumbHeight);
    EXPECT_EQ(thumb, pictures::RenderSliderThumb()) << "the file holds the picture, unchanged by encoding";
}

TEST_P(ScaledThumb, ItsTransparentColourLiesOnlyOutsideOneSolidShape) {
    const art::Image8 thumb = Thumb();
    ASSERT_EQ(thumb.Width(), S(kSliderThumbWidth));
    ASSERT_EQ(thumb.Height(), S(kSliderThumbHeight));
    EXPECT_EQ(thumb.At(0, 0), kThumbTransparent) << "the top-left pixel gives the transparent colour";
    const auto inside = Shape(thumb);
    const int w = thumb.Width(), h = thumb.Height();

    // Every transparent pixel is reached from the picture's edge: the shape has no holes.
    std::vector<std::vector<bool>> seen(h, std::vector<bool>(w));
    int outside = 0, total = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            total += !inside[y][x];
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            if (edge && !inside[y][x] && !seen[y][x]) outside += Flood(inside, seen, x, y);
        }
    EXPECT_EQ(outside, total) << "the transparent colour occurs inside the thumb";

    // And the shape is in one piece, most of the picture.
    int first = -1;
    for (int i = 0; i < w * h && first < 0; ++i)
        if (inside[i / w][i % w]) first = i;
    ASSERT_GE(first, 0);
    std::vector<std::vector<bool>> piece(h, std::vector<bool>(w));
    const int shape = Flood(inside, piece, first % w, first / w);
    EXPECT_EQ(shape, w * h - total) << "the shape falls apart into pieces";
    EXPECT_GT(shape, w * h * 6 / 10);
}

TEST_P(ScaledThumb, PointsDownSymmetricallyInTheAccent) {
    const art::Image8 thumb = Thumb();
    ASSERT_EQ(thumb.Width(), S(kSliderThumbWidth));
    const auto inside = Shape(thumb);
    const int w = thumb.Width(), h = thumb.Height();
    std::vector<int> widths(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            EXPECT_EQ(inside[y][x], inside[y][w - 1 - x]) << "not symmetric at " << x << "," << y;
            widths[y] += inside[y][x];
        }
    // A head of nearly the full width, narrowing to a point at the bottom.
    for (int y = S(2); y < S(13); ++y) EXPECT_GE(widths[y], w - S(4)) << y;
    EXPECT_GE(widths[h - 1], 1);
    EXPECT_LE(widths[h - 1], S(2));
    for (int y = S(15); y < h; ++y) EXPECT_LE(widths[y], widths[y - 1]) << y;

    // Purple throughout, bright enough to read on a near-black groove.
    long r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!inside[y][x]) continue;
            const art::Pixel8 p = thumb.At(x, y);
            EXPECT_GE(p.r, p.g) << x << "," << y;
            EXPECT_GE(p.b, p.g) << x << "," << y;
            r += p.r, g += p.g, b += p.b, ++n;
        }
    ASSERT_GT(n, 0);
    EXPECT_GT(r / n, 90);
    EXPECT_GT(b / n, 110);
    EXPECT_LT(g / n, 80);
}

TEST(SliderThumb, FitsEverySliderTrackOfTheSkins) {
    // The track must be wider than the thumb (or the slider refuses to be made)
    // and tall enough to show it whole.
    const skin::SkinSet set = skin::BuildSkinSet();
    struct Track {
        const char* ini;
        int entry;
    };
    for (const Track t : {Track{"Skin_Function.ini", 6}, Track{"Skin_Function.ini", 10}, Track{"skin_gallery.ini", 36}}) {
        SCOPED_TRACE(std::string(t.ini) + " " + std::to_string(t.entry));
        const skin::BuiltSkin* window = set.Find(t.ini);
        ASSERT_NE(window, nullptr);
        const skin::Entry* entry = window->Find(t.entry);
        ASSERT_NE(entry, nullptr);
        EXPECT_GT(entry->rect.w, 4 * kSliderThumbWidth);
        EXPECT_GE(entry->rect.h, kSliderThumbHeight);
    }
}

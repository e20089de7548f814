#include <gtest/gtest.h>

#include <cmath>

#include "art/canvas.h"
#include "art/vector_font.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double TotalAlpha(const art::Canvas& c) {
    double sum = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) sum += c.At(x, y).a;
    return sum;
}

TEST(Coverage, PixelAlignedEdgesAreHardAndHalfPixelEdgesAreHalf) {
    art::Canvas c(10, 4);
    c.Fill(art::RoundedRect(art::Box{2, 0, 5.5, 4}, 0), art::Rgb(255, 255, 255));
    EXPECT_FLOAT_EQ(c.At(1, 1).a, 0.0f);
    EXPECT_FLOAT_EQ(c.At(2, 1).a, 1.0f);
    EXPECT_FLOAT_EQ(c.At(4, 1).a, 1.0f);
    EXPECT_FLOAT_EQ(c.At(5, 1).a, 0.5f);
    EXPECT_FLOAT_EQ(c.At(6, 1).a, 0.0f);
}

TEST(Coverage, AreasMatchGeometry) {
    art::Canvas disc(64, 64);
    disc.Fill(art::Circle({32.3, 31.7}, 20), art::Rgb(255, 255, 255));
    EXPECT_NEAR(TotalAlpha(disc), kPi * 400, kPi * 400 * 0.005);

    art::Canvas rounded(64, 64);
    rounded.Fill(art::RoundedRect(art::Box{4, 4, 60, 44}, 8), art::Rgb(255, 255, 255));
    EXPECT_NEAR(TotalAlpha(rounded), 56.0 * 40 - (4 - kPi) * 64, 2.0);

    art::Canvas line(64, 16);
    line.Fill(art::Segment({8, 8}, {56, 8}, 2), art::Rgb(255, 255, 255));
    EXPECT_NEAR(TotalAlpha(line), 48 * 2 + kPi, 1.0);
}

TEST(Coverage, OverlappingShapesUniteWithoutSeams) {
    const auto a = art::Circle({10, 10}, 8);
    const auto b = art::Circle({18, 10}, 8);
    const auto both = art::Union({a, b});
    // Deep inside both circles the union is as deep as the deeper one: no part may
    // be skipped only because another part already contains the point.
    for (double x = 6; x <= 22; x += 0.5) {
        const art::Point p{x, 10.25};
        EXPECT_DOUBLE_EQ(both->Distance(p), std::min(a->Distance(p), b->Distance(p))) << x;
    }
    // A rim drawn along the union shows no line where the circles cross.
    art::Canvas c(32, 20);
    c.Fill(art::InnerBand(both, 1.5), art::Rgb(255, 255, 255));
    EXPECT_FLOAT_EQ(c.At(14, 10).a, 0.0f);
}

TEST(Coverage, PolygonsOfEitherWindingFillTheSame) {
    art::Canvas cw(20, 20);
    art::Canvas ccw(20, 20);
    cw.Fill(art::Polygon({{2, 2}, {18, 2}, {10, 18}}), art::Rgb(255, 255, 255));
    ccw.Fill(art::Polygon({{10, 18}, {18, 2}, {2, 2}}), art::Rgb(255, 255, 255));
    EXPECT_NEAR(TotalAlpha(cw), 16 * 16 / 2.0, 1.0);
    EXPECT_EQ(cw.ToImage(false), ccw.ToImage(false));
}

TEST(Blending, SourceOverMixesByCoverageAndKeepsOpaqueBackgrounds) {
    art::Canvas c(2, 1, art::Rgb(0, 0, 0));
    c.Blend(0, 0, art::Rgb(200, 100, 50), 0.5);
    EXPECT_FLOAT_EQ(c.At(0, 0).r, 100.0f);
    EXPECT_FLOAT_EQ(c.At(0, 0).g, 50.0f);
    EXPECT_FLOAT_EQ(c.At(0, 0).a, 1.0f);
    c.Blend(5, 5, art::Rgb(255, 255, 255), 1.0);  // outside: ignored

    art::Canvas clear(1, 1);
    clear.Blend(0, 0, art::Rgba(255, 0, 0, 0.5f), 1.0);
    EXPECT_FLOAT_EQ(clear.At(0, 0).r, 255.0f);  // straight alpha: colour stays whole
    EXPECT_FLOAT_EQ(clear.At(0, 0).a, 0.5f);
}

TEST(Quantizing, DitherSpreadsFractionsButKeepsWholeColours) {
    art::Canvas flat(8, 8, art::Rgb(31, 27, 41));
    const art::Image8 exact = flat.ToImage(true, 3, 5);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(exact.At(x, y), (art::Pixel8{31, 27, 41, 255}));

    art::Canvas half(4, 4, art::Color{20.5f, 20.5f, 20.5f, 1});
    const art::Image8 dithered = half.ToImage(true);
    int high = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) high += dithered.At(x, y).r == 21;
    EXPECT_EQ(high, 8);  // half the pixels round up
}

TEST(VectorFont, TextIsDrawnInsideItsAdvanceAndUnknownCharactersAreBlank) {
    art::TextStyle style;
    style.capHeight = 12;
    style.stroke = 1.5;
    const double width = art::TextWidth("7741", style);
    EXPECT_GT(width, art::TextWidth("77", style));
    const auto shape = art::TextShape("7741", {5, 4}, style);
    const art::Box b = shape->Bounds();
    EXPECT_GE(b.x0, 5 - 1e-9);
    EXPECT_GE(b.y0, 4 - 1e-9);
    EXPECT_LE(b.y1, 16 + 1e-9);
    EXPECT_LE(b.x1, 5 + width + 1e-9);

    art::Canvas c(40, 20);
    c.Fill(art::TextShape("~{}", {2, 2}, style), art::Rgb(255, 255, 255));
    EXPECT_EQ(TotalAlpha(c), 0.0);
    EXPECT_FALSE(art::HasGlyphs("7741 ~"));
    EXPECT_TRUE(art::HasGlyphs("Skin gallery 7741 - A/B."));
}

}  // namespace

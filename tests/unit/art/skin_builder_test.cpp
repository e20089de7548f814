#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "art/bmp_file.h"
#include "skin/skin_builder.h"

namespace {

using skin::SkinBuilder;
using skin::State;

// Paints each state in its own flat colour and spills 4 pixels around the rectangle.
void Flat(art::Canvas& c, const art::Rect& r, State s) {
    const art::Color colours[] = {art::Rgb(10, 10, 10), art::Rgb(20, 20, 20), art::Rgb(30, 30, 30), art::Rgb(40, 40, 40)};
    c.Fill(art::RoundedRect(r.ToBox().Inflated(4), 0), colours[int(s)]);
}

art::Image8 Image(const skin::BuiltSkin& built, const std::string& suffix) {
    for (const auto& f : built.files)
        if (f.name.size() > suffix.size() && f.name.compare(f.name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return *art::DecodeBmp24(f.bytes);
    ADD_FAILURE() << "no " << suffix;
    return {};
}

TEST(SkinBuilder, EachStateImageShowsEveryControlInThatStateWithoutLeaks) {
    SkinBuilder b("skin_t.ini", "t", 60, 20);
    b.AddControl(1, "A", {4, 4, 20, 12}, "First", Flat);
    b.AddControl(2, "B", {26, 4, 20, 12}, "Second", Flat);  // 2 pixels from A: within A's spill
    const auto built = b.Build();
    const art::Image8 normal = Image(built, "_Normal.bmp");
    const art::Image8 over = Image(built, "_Over.bmp");
    const art::Image8 down = Image(built, "_Down.bmp");
    const art::Image8 off = Image(built, "_Disable.bmp");
    EXPECT_EQ(normal.At(5, 5).r, 10);
    EXPECT_EQ(over.At(5, 5).r, 20);
    EXPECT_EQ(down.At(5, 5).r, 30);
    EXPECT_EQ(off.At(5, 5).r, 40);
    // B's hover picture is B's own, not A's spilled hover colour over B's normal face.
    EXPECT_EQ(over.At(26, 10).r, 20);
    EXPECT_EQ(over.At(45, 10).r, 20);
    // The spill at rest is background decoration.
    EXPECT_EQ(normal.At(2, 2).r, 10);
}

TEST(SkinBuilder, WritesTheDescriptionInCrlfAsciiWithEntriesInNumberOrder) {
    SkinBuilder b("skin_t.ini", "t", 40, 40);
    b.AddControl(10, "Ten", {1, 2, 3, 4}, "Tip ten", Flat);
    b.AddArea(2, "Two", {5, 6, 7, 8}, "Area");
    const auto built = b.Build();
    ASSERT_EQ(built.files.front().name, "skin_t.ini");
    EXPECT_EQ(built.files.front().bytes,
              "[SCREEN]\r\nMask=t_Mask.bmp\r\nNormal=t_Normal.bmp\r\nOver=t_Over.bmp\r\nDown=t_Down.bmp\r\n"
              "Disable=t_Disable.bmp\r\n\r\n[BUTTONPOS]\r\n2=Two,5,6,7,8,Area\r\n10=Ten,1,2,3,4,Tip ten\r\n");
    EXPECT_EQ(built.files.size(), 6u);
}

TEST(SkinBuilder, MaskIsWhiteExactlyOutsideTheOutline) {
    SkinBuilder b("skin_t.ini", "t", 30, 30);
    b.SetOutline(art::Circle({15, 15}, 14));
    const auto built = b.Build();
    const art::Image8 mask = Image(built, "_Mask.bmp");
    const art::Image8 normal = Image(built, "_Normal.bmp");
    int grey = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const art::Pixel8 p = mask.At(x, y);
            const bool white = p == art::Pixel8{255, 255, 255, 255};
            grey += !white && !(p == art::Pixel8{0, 0, 0, 255});
            const double dx = x + 0.5 - 15, dy = y + 0.5 - 15;
            EXPECT_EQ(white, dx * dx + dy * dy > 14 * 14) << x << "," << y;
        }
    EXPECT_EQ(grey, 0);
    EXPECT_EQ(mask.At(0, 0), (art::Pixel8{255, 255, 255, 255}));
    EXPECT_EQ(normal.At(0, 0), (art::Pixel8{0, 0, 0, 255}));
}

TEST(SkinBuilder, RefusesLayoutsThatTheProgramsCouldNotUse) {
    const auto fails = [](auto add) {
        SkinBuilder b("skin_t.ini", "t", 40, 40);
        b.SetOutline(art::RoundedRect(art::Box{0, 0, 40, 40}, 12));
        add(b);
        EXPECT_THROW(b.Build(), std::runtime_error);
    };
    fails([](SkinBuilder& b) { b.AddControl(1, "A", {30, 30, 20, 5}, "Off the edge", Flat); });
    fails([](SkinBuilder& b) { b.AddControl(1, "A", {0, 0, 10, 10}, "In the cut corner", Flat); });
    fails([](SkinBuilder& b) { b.AddArea(1, "A", {10, 10, 5, 5}, "Comma, in the text"); });
    fails([](SkinBuilder& b) { b.AddArea(1, "A,B", {10, 10, 5, 5}, "Comma in the name"); });
    fails([](SkinBuilder& b) { b.AddArea(1, "A", {10, 10, 0, 5}, "No width"); });
    fails([](SkinBuilder& b) {
        b.AddArea(3, "A", {10, 10, 5, 5}, "Once");
        b.AddArea(3, "B", {12, 12, 5, 5}, "Twice");
    });
}

TEST(SkinBuilder, PageContinuesItsParentsBackgroundAndDithersInStep) {
    SkinBuilder parent("skin_p.ini", "p", 40, 30);
    parent.Background().Fill(art::RoundedRect(parent.Bounds(), 0),
                             art::LinearGradient({0, 0}, {40, 30}, art::Rgb(10, 10, 10), art::Rgb(50, 60, 70)));
    parent.AddArea(7, "Area", {9, 7, 20, 15}, "Page");
    const auto builtParent = parent.Build();
    SkinBuilder page("skin_c.ini", "c", builtParent, 7);
    EXPECT_EQ(page.Width(), 20);
    EXPECT_EQ(page.Height(), 15);
    const auto builtPage = page.Build();
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(builtPage.normal.At(x, y), builtParent.normal.At(x + 9, y + 7));
    EXPECT_THROW(SkinBuilder("skin_c.ini", "c", builtParent, 8), std::runtime_error);
}

}  // namespace

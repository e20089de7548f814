// The generated skin set, read back from disk the way the programs read it:
// description files and their entries through the skin engine's own reader
// (SkinDescription, ParseButtonPos), images as bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../../support/temp_folder.h"
#include "art/bmp_file.h"
#include "art/ui_scale.h"
#include "button_pos.h"
#include "ini_file.h"
#include "skin/file_output.h"
#include "skin/skin_set.h"
#include "skin_description.h"
#include "text_codec.h"
#include "windows/mouse_layout.h"
// Option's copy of the rounding rule, in its portable core.
#if __has_include("../../../option/core/ui_scale.h")
#include "../../../option/core/ui_scale.h"
#endif

namespace {

namespace fs = std::filesystem;

struct Pos {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
    std::string text;
};

// An entry as the programs read it, through the skin engine's own parser.
Pos ToPos(const ButtonPos& entry) {
    Pos p;
    p.name = U16ToUtf8(entry.Name());
    p.x = entry.rect.left;
    p.y = entry.rect.top;
    p.w = entry.rect.Width();
    p.h = entry.rect.Height();
    p.text = U16ToUtf8(entry.Text());
    return p;
}

struct LoadedSkin {
    std::map<std::string, art::Image8> images;  // by SCREEN key
    std::map<int, Pos> entries;
    std::string raw;
};

class GeneratedSkins : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder;
        std::string error;
        ASSERT_TRUE(skin::WriteFiles(folder_->path(), skin::BuildSkinSet().Files(), &error)) << error;
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

    // The skin as the programs load it: SkinDescription reads the file, and
    // its pictures are decoded from the names it gives.
    static LoadedSkin Load(const std::string& iniName) {
        LoadedSkin s;
        const fs::path path = *folder_ / iniName;
        std::ifstream in(path, std::ios::binary);
        s.raw.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const SkinDescription skin(Utf8ToU16(folder_->path().string() + "/"), AsciiToU16(iniName));
        const SkinScreen screen = skin.ReadScreen();
        const std::pair<const char*, const std::u16string*> pictures[] = {
            {"Mask", &screen.mask}, {"Normal", &screen.normal}, {"Over", &screen.over},
            {"Down", &screen.down}, {"Disable", &screen.disable}};
        for (const auto& [key, name] : pictures) {
            const std::string file = U16ToUtf8(*name);
            std::ifstream img(U16ToUtf8(skin.ImagePath(*name)), std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(img)), std::istreambuf_iterator<char>());
            std::string error;
            auto decoded = art::DecodeBmp24(bytes, &error);
            EXPECT_TRUE(decoded.has_value()) << iniName << " " << key << " (" << file << "): " << error;
            if (decoded) s.images[key] = *decoded;
        }
        for (int n = 0; n < 64; ++n)
            if (skin.HasEntry(n)) s.entries[n] = ToPos(skin.ReadEntry(n));
        return s;
    }

    static TempFolder* folder_;
};

TempFolder* GeneratedSkins::folder_ = nullptr;

bool White(const art::Pixel8& p) { return p.r == 255 && p.g == 255 && p.b == 255; }

// Checks the entries a window's program needs, and the images under them.
void CheckWindow(const LoadedSkin& s, std::initializer_list<int> required, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_EQ(s.images.size(), 5u);
    const art::Image8& mask = s.images.at("Mask");
    for (const auto& [key, image] : s.images) {
        EXPECT_EQ(image.Width(), mask.Width()) << key;
        EXPECT_EQ(image.Height(), mask.Height()) << key;
    }
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            const art::Pixel8 p = mask.At(x, y);
            ASSERT_TRUE(White(p) || (p.r < 128 && p.g < 128 && p.b < 128)) << "mask pixel neither in nor out";
        }
    for (int n : required) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(s.entries.count(n));
        const Pos& p = s.entries.at(n);
        EXPECT_FALSE(p.name.empty());
        EXPECT_FALSE(p.text.empty());
        EXPECT_EQ(p.text.find_first_not_of("0123456789"), 0u) << "entry without a text of its own";
        ASSERT_GT(p.w, 0);
        ASSERT_GT(p.h, 0);
        ASSERT_GE(p.x, 0);
        ASSERT_GE(p.y, 0);
        ASSERT_LE(p.x + p.w, mask.Width());
        ASSERT_LE(p.y + p.h, mask.Height());
        for (auto [cx, cy] : {std::pair{p.x, p.y}, {p.x + p.w - 1, p.y}, {p.x, p.y + p.h - 1},
                              std::pair{p.x + p.w - 1, p.y + p.h - 1}})
            EXPECT_FALSE(White(mask.At(cx, cy))) << "corner " << cx << "," << cy << " cut away by the mask";
    }
}

// A control's four pictures: differing in each state shows the painter followed it.
void CheckStatesDiffer(const LoadedSkin& s, int n) {
    const Pos& p = s.entries.at(n);
    const auto region = [&](const char* key) {
        std::string bytes;
        const art::Image8& img = s.images.at(key);
        for (int y = p.y; y < p.y + p.h; ++y)
            for (int x = p.x; x < p.x + p.w; ++x) bytes += {char(img.At(x, y).r), char(img.At(x, y).g), char(img.At(x, y).b)};
        return bytes;
    };
    EXPECT_NE(region("Over"), region("Normal")) << "entry " << n;
    EXPECT_NE(region("Down"), region("Normal")) << "entry " << n;
    EXPECT_NE(region("Down"), region("Over")) << "entry " << n;
}

// A page continues its parent's picture: across the page's edge the picture
// changes no more than the parent's own picture changes at that place.
void CheckSeamless(const art::Image8& parentNormal, const Pos& area, const art::Image8& pageNormal) {
    ASSERT_EQ(pageNormal.Width(), area.w);
    ASSERT_EQ(pageNormal.Height(), area.h);
    const auto step = [](const art::Pixel8& a, const art::Pixel8& b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    };
    const auto seam = [&](int outX, int outY, int inX, int inY) {
        const art::Pixel8 outside = parentNormal.At(outX, outY);
        return step(outside, pageNormal.At(inX, inY)) - step(outside, parentNormal.At(area.x + inX, area.y + inY));
    };
    for (int y = 0; y < area.h; ++y) {
        EXPECT_LE(seam(area.x - 1, area.y + y, 0, y), 4) << "left edge " << y;
        EXPECT_LE(seam(area.x + area.w, area.y + y, area.w - 1, y), 4) << "right edge " << y;
    }
    for (int x = 0; x < area.w; ++x) {
        EXPECT_LE(seam(area.x + x, area.y - 1, x, 0), 4) << "top edge " << x;
        EXPECT_LE(seam(area.x + x, area.y + area.h, x, area.h - 1), 4) << "bottom edge " << x;
    }
}

bool Overlap(const Pos& a, const Pos& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Entries may share pixels only where the program shows one over the other: an
// overlay (a drop-down list, a panel) over anything, or one of the given pairs.
void CheckNoOverlaps(const LoadedSkin& s, const std::set<int>& overlays,
                     std::initializer_list<std::pair<int, int>> pairs, const char* what) {
    SCOPED_TRACE(what);
    for (const auto& [a, pa] : s.entries)
        for (const auto& [b, pb] : s.entries) {
            if (a >= b || !Overlap(pa, pb) || overlays.count(a) || overlays.count(b)) continue;
            bool ok = false;
            for (auto [x, y] : pairs) ok = ok || (x == a && y == b) || (x == b && y == a);
            EXPECT_TRUE(ok) << a << " overlaps " << b;
        }
}

// Share of pixels in which two pictures of one size differ.
double DifferingShare(const art::Image8& a, const art::Image8& b) {
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) differing += !(a.At(x, y) == b.At(x, y));
    return double(differing) / (a.Width() * a.Height());
}

// Share of an entry's pixels in one picture that are plainly red: red well
// above green and blue (the accent purple has nearly as much blue as red).
double RedShare(const LoadedSkin& s, const char* key, int n) {
    const Pos& p = s.entries.at(n);
    const art::Image8& img = s.images.at(key);
    int red = 0;
    for (int y = p.y; y < p.y + p.h; ++y)
        for (int x = p.x; x < p.x + p.w; ++x) {
            const art::Pixel8 c = img.At(x, y);
            red += c.r >= 80 && c.r > 2 * c.g && c.r > 2 * c.b;
        }
    return double(red) / (p.w * p.h);
}

// A record button must say "recording" while it is checked: its Down picture
// (the checked look) is red over most of its face and has a bright red lamp,
// where at rest only the small lamp is red.
void CheckRecordButton(const LoadedSkin& s, int n) {
    SCOPED_TRACE(n);
    CheckStatesDiffer(s, n);
    EXPECT_GT(RedShare(s, "Down", n), 0.4);
    EXPECT_LT(RedShare(s, "Normal", n), 0.1);
    EXPECT_LT(RedShare(s, "Over", n), 0.1);
    const Pos& p = s.entries.at(n);
    bool bright = false;
    for (int y = p.y; y < p.y + p.h; ++y)
        for (int x = p.x; x < p.x + p.w; ++x) {
            const art::Pixel8 c = s.images.at("Down").At(x, y);
            bright = bright || (c.r >= 230 && c.g <= 110 && c.b <= 120);
        }
    EXPECT_TRUE(bright) << "no lit red lamp while recording";
    // Room for the caption (Arial 15) after the lamp.
    EXPECT_GE(p.h, 30);
    EXPECT_GE(p.w, 160);
}

// The three delay modes: one column of touching pieces of one size, the
// fixed-delay box beside the middle one (the mode it belongs to), on the fill
// colour the box paints itself with.
void CheckDelayModes(const LoadedSkin& s) {
    const Pos& measured = s.entries.at(8);
    const Pos& fixed = s.entries.at(9);
    const Pos& none = s.entries.at(10);
    for (const Pos* p : {&fixed, &none}) {
        EXPECT_EQ(p->x, measured.x);
        EXPECT_EQ(p->w, measured.w);
        EXPECT_EQ(p->h, measured.h);
    }
    EXPECT_EQ(fixed.y, measured.y + measured.h);
    EXPECT_EQ(none.y, fixed.y + fixed.h);
    EXPECT_GE(measured.w, 150) << "room for a mode's caption";
    EXPECT_GE(measured.h, 22);
    const Pos& box = s.entries.at(12);
    EXPECT_GE(box.x, fixed.x + fixed.w);
    EXPECT_GE(box.y, fixed.y);
    EXPECT_LE(box.y + box.h, fixed.y + fixed.h);
    EXPECT_GE(box.w, 5 * 8) << "five digits";
    EXPECT_GE(box.h, 20);
    EXPECT_EQ(s.images.at("Normal").At(box.x + box.w / 2, box.y + box.h / 2), (art::Pixel8{31, 27, 41, 255}));
    for (int n : {8, 9, 10}) CheckStatesDiffer(s, n);
}

TEST_F(GeneratedSkins, DescriptionFilesHaveCrlfLinesAndEveryTooltipInGerman) {
    for (const char* name : {"skin_mains.ini", "skin_configr.ini", "skin_gallery.ini", "skin_Macros.ini",
                             "skin_button_page.ini", "Skin_Function.ini", "Skin_light.ini", "skin_question.ini", "Skin_configDPI.ini",
                             "skin_InsertMacro.ini", "skin_InsertMacro1.ini", "skin_InsertMacro2.ini", "skin_Mouse.ini",
                             "skin_MousSide.ini", "skin_Setup.ini", "skin_SetDefault.ini", "skin_setKey.ini",
                             "skin_setMouse.ini", "skin_setDPI.ini", "skin_setMacro.ini", "skin_setLaunch.ini",
                             "skin_setMedia.ini", "skin_setShortcut.ini", "skin_SetBlock.ini"}) {
        const std::string raw = Load(name).raw;
        ASSERT_FALSE(raw.empty()) << name;
        // German tooltips need UTF-8; the file says so, or holds ASCII alone.
        const bool marked = raw.rfind("\xEF\xBB\xBF", 0) == 0;
        const size_t german = raw.find("[TOOLTIPS_0407]");
        for (size_t i = marked ? 3 : 0; i < raw.size(); ++i) {
            if (i < german) {
                ASSERT_TRUE(uint8_t(raw[i]) < 0x80) << name << " at " << i;
            }
            if (raw[i] == '\n') {
                ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << name << " at " << i;
            }
        }
        if (std::string(name) == "skin_gallery.ini") continue;  // a developer's window, English only
        if (german != std::string::npos) {
            ASSERT_TRUE(marked) << name;
        }
        const CIniFile ini(*folder_ / name);
        for (int n = 0; n < 5000; ++n) {
            const std::u16string value = ini.ReadString(u"BUTTONPOS", IntToText(n), u"");
            const std::string text = ToPos(ParseButtonPos(value)).text;
            if (value.empty() || text.empty()) continue;
            const std::string translated = U16ToUtf8(ini.ReadString(u"TOOLTIPS_0407", IntToText(n), u""));
            EXPECT_FALSE(translated.empty()) << name << " entry " << n << " (" << text << ") has no German tooltip";
        }
    }
}

TEST_F(GeneratedSkins, MainWindowIsShapedAndHasItsControls) {
    const LoadedSkin s = Load("skin_mains.ini");
    CheckWindow(s, {2, 3, 4, 5, 7}, "main window");
    const art::Image8& mask = s.images.at("Mask");
    EXPECT_TRUE(White(mask.At(0, 0))) << "the outline cuts the corners";
    EXPECT_TRUE(White(mask.At(mask.Width() - 1, mask.Height() - 1)));
    EXPECT_TRUE(White(mask.At(mask.Width() / 2, mask.Height() - 1))) << "notch in the lower edge";
    for (int n : {2, 3, 4, 5}) CheckStatesDiffer(s, n);
    // Tab captions are 24-pixel text: room for them.
    EXPECT_GE(s.entries.at(4).h, 32);
    EXPECT_GE(s.entries.at(5).h, 32);
}

TEST_F(GeneratedSkins, ConfigurationPageFillsThePageAreaAndContinuesTheWindow) {
    const LoadedSkin main = Load("skin_mains.ini");
    const LoadedSkin page = Load("skin_configr.ini");
    CheckWindow(page, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16}, "configuration page");
    const Pos& area = main.entries.at(7);
    const art::Image8& pageNormal = page.images.at("Normal");
    for (int n : {1, 2, 3, 5, 6, 7, 8, 10, 14}) CheckStatesDiffer(page, n);

    CheckSeamless(main.images.at("Normal"), area, pageNormal);

    // The rename box opens inside the name field, on the edit boxes' fill colour.
    const Pos& name = page.entries.at(10);
    const Pos& rename = page.entries.at(15);
    EXPECT_GE(rename.x, name.x);
    EXPECT_GE(rename.y, name.y);
    EXPECT_LE(rename.x + rename.w, name.x + name.w);
    EXPECT_LE(rename.y + rename.h, name.y + name.h);
    const art::Pixel8 fill = pageNormal.At(rename.x + rename.w / 2, rename.y + rename.h / 2);
    EXPECT_EQ(fill, (art::Pixel8{31, 27, 41, 255}));
    // The page is rectangular: its mask keeps every pixel.
    const art::Image8& mask = page.images.at("Mask");
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            ASSERT_FALSE(White(mask.At(x, y)));
        }
}

TEST_F(GeneratedSkins, GalleryFollowsItsContract) {
    const LoadedSkin s = Load("skin_gallery.ini");
    CheckWindow(s, {1,  2,  3,  4,  5,  6,  7,  8,  11, 12, 13, 14, 15, 16, 17, 18, 21, 22,
                    23, 24, 25, 26, 27, 28, 30, 31, 32, 33, 34, 35, 36},
                "gallery");
    EXPECT_TRUE(White(s.images.at("Mask").At(0, 0))) << "the gallery is shaped too";
    for (int n = 1; n <= 8; ++n) {
        for (int base : {0, 10}) {
            const Pos& p = s.entries.at(base + n);
            EXPECT_GE(p.w, 150) << base + n;
            EXPECT_GE(p.h, 28) << base + n;
            CheckStatesDiffer(s, base + n);
        }
        const Pos& lamp = s.entries.at(20 + n);
        EXPECT_GE(lamp.w, 124) << 20 + n;
        EXPECT_GE(lamp.h, 22) << 20 + n;
    }
    const Pos& swatch = s.entries.at(30);
    EXPECT_NEAR(swatch.w, 40, 8);
    EXPECT_NEAR(swatch.h, 24, 6);
    for (int n : {31, 32, 36}) {
        EXPECT_NEAR(s.entries.at(n).w, 180, 20) << n;
        EXPECT_NEAR(s.entries.at(n).h, 24, 6) << n;
    }
    // The slider's track is cut from the Normal picture: a groove darker than
    // the strip above it runs along its middle.
    const Pos& slider = s.entries.at(36);
    const auto level = [&](int y) {
        const art::Pixel8 p = s.images.at("Normal").At(slider.x + slider.w / 2, slider.y + y);
        return std::max({p.r, p.g, p.b});
    };
    int groove = 255, strip = 255;
    for (int y = slider.h / 3; y < slider.h * 2 / 3; ++y) groove = std::min(groove, int(level(y)));
    for (int y = 0; y < 3; ++y) strip = std::min(strip, int(level(y)));
    EXPECT_LT(groove + 4, strip);
    // No two controls overlap: each cuts its own pictures.
    for (const auto& [a, pa] : s.entries)
        for (const auto& [b, pb] : s.entries)
            if (a < b) {
                EXPECT_TRUE(pa.x + pa.w <= pb.x || pb.x + pb.w <= pa.x || pa.y + pa.h <= pb.y || pb.y + pb.h <= pa.y)
                    << a << " overlaps " << b;
            }
}

TEST_F(GeneratedSkins, MacroPageCoversThePageAreaWithItsControls) {
    const LoadedSkin main = Load("skin_mains.ini");
    const LoadedSkin page = Load("skin_Macros.ini");
    CheckWindow(page, {0, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24}, "macro page");
    CheckSeamless(main.images.at("Normal"), main.entries.at(7), page.images.at("Normal"));
    for (int n : {2, 3, 4, 5, 7, 14, 15, 16, 17, 19}) CheckStatesDiffer(page, n);
    CheckDelayModes(page);
    CheckRecordButton(page, 11);
    // Texts 28, 29 and 32 are Arial 16: a line of it fits their places.
    for (int n : {22, 23, 24}) EXPECT_GE(page.entries.at(n).h, 20) << n;
    // The name box opens over the second name caption, inside it.
    const Pos& caption = page.entries.at(7);
    const Pos& nameBox = page.entries.at(21);
    EXPECT_TRUE(nameBox.x >= caption.x && nameBox.y >= caption.y && nameBox.x + nameBox.w <= caption.x + caption.w &&
                nameBox.y + nameBox.h <= caption.y + caption.h);
    // The drop-down list opens over the card, the rename box inside the name
    // field, and the insert panel over the recorder.
    CheckNoOverlaps(page, {0, 20}, {{7, 21}}, "macro page");
    const Pos& panel = page.entries.at(20);
    for (int n : {8, 9, 10, 11, 12, 19}) {
        const Pos& p = page.entries.at(n);
        EXPECT_TRUE(p.x >= panel.x && p.y >= panel.y && p.x + p.w <= panel.x + panel.w && p.y + p.h <= panel.y + panel.h)
            << n << " lies outside the insert panel that hides it";
    }
    // The insert panel holds sub-panels 298 pixels wide, and leaves the step list
    // in sight: inserting works on its selected row.
    EXPECT_GE(panel.w, 298);
    EXPECT_FALSE(Overlap(panel, page.entries.at(18)));
    // The step list is an owner-drawn list on the lists' fill colour, rows of 20 pixels.
    const Pos& list = page.entries.at(18);
    EXPECT_EQ(page.images.at("Normal").At(list.x + list.w / 2, list.y + list.h / 2), (art::Pixel8{31, 27, 41, 255}));
    EXPECT_GE(list.h, 10 * 20);
}

TEST_F(GeneratedSkins, SubPagesFillTheSubPageAreaAndDifferFromEachOther) {
    const LoadedSkin config = Load("skin_configr.ini");
    const Pos& area = config.entries.at(16);
    const char* names[] = {"skin_button_page.ini", "Skin_Function.ini", "Skin_light.ini"};
    std::vector<LoadedSkin> pages;
    for (const char* name : names) {
        pages.push_back(Load(name));
        SCOPED_TRACE(name);
        CheckSeamless(config.images.at("Normal"), area, pages.back().images.at("Normal"));
        // The page paints on the area, not just shows the configuration page through.
        art::Image8 under(area.w, area.h);
        for (int y = 0; y < area.h; ++y)
            for (int x = 0; x < area.w; ++x) under.At(x, y) = config.images.at("Normal").At(area.x + x, area.y + y);
        EXPECT_GT(DifferingShare(pages.back().images.at("Normal"), under), 0.5);
    }
    for (size_t i = 0; i < pages.size(); ++i)
        for (size_t j = i + 1; j < pages.size(); ++j)
            EXPECT_GT(DifferingShare(pages[i].images.at("Normal"), pages[j].images.at("Normal")), 0.3)
                << names[i] << " and " << names[j] << " look alike: switching tabs would show no change";
}

TEST_F(GeneratedSkins, ButtonPageHasItsViewSwitchAndTheViewsPlace) {
    const LoadedSkin page = Load("skin_button_page.ini");
    CheckWindow(page, {1, 2, 3}, "button page");
    CheckNoOverlaps(page, {}, {}, "button page");
    for (int n : {1, 2}) CheckStatesDiffer(page, n);
    // The views take most of the page: sixteen buttons and their captions go on them.
    const Pos& views = page.entries.at(3);
    EXPECT_GE(views.w * views.h, page.images.at("Mask").Width() * page.images.at("Mask").Height() * 6 / 10);
}

TEST_F(GeneratedSkins, PerformancePageHasItsControlsAndCaptionPlaces) {
    const LoadedSkin page = Load("Skin_Function.ini");
    CheckWindow(page, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, "performance page");
    CheckNoOverlaps(page, {}, {}, "performance page");
    for (int n : {7, 13}) CheckStatesDiffer(page, n);
    // Captions are Arial 15, the level number Arial 20: room for a line of each.
    for (int n : {1, 2, 4, 8, 9, 11, 12}) EXPECT_GE(page.entries.at(n).h, 18) << n;
    EXPECT_GE(page.entries.at(5).h, 26);
    // The value label fills itself with RGB(2, 2, 2): the art around it is that colour too.
    const Pos& value = page.entries.at(14);
    EXPECT_EQ(page.images.at("Normal").At(value.x + 1, value.y + value.h / 2), (art::Pixel8{2, 2, 2, 255}));
    // A slider is wider than it is high, with room for its thumb picture.
    for (int n : {6, 10}) {
        EXPECT_GE(page.entries.at(n).w, 200) << n;
        EXPECT_GE(page.entries.at(n).h, 20) << n;
    }
}

TEST_F(GeneratedSkins, LightingPageLeavesItsLabelBandsFree) {
    const LoadedSkin page = Load("Skin_light.ini");
    CheckWindow(page, {2, 4, 5, 7, 8, 9, 10, 11, 12, 13}, "lighting page");
    CheckNoOverlaps(page, {}, {}, "lighting page");
    for (int n : {2, 4, 5, 7, 8, 9, 10, 11, 12, 13}) CheckStatesDiffer(page, n);
    // The page writes its three labels at fixed places, x 321-500, whatever the skin.
    const art::Image8& normal = page.images.at("Normal");
    for (int top : {110, 179, 250}) {
        const Pos band{"", 321, top, 179, 30, ""};
        ASSERT_LE(band.x + band.w, normal.Width());
        ASSERT_LE(band.y + band.h, normal.Height());
        for (const auto& [n, p] : page.entries) EXPECT_FALSE(Overlap(p, band)) << n << " covers the label band at " << top;
        // Grey text (110, 110, 110) needs a dark, quiet ground.
        for (int y = band.y; y < band.y + band.h; ++y)
            for (int x = band.x; x < band.x + band.w; ++x) {
                const art::Pixel8 p = normal.At(x, y);
                ASSERT_LT(std::max({p.r, p.g, p.b}), 60) << "at " << x << "," << y;
            }
    }
    // The seven swatches in DPIColor order, left to right, one size.
    for (int n = 8; n <= 13; ++n) {
        EXPECT_GT(page.entries.at(n).x, page.entries.at(n - 1).x + page.entries.at(n - 1).w) << n;
        EXPECT_EQ(page.entries.at(n).w, page.entries.at(7).w) << n;
        EXPECT_EQ(page.entries.at(n).h, page.entries.at(7).h) << n;
        EXPECT_EQ(page.entries.at(n).y, page.entries.at(7).y) << n;
    }
    // Under the swatches the page paints the level numbers and the stored-only
    // caption: a line of Arial 15, 4 pixels below them, on a quiet dark ground.
    const Pos& firstSwatch = page.entries.at(7);
    const Pos& lastSwatch = page.entries.at(13);
    const Pos legend{"", firstSwatch.x, firstSwatch.y + firstSwatch.h + 4,
                     lastSwatch.x + lastSwatch.w - firstSwatch.x, 18, ""};
    ASSERT_LE(legend.y + legend.h, normal.Height());
    for (const auto& [n, p] : page.entries) EXPECT_FALSE(Overlap(p, legend)) << n << " covers the swatch legend";
    for (int y = legend.y; y < legend.y + legend.h; ++y)
        for (int x = legend.x; x < legend.x + legend.w; ++x) {
            const art::Pixel8 p = normal.At(x, y);
            ASSERT_LT(std::max({p.r, p.g, p.b}), 60) << "at " << x << "," << y;
        }
    // The two colours the mouse never gets stand apart from the five level colours.
    const int pitch = page.entries.at(8).x - page.entries.at(7).x;
    EXPECT_GT(page.entries.at(12).x - page.entries.at(11).x, pitch);
    EXPECT_EQ(page.entries.at(13).x - page.entries.at(12).x, pitch);
}

TEST_F(GeneratedSkins, InsertPanelContinuesTheMacroPageAndHasItsControls) {
    const LoadedSkin page = Load("skin_Macros.ini");
    const LoadedSkin panel = Load("skin_InsertMacro.ini");
    CheckWindow(panel, {1, 2, 3, 4, 5}, "insert panel");
    CheckSeamless(page.images.at("Normal"), page.entries.at(20), panel.images.at("Normal"));
    CheckNoOverlaps(panel, {}, {}, "insert panel");
    for (int n : {2, 4, 5}) CheckStatesDiffer(panel, n);
    // The heading is a line of text; the choice button carries the longest
    // choice text and opens a menu 172 pixels wide under itself.
    EXPECT_GE(panel.entries.at(1).h, 20);
    const Pos& choice = panel.entries.at(2);
    EXPECT_GE(choice.w, 172);
    EXPECT_GE(choice.h, 26);
    // The sub-panels are 298 pixels wide and go between the choice and the foot.
    const Pos& place = panel.entries.at(3);
    EXPECT_EQ(place.w, 298);
    EXPECT_GE(place.h, 185);
    EXPECT_GE(place.y, choice.y + choice.h);
    // Apply and Cancel: one row under the sub-panels, one size, Apply first.
    const Pos& apply = panel.entries.at(4);
    const Pos& cancel = panel.entries.at(5);
    EXPECT_EQ(apply.y, cancel.y);
    EXPECT_EQ(apply.w, cancel.w);
    EXPECT_EQ(apply.h, cancel.h);
    EXPECT_LT(apply.x, cancel.x);
    EXPECT_GE(apply.y, place.y + place.h);
    EXPECT_GE(apply.w, 100);
    EXPECT_GE(apply.h, 26);
    // Over the page the panel is a panel of its own, not the recorder showing through.
    const Pos& area = page.entries.at(20);
    art::Image8 under(area.w, area.h);
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x) under.At(x, y) = page.images.at("Normal").At(area.x + x, area.y + y);
    EXPECT_GT(DifferingShare(panel.images.at("Normal"), under), 0.2);
}

TEST_F(GeneratedSkins, InsertSubPanelsFillTheirPlaceWithTheirControls) {
    const LoadedSkin page = Load("skin_Macros.ini");
    const LoadedSkin panel = Load("skin_InsertMacro.ini");
    const LoadedSkin delay = Load("skin_InsertMacro1.ini");
    const LoadedSkin record = Load("skin_InsertMacro2.ini");
    const Pos& place = panel.entries.at(3);
    CheckSeamless(panel.images.at("Normal"), place, delay.images.at("Normal"));
    CheckSeamless(panel.images.at("Normal"), place, record.images.at("Normal"));
    EXPECT_GT(DifferingShare(delay.images.at("Normal"), record.images.at("Normal")), 0.2)
        << "changing the choice would show no change";

    // Delay: a caption, the box, the unit after it.
    CheckWindow(delay, {1, 2, 3}, "delay sub-panel");
    CheckNoOverlaps(delay, {}, {}, "delay sub-panel");
    const Pos& box = delay.entries.at(2);
    EXPECT_GE(box.w, 5 * 8) << "five digits";
    EXPECT_GE(box.h, 20);
    EXPECT_EQ(delay.images.at("Normal").At(box.x + box.w / 2, box.y + box.h / 2), (art::Pixel8{31, 27, 41, 255}));
    for (int n : {1, 3}) EXPECT_GE(delay.entries.at(n).h, 18) << n;
    EXPECT_LE(delay.entries.at(1).y + delay.entries.at(1).h, box.y) << "the caption above the box";
    EXPECT_GE(delay.entries.at(3).x, box.x + box.w) << "the unit after the box";

    // Recording: the page's recorder again, at the page's sizes.
    CheckWindow(record, {8, 9, 10, 11, 12}, "recording sub-panel");
    CheckNoOverlaps(record, {}, {}, "recording sub-panel");
    CheckDelayModes(record);
    CheckRecordButton(record, 11);
    for (int n : {8, 9, 10, 11, 12}) {
        EXPECT_EQ(record.entries.at(n).w, page.entries.at(n).w) << n;
        EXPECT_EQ(record.entries.at(n).h, page.entries.at(n).h) << n;
    }
}

// The pictures of a skin's area as a picture of its own.
art::Image8 Under(const art::Image8& picture, const Pos& area) {
    art::Image8 out(area.w, area.h);
    for (int y = 0; y < area.h; ++y)
        for (int x = 0; x < area.w; ++x) out.At(x, y) = picture.At(area.x + x, area.y + y);
    return out;
}

// A mouse view: its entries are its layout table's places, nothing else, and
// each hot spot shows the mouse, not the stage around it.
void CheckMouseView(const LoadedSkin& page, const LoadedSkin& view, const windows::mouse::MouseView& layout,
                    const char* what) {
    SCOPED_TRACE(what);
    const Pos& area = page.entries.at(3);
    EXPECT_EQ(area.w, windows::mouse::kViewWidth);
    EXPECT_EQ(area.h, windows::mouse::kViewHeight);
    CheckSeamless(page.images.at("Normal"), area, view.images.at("Normal"));
    std::set<int> expected;
    for (const auto& b : layout.buttons) {
        expected.insert(windows::mouse::CaptionEntry(b.index));
        expected.insert(windows::mouse::HotSpotEntry(b.index));
    }
    std::set<int> present;
    for (const auto& [n, p] : view.entries) present.insert(n);
    EXPECT_EQ(present, expected);
    for (int index = 7; index <= 13; ++index) {
        EXPECT_FALSE(view.entries.count(windows::mouse::CaptionEntry(index))) << index;
        EXPECT_FALSE(view.entries.count(windows::mouse::HotSpotEntry(index))) << index;
    }
    const art::Image8 stage = Under(page.images.at("Normal"), area);
    for (const auto& b : layout.buttons) {
        SCOPED_TRACE(b.index);
        const Pos& caption = view.entries.at(windows::mouse::CaptionEntry(b.index));
        const Pos& spot = view.entries.at(windows::mouse::HotSpotEntry(b.index));
        const auto same = [](const Pos& p, const art::Rect& r) {
            return p.x == r.x && p.y == r.y && p.w == r.w && p.h == r.h;
        };
        EXPECT_TRUE(same(caption, b.caption)) << "caption entry";
        EXPECT_TRUE(same(spot, b.hotSpot)) << "hot spot entry";
        CheckStatesDiffer(view, windows::mouse::CaptionEntry(b.index));
        CheckStatesDiffer(view, windows::mouse::HotSpotEntry(b.index));
        int differing = 0;
        for (int y = spot.y; y < spot.y + spot.h; ++y)
            for (int x = spot.x; x < spot.x + spot.w; ++x)
                differing += !(view.images.at("Normal").At(x, y) == stage.At(x, y));
        EXPECT_GT(differing, spot.w * spot.h * 9 / 10) << "no mouse under the hot spot";
        // The lead-in of a caption carries the number in every state: bright
        // strokes on the plate, wherever the program's text goes.
        for (const char* key : {"Normal", "Over", "Down"}) {
            int bright = 0;
            for (int y = caption.y; y < caption.y + caption.h; ++y)
                for (int x = caption.x; x < caption.x + windows::mouse::kCaptionLeadIn; ++x) {
                    const art::Pixel8 c = view.images.at(key).At(x, y);
                    bright += std::min({c.r, c.g, c.b}) > 170;
                }
            EXPECT_GT(bright, 10) << key << ": no number in the lead-in";
        }
    }
}

TEST_F(GeneratedSkins, MouseViewsPlaceTheirButtonsWhereTheyAreDrawn) {
    const LoadedSkin page = Load("skin_button_page.ini");
    const LoadedSkin top = Load("skin_Mouse.ini");
    const LoadedSkin side = Load("skin_MousSide.ini");
    CheckMouseView(page, top, windows::mouse::TopView(), "top view");
    CheckMouseView(page, side, windows::mouse::SideView(), "side view");
    EXPECT_GT(DifferingShare(top.images.at("Normal"), side.images.at("Normal")), 0.1)
        << "switching views would show no change";
}

TEST_F(GeneratedSkins, AssignmentDialogHasItsControlsAndPagePlace) {
    const LoadedSkin s = Load("skin_Setup.ini");
    CheckWindow(s, {1, 2, 3, 4, 5, 6}, "assignment dialog");
    CheckNoOverlaps(s, {}, {}, "assignment dialog");
    for (int n : {2, 3, 4, 5}) CheckStatesDiffer(s, n);
    EXPECT_TRUE(White(s.images.at("Mask").At(0, 0))) << "a shaped dialog";
    // "G1" and on in Arial 26 in the header; the category's name in its button.
    const Pos& title = s.entries.at(1);
    EXPECT_GE(title.h, 30);
    EXPECT_LE(title.y + title.h, 44);
    EXPECT_GE(s.entries.at(2).w, 200);
    EXPECT_GE(s.entries.at(2).h, 26);
    // Accept, then cancel, in one row under the pages.
    const Pos& accept = s.entries.at(3);
    const Pos& cancel = s.entries.at(4);
    EXPECT_EQ(accept.y, cancel.y);
    EXPECT_EQ(accept.w, cancel.w);
    EXPECT_LT(accept.x + accept.w, cancel.x);
    const Pos& place = s.entries.at(6);
    EXPECT_GE(accept.y, place.y + place.h);
    EXPECT_GE(place.y, s.entries.at(2).y + s.entries.at(2).h);
}

TEST_F(GeneratedSkins, AssignmentPagesFillThePagePlaceWithTheirControls) {
    const LoadedSkin dialog = Load("skin_Setup.ini");
    const Pos& place = dialog.entries.at(6);
    const auto load = [&](const char* name, std::initializer_list<int> required) {
        LoadedSkin page = Load(name);
        CheckWindow(page, required, name);
        CheckSeamless(dialog.images.at("Normal"), place, page.images.at("Normal"));
        return page;
    };
    const art::Pixel8 field{31, 27, 41, 255};
    const auto centre = [](const LoadedSkin& page, int n) {
        const Pos& p = page.entries.at(n);
        return page.images.at("Normal").At(p.x + p.w / 2, p.y + p.h / 2);
    };

    const LoadedSkin byDefault = load("skin_SetDefault.ini", {1});
    EXPECT_GE(byDefault.entries.at(1).w, 300);
    EXPECT_GE(byDefault.entries.at(1).h, 32) << "the name is written large";

    const LoadedSkin key = load("skin_setKey.ini", {1, 2});
    CheckNoOverlaps(key, {}, {}, "key page");
    EXPECT_EQ(centre(key, 2), field) << "the edit control opens on the fields' colour";
    EXPECT_GE(key.entries.at(2).y, key.entries.at(1).y + key.entries.at(1).h);

    for (const char* name : {"skin_setMouse.ini", "skin_setDPI.ini", "skin_setMedia.ini", "skin_setShortcut.ini"}) {
        const LoadedSkin page = load(name, {1, 2});
        CheckNoOverlaps(page, {}, {}, name);
        CheckStatesDiffer(page, 2);
        EXPECT_GE(page.entries.at(2).w, 240) << name;
        EXPECT_GE(page.entries.at(1).h, 18) << name;
    }

    // The macro list drops down right under its button, over the repeat settings.
    const LoadedSkin macro = load("skin_setMacro.ini", {1, 2, 3, 4, 5, 6, 7});
    CheckNoOverlaps(macro, {3}, {}, "macro page");
    for (int n : {2, 5}) CheckStatesDiffer(macro, n);
    const Pos& button = macro.entries.at(2);
    const Pos& list = macro.entries.at(3);
    EXPECT_EQ(list.x, button.x);
    EXPECT_EQ(list.w, button.w);
    EXPECT_EQ(list.y, button.y + button.h);
    EXPECT_GE(list.h, 5 * 18) << "a few rows";
    for (int n : {4, 5, 6, 7}) EXPECT_GE(macro.entries.at(n).y, button.y + button.h) << n;
    // The count box: beside its caption, framed by the program three pixels out.
    const Pos& countLabel = macro.entries.at(6);
    const Pos& count = macro.entries.at(7);
    EXPECT_LE(countLabel.x + countLabel.w, count.x - 3);
    EXPECT_LT(countLabel.y, count.y + count.h);
    EXPECT_GT(countLabel.y + countLabel.h, count.y);
    const Pos frame{"", count.x - 3, count.y - 3, count.w + 6, count.h + 6, ""};
    for (const auto& [n, p] : macro.entries)
        if (n != 7 && n != 3) {
            EXPECT_FALSE(Overlap(p, frame)) << n << " under the count box's frame";
        }
    EXPECT_EQ(centre(macro, 7), field);

    const LoadedSkin launch = load("skin_setLaunch.ini", {1, 2, 3, 4, 5});
    CheckNoOverlaps(launch, {}, {}, "launch page");
    for (int n : {2, 3, 4}) CheckStatesDiffer(launch, n);
    const Pos& program = launch.entries.at(2);
    const Pos& command = launch.entries.at(4);
    EXPECT_EQ(program.x, command.x);
    EXPECT_EQ(program.w, command.w);
    EXPECT_GT(command.y, program.y + program.h);
    EXPECT_GE(launch.entries.at(3).x, program.x + program.w) << "the path beside its choice";
    EXPECT_GE(launch.entries.at(5).x, command.x + command.w) << "the command beside its choice";
    EXPECT_GE(launch.entries.at(3).w, 200);
    EXPECT_EQ(centre(launch, 5), field);

    const LoadedSkin block = load("skin_SetBlock.ini", {});
    EXPECT_TRUE(block.entries.empty());
    EXPECT_GT(DifferingShare(block.images.at("Normal"), Under(dialog.images.at("Normal"), place)), 0.02)
        << "the page says something";
}

// The sets of every scale, built once for the tests that compare them (side by
// side, as the generator builds them: the larger scales take most of the time).
const std::map<int, skin::SkinSet>& SetsOfEveryScale() {
    static const std::map<int, skin::SkinSet> sets = [] {
        std::map<int, std::future<skin::SkinSet>> pending;
        for (int percent : art::kScalePercents)
            pending[percent] = std::async(std::launch::async, [percent] { return skin::BuildSkinSet(percent); });
        std::map<int, skin::SkinSet> built;
        for (auto& [percent, set] : pending) built[percent] = set.get();
        return built;
    }();
    return sets;
}

bool Overlap(const art::Rect& a, const art::Rect& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// Sharing a stretch of edge, side by side or one above the other.
bool Touch(const art::Rect& a, const art::Rect& b) {
    const bool rows = a.y < b.Bottom() && b.y < a.Bottom();
    const bool columns = a.x < b.Right() && b.x < a.Right();
    return (rows && (a.Right() == b.x || b.Right() == a.x)) || (columns && (a.Bottom() == b.y || b.Bottom() == a.y));
}

// One window at one scale against the same window at 100 %.
class ScaledWindow : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    int Percent() const { return std::get<0>(GetParam()); }
    const skin::BuiltSkin& Base() const { return SetsOfEveryScale().at(100).windows.at(std::get<1>(GetParam())); }
    const skin::SkinSet& Set() const { return SetsOfEveryScale().at(Percent()); }
    const skin::BuiltSkin& Scaled() const { return Set().windows.at(std::get<1>(GetParam())); }
};

const int kScaledPercents[] = {125, 150, 200};

INSTANTIATE_TEST_SUITE_P(
    EveryScaleAndWindow, ScaledWindow,
    ::testing::Combine(::testing::ValuesIn(kScaledPercents),
                       ::testing::Range(0, int(skin::RegisteredWindows().size()))),
    [](const auto& info) {
        std::string name = std::to_string(std::get<0>(info.param)) + "_" +
                           skin::RegisteredWindows()[std::get<1>(info.param)].imageStem;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_P(ScaledWindow, IsTheSameSkinAtItsScaledSize) {
    const skin::BuiltSkin& base = Base();
    const skin::BuiltSkin& scaled = Scaled();
    const art::UiScale scale{Percent()};
    ASSERT_EQ(scaled.iniName, base.iniName);
    // Every file of the 100 % set is in the scaled set, under its own name.
    ASSERT_EQ(scaled.files.size(), base.files.size());
    for (size_t i = 0; i < base.files.size(); ++i) EXPECT_EQ(scaled.files[i].name, base.files[i].name);
    if (base.parentIni.empty()) {
        EXPECT_EQ(scaled.width, scale.Scale(base.width));
        EXPECT_EQ(scaled.height, scale.Scale(base.height));
    } else {
        // A page fills its parent's scaled area, which rounds to within a pixel of its own scaled size.
        const skin::BuiltSkin* parent = Set().Find(scaled.parentIni);
        ASSERT_NE(parent, nullptr);
        const skin::Entry* area = parent->Find(scaled.parentEntry);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(scaled.width, area->rect.w);
        EXPECT_EQ(scaled.height, area->rect.h);
        EXPECT_LE(std::abs(scaled.width - scale.Scale(base.width)), 1);
        EXPECT_LE(std::abs(scaled.height - scale.Scale(base.height)), 1);
        EXPECT_EQ(scaled.originX, parent->originX + area->rect.x);
        EXPECT_EQ(scaled.originY, parent->originY + area->rect.y);
    }
    EXPECT_EQ(scaled.normal.Width(), scaled.width);
    EXPECT_EQ(scaled.normal.Height(), scaled.height);
    std::string error;
    const auto mask = art::DecodeBmp24(scaled.files.at(1).bytes, &error);
    ASSERT_TRUE(mask.has_value()) << error;
    EXPECT_EQ(mask->Width(), scaled.width);
    EXPECT_EQ(mask->Height(), scaled.height);
}

TEST_P(ScaledWindow, RoundingKeepsControlsInsideAndNeighboursAsTheyWere) {
    const skin::BuiltSkin& base = Base();
    const skin::BuiltSkin& scaled = Scaled();
    const art::UiScale scale{Percent()};
    ASSERT_EQ(scaled.entries.size(), base.entries.size());
    const art::Rect window{0, 0, scaled.width, scaled.height};
    for (size_t i = 0; i < base.entries.size(); ++i) {
        const art::Rect& a = scaled.entries[i].rect;
        SCOPED_TRACE("entry " + std::to_string(base.entries[i].number));
        ASSERT_EQ(scaled.entries[i].number, base.entries[i].number);
        EXPECT_EQ(scaled.entries[i].name, base.entries[i].name);
        // Option reads these; it scales its own coordinates by the same rule.
        const art::Rect expected = scale.ScaleRect(base.entries[i].rect);
        EXPECT_TRUE(a.x == expected.x && a.y == expected.y && a.w == expected.w && a.h == expected.h);
        EXPECT_GT(a.w, 0);
        EXPECT_GT(a.h, 0);
        EXPECT_TRUE(window.Contains(a)) << "outside its " << scaled.width << " x " << scaled.height << " window";
        for (size_t j = i + 1; j < base.entries.size(); ++j) {
            const art::Rect& b = scaled.entries[j].rect;
            SCOPED_TRACE("and entry " + std::to_string(base.entries[j].number));
            const art::Rect& a100 = base.entries[i].rect;
            const art::Rect& b100 = base.entries[j].rect;
            if (Touch(a100, b100)) {
                EXPECT_TRUE(Touch(a, b)) << "no longer touch";
            }
            EXPECT_EQ(Overlap(a, b), Overlap(a100, b100));
        }
    }
}

// Option's portable core carries its own copy of the rounding rule, for the
// program's coordinates that no skin file gives; both must round alike.
#if __has_include("../../../option/core/ui_scale.h")
TEST(UiScale, OptionRoundsLikeTheGenerator) {
    for (int percent : art::kScalePercents)
        for (int v = -40; v <= 2000; ++v)
            ASSERT_EQ(::UiScale{percent}.Scale(v), art::UiScale{percent}.Scale(v)) << v << " at " << percent << " %";
}
#endif

TEST(SkinSet, GeneratingTwiceGivesTheSameBytes) {
    const auto first = skin::BuildSkinSet().Files();
    const auto second = skin::BuildSkinSet().Files();
    ASSERT_EQ(first.size(), second.size());
    // Twenty-four windows, a description and five images each, and the slider thumb.
    ASSERT_EQ(first.size(), 24u * 6 + 1);
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
    }
}

TEST(SkinSet, WritingLeavesUnchangedFilesAloneAndReportsUnwritableFolders) {
    const TempFolder temp;
    const fs::path folder = temp / "skins";
    std::string error;
    ASSERT_TRUE(skin::WriteFiles(folder, {{"a.txt", "one"}}, &error)) << error;
    const auto before = fs::last_write_time(folder / "a.txt");
    fs::last_write_time(folder / "a.txt", before - std::chrono::hours(1));
    ASSERT_TRUE(skin::WriteFiles(folder, {{"a.txt", "one"}}, &error));
    EXPECT_EQ(fs::last_write_time(folder / "a.txt"), before - std::chrono::hours(1));
    ASSERT_TRUE(skin::WriteFiles(folder, {{"a.txt", "two"}}, &error));
    std::ifstream in(folder / "a.txt");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "two");
    // A folder that cannot be made (a file is in the way).
    EXPECT_FALSE(skin::WriteFiles(folder / "a.txt" / "sub", {{"b.txt", "x"}}, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace

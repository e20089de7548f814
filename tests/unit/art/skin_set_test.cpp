// The generated skin set, read back from disk the way the programs read it:
// description files through CIniFile, entries by the "BUTTONPOS" parsing rule,
// images as bitmaps.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "art/bmp_file.h"
#include "ini_file.h"
#include "skin/file_output.h"
#include "skin/skin_set.h"
#include "text_codec.h"

namespace {

namespace fs = std::filesystem;

struct Pos {
    std::string name;
    int x = 0, y = 0, w = 0, h = 0;
    std::string text;
};

// Name before the first comma, four numbers after it, text after the last comma.
Pos ParseEntry(const std::string& v) {
    Pos p;
    const size_t first = v.find(',');
    if (first != std::string::npos) p.name = v.substr(0, first);
    const std::string rest = first == std::string::npos ? v : v.substr(first + 1);
    std::sscanf(rest.c_str(), "%d,%d,%d,%d", &p.x, &p.y, &p.w, &p.h);
    const size_t last = rest.rfind(',');
    p.text = last == std::string::npos ? rest : rest.substr(last + 1);
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
        folder_ = new fs::path(fs::temp_directory_path() / ("gm_art_test_" + std::to_string(std::rand())));
        std::string error;
        ASSERT_TRUE(skin::WriteFiles(*folder_, skin::BuildSkinSet().Files(), &error)) << error;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(*folder_, ec);
        delete folder_;
    }

    static LoadedSkin Load(const std::string& iniName) {
        LoadedSkin s;
        const fs::path path = *folder_ / iniName;
        std::ifstream in(path, std::ios::binary);
        s.raw.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        CIniFile ini(path);
        for (const char* key : {"Mask", "Normal", "Over", "Down", "Disable"}) {
            const std::string file = U16ToUtf8(ini.ReadString(u"SCREEN", AsciiToU16(key), u""));
            std::ifstream img(*folder_ / file, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(img)), std::istreambuf_iterator<char>());
            std::string error;
            auto decoded = art::DecodeBmp24(bytes, &error);
            EXPECT_TRUE(decoded.has_value()) << iniName << " " << key << " (" << file << "): " << error;
            if (decoded) s.images[key] = *decoded;
        }
        for (int n = 0; n < 64; ++n) {
            const std::string v = U16ToUtf8(ini.ReadString(u"BUTTONPOS", IntToText(n), u""));
            if (!v.empty()) s.entries[n] = ParseEntry(v);
        }
        return s;
    }

    static fs::path* folder_;
};

fs::path* GeneratedSkins::folder_ = nullptr;

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

TEST_F(GeneratedSkins, DescriptionFilesArePlainAsciiWithCrlfLines) {
    for (const char* name : {"skin_mains.ini", "skin_configr.ini", "skin_gallery.ini"}) {
        const std::string raw = Load(name).raw;
        ASSERT_FALSE(raw.empty()) << name;
        for (size_t i = 0; i < raw.size(); ++i) {
            ASSERT_TRUE(uint8_t(raw[i]) < 0x80) << name;
            if (raw[i] == '\n') {
                ASSERT_TRUE(i > 0 && raw[i - 1] == '\r') << name << " at " << i;
            }
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
    ASSERT_EQ(pageNormal.Width(), area.w);
    ASSERT_EQ(pageNormal.Height(), area.h);
    for (int n : {1, 2, 3, 5, 6, 7, 8, 10, 14}) CheckStatesDiffer(page, n);

    // Seamless: across the page's edge the picture changes no more than the
    // window's own picture changes at that place.
    const art::Image8& mainNormal = main.images.at("Normal");
    const auto step = [](const art::Pixel8& a, const art::Pixel8& b) {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    };
    const auto seam = [&](int outX, int outY, int inX, int inY) {
        const art::Pixel8 outside = mainNormal.At(outX, outY);
        return step(outside, pageNormal.At(inX, inY)) - step(outside, mainNormal.At(area.x + inX, area.y + inY));
    };
    for (int y = 0; y < area.h; ++y) {
        EXPECT_LE(seam(area.x - 1, area.y + y, 0, y), 4) << "left edge " << y;
        EXPECT_LE(seam(area.x + area.w, area.y + y, area.w - 1, y), 4) << "right edge " << y;
    }
    for (int x = 0; x < area.w; ++x) {
        EXPECT_LE(seam(area.x + x, area.y - 1, x, 0), 4) << "top edge " << x;
        EXPECT_LE(seam(area.x + x, area.y + area.h, x, area.h - 1), 4) << "bottom edge " << x;
    }

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
                    23, 24, 25, 26, 27, 28, 30, 31, 32, 33, 34, 35},
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
    for (int n : {31, 32}) {
        EXPECT_NEAR(s.entries.at(n).w, 180, 20) << n;
        EXPECT_NEAR(s.entries.at(n).h, 24, 6) << n;
    }
    // No two controls overlap: each cuts its own pictures.
    for (const auto& [a, pa] : s.entries)
        for (const auto& [b, pb] : s.entries)
            if (a < b) {
                EXPECT_TRUE(pa.x + pa.w <= pb.x || pb.x + pb.w <= pa.x || pa.y + pa.h <= pb.y || pb.y + pb.h <= pa.y)
                    << a << " overlaps " << b;
            }
}

TEST(SkinSet, GeneratingTwiceGivesTheSameBytes) {
    const auto first = skin::BuildSkinSet().Files();
    const auto second = skin::BuildSkinSet().Files();
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GE(first.size(), 18u);  // three windows: a description and five images each
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].name, second[i].name);
        EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
    }
}

TEST(SkinSet, WritingLeavesUnchangedFilesAloneAndReportsUnwritableFolders) {
    const fs::path folder = fs::temp_directory_path() / ("gm_art_write_" + std::to_string(std::rand()));
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
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace

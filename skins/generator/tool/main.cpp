// gm_skingen: writes the skin set, the program icons and Option's resource pictures.
//
// --skins DIR gets the 100 % set and, in DIR/125, DIR/150 and DIR/200, the set
// drawn at that scale with Option's resource pictures at that scale beside it.
//
//   gm_skingen [--skins DIR] [--icons DIR] [--resources DIR] [--preview DIR] [--stamp FILE]
//
// --preview writes, for looking at the artwork, each window as the user sees it:
// "<skin>.preview.bmp" is its top-level window with that page shown (and, on
// the other page areas, the pages shown at start), and "option_resources.preview.bmp"
// the resource pictures enlarged on the colours they are drawn on. It is not part
// of the build.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "art/bmp_file.h"
#include "art/ui_scale.h"
#include "icons/app_icons.h"
#include "resources/option_resources.h"
#include "skin/file_output.h"
#include "skin/skin_set.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: gm_skingen [--skins DIR] [--icons DIR] [--resources DIR] [--preview DIR] [--stamp FILE]\n");
    return 2;
}

// Every scale's set, in the order of art::kScalePercents. The scales are drawn
// side by side: the larger ones hold most of the generator's time.
std::vector<skin::SkinSet> BuildAllSets() {
    std::vector<std::future<skin::SkinSet>> pending;
    for (int percent : art::kScalePercents)
        pending.push_back(std::async(std::launch::async, [percent] { return skin::BuildSkinSet(percent); }));
    std::vector<skin::SkinSet> sets;
    for (auto& p : pending) sets.push_back(p.get());
    return sets;
}

std::vector<skin::GeneratedFile> ScaledSetFiles(const skin::SkinSet& set, int percent) {
    std::vector<skin::GeneratedFile> files = set.Files();
    std::vector<skin::GeneratedFile> pictures = resources::BuildOptionResources(percent);
    files.insert(files.end(), std::make_move_iterator(pictures.begin()), std::make_move_iterator(pictures.end()));
    return files;
}

bool Within(const skin::SkinSet& set, const skin::BuiltSkin* page, const skin::BuiltSkin& window) {
    while (page) {
        if (page == &window) return true;
        page = page->parentIni.empty() ? nullptr : set.Find(page->parentIni);
    }
    return false;
}

// Pastes the pages that lie on `window` into `out`: on each of its page areas the
// page that leads to `shown`, or else the first registered there (the program
// shows that one at start) unless that one only opens on request.
void PastePages(const skin::SkinSet& set, const skin::BuiltSkin& window, const skin::BuiltSkin* shown,
                art::Image8& out) {
    std::vector<int> areas;
    for (const skin::BuiltSkin& p : set.windows)
        if (p.parentIni == window.iniName && std::find(areas.begin(), areas.end(), p.parentEntry) == areas.end())
            areas.push_back(p.parentEntry);
    for (int area : areas) {
        const skin::BuiltSkin* pick = nullptr;
        for (const skin::BuiltSkin& p : set.windows) {
            if (p.parentIni != window.iniName || p.parentEntry != area) continue;
            if (!pick || Within(set, shown, p)) pick = &p;
            if (Within(set, shown, p)) break;
        }
        if (pick->onDemand && !Within(set, shown, *pick)) continue;
        for (int y = 0; y < pick->height; ++y)
            for (int x = 0; x < pick->width; ++x)
                if (pick->originX + x < out.Width() && pick->originY + y < out.Height())
                    out.At(pick->originX + x, pick->originY + y) = pick->normal.At(x, y);
        PastePages(set, *pick, shown, out);
    }
}

art::Image8 Compose(const skin::SkinSet& set, const skin::BuiltSkin& shown) {
    const skin::BuiltSkin* top = &shown;
    while (!top->parentIni.empty()) top = set.Find(top->parentIni);
    art::Image8 out = top->normal;
    PastePages(set, *top, &shown, out);
    return out;
}

// Copies `image` enlarged `scale` times to (x, y), drawing it on `under` where it
// is transparent (pure red, or alpha for icons).
void Enlarge(art::Image8& sheet, const art::Image8& image, int x, int y, int scale, art::Pixel8 under) {
    for (int sy = 0; sy < image.Height() * scale; ++sy)
        for (int sx = 0; sx < image.Width() * scale; ++sx) {
            art::Pixel8 p = image.At(sx / scale, sy / scale);
            if (p == resources::kTransparentRed) p = under;
            const int a = p.a;
            p = art::Pixel8{uint8_t((p.r * a + under.r * (255 - a)) / 255), uint8_t((p.g * a + under.g * (255 - a)) / 255),
                            uint8_t((p.b * a + under.b * (255 - a)) / 255), 255};
            sheet.At(x + sx, y + sy) = p;
        }
}

art::Image8 ResourceSheet() {
    constexpr int kScale = 6;
    constexpr int kGap = 4;
    constexpr int kMargin = 16;
    const art::Image8 bar = resources::RenderScrollBarParts();
    const int cellW = resources::kScrollCellWidth;
    const int cellH = resources::kScrollCellHeight;
    const int gridW = resources::kScrollColumns * (cellW * kScale + kGap) - kGap;
    const int gridH = resources::kScrollRows * (cellH * kScale + kGap) - kGap;
    const int tile = resources::kRowIconSize * kScale;
    art::Image8 sheet(gridW + 2 * kMargin, gridH + 2 * tile + 3 * kMargin + 8, art::Pixel8{40, 40, 40, 255});
    // The grid, cell by cell with gaps, so that every cell shows on its own.
    for (int row = 0; row < resources::kScrollRows; ++row)
        for (int col = 0; col < resources::kScrollColumns; ++col) {
            art::Image8 cell(cellW, cellH);
            for (int y = 0; y < cellH; ++y)
                for (int x = 0; x < cellW; ++x) cell.At(x, y) = bar.At(col * cellW + x, row * cellH + y);
            Enlarge(sheet, cell, kMargin + col * (cellW * kScale + kGap), kMargin + row * (cellH * kScale + kGap),
                    kScale, {});
        }
    // Row icons on a list row and on a selected one; the submenu arrow on a menu
    // item and on the selected item.
    const art::Pixel8 rows[2] = {{31, 27, 41, 255}, {99, 65, 149, 255}};
    const art::Pixel8 items[2] = {{16, 16, 16, 255}, {128, 21, 153, 255}};
    for (int line = 0; line < 2; ++line) {
        const int y = 2 * kMargin + gridH + line * (tile + 8);
        int x = kMargin;
        for (resources::RowIcon icon : resources::kRowIcons) {
            Enlarge(sheet, resources::RenderRowIcon(icon), x, y, kScale, rows[line]);
            x += tile + 8;
        }
        Enlarge(sheet, resources::RenderSubmenuArrow(), x + 24, y, kScale, items[line]);
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    std::string skinsDir, iconsDir, resourcesDir, previewDir, stamp;
    for (int i = 1; i < argc; ++i) {
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = false;
        if (!std::strcmp(argv[i], "--skins")) ok = value(skinsDir);
        else if (!std::strcmp(argv[i], "--icons")) ok = value(iconsDir);
        else if (!std::strcmp(argv[i], "--resources")) ok = value(resourcesDir);
        else if (!std::strcmp(argv[i], "--preview")) ok = value(previewDir);
        else if (!std::strcmp(argv[i], "--stamp")) ok = value(stamp);
        if (!ok) return Usage();
    }
    if (skinsDir.empty() && iconsDir.empty() && resourcesDir.empty() && previewDir.empty()) return Usage();

    try {
        std::string error;
        if (!skinsDir.empty()) {
            const std::vector<skin::SkinSet> sets = BuildAllSets();
            for (size_t i = 0; i < sets.size(); ++i) {
                const int percent = art::kScalePercents[i];
                const bool written = percent == 100
                    ? skin::WriteFiles(skinsDir, sets[i].Files(), &error)
                    : skin::WriteFiles(std::filesystem::path(skinsDir) / std::to_string(percent),
                                       ScaledSetFiles(sets[i], percent), &error);
                if (!written) {
                    std::fprintf(stderr, "gm_skingen: %s\n", error.c_str());
                    return 1;
                }
            }
        }
        if (!previewDir.empty()) {
            const skin::SkinSet set = skin::BuildSkinSet();
            if (!previewDir.empty()) {
                std::vector<skin::GeneratedFile> previews;
                for (const skin::BuiltSkin& w : set.windows)
                    previews.push_back({w.iniName + ".preview.bmp", art::EncodeBmp24(Compose(set, w))});
                previews.push_back({"option_resources.preview.bmp", art::EncodeBmp24(ResourceSheet())});
                if (!skin::WriteFiles(previewDir, previews, &error)) {
                    std::fprintf(stderr, "gm_skingen: %s\n", error.c_str());
                    return 1;
                }
            }
        }
        if (!iconsDir.empty() && !skin::WriteFiles(iconsDir, icons::BuildAppIcons(), &error)) {
            std::fprintf(stderr, "gm_skingen: %s\n", error.c_str());
            return 1;
        }
        if (!resourcesDir.empty() && !skin::WriteFiles(resourcesDir, resources::BuildOptionResources(), &error)) {
            std::fprintf(stderr, "gm_skingen: %s\n", error.c_str());
            return 1;
        }
        if (!stamp.empty()) {
            std::ofstream out(stamp, std::ios::trunc);
            out << "generated\n";
            if (!out) {
                std::fprintf(stderr, "gm_skingen: cannot write %s\n", stamp.c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gm_skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}

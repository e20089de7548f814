// gm_skingen: writes the skin set and the program icons.
//
//   gm_skingen [--skins DIR] [--icons DIR] [--preview DIR] [--stamp FILE]
//
// --preview writes, for looking at the artwork, each top-level window with its
// pages placed in it ("<skin>.preview.bmp"); it is not part of the build.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "art/bmp_file.h"
#include "icons/app_icons.h"
#include "skin/file_output.h"
#include "skin/skin_set.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: gm_skingen [--skins DIR] [--icons DIR] [--preview DIR] [--stamp FILE]\n");
    return 2;
}

// The top-level window with every page that lies in it pasted at its place.
art::Image8 Compose(const skin::SkinSet& set, const skin::BuiltSkin& top) {
    art::Image8 out = top.normal;
    const auto liesIn = [&](const skin::BuiltSkin* w) {
        while (w && !w->parentIni.empty()) {
            if (w->parentIni == top.iniName) return true;
            w = set.Find(w->parentIni);
        }
        return false;
    };
    for (const skin::BuiltSkin& w : set.windows) {
        if (!liesIn(&w)) continue;
        const int dx = w.originX;
        const int dy = w.originY;
        for (int y = 0; y < w.height; ++y)
            for (int x = 0; x < w.width; ++x)
                if (dx + x < out.Width() && dy + y < out.Height()) out.At(dx + x, dy + y) = w.normal.At(x, y);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    std::string skinsDir, iconsDir, previewDir, stamp;
    for (int i = 1; i < argc; ++i) {
        const auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = false;
        if (!std::strcmp(argv[i], "--skins")) ok = value(skinsDir);
        else if (!std::strcmp(argv[i], "--icons")) ok = value(iconsDir);
        else if (!std::strcmp(argv[i], "--preview")) ok = value(previewDir);
        else if (!std::strcmp(argv[i], "--stamp")) ok = value(stamp);
        if (!ok) return Usage();
    }
    if (skinsDir.empty() && iconsDir.empty() && previewDir.empty()) return Usage();

    try {
        std::string error;
        if (!skinsDir.empty() || !previewDir.empty()) {
            const skin::SkinSet set = skin::BuildSkinSet();
            if (!skinsDir.empty() && !skin::WriteFiles(skinsDir, set.Files(), &error)) {
                std::fprintf(stderr, "gm_skingen: %s\n", error.c_str());
                return 1;
            }
            if (!previewDir.empty()) {
                std::vector<skin::GeneratedFile> previews;
                for (const skin::BuiltSkin& w : set.windows)
                    if (w.parentIni.empty())
                        previews.push_back({w.iniName + ".preview.bmp", art::EncodeBmp24(Compose(set, w))});
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

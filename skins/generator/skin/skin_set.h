#pragma once
// The registry of skinned windows and the build of the whole skin set.
#include <span>
#include <string>
#include <vector>

#include "skin/skin_builder.h"

namespace skin {

struct WindowDescription {
    const char* iniName;    // the skin description file the program opens
    const char* imageStem;  // prefix of its five image files
    int width;              // size of a top-level window; 0 for a page
    int height;
    const char* parentIni;  // a page lies on an area of this window ...
    int parentEntry;        // ... given by this entry, and takes its size
    void (*describe)(SkinBuilder& builder);
    // A page the program shows only on request (a panel over its parent's
    // controls); otherwise the first page on an area is the one shown at start.
    bool onDemand = false;
};

// Every window of the set, parents before their pages.
std::span<const WindowDescription> RegisteredWindows();

struct SkinSet {
    std::vector<BuiltSkin> windows;
    // Pictures of the skins folder that no window describes (the slider thumb).
    std::vector<GeneratedFile> pictures;

    const BuiltSkin* Find(const std::string& iniName) const;
    std::vector<GeneratedFile> Files() const;
};

// Builds every registered window and the loose pictures at `percent` (one of
// art::kScalePercents). Throws std::runtime_error on a layout fault.
SkinSet BuildSkinSet(int percent = 100);

}  // namespace skin

#include "skin/skin_set.h"

#include <stdexcept>

#include "pictures/skin_pictures.h"

namespace skin {

const BuiltSkin* SkinSet::Find(const std::string& iniName) const {
    for (const BuiltSkin& w : windows)
        if (w.iniName == iniName) return &w;
    return nullptr;
}

std::vector<GeneratedFile> SkinSet::Files() const {
    std::vector<GeneratedFile> files;
    for (const BuiltSkin& w : windows) files.insert(files.end(), w.files.begin(), w.files.end());
    files.insert(files.end(), pictures.begin(), pictures.end());
    return files;
}

SkinSet BuildSkinSet(int percent) {
    SkinSet set;
    for (const WindowDescription& d : RegisteredWindows()) {
        if (d.parentIni) {
            const BuiltSkin* parent = set.Find(d.parentIni);
            if (!parent) throw std::runtime_error(std::string(d.iniName) + ": parent " + d.parentIni + " not built yet");
            SkinBuilder builder(d.iniName, d.imageStem, *parent, d.parentEntry);
            d.describe(builder);
            set.windows.push_back(builder.Build());
            set.windows.back().parentIni = d.parentIni;
            set.windows.back().parentEntry = d.parentEntry;
            set.windows.back().onDemand = d.onDemand;
        } else {
            SkinBuilder builder(d.iniName, d.imageStem, d.width, d.height, percent);
            d.describe(builder);
            set.windows.push_back(builder.Build());
        }
    }
    set.pictures = pictures::BuildSkinPictures(percent);
    return set;
}

}  // namespace skin

#include "skin_resource.h"

#include <map>
#include <string>
#include <utility>

#include "module.h"
#include "shared_pictures.h"
#include "skin_folder.h"
#include "skin_scale.h"

namespace {

// One load per icon, size and set, as LR_SHARED gives for the resources; the
// handles live as long as the process, like those.
HICON LoadIconOnce(const wchar_t* fileName, int side) {
    static std::map<std::wstring, HICON> loaded;
    const std::wstring path = SkinsFolder() + fileName;
    const std::wstring key = path + L"|" + std::to_wstring(side);
    if (auto found = loaded.find(key); found != loaded.end()) return found->second;
    auto image = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, side, side, LR_LOADFROMFILE));
    loaded.emplace(key, image);  // a missing file is not looked for again
    return image;
}

}  // namespace

HBITMAP SkinResourceBitmap(int resourceId, const wchar_t* fileName) {
    if (!SkinScale().IsUnscaled()) {
        if (HBITMAP image = SharedPictureFile(SkinsFolder() + fileName, fileName)) return image;
    }
    return SharedResourceBitmap(resourceId);
}

HICON SkinResourceIcon(int resourceId, const wchar_t* fileName, int side) {
    if (!SkinScale().IsUnscaled()) {
        if (HICON image = LoadIconOnce(fileName, side)) return image;
    }
    return static_cast<HICON>(
        LoadImageW(CurrentModule(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, side, side, LR_SHARED));
}

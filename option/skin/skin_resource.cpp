#include "skin_resource.h"

#include <map>
#include <string>
#include <utility>

#include "module.h"
#include "skin_folder.h"
#include "skin_scale.h"

namespace {

// One load per picture and set, as LR_SHARED gives for the resources; the
// handles live as long as the process, like those.
HANDLE LoadOnce(const wchar_t* fileName, UINT type, int side) {
    static std::map<std::wstring, HANDLE> loaded;
    const std::wstring path = SkinsFolder() + fileName;
    const std::wstring key = path + L"|" + std::to_wstring(side);
    if (auto found = loaded.find(key); found != loaded.end()) return found->second;
    HANDLE image = LoadImageW(nullptr, path.c_str(), type, side, side, LR_LOADFROMFILE);
    loaded.emplace(key, image);  // a missing file is not looked for again
    return image;
}

}  // namespace

HBITMAP SkinResourceBitmap(int resourceId, const wchar_t* fileName) {
    if (!SkinScale().IsUnscaled()) {
        if (HANDLE image = LoadOnce(fileName, IMAGE_BITMAP, 0)) return static_cast<HBITMAP>(image);
    }
    return static_cast<HBITMAP>(
        LoadImageW(CurrentModule(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_SHARED));
}

HICON SkinResourceIcon(int resourceId, const wchar_t* fileName, int side) {
    if (!SkinScale().IsUnscaled()) {
        if (HANDLE image = LoadOnce(fileName, IMAGE_ICON, side)) return static_cast<HICON>(image);
    }
    return static_cast<HICON>(
        LoadImageW(CurrentModule(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, side, side, LR_SHARED));
}

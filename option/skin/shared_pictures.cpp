#include "shared_pictures.h"

#include <map>
#include <utility>

#include "gdi.h"
#include "module.h"
#include "skin_image.h"

namespace {

// Destroyed only when the program ends, after its windows.
std::map<int, BitmapHandle>& Resources() {
    static std::map<int, BitmapHandle> resources;
    return resources;
}

std::map<std::wstring, BitmapHandle>& Files() {
    static std::map<std::wstring, BitmapHandle> files;
    return files;
}

}  // namespace

HBITMAP SharedResourceBitmap(int id) {
    auto [at, added] = Resources().try_emplace(id);
    if (added)
        at->second.Reset(static_cast<HBITMAP>(
            LoadImageW(CurrentModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    return at->second.get();
}

HBITMAP SharedPictureFile(const std::wstring& path, const wchar_t* what) {
    auto& files = Files();
    if (auto known = files.find(path); known != files.end()) return known->second.get();
    BitmapHandle picture = LoadBitmapFile(path, what);
    if (!picture) return nullptr;
    return files.emplace(path, std::move(picture)).first->second.get();
}

#include "gdi_cache.h"

#include <map>
#include <string>
#include <tuple>

#include "gdi.h"

namespace {

struct FontKey {
    std::wstring face;
    int height;
    int width;
    int weight;
    bool operator<(const FontKey& other) const {
        return std::tie(face, height, width, weight) < std::tie(other.face, other.height, other.width, other.weight);
    }
};

struct ThreadCache {
    std::map<FontKey, FontHandle> fonts;
    std::map<COLORREF, BrushHandle> brushes;
    std::map<COLORREF, PenHandle> pens;
};

ThreadCache& Cache() {
    thread_local ThreadCache cache;
    return cache;
}

// Looks `key` up in `table`, making the object on a miss. A failed creation is
// not remembered, so the next paint tries again.
template <typename Table, typename Key, typename Make>
auto Lookup(Table& table, const Key& key, Make make) {
    const auto found = table.find(key);
    if (found != table.end()) return found->second.get();
    auto made = make();
    const auto handle = made.get();
    if (handle) table.emplace(key, std::move(made));
    return handle;
}

}  // namespace

HFONT CachedFont(const wchar_t* face, int height, int width, int weight) {
    FontKey key{face ? face : L"", height, width, weight};
    return Lookup(Cache().fonts, key, [&] {
        return FontHandle(CreateFontW(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, key.face.c_str()));
    });
}

HBRUSH CachedBrush(COLORREF color) {
    return Lookup(Cache().brushes, color, [&] { return BrushHandle(CreateSolidBrush(color)); });
}

HPEN CachedPen(COLORREF color) {
    return Lookup(Cache().pens, color, [&] { return PenHandle(CreatePen(PS_SOLID, 1, color)); });
}

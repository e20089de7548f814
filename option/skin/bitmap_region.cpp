#include "bitmap_region.h"

#include <cstring>
#include <vector>

#include "mask_runs.h"

static_assert(sizeof(RECT) == sizeof(MaskRect), "runs are handed to the region calls as RECTs");
static_assert(sizeof(RGNDATAHEADER) == 32, "region data header");

RegionHandle RegionFromRects(const RECT* rects, size_t count, const RECT& bounds) {
    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(count);
    header.rcBound = count ? bounds : RECT{0, 0, 0, 0};
    std::memcpy(data.data(), &header, sizeof header);
    if (count) std::memcpy(data.data() + sizeof header, rects, count * sizeof(RECT));
    return RegionHandle(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
}

RegionHandle BitmapToRegion(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance) {
    if (!bitmap) return {};
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 || info.bmHeight <= 0) return {};

    MemoryDC sectionDc(nullptr);
    MemoryDC sourceDc(nullptr);
    if (!sectionDc || !sourceDc) return {};

    // One copy into a 32-bit section, so pixels are read straight from memory.
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = info.bmWidth;
    bmi.bmiHeader.biHeight = info.bmHeight;  // positive: rows stored bottom-up
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle section(CreateDIBSection(sectionDc.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits) return {};
    {
        SelectGuard intoSection(sectionDc.get(), section.get());
        SelectGuard fromSource(sourceDc.get(), bitmap);
        if (!BitBlt(sectionDc.get(), 0, 0, info.bmWidth, info.bmHeight, sourceDc.get(), 0, 0, SRCCOPY)) return {};
        GdiFlush();
    }

    const MaskPixels pixels{static_cast<const uint8_t*>(bits), info.bmWidth, info.bmHeight,
                            static_cast<size_t>(info.bmWidth) * 4, true};
    RegionHandle result;
    const bool complete = ScanMaskRuns(pixels, static_cast<SkinColor>(transparent), static_cast<SkinColor>(tolerance),
                 [&](std::span<const MaskRect> rects, const MaskRect& box) {
                     const RECT bounds{box.left, box.top, box.right, box.bottom};
                     RegionHandle part = RegionFromRects(reinterpret_cast<const RECT*>(rects.data()), rects.size(),
                                                         bounds);
                     if (!part) return false;  // keep what was built so far
                     if (!result) {
                         result = std::move(part);
                     } else {
                         CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
                     }
                     return true;
                 });
    // Nothing but transparent pixels: an empty shape, not "no shape".
    if (!result && complete) result.Reset(CreateRectRgn(0, 0, 0, 0));
    return result;
}

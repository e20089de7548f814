#include "bitmap_region.h"

#include <cstring>
#include <vector>

#include "mask_runs.h"

static_assert(sizeof(RECT) == sizeof(MaskRect), "runs are handed to the region calls as RECTs");
static_assert(sizeof(RGNDATAHEADER) == 32, "region data header");

namespace {

COLORREF MemoryPixel(const uint8_t* row, int x, int bytesPerPixel) {
    const uint8_t* px = row + static_cast<size_t>(x) * bytesPerPixel;
    return RGB(px[2], px[1], px[0]);
}

// Whether a section's rows are stored bottom-up. The platform does not report
// it reliably for sections made top-down, so one pixel where the picture
// differs from its mirror image is asked through a device context. A picture
// that equals its mirror reads the same either way.
bool RowsBottomUp(HBITMAP bitmap, const uint8_t* bits, int width, int height, size_t stride, int bytesPerPixel) {
    for (int r = 0; r < height / 2; ++r) {
        const uint8_t* first = bits + static_cast<size_t>(r) * stride;
        const uint8_t* last = bits + static_cast<size_t>(height - 1 - r) * stride;
        if (std::memcmp(first, last, static_cast<size_t>(width) * bytesPerPixel) == 0) continue;
        for (int x = 0; x < width; ++x) {
            const COLORREF a = MemoryPixel(first, x, bytesPerPixel);
            if (a == MemoryPixel(last, x, bytesPerPixel)) continue;
            MemoryDC dc(nullptr);
            SelectGuard select(dc.get(), bitmap);
            return GetPixel(dc.get(), x, r) != a;
        }
    }
    return true;
}

}  // namespace

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

    // A picture that already is a 24- or 32-bit section is read where it lies;
    // anything else is copied once into a 32-bit section. Either way every
    // pixel is read from memory, never through the device context.
    MaskPixels pixels;
    BitmapHandle section;
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits && dib.dsBmih.biCompression == BI_RGB &&
        (dib.dsBm.bmBitsPixel == 24 || dib.dsBm.bmBitsPixel == 32)) {
        GdiFlush();
        const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
        const size_t stride = static_cast<size_t>(dib.dsBm.bmWidthBytes);
        const int bytesPerPixel = dib.dsBm.bmBitsPixel / 8;
        pixels = MaskPixels{bits, info.bmWidth, info.bmHeight, stride,
                            RowsBottomUp(bitmap, bits, info.bmWidth, info.bmHeight, stride, bytesPerPixel),
                            bytesPerPixel};
    } else {
        MemoryDC sectionDc(nullptr);
        MemoryDC sourceDc(nullptr);
        if (!sectionDc || !sourceDc) return {};
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = info.bmWidth;
        bmi.bmiHeader.biHeight = info.bmHeight;  // positive: rows stored bottom-up
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        section.Reset(CreateDIBSection(sectionDc.get(), &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!section || !bits) return {};
        SelectGuard intoSection(sectionDc.get(), section.get());
        SelectGuard fromSource(sourceDc.get(), bitmap);
        if (!BitBlt(sectionDc.get(), 0, 0, info.bmWidth, info.bmHeight, sourceDc.get(), 0, 0, SRCCOPY)) return {};
        GdiFlush();
        pixels = MaskPixels{static_cast<const uint8_t*>(bits), info.bmWidth, info.bmHeight,
                            static_cast<size_t>(info.bmWidth) * 4, true, 4};
    }

    return PixelsToRegion(pixels, transparent, tolerance);
}

RegionHandle PixelsToRegion(const MaskPixels& pixels, COLORREF transparent, COLORREF tolerance) {
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

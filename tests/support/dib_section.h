#pragma once
// A bitmap of known contents: a 32-bit top-down DIB section filled pixel by
// pixel, for the tests and benchmarks that hand bitmaps to the skin code.
#include <windows.h>

#include <cstddef>

#include "gdi.h"

// `pixel(x, y)` gives each pixel as a COLORREF. Empty when the section cannot
// be made.
template <typename F>
BitmapHandle MakeDibSection(int width, int height, F pixel) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return BitmapHandle();
    auto* out = static_cast<DWORD*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            out[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    return bitmap;
}

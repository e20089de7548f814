#pragma once
// A window shape from a mask picture.
#include <windows.h>

#include "gdi.h"

// The region of every pixel of `bitmap` that is not transparent: each colour
// channel within [transparent, transparent + tolerance]. Exact to the pixel.
// Null for no bitmap or when nothing could be built; an empty (not null)
// region when every pixel is transparent.
RegionHandle BitmapToRegion(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance);

// The same from pixels in memory (a mapped mask picture).
struct MaskPixels;
RegionHandle PixelsToRegion(const MaskPixels& pixels, COLORREF transparent, COLORREF tolerance);

// The same from rectangles already in hand: one region creation call per batch.
// Exposed for the tests and the benchmark.
RegionHandle RegionFromRects(const RECT* rects, size_t count, const RECT& bounds);

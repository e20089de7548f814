#pragma once
// The shape of a skinned window: every pixel of its mask picture that is not
// transparent belongs to the window. The mask is scanned row by row into runs
// of inside pixels, one rectangle (one pixel high) per run, and handed out in
// batches small enough for one region creation call. Portable: the Win32 side
// only turns each batch into a region.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "skin_color.h"

// A 32- or 24-bit picture as the platform's DIB sections hold it: per pixel
// the bytes blue, green, red (and one unused byte at 32 bits). Rows are
// `stride` bytes apart; with `bottomUp` the first row in memory is the
// picture's bottom row.
struct MaskPixels {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    size_t stride = 0;
    bool bottomUp = false;
    int bytesPerPixel = 4;  // 4 or 3
};

struct MaskRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    bool operator==(const MaskRect&) const = default;
};

// The platform's limit that the region code keeps to: rectangles per creation call.
inline constexpr size_t kMaxRectsPerRegion = 2000;

// Called once per batch with its rectangles (top to bottom, left to right) and
// their bounding box. Return false to stop the scan (out of memory, say).
using MaskBatchSink = std::function<bool(std::span<const MaskRect> rects, const MaskRect& bounds)>;

// A pixel is transparent when each colour channel lies within
// [transparent, min(255, transparent + tolerance)]. Returns false when the
// pixels are unusable (null, negative size, stride too small) or a sink stopped.
bool ScanMaskRuns(const MaskPixels& pixels, SkinColor transparent, SkinColor tolerance, const MaskBatchSink& sink,
                  size_t maxPerBatch = kMaxRectsPerRegion);

// Every run of the mask in one list (tests and tools).
std::vector<MaskRect> CollectMaskRuns(const MaskPixels& pixels, SkinColor transparent, SkinColor tolerance);

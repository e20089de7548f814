#include "mask_runs.h"

#include <algorithm>
#include <limits>

namespace {

struct ChannelBounds {
    uint8_t low[3];   // blue, green, red: the byte order of a pixel
    uint8_t high[3];
};

ChannelBounds BoundsOf(SkinColor transparent, SkinColor tolerance) {
    const uint8_t low[3] = {SkinBlue(transparent), SkinGreen(transparent), SkinRed(transparent)};
    const uint8_t tol[3] = {SkinBlue(tolerance), SkinGreen(tolerance), SkinRed(tolerance)};
    ChannelBounds b{};
    for (int i = 0; i < 3; ++i) {
        b.low[i] = low[i];
        b.high[i] = static_cast<uint8_t>(std::min(255, low[i] + tol[i]));
    }
    return b;
}

inline bool IsTransparent(const uint8_t* px, const ChannelBounds& b) {
    return px[0] >= b.low[0] && px[0] <= b.high[0] && px[1] >= b.low[1] && px[1] <= b.high[1] &&
           px[2] >= b.low[2] && px[2] <= b.high[2];
}

constexpr MaskRect kEmptyBounds{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), 0, 0};

}  // namespace

bool ScanMaskRuns(const MaskPixels& pixels, SkinColor transparent, SkinColor tolerance, const MaskBatchSink& sink,
                  size_t maxPerBatch) {
    if (!pixels.bits || pixels.width < 0 || pixels.height < 0 || maxPerBatch == 0) return false;
    if (pixels.bytesPerPixel != 3 && pixels.bytesPerPixel != 4) return false;
    const size_t step = static_cast<size_t>(pixels.bytesPerPixel);
    if (pixels.stride < static_cast<size_t>(pixels.width) * step) return false;
    const ChannelBounds bounds = BoundsOf(transparent, tolerance);

    std::vector<MaskRect> batch;
    batch.reserve(std::min<size_t>(maxPerBatch, 100));
    MaskRect box = kEmptyBounds;
    auto flush = [&]() {
        if (batch.empty()) return true;
        const bool go_on = sink(std::span<const MaskRect>(batch), box);
        batch.clear();
        box = kEmptyBounds;
        return go_on;
    };

    for (int32_t y = 0; y < pixels.height; ++y) {
        const int32_t memoryRow = pixels.bottomUp ? pixels.height - 1 - y : y;
        const uint8_t* row = pixels.bits + static_cast<size_t>(memoryRow) * pixels.stride;
        int32_t x = 0;
        while (x < pixels.width) {
            while (x < pixels.width && IsTransparent(row + step * static_cast<size_t>(x), bounds)) ++x;
            if (x >= pixels.width) break;
            const int32_t start = x;
            while (x < pixels.width && !IsTransparent(row + step * static_cast<size_t>(x), bounds)) ++x;
            const MaskRect run{start, y, x, y + 1};
            batch.push_back(run);
            box.left = std::min(box.left, run.left);
            box.top = std::min(box.top, run.top);
            box.right = std::max(box.right, run.right);
            box.bottom = std::max(box.bottom, run.bottom);
            if (batch.size() >= maxPerBatch && !flush()) return false;
        }
    }
    return flush();
}

std::vector<MaskRect> CollectMaskRuns(const MaskPixels& pixels, SkinColor transparent, SkinColor tolerance) {
    std::vector<MaskRect> all;
    ScanMaskRuns(pixels, transparent, tolerance, [&](std::span<const MaskRect> rects, const MaskRect&) {
        all.insert(all.end(), rects.begin(), rects.end());
        return true;
    });
    return all;
}

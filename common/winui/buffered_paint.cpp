#include "buffered_paint.h"

#include "gdi.h"

PaintPath PaintBufferedWith(HDC target, const RECT& area, PaintCallback paint, void* context) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (!target || width <= 0 || height <= 0) return PaintPath::kNothing;
    MemoryDC buffer(target);
    BitmapHandle bitmap(buffer ? CreateCompatibleBitmap(target, width, height) : nullptr);
    if (!bitmap) {
        paint(context, target, area);
        return PaintPath::kDirect;
    }
    {
        SelectGuard select(buffer.get(), bitmap.get());
        paint(context, buffer.get(), RECT{0, 0, width, height});
        BitBlt(target, area.left, area.top, width, height, buffer.get(), 0, 0, SRCCOPY);
    }
    return PaintPath::kBuffered;
}

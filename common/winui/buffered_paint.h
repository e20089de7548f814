#pragma once
// Flicker-free painting: a picture composed in a memory bitmap and copied to
// the screen in one block. When no buffer can be made (GDI is out of memory),
// the same drawing goes straight to the target instead of not at all.
#include <windows.h>

#include <type_traits>

enum class PaintPath {
    kNothing,   // the area is empty
    kBuffered,  // drawn off screen and copied
    kDirect,    // no buffer: drawn straight into the target
};

// Calls `paint(dc, rect)` once for `area` of `target`. Off screen, `dc` is a
// memory DC compatible with `target` and `rect` is (0, 0, width, height);
// directly, they are `target` and `area`. So the drawing works from `rect`,
// never from `area`.
template <typename Paint>
PaintPath PaintBuffered(HDC target, const RECT& area, Paint&& paint);

// ---- implementation ---------------------------------------------------------

using PaintCallback = void (*)(void* context, HDC dc, const RECT& rect);
PaintPath PaintBufferedWith(HDC target, const RECT& area, PaintCallback paint, void* context);

template <typename Paint>
PaintPath PaintBuffered(HDC target, const RECT& area, Paint&& paint) {
    using Callable = std::remove_reference_t<Paint>;
    return PaintBufferedWith(
        target, area,
        [](void* context, HDC dc, const RECT& rect) { (*static_cast<Callable*>(context))(dc, rect); },
        const_cast<void*>(static_cast<const void*>(&paint)));
}

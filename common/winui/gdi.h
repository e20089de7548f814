#pragma once
// Owners for GDI objects and device contexts. Every GDI handle the programs
// create lives in one of these, so nothing is deleted by hand and an early
// return never leaks. Fonts and the brushes and pens of painting come from
// gdi_cache.h instead: made once per thread, never deleted by their users.
#include <windows.h>

#include <utility>

#include "user_handles.h"

// Owns one GDI object (bitmap, font, brush, pen, region) and deletes it.
// Release gives up ownership, for APIs that take it over (SetWindowRgn).
template <typename Handle>
using GdiObject = HandleOwner<Handle, DeleteObject>;

using BitmapHandle = GdiObject<HBITMAP>;
using FontHandle = GdiObject<HFONT>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using RegionHandle = GdiObject<HRGN>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;            // not owned
    HGDIOBJ previous_;  // not owned: belongs to whoever selected it before
};

// A memory DC compatible with another DC.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// GetDC/ReleaseDC for one scope.
class ClientDC {
public:
    explicit ClientDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ClientDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;  // not owned
    HDC dc_;
};

// GetWindowDC/ReleaseDC: the whole window including its non-client area.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;  // not owned
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return paint_; }

private:
    HWND window_;  // not owned
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

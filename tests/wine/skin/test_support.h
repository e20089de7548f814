#pragma once
// Helpers for the skin tests under Wine: pictures written as files, a message
// pump, a recording parent window, and pixels read back from bitmaps.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../../support/temp_folder.h"
#include "gdi.h"
#include "window.h"

void Pump();
// Pumps until `done` or the time is up.
template <typename F>
bool PumpUntil(F done, DWORD ms = 2000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Pump();
        Sleep(5);
    }
    return true;
}

// Writes a 24-bit bottom-up BMP; `pixel(x, y)` gives each colour.
template <typename F>
void WriteBmp(const std::filesystem::path& file, int width, int height, F pixel);
void WriteBytes(const std::filesystem::path& file, const void* data, size_t size);
void WriteText(const std::filesystem::path& file, const std::string& text);

// A bitmap of the given size filled by `pixel(x, y)`.
template <typename F>
BitmapHandle MakeBitmap(int width, int height, F pixel);
COLORREF PixelOf(HBITMAP bitmap, int x, int y);

// A test that changes the skin scale (SetSkinScale) leaves it at 100 %.
struct ScaleRestorer {
    ~ScaleRestorer();
};

// The text of `control`'s tool in the tooltip its top-level window shares;
// empty when it has none.
std::wstring ToolTextOf(HWND control);

class CClickSlider;

// A plain top-level window that records what its children tell it.
class RecordingParent : public CWindow {
public:
    bool CreateTopLevel(int width = 400, int height = 300);
    std::vector<HWND> clicks;
    std::vector<WORD> commandIds;  // of the clicks
    std::vector<std::pair<WPARAM, LPARAM>> hovers;
    std::vector<WPARAM> edits;
    UINT editMessage = 0;
    std::vector<std::pair<WPARAM, LPARAM>> rowEdits;  // a list's kept edits: row, list id
    std::vector<int> picks;  // a list's LBN_SELCHANGE: its selection then
    // Slider reports: value, control id, and what `slider` (when set) said
    // about Released() as the report arrived, as a page reads it.
    struct SliderReport {
        int value;
        int id;
        bool released;
        bool operator==(const SliderReport&) const = default;
    };
    std::vector<SliderReport> sliderReports;
    const CClickSlider* slider = nullptr;  // not owned

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// ---- template definitions ---------------------------------------------------

void WriteBmpRows(const std::filesystem::path& file, int width, int height, const std::vector<COLORREF>& pixels);

template <typename F>
void WriteBmp(const std::filesystem::path& file, int width, int height, F pixel) {
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = pixel(x, y);
    WriteBmpRows(file, width, height, pixels);
}

BitmapHandle MakeBitmapFrom(int width, int height, const std::vector<COLORREF>& pixels);

template <typename F>
BitmapHandle MakeBitmap(int width, int height, F pixel) {
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = pixel(x, y);
    return MakeBitmapFrom(width, height, pixels);
}

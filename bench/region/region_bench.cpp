// Window shapes: the section scan of BitmapToRegion against the obvious way
// (GetPixel for every pixel, one CombineRgn per run), on 1024 x 768 masks; the
// slider thumb's shape against cutting it out pixel by pixel; and the time the
// gallery takes to open and paint against a plain window.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bitmap_region.h"
#include "dib_section.h"
#include "gallery_window.h"
#include "gdi.h"
#include "skin_folder.h"
#include "skin_image.h"
#include "thumb_slider.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1024, kHeight = 768;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The per-pixel way is quadratic in the number of runs; past this it stops and
// the ratio printed is a lower bound.
constexpr double kSlowBudgetSeconds = 20.0;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

template <typename F>
BitmapHandle Mask(F inside) {
    return MakeDibSection(kWidth, kHeight, [&](int x, int y) { return inside(x, y) ? RGB(0, 0, 0) : kWhite; });
}

// The obvious way: every pixel through the device context, a region per run.
struct SlowResult {
    RegionHandle region;
    int rows = 0;
    double seconds = 0;
};
SlowResult SlowRegion(HBITMAP mask) {
    SlowResult out;
    const auto start = Clock::now();
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), mask);
    out.region.Reset(CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < kHeight; ++y) {
        int x = 0;
        while (x < kWidth) {
            while (x < kWidth && GetPixel(dc.get(), x, y) == kWhite) ++x;
            if (x >= kWidth) break;
            const int from = x;
            while (x < kWidth && GetPixel(dc.get(), x, y) != kWhite) ++x;
            RegionHandle run(CreateRectRgn(from, y, x, y + 1));
            CombineRgn(out.region.get(), out.region.get(), run.get(), RGN_OR);
        }
        out.rows = y + 1;
        if (Seconds(start) > kSlowBudgetSeconds) break;
    }
    out.seconds = Seconds(start);
    return out;
}

void CompareShapes(const char* name, HBITMAP mask) {
    // The fast way is cheap: take the best of a few runs.
    double fast = 1e9;
    RegionHandle region;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        region = BitmapToRegion(mask, kWhite, 0);
        fast = std::min(fast, Seconds(start));
    }
    SlowResult slow = SlowRegion(mask);
    const bool complete = slow.rows == kHeight;
    const char* same = complete ? (EqualRgn(region.get(), slow.region.get()) ? "same region" : "REGIONS DIFFER")
                                : "stopped early";
    std::printf("%-13s section scan %8.2f ms   per pixel %9.1f ms (%3d/%d rows)   ratio %s%7.0fx   %s\n", name,
                fast * 1e3, slow.seconds * 1e3, slow.rows, kHeight, complete ? " " : ">=",
                slow.seconds / fast, same);
}

// ---- the slider thumb ---------------------------------------------------------

// The thumb's shape cut out pixel by pixel: the whole rectangle, and one XOR
// per pixel of the top-left pixel's colour, each read through the device context.
RegionHandle ThumbByPixels(HBITMAP picture, int& calls) {
    const SIZE size = BitmapSize(picture);
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), picture);
    const COLORREF transparent = GetPixel(dc.get(), 0, 0);
    RegionHandle region(CreateRectRgn(0, 0, size.cx, size.cy));
    calls = 1;
    for (int x = 0; x < size.cx; ++x)
        for (int y = 0; y < size.cy; ++y) {
            if (GetPixel(dc.get(), x, y) != transparent) continue;
            RegionHandle pixel(CreateRectRgn(x, y, x + 1, y + 1));
            CombineRgn(region.get(), region.get(), pixel.get(), RGN_XOR);
            calls += 2;
        }
    return region;
}

void CompareThumb(const std::wstring& skins) {
    const std::wstring path = skins + L"slider_arrow_rect.bmp";
    BitmapHandle picture(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!picture) {
        std::printf("slider thumb: skipped, no %ls\n", path.c_str());
        return;
    }
    constexpr int kRounds = 200;
    RegionHandle runs, pixels;
    int calls = 0;
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i) runs = ThumbRegion(picture.get());
    const double fast = Seconds(start) / kRounds;
    start = Clock::now();
    for (int i = 0; i < kRounds; ++i) pixels = ThumbByPixels(picture.get(), calls);
    const double slow = Seconds(start) / kRounds;
    const SIZE size = BitmapSize(picture.get());
    std::printf("slider thumb (%ldx%ld)   run scan %7.3f ms (one region call)   pixel by pixel %7.3f ms (%d region "
                "calls)   ratio %5.1fx   %s\n",
                size.cx, size.cy, fast * 1e3, slow * 1e3, calls, slow / fast,
                EqualRgn(runs.get(), pixels.get()) ? "same region" : "REGIONS DIFFER");
}

// ---- opening a window --------------------------------------------------------

class PlainWindow : public CWindow {
public:
    bool painted = false;

protected:
    bool OnPaint() override {
        PaintDC paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        BrushHandle brush(CreateSolidBrush(RGB(16, 16, 16)));
        FillRect(paint.get(), &client, brush.get());
        painted = true;
        return true;
    }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void CompareOpening(const std::wstring& skins) {
    const std::wstring ini = skins + L"skin_gallery.ini";
    if (GetFileAttributesW(ini.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("gallery opening: skipped, no %ls\n", ini.c_str());
        return;
    }
    std::vector<double> skinned, plain;
    SIZE size{0, 0};
    for (int i = 0; i < 7; ++i) {
        const auto start = Clock::now();
        CGalleryWindow gallery(u"skin_gallery.ini", L"");
        gallery.SetSkinFolder(std::u16string(skins.begin(), skins.end()));
        if (!gallery.CreateModeless(nullptr)) return;
        RedrawWindow(gallery.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        skinned.push_back(Seconds(start));
        size = gallery.BackgroundSize();
        DestroyWindow(gallery.hwnd());
        Pump();
    }
    for (int i = 0; i < 7; ++i) {
        const auto start = Clock::now();
        PlainWindow window;
        CWindow::CreateParams p;
        p.className = L"GmBenchPlain";
        p.style = WS_POPUP | WS_VISIBLE;
        p.width = size.cx;
        p.height = size.cy;
        if (!window.Create(p)) return;
        RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        plain.push_back(Seconds(start));
        DestroyWindow(window.hwnd());
        Pump();
    }
    std::printf("gallery opening (%ldx%ld, to the first complete paint, median of 7): skinned %.1f ms, "
                "plain %.1f ms, ratio %.1fx\n",
                size.cx, size.cy, Median(skinned) * 1e3, Median(plain) * 1e3, Median(skinned) / Median(plain));
}

}  // namespace

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    std::printf("Region of a %dx%d mask\n", kWidth, kHeight);
    BitmapHandle circle = Mask([](int x, int y) {
        const int dx = x - kWidth / 2, dy = y - kHeight / 2;
        return dx * dx + dy * dy <= 380 * 380;
    });
    CompareShapes("circle", circle.get());

    std::mt19937 random(7741);
    std::vector<unsigned char> noise(static_cast<size_t>(kWidth / 3) * (kHeight / 4));
    for (auto& cell : noise) cell = random() % 3 == 0;
    BitmapHandle text = Mask([&](int x, int y) { return noise[static_cast<size_t>(y / 4) * (kWidth / 3) + x / 3] != 0; });
    CompareShapes("text noise", text.get());

    BitmapHandle checker = Mask([](int x, int y) { return ((x / 4) + (y / 4)) % 2 == 0; });
    CompareShapes("checkerboard", checker.get());

    std::wstring skins = SkinsFolder();
    if (argc > 1) {
        const std::string arg = argv[1];
        skins.assign(arg.begin(), arg.end());
        for (auto& c : skins)
            if (c == L'/') c = L'\\';
        if (!skins.empty() && skins[0] == L'\\') skins = L"Z:" + skins;
    }
    CompareThumb(skins);
    CompareOpening(skins);
    OleUninitialize();
    return 0;
}

// The skinned slider under Wine: the track and its thumb driven with the
// mouse and key messages a user's input produces, the reports their parent
// receives, and the thumb's shape against the pixel-by-pixel way of making it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "art/bmp_file.h"
#include "click_slider.h"
#include "pictures/skin_pictures.h"
#include "skin_image.h"
#include "test_support.h"

using Report = RecordingParent::SliderReport;

void PrintTo(const Report& r, std::ostream* os) {
    *os << "{" << r.value << ", id " << r.id << (r.released ? ", released}" : ", held}");
}

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kId = 7;
// The track: 200 x 24 at (20, 40) of the parent. A 14-pixel thumb has 186 pixels of travel.
constexpr RECT kTrack{20, 40, 220, 64};
constexpr int kRoom = 186;

std::filesystem::path WriteGeneratedThumb(const TempFolder& folder) {
    const std::string bytes = art::EncodeBmp24(pictures::RenderSliderThumb());
    const auto path = folder.path() / L"slider_arrow_rect.bmp";
    WriteBytes(path, bytes.data(), bytes.size());
    return path;
}

// A 14 x 22 thumb whose transparent colour also occurs inside it: magenta
// around a rounded box, and in a hole of 2 x 3 pixels and one single pixel
// inside. Not symmetric top to bottom, so an upside-down reading shows.
bool InHole(int x, int y) { return (x >= 5 && x < 7 && y >= 6 && y < 9) || (x == 9 && y == 15); }
COLORREF HoledPixel(int x, int y) {
    const bool corner = (x < 2 || x > 11) && (y < 2 || y > 19);
    if (x == 0 || x == 13 || y == 0 || corner || InHole(x, y)) return kMagenta;
    return RGB(100 + x * 5, 20, 120 + y * 4);
}

std::filesystem::path WriteHoledThumb(const TempFolder& folder) {
    const auto path = folder.path() / L"holed_thumb.bmp";
    WriteBmp(path, 14, 22, HoledPixel);
    return path;
}

BitmapHandle LoadThumb(const std::filesystem::path& path) {
    return BitmapHandle(static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

// The thumb's shape made the slow way: the full rectangle, and every pixel of
// the top-left pixel's colour taken out by XOR, column by column, one region
// call per pixel.
struct PixelShape {
    RegionHandle region;
    int calls = 0;
};
PixelShape ShapePixelByPixel(HBITMAP picture) {
    PixelShape shape;
    const SIZE size = BitmapSize(picture);
    MemoryDC dc(nullptr);
    SelectGuard select(dc.get(), picture);
    const COLORREF transparent = GetPixel(dc.get(), 0, 0);
    shape.region.Reset(CreateRectRgn(0, 0, size.cx, size.cy));
    for (int x = 0; x < size.cx; ++x)
        for (int y = 0; y < size.cy; ++y) {
            if (GetPixel(dc.get(), x, y) != transparent) continue;
            RegionHandle pixel(CreateRectRgn(x, y, x + 1, y + 1));
            CombineRgn(shape.region.get(), shape.region.get(), pixel.get(), RGN_XOR);
            ++shape.calls;
        }
    return shape;
}

// The region's rectangles as the platform reports them.
std::vector<RECT> RectsOf(HRGN region) {
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<unsigned char> data(bytes);
    if (!bytes || !GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data()))) return {};
    const auto* header = reinterpret_cast<const RGNDATAHEADER*>(data.data());
    const auto* rects = reinterpret_cast<const RECT*>(data.data() + header->dwSize);
    return std::vector<RECT>(rects, rects + header->nCount);
}

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(RECT)) == 0);
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(y)); }

class Slider : public ::testing::Test {
protected:
    void SetUp() override {
        // Clear of the windows, so no real pointer movement mixes with the test's own.
        SetCursorPos(1270, 1010);
        ASSERT_TRUE(parent.CreateTopLevel(400, 200));
        thumbPath = WriteGeneratedThumb(folder);
    }

    bool Make(bool rangeOfPages = false) {
        if (!slider.Create(thumbPath.wstring(), kTrack.left, kTrack.top, kTrack.right, kTrack.bottom, parent.hwnd(),
                           kId))
            return false;
        parent.slider = &slider;
        if (rangeOfPages) {
            slider.SetRange(2, 100);
            slider.SetPos(50);
        }
        Pump();
        parent.sliderReports.clear();
        return true;
    }

    HWND Thumb() { return slider.Thumb().hwnd(); }
    void Track(UINT message, int x, WPARAM keys = 0) {
        SendMessageW(slider.hwnd(), message, keys, At(x, 10));
        Pump();
    }
    void OnThumb(UINT message, int x, WPARAM keys = 0) {
        SendMessageW(Thumb(), message, keys, At(x, 10));
        Pump();
    }
    void Key(UINT key) {
        SendMessageW(Thumb(), WM_KEYDOWN, key, 1);
        Pump();
    }

    TempFolder folder;
    RecordingParent parent;
    std::filesystem::path thumbPath;
    CClickSlider slider;
};

}  // namespace

TEST(SliderThumbShape, RunScanGivesTheRegionOfThePixelByPixelWayForTheGeneratedAndAHoledPicture) {
    TempFolder folder;
    for (const auto& path : {WriteGeneratedThumb(folder), WriteHoledThumb(folder)}) {
        SCOPED_TRACE(path.filename().string());
        BitmapHandle picture = LoadThumb(path);
        ASSERT_TRUE(picture);
        RegionHandle runs = ThumbRegion(picture.get());
        const PixelShape pixels = ShapePixelByPixel(picture.get());
        ASSERT_TRUE(runs);
        ASSERT_TRUE(pixels.region);
        EXPECT_TRUE(EqualRgn(runs.get(), pixels.region.get()));
        const std::vector<RECT> a = RectsOf(runs.get());
        EXPECT_FALSE(a.empty());
        EXPECT_TRUE(SameRects(a, RectsOf(pixels.region.get())));
        // One region call per transparent pixel the slow way; the run scan
        // makes the whole thumb in one creation call.
        EXPECT_GT(pixels.calls, 40);
        EXPECT_FALSE(PtInRegion(runs.get(), 0, 0));
        EXPECT_TRUE(PtInRegion(runs.get(), 7, 4));
    }
    BitmapHandle holed = LoadThumb(folder.path() / L"holed_thumb.bmp");
    RegionHandle shape = ThumbRegion(holed.get());
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(PtInRegion(shape.get(), x, y) != FALSE, HoledPixel(x, y) != kMagenta) << x << "," << y;
    EXPECT_FALSE(ThumbRegion(nullptr));
}

TEST_F(Slider, CreateRefusesAMissingPictureAndATrackNoWiderThanItsThumb) {
    EXPECT_FALSE(slider.Create((folder.path() / L"missing.bmp").wstring(), 20, 40, 220, 64, parent.hwnd(), kId));
    WriteText(folder.path() / L"text.bmp", "not a picture");
    EXPECT_FALSE(slider.Create((folder.path() / L"text.bmp").wstring(), 20, 40, 220, 64, parent.hwnd(), kId));
    EXPECT_FALSE(slider.Create(thumbPath.wstring(), 20, 40, 34, 64, parent.hwnd(), kId)) << "as wide as the thumb";
    EXPECT_FALSE(slider.Create(thumbPath.wstring(), 20, 40, 30, 64, parent.hwnd(), kId));
    EXPECT_FALSE(slider.Create(thumbPath.wstring(), 220, 40, 20, 64, parent.hwnd(), kId));
    EXPECT_EQ(slider.hwnd(), nullptr);
    EXPECT_EQ(Thumb(), nullptr);
    EXPECT_EQ(GetWindow(parent.hwnd(), GW_CHILD), nullptr) << "a refused slider makes no window";

    // One pixel of travel is enough.
    ASSERT_TRUE(slider.Create(thumbPath.wstring(), 20, 40, 35, 64, parent.hwnd(), kId));
    EXPECT_EQ(slider.Thumb().Travel().Room(), 1);
}

TEST_F(Slider, ANewSliderHasItsRangeItsThumbAndItsIds) {
    ASSERT_TRUE(Make());
    EXPECT_EQ(GetDlgItem(parent.hwnd(), kId), slider.hwnd());
    EXPECT_EQ(GetParent(Thumb()), slider.hwnd());
    EXPECT_EQ(slider.Minimum(), 0);
    EXPECT_EQ(slider.Maximum(), 10);
    EXPECT_EQ(slider.Pos(), 0);
    EXPECT_TRUE(slider.Released());
    EXPECT_TRUE(GetWindowLongPtrW(Thumb(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtrW(slider.hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(SendMessageW(Thumb(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    EXPECT_EQ(GetNextDlgTabItem(parent.hwnd(), nullptr, FALSE), Thumb()) << "the thumb is the slider's tab stop";

    RECT thumb{};
    GetWindowRect(Thumb(), &thumb);
    MapWindowPoints(nullptr, slider.hwnd(), reinterpret_cast<POINT*>(&thumb), 2);
    EXPECT_EQ(thumb.left, 0);
    EXPECT_EQ(thumb.top, 1) << "centred on the 24-pixel track";
    EXPECT_EQ(thumb.right - thumb.left, 14);
    EXPECT_EQ(thumb.bottom - thumb.top, 22);
    // Shaped by its picture.
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Thumb(), shape.get()), ERROR);
    EXPECT_FALSE(PtInRegion(shape.get(), 0, 0));
    EXPECT_TRUE(PtInRegion(shape.get(), 7, 10));
}

TEST_F(Slider, ADeletedSliderTakesItsWindowsWithIt) {
    auto other = std::make_unique<CClickSlider>();
    ASSERT_TRUE(other->Create(thumbPath.wstring(), 20, 100, 220, 124, parent.hwnd(), 8));
    const HWND track = other->hwnd();
    const HWND thumb = other->Thumb().hwnd();
    other.reset();
    EXPECT_FALSE(IsWindow(track));
    EXPECT_FALSE(IsWindow(thumb));
    EXPECT_EQ(GetWindow(parent.hwnd(), GW_CHILD), nullptr);
}

TEST_F(Slider, AThumbPictureWithItsTransparentColourInsideGetsHoles) {
    thumbPath = WriteHoledThumb(folder);
    ASSERT_TRUE(Make());
    RegionHandle shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Thumb(), shape.get()), ERROR);
    EXPECT_FALSE(PtInRegion(shape.get(), 5, 6));
    EXPECT_FALSE(PtInRegion(shape.get(), 9, 15));
    EXPECT_TRUE(PtInRegion(shape.get(), 4, 6));
    EXPECT_TRUE(PtInRegion(shape.get(), 9, 14));
}

TEST_F(Slider, SetRangeRefusesEmptyInvertedAndNegativeRangesAndKeepsTheOldOne) {
    ASSERT_TRUE(Make(true));
    EXPECT_FALSE(slider.SetRange(5, 5));
    EXPECT_FALSE(slider.SetRange(100, 2));
    EXPECT_FALSE(slider.SetRange(-1, 10));
    EXPECT_EQ(slider.Minimum(), 2);
    EXPECT_EQ(slider.Maximum(), 100);
    EXPECT_EQ(slider.Pos(), 50);
    // A narrower range takes the value in, and the thumb goes where it now belongs.
    EXPECT_TRUE(slider.SetRange(0, 10));
    EXPECT_EQ(slider.Pos(), 10);
    EXPECT_EQ(slider.Thumb().Left(), kRoom);
    Pump();
    EXPECT_TRUE(parent.sliderReports.empty()) << "the program's own changes are not reported";
}

TEST_F(Slider, SetPosClampsAndANegativeValueEndsAtTheMaximum) {
    ASSERT_TRUE(Make(true));
    slider.SetPos(51);
    EXPECT_EQ(slider.Pos(), 51);
    EXPECT_EQ(slider.Thumb().Left(), kRoom * 49 / 98);
    slider.SetPos(500);
    EXPECT_EQ(slider.Pos(), 100);
    EXPECT_EQ(slider.Thumb().Left(), kRoom);
    slider.SetPos(1);
    EXPECT_EQ(slider.Pos(), 2);
    EXPECT_EQ(slider.Thumb().Left(), 0);
    slider.SetPos(-1);
    EXPECT_EQ(slider.Pos(), 100);
    EXPECT_EQ(slider.Thumb().Left(), kRoom);
    Pump();
    EXPECT_TRUE(parent.sliderReports.empty());
}

TEST_F(Slider, AClickOnTheTrackReportsOnButtonUpAndFocusesTheThumb) {
    ASSERT_TRUE(Make());
    Track(WM_LBUTTONDOWN, 198, MK_LBUTTON);
    EXPECT_FALSE(slider.Released()) << "pressed";
    EXPECT_EQ(GetFocus(), Thumb());
    EXPECT_EQ(GetCapture(), slider.hwnd());
    EXPECT_TRUE(parent.sliderReports.empty()) << "nothing until the button comes up";
    Track(WM_LBUTTONUP, 198);
    EXPECT_EQ(GetCapture(), nullptr);
    // 99% of the width: 9 truncated ...
    EXPECT_EQ(parent.sliderReports, (std::vector<Report>{{9, kId, true}}));
    EXPECT_EQ(slider.Pos(), 9);
    EXPECT_EQ(slider.Thumb().Left(), kRoom * 9 / 10);

    // ... and 10 snapped.
    slider.SetSnap(true);
    Track(WM_LBUTTONDOWN, 198, MK_LBUTTON);
    Track(WM_LBUTTONUP, 198);
    EXPECT_EQ(parent.sliderReports.back(), (Report{10, kId, true}));

    // Let go left of the track (the mouse is captured): the minimum; right of it, the maximum.
    Track(WM_LBUTTONDOWN, 100, MK_LBUTTON);
    Track(WM_LBUTTONUP, -30);
    EXPECT_EQ(parent.sliderReports.back(), (Report{0, kId, true}));
    Track(WM_LBUTTONDOWN, 100, MK_LBUTTON);
    Track(WM_LBUTTONUP, 400);
    EXPECT_EQ(parent.sliderReports.back(), (Report{10, kId, true}));

    // A button pressed elsewhere and let go over the track is no click.
    const size_t before = parent.sliderReports.size();
    Track(WM_LBUTTONUP, 50);
    EXPECT_EQ(parent.sliderReports.size(), before);
}

TEST_F(Slider, ADragTrailsByOneMoveAndSettlesOnButtonUp) {
    ASSERT_TRUE(Make());
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    EXPECT_FALSE(slider.Released());
    EXPECT_TRUE(slider.Thumb().Dragging());
    EXPECT_EQ(GetCapture(), Thumb());
    EXPECT_EQ(GetFocus(), Thumb());
    OnThumb(WM_MOUSEMOVE, 5 + 93, MK_LBUTTON);
    EXPECT_EQ(slider.Thumb().Left(), 93);
    OnThumb(WM_MOUSEMOVE, 5, MK_LBUTTON);  // the pointer rests where it grabbed the thumb
    EXPECT_EQ(slider.Thumb().Left(), 93);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_FALSE(slider.Thumb().Dragging());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(parent.sliderReports, (std::vector<Report>{{0, kId, false}, {5, kId, false}, {5, kId, true}}));
    EXPECT_EQ(slider.Pos(), 5);
    EXPECT_TRUE(slider.Released());
}

TEST_F(Slider, ADraggedThumbStopsAtBothEndsAndSnapsToItsValue) {
    ASSERT_TRUE(Make());
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_MOUSEMOVE, 1005, MK_LBUTTON);
    EXPECT_EQ(slider.Thumb().Left(), kRoom) << "its right edge at the track's";
    OnThumb(WM_MOUSEMOVE, 5 - 1000, MK_LBUTTON);
    EXPECT_EQ(slider.Thumb().Left(), 0);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_EQ(parent.sliderReports.back(), (Report{0, kId, true}));

    // Let go at left 100 (5.38): without snap the thumb stays there ...
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_MOUSEMOVE, 105, MK_LBUTTON);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_EQ(parent.sliderReports.back(), (Report{5, kId, true}));
    EXPECT_EQ(slider.Thumb().Left(), 100);
    // ... with snap it moves to the place of 5.
    slider.SetSnap(true);
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_MOUSEMOVE, 5, MK_LBUTTON);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_EQ(parent.sliderReports.back(), (Report{5, kId, true}));
    EXPECT_EQ(slider.Thumb().Left(), kRoom * 5 / 10);
}

TEST_F(Slider, LosingTheMouseEndsADragWhereTheThumbIsAndDropsATrackPress) {
    ASSERT_TRUE(Make());
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_MOUSEMOVE, 55, MK_LBUTTON);
    SetCapture(parent.hwnd());
    Pump();
    ReleaseCapture();
    EXPECT_FALSE(slider.Thumb().Dragging());
    EXPECT_TRUE(slider.Released());
    // Left at 50: 2.69, truncated.
    EXPECT_EQ(parent.sliderReports.back(), (Report{2, kId, true}));
    // The button-up that follows is no longer the thumb's.
    const size_t before = parent.sliderReports.size();
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_EQ(parent.sliderReports.size(), before);

    Track(WM_LBUTTONDOWN, 150, MK_LBUTTON);
    EXPECT_FALSE(slider.Released());
    SetCapture(parent.hwnd());
    Pump();
    ReleaseCapture();
    EXPECT_TRUE(slider.Released()) << "nothing is in progress any more";
    Track(WM_LBUTTONUP, 150);
    EXPECT_EQ(parent.sliderReports.size(), before) << "the dropped click reports nothing";
}

TEST_F(Slider, KeysStepAndJumpAndEachCountsAsARelease) {
    ASSERT_TRUE(Make(true));
    SetFocus(Thumb());
    Key(VK_RIGHT);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(parent.sliderReports, (std::vector<Report>{{51, kId, true}, {50, kId, true}, {49, kId, true}}));
    Key(VK_HOME);
    EXPECT_EQ(slider.Pos(), 2);
    EXPECT_EQ(slider.Thumb().Left(), 0);
    Key(VK_HOME);
    Key(VK_LEFT);
    EXPECT_EQ(parent.sliderReports.size(), 4u) << "nothing moves at the end, nothing is reported";
    Key(VK_END);
    EXPECT_EQ(parent.sliderReports.back(), (Report{100, kId, true}));
    EXPECT_EQ(slider.Thumb().Left(), kRoom);
    Key(VK_UP);
    Key('A');
    EXPECT_EQ(parent.sliderReports.size(), 5u);
}

TEST_F(Slider, PaintsTheStripOfItsWindowPictureAndTheThumbPicture) {
    ASSERT_TRUE(Make());
    const auto windowPixel = [](int x, int y) { return RGB((x * 7) % 256, (y * 13) % 256, 90); };
    BitmapHandle window = MakeBitmap(400, 200, windowPixel);
    slider.SetBitmap(kTrack, window.get());
    slider.SetBitmap(kTrack, nullptr);  // no picture: the old one stays

    BitmapHandle canvas = MakeBitmap(200, 24, [](int, int) { return RGB(255, 255, 255); });
    MemoryDC dc(nullptr);
    {
        SelectGuard select(dc.get(), canvas.get());
        slider.Draw(dc.get());
        for (const POINT p : {POINT{0, 0}, POINT{5, 7}, POINT{199, 23}, POINT{120, 12}})
            EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), windowPixel(kTrack.left + p.x, kTrack.top + p.y)) << p.x << "," << p.y;
    }

    BitmapHandle picture = LoadThumb(thumbPath);
    SetFocus(parent.hwnd());
    BitmapHandle face = MakeBitmap(14, 22, [](int, int) { return RGB(255, 255, 255); });
    SelectGuard select(dc.get(), face.get());
    slider.Thumb().Draw(dc.get());
    for (const POINT p : {POINT{7, 4}, POINT{1, 8}, POINT{6, 21}}) EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), PixelOf(picture.get(), p.x, p.y));
    // Focused by a click it shows no cue; once a key moves it, a line along its outline ...
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_EQ(GetFocus(), Thumb());
    slider.Thumb().Draw(dc.get());
    EXPECT_EQ(GetPixel(dc.get(), 1, 8), PixelOf(picture.get(), 1, 8));
    Key(VK_RIGHT);
    EXPECT_TRUE(slider.Thumb().FocusCue());
    slider.Thumb().Draw(dc.get());
    EXPECT_EQ(GetPixel(dc.get(), 1, 8), RGB(240, 236, 246));
    EXPECT_EQ(GetPixel(dc.get(), 7, 10), PixelOf(picture.get(), 7, 10)) << "the inside stays the picture";
    // ... until the next click, or until it loses the focus.
    OnThumb(WM_LBUTTONDOWN, 5, MK_LBUTTON);
    OnThumb(WM_LBUTTONUP, 5);
    EXPECT_FALSE(slider.Thumb().FocusCue());
    Key(VK_LEFT);
    SetFocus(parent.hwnd());
    EXPECT_FALSE(slider.Thumb().FocusCue());
}

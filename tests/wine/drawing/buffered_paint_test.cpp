#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "buffered_paint.h"
#include "gdi.h"

namespace {

// A canvas of `width` x `height` like the screen's, in a memory DC, all white.
class Canvas {
public:
    Canvas(int width, int height) : dc_(nullptr) {
        ClientDC screen(nullptr);
        bitmap_.Reset(CreateCompatibleBitmap(screen.get(), width, height));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() { SelectObject(dc_.get(), previous_); }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

private:
    MemoryDC dc_;
    BitmapHandle bitmap_;
    HGDIOBJ previous_ = nullptr;
};

struct Call {
    HDC dc;
    RECT rect;
};

}  // namespace

TEST(BufferedPaint, DrawsOffScreenFromTheOriginAndCopiesToTheArea) {
    Canvas canvas(60, 40);
    std::vector<Call> calls;
    const RECT area{10, 5, 30, 25};
    const PaintPath path = PaintBuffered(canvas.dc(), area, [&](HDC dc, const RECT& rect) {
        calls.push_back(Call{dc, rect});
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SetPixel(dc, 0, 0, RGB(255, 0, 0));  // the area's top left corner
    });
    EXPECT_EQ(path, PaintPath::kBuffered);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].dc, canvas.dc());
    const RECT origin{0, 0, 20, 20};
    EXPECT_TRUE(EqualRect(&calls[0].rect, &origin));
    EXPECT_EQ(canvas.At(10, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(29, 24), RGB(0, 0, 0));
    // One copy of the area, nothing around it.
    EXPECT_EQ(canvas.At(9, 5), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(30, 24), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(29, 25), RGB(255, 255, 255));
}

TEST(BufferedPaint, WithoutABufferDrawsStraightIntoTheTargetAtTheArea) {
    Canvas canvas(60, 40);
    std::vector<Call> calls;
    // No memory for a bitmap of this size: the drawing goes to the target.
    const RECT area{10, 5, 10 + 200000, 5 + 200000};
    const PaintPath path = PaintBuffered(canvas.dc(), area, [&](HDC dc, const RECT& rect) {
        calls.push_back(Call{dc, rect});
        SetPixel(dc, rect.left, rect.top, RGB(0, 0, 255));
    });
    EXPECT_EQ(path, PaintPath::kDirect);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].dc, canvas.dc());
    EXPECT_TRUE(EqualRect(&calls[0].rect, &area));
    EXPECT_EQ(canvas.At(10, 5), RGB(0, 0, 255));
}

TEST(BufferedPaint, AnEmptyAreaPaintsNothing) {
    Canvas canvas(10, 10);
    int calls = 0;
    auto count = [&](HDC, const RECT&) { ++calls; };
    EXPECT_EQ(PaintBuffered(canvas.dc(), RECT{5, 5, 5, 9}, count), PaintPath::kNothing);
    EXPECT_EQ(PaintBuffered(canvas.dc(), RECT{5, 5, 2, 2}, count), PaintPath::kNothing);
    EXPECT_EQ(PaintBuffered(nullptr, RECT{0, 0, 5, 5}, count), PaintPath::kNothing);
    EXPECT_EQ(calls, 0);
}

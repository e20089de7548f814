#pragma once
// The arithmetic of the skinned scroll bars (`CSkinScrollBar`) and of the
// frame "SkinScrollBarFrame" that carries them beside a list: bar parts,
// thumb, hit testing, thumb drags, arrow repeats, the pictures of bitmap 368
// and the frame layout. The bar and frame windows only draw and route what
// this file computes, so painting, hit testing and dragging can never
// disagree about where the thumb is. Portable.
//
// All arithmetic is done in 64 bits and clamped back, because the scroll
// state is copied from whatever the list reports: a range of the whole int32
// span, a page larger than the range or a position outside it must give a
// drawable bar, never an overflow or a division by zero.
#include <cstdint>

#include "button_pos.h"
#include "skin_point.h"

enum class ScrollBarKind { kHorizontal, kVertical };

// The parts of a bar. Their values are the platform's scroll codes, so a
// pressed part is sent to the list as it is.
enum class ScrollPart : int32_t {
    kNone = -1,
    kFirstArrow = 0,   // up / left
    kSecondArrow = 1,  // down / right
    kTrackBefore = 2,  // the track between the first arrow and the thumb
    kTrackAfter = 3,   // the track between the thumb and the second arrow
    kThumb = 5,
};

// Where the square between two bars goes, if anywhere. The numbers are the
// pictures' rows of old and stay as they are.
enum ScrollCorner : int {
    kNoCorner = 0,
    kCornerBottomLeft = 1,   // the vertical bar on the left
    kCornerBottomRight = 2,  // the vertical bar on the right
};

// The platform's scroll codes (SB_...), by value.
namespace scroll_code {
inline constexpr int32_t kLineUp = 0;
inline constexpr int32_t kLineDown = 1;
inline constexpr int32_t kPageUp = 2;
inline constexpr int32_t kPageDown = 3;
inline constexpr int32_t kThumbPosition = 4;  // sent once when a drag ends
inline constexpr int32_t kThumbTrack = 5;     // sent for every step of a drag
}  // namespace scroll_code

constexpr int32_t ScrollCodeOf(ScrollPart part) { return static_cast<int32_t>(part); }

// A bar's copy of the list's scroll information. The types are the
// platform's (the page is unsigned there).
struct ScrollState {
    int32_t min = 0;
    int32_t max = 0;
    uint32_t page = 0;
    int32_t pos = 0;
    int32_t trackPos = -1;  // -1 while no drag runs

    // The position the thumb shows: the dragged one while a drag runs.
    int32_t ShownPos() const { return trackPos == -1 ? pos : trackPos; }
};

// A bar is usable only while there is something to scroll to (the range is
// longer than the page); a list whose whole content fits gets a disabled bar.
bool ScrollBarEnabled(const ScrollState& state);

// The frame copies the list's state into its bar only when range, page or
// position moved, so that the 500 ms synchronisation does not repaint idle bars
// (the track position is the bar's own business during a drag).
bool RangePagePosDiffer(const ScrollState& a, const ScrollState& b);

// The last position a list can scroll to: min + (range - page), at least min.
// For a page of 0 or 1 that is the maximum itself.
int32_t LastScrollPosition(const ScrollState& state);

// A stretch along a bar, [begin, end).
struct ScrollSpan {
    int32_t begin = 0;
    int32_t end = 0;
    int32_t Length() const { return end - begin; }
    bool operator==(const ScrollSpan&) const = default;
};

// One bar at one moment: where its arrows, track parts and thumb lie. Built
// fresh from the bar's client size and state whenever either changes; cheap.
class ScrollBarGeometry {
public:
    // The thumb never gets shorter than this, so it can still be grabbed on a
    // long list; a track shorter than this shows no thumb at all.
    static constexpr int32_t kMinThumb = 12;

    // `thickness` is the bar's width across (the bitmap cell width), `length`
    // its client extent along. Negative sizes count as 0.
    ScrollBarGeometry(ScrollBarKind kind, int32_t thickness, int32_t length, const ScrollState& state);

    ScrollBarKind Kind() const { return kind_; }
    int32_t Thickness() const { return thickness_; }
    int32_t Length() const { return length_; }
    int32_t Arrow() const { return arrow_; }
    int32_t Track() const { return track_; }
    // Positions the thumb can travel over: range - page. 0 or less when the
    // page covers the whole range.
    int64_t Span() const { return span_; }
    int32_t ThumbLength() const { return thumb_; }
    int32_t ThumbStart() const { return thumbStart_; }
    bool HasThumb() const { return thumb_ > 0; }

    ScrollSpan PartSpan(ScrollPart part) const;
    // The part's rectangle in the bar's client pixels: its span along the bar
    // and the full thickness across. Empty for kNone.
    SkinRect PartRect(ScrollPart part) const;

    // The part at a distance along the bar. The second arrow reaches up to and
    // including the bar's length, so a captured pointer resting on the far edge
    // still counts as on it; before 0 and beyond the length is no part.
    ScrollPart PartAt(int32_t along) const;
    // The part at a point of the bar's client area; off the bar's thickness is
    // no part, so a held arrow pauses its repeat when the pointer slides off sideways.
    ScrollPart PartAt(SkinPoint client) const;
    int32_t Along(SkinPoint client) const { return kind_ == ScrollBarKind::kVertical ? client.y : client.x; }

    // The position a thumb drag asks for: the position at the start of the
    // drag, moved in proportion to how far the pointer travelled from where it
    // grabbed the thumb, kept between min and the last position.
    int32_t DragPosition(int32_t dragStart, int32_t grabAlong, int32_t pointerAlong) const;

private:
    ScrollBarKind kind_;
    ScrollState state_;
    int32_t thickness_ = 0;
    int32_t length_ = 0;
    int32_t arrow_ = 0;
    int32_t track_ = 0;
    int64_t span_ = 0;
    int32_t thumb_ = 0;
    int32_t thumbStart_ = 0;
};

// The thumb's picture is its square cut in three: fixed ends of up to six
// pixels keep their look at any thumb length, and the middle of the
// square is tiled between them. Spans along the bar: destinations in bar
// pixels, sources relative to the start of the square.
struct ThumbSlices {
    static constexpr int32_t kEnd = 6;
    ScrollSpan headDest, headSource;
    ScrollSpan middleDest, middleSource;  // tiled
    ScrollSpan tailDest, tailSource;
};
ThumbSlices SliceThumb(int32_t thumbStart, int32_t thumbLength, int32_t square);

// How a part is drawn. Rows of the bitmap.
enum class PartLook { kNormal = 0, kHot = 1, kPressed = 2 };

// Bitmap resource 368: 9 columns by 3 rows of equal cells. The cell width is
// also the thickness of every bar, so a different bitmap re-sizes the bars.
struct ScrollBitmapGrid {
    static constexpr int kResourceId = 368;
    static constexpr int32_t kShippedWidth = 117;
    static constexpr int32_t kShippedHeight = 48;
    static constexpr int32_t kColumns = 9;
    static constexpr int32_t kRows = 3;
    static constexpr int32_t kCornerColumn = 8;

    int32_t cell = 0;       // width of a cell, thickness of a bar
    int32_t rowHeight = 0;  // height of a cell

    // A missing or degenerate bitmap gives cells of size 0: bars of no
    // thickness rather than a failure.
    static ScrollBitmapGrid FromBitmap(int32_t width, int32_t height);

    // Column of a part's pictures: vertical bars use columns 0-3, horizontal 4-7.
    static int32_t Column(ScrollBarKind kind, ScrollPart part);
    // Normal pictures are the square at the top of the column (cell x cell);
    // hot and pressed ones are the full cell of their row (cell x rowHeight).
    // Empty for kNone.
    SkinRect Source(ScrollBarKind kind, ScrollPart part, PartLook look) const;
    // The square painted where the two bars meet: taken from the corner column
    // at row offset `cell` for a bar on the left, 0 for one on the right;
    // empty for no corner. `cornerMode` is a ScrollCorner.
    SkinRect CornerSource(int cornerMode) const;
};

// What the bar knows about the pointer, enough to choose each part's look.
struct ScrollBarPointer {
    ScrollPart hot = ScrollPart::kNone;
    ScrollPart pressed = ScrollPart::kNone;
    bool dragging = false;
    bool outsidePressed = false;  // a pressed arrow whose pointer slid off it
};

// Only arrows and the thumb change their look under the pointer; the track
// stays plain, so hovering over it repaints nothing.
bool ShowsHot(ScrollPart part);
PartLook LookOf(ScrollPart part, const ScrollBarPointer& pointer);

// Holding an arrow or the track: one scroll at the press, the next after a
// pause, then a steady repeat. The values are timer ids and intervals.
inline constexpr uintptr_t kFirstRepeatTimerId = 200;
inline constexpr uint32_t kFirstRepeatDelayMs = 500;
inline constexpr uintptr_t kRepeatTimerId = 100;
inline constexpr uint32_t kRepeatIntervalMs = 100;

enum class RepeatAction {
    kWait,  // pointer off the pressed part: keep the timer, send nothing
    kStop,  // nothing left to scroll: stop the timer
    kSend,  // send `code` to the list
};
struct RepeatStep {
    RepeatAction action = RepeatAction::kWait;
    int32_t code = -1;
    bool operator==(const RepeatStep&) const = default;
};

// One tick of the repeat timer for the pressed part, given the part under the
// pointer now. Nothing is sent while the pointer is off the pressed part, so
// sliding away pauses the repeat and coming back resumes it. An arrow stops at
// its end of the range; the track stops once the thumb has reached the pointer
// (the pointer is then over the thumb or already past it), so the thumb never
// runs on beyond where the user is holding.
RepeatStep NextRepeat(ScrollPart pressed, const ScrollState& state, ScrollPart partAtPointer);

// ----- The frame -----

// Ids of the frame's children, and the message the frame's watch of the list
// posts to ask for a new layout.
inline constexpr int kLimitWindowId = 200;
inline constexpr int kHorizontalBarId = 100;
inline constexpr int kVerticalBarId = 101;
inline constexpr uint32_t kFrameLayoutMessage = 0x464;  // WM_USER + 100

// The list's own bars as its style shows them.
struct ListScrollBars {
    bool vertical = false;
    bool verticalOnLeft = false;  // WS_EX_LEFTSCROLLBAR
    bool horizontal = false;
};

// Only a list showing both bars has a corner square.
ScrollCorner CornerMode(const ListScrollBars& bars);

// Everything placed inside the frame, in the frame's client pixels. The list
// keeps its own bars but is moved so they fall outside "LIMIT", which clips
// them; the skinned bars take their place.
struct ScrollFrameLayout {
    SkinRect limit;        // the clipping child "LIMIT"
    SkinPoint listOrigin;  // the list's place inside "LIMIT"
    SkinRect verticalBar;  // empty when the list shows no vertical bar
    SkinRect horizontalBar;
    ScrollCorner cornerMode = kNoCorner;
    SkinRect corner;  // where the corner square is painted; empty without one
};

// A frame smaller than the bars gives empty rectangles, never negative sizes.
ScrollFrameLayout LayoutScrollFrame(int32_t clientWidth, int32_t clientHeight, int32_t thickness,
                                    const ListScrollBars& bars);

// The list's client rectangle after the platform made room for its own bars:
// widened on the side of each shown bar by what the platform's bar is wider
// than ours, so the list's own bars are exactly as thick as the skinned ones
// and lie where "LIMIT" cuts them off.
SkinRect WidenListClient(const SkinRect& proposed, int32_t systemScrollWidth, int32_t thickness,
                         const ListScrollBars& bars);

// The platform's style bits that skinning a list moves, by value.
namespace frame_style {
inline constexpr uint32_t kChild = 0x40000000;
inline constexpr uint32_t kVisible = 0x10000000;
inline constexpr uint32_t kBorder = 0x00800000;
inline constexpr uint32_t kFrameBase = kChild | 0x100;
inline constexpr uint32_t kExClientEdge = 0x00000200;
inline constexpr uint32_t kExToolWindow = 0x00000080;
inline constexpr uint32_t kExControlParent = 0x00010000;
}  // namespace frame_style

// A list's border moves to the frame, so the border surrounds the list and its
// skinned bars together; the list shrinks by what the border took.
struct SkinnedListStyles {
    uint32_t frameStyle = 0;
    uint32_t frameExStyle = 0;
    uint32_t listStyle = 0;
    uint32_t listExStyle = 0;
    int32_t listWidth = 0;
    int32_t listHeight = 0;
};
SkinnedListStyles SkinListStyles(uint32_t listStyle, uint32_t listExStyle, int32_t width, int32_t height,
                                 int32_t borderWidth, int32_t edgeWidth);

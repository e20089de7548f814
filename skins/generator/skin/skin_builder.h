#pragma once
// Builds one skinned window's files: the skin description (INI) and its five
// images. A window describes its background once and each control by a painter
// that draws the control in any of the four states; the builder composes the
// Normal, Over, Down and Disable images from them and cuts the Mask from the
// window's outline.
#include <functional>
#include <string>
#include <vector>

#include "art/canvas.h"
#include "art/geometry.h"
#include "art/shape.h"
#include "art/ui_scale.h"

namespace skin {

enum class State { kNormal, kOver, kDown, kDisable };
constexpr State kAllStates[] = {State::kNormal, State::kOver, State::kDown, State::kDisable};

// Draws a control into `canvas` at `rect` as it looks in `state`. The rectangle
// is in the canvas's logical coordinates: at any scale the painter draws the
// 100 % control, and the canvas's mapping puts it onto the control's pixels.
using Painter = std::function<void(art::Canvas& canvas, const art::Rect& rect, State state)>;

struct Entry {
    int number = 0;
    std::string name;
    art::Rect rect;    // as written: scaled, in pixels of the set
    art::Rect layout;  // the same at 100 %
    std::string text;
    bool hasPictures = false;
};

struct GeneratedFile {
    std::string name;   // relative to the output folder
    std::string bytes;
};

struct BuiltSkin {
    std::string iniName;
    std::string parentIni;  // empty for a top-level window
    int parentEntry = 0;    // the parent's area the page lies on
    bool onDemand = false;  // a page shown only when asked for, never at start
    int percent = 100;      // the set's scale
    int width = 0;          // in pixels of the set
    int height = 0;
    int originX = 0;  // position inside the top-level window (for pages), in pixels of the set
    int originY = 0;
    art::Canvas background;  // the window without its controls, for pages placed on it
    art::Image8 normal;      // the Normal image as written
    std::vector<Entry> entries;
    std::vector<GeneratedFile> files;

    const Entry* Find(int number) const;
};

class SkinBuilder {
public:
    // A top-level window of the given size at 100 %, drawn at `percent`.
    SkinBuilder(std::string iniName, std::string imageStem, int width, int height, int percent = 100);
    // A page that lies on the area `entryNumber` of `parent` and continues its look:
    // it starts from the parent's background under that area, at the parent's scale.
    // At a scale its pixels are the area's scaled rectangle, so it fills the place
    // the program gives it even where that rounds a pixel off its own scaled size.
    SkinBuilder(std::string iniName, std::string imageStem, const BuiltSkin& parent, int entryNumber);

    // The layout's size: what the window measures at 100 %.
    int Width() const { return width_; }
    int Height() const { return height_; }
    art::Box Bounds() const { return {0, 0, double(width_), double(height_)}; }
    // Painted in layout coordinates at every scale.
    art::Canvas& Background() { return background_; }
    const art::UiScale& Scale() const { return scale_; }

    // Pixels outside the outline are cut away by the mask. Without an outline the
    // window is its full rectangle.
    void SetOutline(art::ShapePtr outline) { outline_ = std::move(outline); }

    // A position the program uses without pictures (page area, text place, a
    // control that paints itself).
    void AddArea(int number, std::string name, art::Rect rect, std::string text);
    // A control whose pictures are cut from the four state images.
    void AddControl(int number, std::string name, art::Rect rect, std::string text, Painter painter);

    // Throws std::runtime_error when the layout is inconsistent (an entry outside
    // the window or its outline, a number used twice, a comma in a name or text).
    BuiltSkin Build() const;

private:
    struct Control {
        Entry entry;
        Painter painter;
    };
    void FitBackground();
    void Add(Entry entry, Painter painter);
    bool Inside(double x, double y) const;
    bool InsideOutline(art::Point layoutPoint) const;

    std::string iniName_;
    std::string imageStem_;
    art::UiScale scale_;
    int width_ = 0;
    int height_ = 0;
    art::Canvas background_;
    int originX_ = 0;
    int originY_ = 0;
    art::ShapePtr outline_;
    std::vector<Control> controls_;
};

}  // namespace skin

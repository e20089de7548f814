#include "skin/skin_builder.h"
#include "skin/tooltips_de.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "art/bmp_file.h"

namespace skin {
namespace {

// Margin around a control that a painter may use for its own soft edges while it
// draws on a scratch copy.
constexpr int kScratchMargin = 8;

const char* StateName(State s) {
    switch (s) {
        case State::kNormal: return "Normal";
        case State::kOver: return "Over";
        case State::kDown: return "Down";
        case State::kDisable: return "Disable";
    }
    return "";
}

bool IsPlainText(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != ','; });
}

}  // namespace

const Entry* BuiltSkin::Find(int number) const {
    for (const Entry& e : entries)
        if (e.number == number) return &e;
    return nullptr;
}

SkinBuilder::SkinBuilder(std::string iniName, std::string imageStem, int width, int height, int percent)
    : iniName_(std::move(iniName)), imageStem_(std::move(imageStem)), scale_{percent}, width_(width), height_(height) {
    if (width <= 0 || height <= 0) throw std::runtime_error(iniName_ + ": window without size");
    if (percent < 100) throw std::runtime_error(iniName_ + ": scale below 100 %");
    background_ = art::Canvas(scale_.Scale(width), scale_.Scale(height), art::Rgb(0, 0, 0));
    FitBackground();
}

SkinBuilder::SkinBuilder(std::string iniName, std::string imageStem, const BuiltSkin& parent, int entryNumber)
    : iniName_(std::move(iniName)), imageStem_(std::move(imageStem)) {
    const Entry* area = parent.Find(entryNumber);
    if (!area || area->rect.w <= 0 || area->rect.h <= 0)
        throw std::runtime_error(iniName_ + ": " + parent.iniName + " has no area " + std::to_string(entryNumber));
    scale_ = art::UiScale{parent.percent};
    width_ = area->layout.w;
    height_ = area->layout.h;
    background_ = parent.background.Crop(area->rect.x, area->rect.y, area->rect.w, area->rect.h);
    FitBackground();
    originX_ = parent.originX + area->rect.x;
    originY_ = parent.originY + area->rect.y;
}

// The layout is laid onto the window's pixels edge to edge, so that its outline
// and the rims along it end on whole pixels where a side does not scale to a
// whole number (431 x 330 at 125 %); inside, it keeps within half a pixel of
// the scale, as the rounded entries do.
void SkinBuilder::FitBackground() {
    background_.SetMapping(art::Mapping::Fit(Bounds(), background_.Bounds()));
}

void SkinBuilder::AddArea(int number, std::string name, art::Rect rect, std::string text) {
    Add(Entry{number, std::move(name), scale_.ScaleRect(rect), rect, std::move(text), false}, nullptr);
}

void SkinBuilder::AddControl(int number, std::string name, art::Rect rect, std::string text, Painter painter) {
    Add(Entry{number, std::move(name), scale_.ScaleRect(rect), rect, std::move(text), true}, std::move(painter));
}

void SkinBuilder::Add(Entry entry, Painter painter) { controls_.push_back(Control{std::move(entry), std::move(painter)}); }

bool SkinBuilder::Inside(double x, double y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    return InsideOutline({x, y});
}

bool SkinBuilder::InsideOutline(art::Point layoutPoint) const {
    return !outline_ || outline_->Distance(layoutPoint) <= 0;
}

BuiltSkin SkinBuilder::Build() const {
    // Checked in the layout, written in pixels of the set.
    const int w = background_.Width();
    const int h = background_.Height();
    const art::Mapping windowMap = background_.GetMapping();
    std::set<int> numbers;
    for (const Control& c : controls_) {
        const Entry& e = c.entry;
        const std::string where = iniName_ + " entry " + std::to_string(e.number);
        if (!numbers.insert(e.number).second) throw std::runtime_error(where + ": number used twice");
        if (!IsPlainText(e.name) || !IsPlainText(e.text) || e.name.empty() || e.text.empty())
            throw std::runtime_error(where + ": name and text must be plain ASCII without commas");
        if (e.layout.w <= 0 || e.layout.h <= 0 || !art::Rect{0, 0, Width(), Height()}.Contains(e.layout))
            throw std::runtime_error(where + ": rectangle outside the window");
        // A page whose pixels round a pixel short of its scaled size must still hold its entries.
        if (e.rect.w <= 0 || e.rect.h <= 0 || !art::Rect{0, 0, w, h}.Contains(e.rect))
            throw std::runtime_error(where + ": rectangle outside the window at " + std::to_string(scale_.percent) + " %");
        const art::Rect& r = e.layout;
        for (const auto& [x, y] : {std::pair{r.x, r.y}, {r.Right() - 1, r.y}, {r.x, r.Bottom() - 1},
                                   std::pair{r.Right() - 1, r.Bottom() - 1}})
            if (!Inside(x + 0.5, y + 0.5)) throw std::runtime_error(where + ": corner outside the window's outline");
    }

    // Normal: the background with every control at rest. Soft edges a control draws
    // around itself at rest become part of the window's background.
    // Each control is drawn through a mapping that lays its layout rectangle onto
    // its scaled one (the identity at 100 %).
    art::Canvas normal = background_;
    for (const Control& c : controls_) {
        if (!c.painter) continue;
        normal.SetMapping(art::Mapping::Fit(c.entry.layout.ToBox(), c.entry.rect.ToBox()));
        c.painter(normal, c.entry.layout, State::kNormal);
    }
    normal.SetMapping(windowMap);
    const int margin = int(std::ceil(kScratchMargin * scale_.Factor()));

    // Other states: each control is drawn alone on the background and only its own
    // rectangle is kept, so that a hover glow cannot leak into a neighbour's picture.
    std::vector<art::Canvas> images{normal};
    for (State s : {State::kOver, State::kDown, State::kDisable}) {
        art::Canvas image = normal;
        for (const Control& c : controls_) {
            if (!c.painter) continue;
            const art::Rect& r = c.entry.rect;
            const int sx = std::max(0, r.x - margin);
            const int sy = std::max(0, r.y - margin);
            const int sw = std::min(w, r.Right() + margin) - sx;
            const int sh = std::min(h, r.Bottom() + margin) - sy;
            art::Canvas scratch = background_.Crop(sx, sy, sw, sh);
            // The scratch's own origin moves the layout rectangle by whole pixels,
            // as it moves the pixels: at 100 % the painter sees the scratch plainly.
            const art::Rect layout = c.entry.layout.Offset(-sx, -sy);
            scratch.SetMapping(art::Mapping::Fit(layout.ToBox(), r.Offset(-sx, -sy).ToBox()));
            c.painter(scratch, layout, s);
            image.Paste(scratch.Crop(r.x - sx, r.y - sy, r.w, r.h), r.x, r.y);
        }
        images.push_back(std::move(image));
    }

    BuiltSkin out;
    out.iniName = iniName_;
    out.percent = scale_.percent;
    out.width = w;
    out.height = h;
    out.originX = originX_;
    out.originY = originY_;
    out.background = background_;

    art::Image8 mask(w, h, art::Pixel8{255, 255, 255, 255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (InsideOutline(windowMap.ToLogical({x + 0.5, y + 0.5}))) mask.At(x, y) = art::Pixel8{0, 0, 0, 255};

    std::string ini = "[SCREEN]\r\n";
    const std::string maskName = imageStem_ + "_Mask.bmp";
    ini += "Mask=" + maskName + "\r\n";
    out.files.push_back({maskName, art::EncodeBmp24(mask)});
    for (size_t i = 0; i < images.size(); ++i) {
        const State s = kAllStates[i];
        art::Image8 pixels = images[i].ToImage(true, originX_, originY_);
        // What lies outside the outline is never shown; keep it a plain colour.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask.At(x, y).r == 255) pixels.At(x, y) = art::Pixel8{0, 0, 0, 255};
        const std::string name = imageStem_ + "_" + StateName(s) + ".bmp";
        ini += std::string(StateName(s)) + "=" + name + "\r\n";
        if (s == State::kNormal) out.normal = pixels;
        out.files.push_back({name, art::EncodeBmp24(pixels)});
    }

    std::vector<Entry> sorted;
    for (const Control& c : controls_) sorted.push_back(c.entry);
    std::sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) { return a.number < b.number; });
    ini += "\r\n[BUTTONPOS]\r\n";
    for (const Entry& e : sorted) {
        ini += std::to_string(e.number) + "=" + e.name + "," + std::to_string(e.rect.x) + "," +
               std::to_string(e.rect.y) + "," + std::to_string(e.rect.w) + "," + std::to_string(e.rect.h) + "," +
               e.text + "\r\n";
    }
    // The German tooltips, for Option's German texts; read only by number.
    std::string german;
    for (const Entry& e : sorted) {
        const std::string_view text = GermanTooltip(e.text);
        if (!text.empty()) german += std::to_string(e.number) + "=" + std::string(text) + "\r\n";
    }
    if (!german.empty()) {
        ini += "\r\n[" + std::string(kGermanTooltipSection) + "]\r\n" + german;
        // Marked as UTF-8: without the mark a reader takes the file for the
        // system's 8-bit code page, and the umlauts would change with it.
        ini.insert(0, "\xEF\xBB\xBF");
    }
    out.entries = std::move(sorted);
    out.files.insert(out.files.begin(), GeneratedFile{iniName_, ini});
    return out;
}

}  // namespace skin

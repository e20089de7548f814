#include "skin/skin_builder.h"
#include "skin/tooltips_de.h"

#include <algorithm>
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

SkinBuilder::SkinBuilder(std::string iniName, std::string imageStem, int width, int height)
    : iniName_(std::move(iniName)), imageStem_(std::move(imageStem)), background_(width, height, art::Rgb(0, 0, 0)) {
    if (width <= 0 || height <= 0) throw std::runtime_error(iniName_ + ": window without size");
}

SkinBuilder::SkinBuilder(std::string iniName, std::string imageStem, const BuiltSkin& parent, int entryNumber)
    : iniName_(std::move(iniName)), imageStem_(std::move(imageStem)) {
    const Entry* area = parent.Find(entryNumber);
    if (!area || area->rect.w <= 0 || area->rect.h <= 0)
        throw std::runtime_error(iniName_ + ": " + parent.iniName + " has no area " + std::to_string(entryNumber));
    background_ = parent.background.Crop(area->rect.x, area->rect.y, area->rect.w, area->rect.h);
    originX_ = parent.originX + area->rect.x;
    originY_ = parent.originY + area->rect.y;
}

void SkinBuilder::AddArea(int number, std::string name, art::Rect rect, std::string text) {
    Add(Entry{number, std::move(name), rect, std::move(text), false}, nullptr);
}

void SkinBuilder::AddControl(int number, std::string name, art::Rect rect, std::string text, Painter painter) {
    Add(Entry{number, std::move(name), rect, std::move(text), true}, std::move(painter));
}

void SkinBuilder::Add(Entry entry, Painter painter) { controls_.push_back(Control{std::move(entry), std::move(painter)}); }

bool SkinBuilder::Inside(double x, double y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return false;
    return !outline_ || outline_->Distance({x, y}) <= 0;
}

BuiltSkin SkinBuilder::Build() const {
    const int w = Width();
    const int h = Height();
    std::set<int> numbers;
    for (const Control& c : controls_) {
        const Entry& e = c.entry;
        const std::string where = iniName_ + " entry " + std::to_string(e.number);
        if (!numbers.insert(e.number).second) throw std::runtime_error(where + ": number used twice");
        if (!IsPlainText(e.name) || !IsPlainText(e.text) || e.name.empty() || e.text.empty())
            throw std::runtime_error(where + ": name and text must be plain ASCII without commas");
        if (e.rect.w <= 0 || e.rect.h <= 0 || !art::Rect{0, 0, w, h}.Contains(e.rect))
            throw std::runtime_error(where + ": rectangle outside the window");
        const art::Rect& r = e.rect;
        for (const auto& [x, y] : {std::pair{r.x, r.y}, {r.Right() - 1, r.y}, {r.x, r.Bottom() - 1},
                                   std::pair{r.Right() - 1, r.Bottom() - 1}})
            if (!Inside(x + 0.5, y + 0.5)) throw std::runtime_error(where + ": corner outside the window's outline");
    }

    // Normal: the background with every control at rest. Soft edges a control draws
    // around itself at rest become part of the window's background.
    art::Canvas normal = background_;
    for (const Control& c : controls_)
        if (c.painter) c.painter(normal, c.entry.rect, State::kNormal);

    // Other states: each control is drawn alone on the background and only its own
    // rectangle is kept, so that a hover glow cannot leak into a neighbour's picture.
    std::vector<art::Canvas> images{normal};
    for (State s : {State::kOver, State::kDown, State::kDisable}) {
        art::Canvas image = normal;
        for (const Control& c : controls_) {
            if (!c.painter) continue;
            const art::Rect& r = c.entry.rect;
            const int sx = std::max(0, r.x - kScratchMargin);
            const int sy = std::max(0, r.y - kScratchMargin);
            const int sw = std::min(w, r.Right() + kScratchMargin) - sx;
            const int sh = std::min(h, r.Bottom() + kScratchMargin) - sy;
            art::Canvas scratch = background_.Crop(sx, sy, sw, sh);
            c.painter(scratch, r.Offset(-sx, -sy), s);
            image.Paste(scratch.Crop(r.x - sx, r.y - sy, r.w, r.h), r.x, r.y);
        }
        images.push_back(std::move(image));
    }

    BuiltSkin out;
    out.iniName = iniName_;
    out.width = w;
    out.height = h;
    out.originX = originX_;
    out.originY = originY_;
    out.background = background_;

    art::Image8 mask(w, h, art::Pixel8{255, 255, 255, 255});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (Inside(x + 0.5, y + 0.5)) mask.At(x, y) = art::Pixel8{0, 0, 0, 255};

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

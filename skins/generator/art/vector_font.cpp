#include "art/vector_font.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

namespace art {
namespace {

struct Glyph {
    char ch;
    double width;        // in units
    const char* strokes;  // polylines "x,y x,y ..." separated by '|'
};

// Coordinates: x from 0 to the glyph's width, y from 0 (cap line) to 10 (base line).
constexpr Glyph kGlyphs[] = {
    {'0', 6, "1.5,0 4.5,0 6,1.5 6,8.5 4.5,10 1.5,10 0,8.5 0,1.5 1.5,0|4.5,2.5 1.5,7.5"},
    {'1', 4, "0,2 2.5,0 2.5,10"},
    {'2', 6, "0,1.5 1.5,0 4.5,0 6,1.5 6,3.5 4.5,5 1.5,5 0,6.5 0,10 6,10"},
    {'3', 6, "0,0 4.5,0 6,1.5 6,3.5 4.5,5 6,6.5 6,8.5 4.5,10 0,10|2,5 4.5,5"},
    {'4', 6, "4.5,10 4.5,0 0,7 6,7"},
    {'5', 6, "6,0 0,0 0,4.5 4.5,4.5 6,6 6,8.5 4.5,10 0,10"},
    {'6', 6, "5.5,0 1.5,0 0,1.5 0,8.5 1.5,10 4.5,10 6,8.5 6,6 4.5,4.5 0,4.5"},
    {'7', 6, "0,0 6,0 6,2 2.5,10"},
    {'8', 6, "1.5,0 4.5,0 6,1.5 6,3 4.5,4.6 1.5,4.6 0,3 0,1.5 1.5,0|1.5,4.6 0,6.2 0,8.5 1.5,10 4.5,10 6,8.5 6,6.2 4.5,4.6"},
    {'9', 6, "0.5,10 4.5,10 6,8.5 6,1.5 4.5,0 1.5,0 0,1.5 0,4 1.5,5.5 6,5.5"},
    {'A', 6, "0,10 0,2.5 2.5,0 3.5,0 6,2.5 6,10|0,6 6,6"},
    {'B', 6, "0,5 4.5,5 6,6.5 6,8.5 4.5,10 0,10 0,0 4.5,0 6,1.5 6,3.5 4.5,5"},
    {'C', 6, "6,0 1.5,0 0,1.5 0,8.5 1.5,10 6,10"},
    {'D', 6, "0,0 4,0 6,2 6,8 4,10 0,10 0,0"},
    {'E', 6, "6,0 0,0 0,10 6,10|0,5 4.5,5"},
    {'F', 6, "6,0 0,0 0,10|0,5 4.5,5"},
    {'G', 6, "5.5,0 1.5,0 0,1.5 0,8.5 1.5,10 6,10 6,5.5 3.5,5.5"},
    {'H', 6, "0,0 0,10|6,0 6,10|0,5 6,5"},
    {'I', 0, "0,0 0,10"},
    {'J', 6, "6,0 6,8.5 4.5,10 1.5,10 0,8.5"},
    {'K', 6, "0,0 0,10|6,0 2,5 6,10|0,5 2,5"},
    {'L', 6, "0,0 0,10 6,10"},
    {'M', 7, "0,10 0,0 3.5,5 7,0 7,10"},
    {'N', 6, "0,10 0,0 6,10 6,0"},
    {'O', 6, "1.5,0 4.5,0 6,1.5 6,8.5 4.5,10 1.5,10 0,8.5 0,1.5 1.5,0"},
    {'P', 6, "0,10 0,0 4.5,0 6,1.5 6,4 4.5,5.5 0,5.5"},
    {'Q', 6, "1.5,0 4.5,0 6,1.5 6,8.5 4.5,10 1.5,10 0,8.5 0,1.5 1.5,0|3.5,7.5 6,10"},
    {'R', 6, "0,10 0,0 4.5,0 6,1.5 6,4 4.5,5.5 0,5.5|3,5.5 6,10"},
    {'S', 6, "6,0 1.5,0 0,1.5 0,3.5 1.5,5 4.5,5 6,6.5 6,8.5 4.5,10 0,10"},
    {'T', 6, "0,0 6,0|3,0 3,10"},
    {'U', 6, "0,0 0,8.5 1.5,10 4.5,10 6,8.5 6,0"},
    {'V', 6, "0,0 3,10 6,0"},
    {'W', 7, "0,0 1.75,10 3.5,4 5.25,10 7,0"},
    {'X', 6, "0,0 6,10|6,0 0,10"},
    {'Y', 6, "0,0 3,5 6,0|3,5 3,10"},
    {'Z', 6, "0,0 6,0 0,10 6,10"},
    {'-', 4, "0,5.5 4,5.5"},
    {'.', 0, "0,10 0,10"},
    {'/', 5, "0,10 5,0"},
    {' ', 3, ""},
};

const Glyph* FindGlyph(char c) {
    const char up = char(std::toupper(static_cast<unsigned char>(c)));
    for (const Glyph& g : kGlyphs)
        if (g.ch == up) return &g;
    return nullptr;
}

std::vector<std::vector<Point>> ParseStrokes(const char* text) {
    std::vector<std::vector<Point>> lines(1);
    const char* p = text;
    while (*p) {
        if (*p == '|') {
            lines.emplace_back();
            ++p;
            continue;
        }
        if (*p == ' ') {
            ++p;
            continue;
        }
        char* end = nullptr;
        const double x = std::strtod(p, &end);
        p = end + 1;  // the comma
        const double y = std::strtod(p, &end);
        p = end;
        lines.back().push_back({x, y});
    }
    return lines;
}

}  // namespace

bool HasGlyphs(std::string_view text) {
    for (char c : text)
        if (!FindGlyph(c)) return false;
    return true;
}

double TextWidth(std::string_view text, const TextStyle& style) {
    const double unit = style.capHeight / 10.0;
    double units = 0;
    bool first = true;
    for (char c : text) {
        const Glyph* g = FindGlyph(c);
        if (!first) units += style.tracking;
        units += g ? g->width : 3.0;
        first = false;
    }
    return units * unit + style.stroke;
}

ShapePtr TextShape(std::string_view text, Point origin, const TextStyle& style) {
    const double unit = style.capHeight / 10.0;
    const double half = style.stroke / 2;
    std::vector<ShapePtr> parts;
    double penUnits = 0;
    for (char c : text) {
        const Glyph* g = FindGlyph(c);
        const double width = g ? g->width : 3.0;
        if (g && *g->strokes) {
            for (const auto& line : ParseStrokes(g->strokes)) {
                std::vector<Point> pts;
                for (const Point& u : line) {
                    const double py = origin.y + half + u.y * unit * (style.capHeight - style.stroke) / style.capHeight;
                    const double px = origin.x + half + (penUnits + u.x) * unit + (10 - u.y) * unit * style.slant;
                    pts.push_back({px, py});
                }
                parts.push_back(Polyline(std::move(pts), style.stroke));
            }
        }
        penUnits += width + style.tracking;
    }
    return Union(std::move(parts));
}

}  // namespace art

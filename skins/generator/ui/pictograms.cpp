#include "ui/pictograms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ui {

using art::Point;

art::ShapePtr PictogramShape(Pictogram pictogram, const art::Box& box, double stroke) {
    const Point c = box.Center();
    const double s = std::min(box.Width(), box.Height());
    const auto at = [&](double dx, double dy) { return Point{c.x + dx * s, c.y + dy * s}; };
    switch (pictogram) {
        case Pictogram::kNone: return art::Union({});
        case Pictogram::kMinimize: return art::Segment(at(-0.26, 0.16), at(0.26, 0.16), stroke);
        case Pictogram::kClose:
            return art::Union({art::Segment(at(-0.22, -0.22), at(0.22, 0.22), stroke),
                               art::Segment(at(-0.22, 0.22), at(0.22, -0.22), stroke)});
        case Pictogram::kPlus:
            return art::Union({art::Segment(at(-0.25, 0), at(0.25, 0), stroke),
                               art::Segment(at(0, -0.25), at(0, 0.25), stroke)});
        case Pictogram::kTrash:
            return art::Union({
                art::Segment(at(-0.3, -0.2), at(0.3, -0.2), stroke),                          // lid
                art::Polyline({at(-0.1, -0.2), at(-0.1, -0.3), at(0.1, -0.3), at(0.1, -0.2)}, stroke),
                art::Polyline({at(-0.22, -0.1), at(-0.18, 0.3), at(0.18, 0.3), at(0.22, -0.1)}, stroke),
                art::Segment(at(-0.06, -0.02), at(-0.05, 0.18), stroke * 0.8),
                art::Segment(at(0.06, -0.02), at(0.05, 0.18), stroke * 0.8),
            });
        case Pictogram::kMore: {
            const double r = std::max(1.3, stroke * 0.95);
            return art::Union({art::Circle(at(-0.22, 0), r), art::Circle(at(0, 0), r), art::Circle(at(0.22, 0), r)});
        }
        case Pictogram::kChevronDown:
            return art::Polyline({at(-0.2, -0.08), at(0, 0.12), at(0.2, -0.08)}, stroke);
        case Pictogram::kChevronUp:
            return art::Polyline({at(-0.2, 0.1), at(0, -0.1), at(0.2, 0.1)}, stroke);
        case Pictogram::kPencil: {
            // Drawn along its own axis, then turned to point down-left.
            const double len = 0.62 * s;
            const double half = 0.11 * s;
            const double tip = 0.16 * s;
            const double k = std::sqrt(0.5);
            const Point start{c.x - len * k / 2, c.y + len * k / 2};
            const auto p = [&](double u, double v) {
                return Point{start.x + (u + v) * k, start.y + (-u + v) * k};
            };
            return art::Union({
                art::Polyline({p(0, 0), p(tip, -half), p(len, -half), p(len, half), p(tip, half), p(0, 0)}, stroke),
                art::Segment(p(len - 0.14 * s, -half), p(len - 0.14 * s, half), stroke),
            });
        }
        case Pictogram::kInsert:
            return art::Union({
                art::Segment(at(-0.02, -0.26), at(0.3, -0.26), stroke),
                art::Segment(at(-0.02, 0.26), at(0.3, 0.26), stroke),
                art::Segment(at(-0.3, 0), at(0.16, 0), stroke),
                art::Polyline({at(0.04, -0.12), at(0.16, 0), at(0.04, 0.12)}, stroke),
            });
        case Pictogram::kFolder:
            return art::Union({
                art::Polyline({at(-0.32, 0.26), at(-0.32, -0.24), at(-0.1, -0.24), at(-0.03, -0.16), at(0.32, -0.16),
                               at(0.32, 0.26), at(-0.32, 0.26)},
                              stroke),
                art::Segment(at(-0.32, -0.06), at(0.32, -0.06), stroke),
            });
        case Pictogram::kBlocked: {
            const double r = 0.36 * s;
            const double k = r * std::sqrt(0.5);
            return art::Union({art::InnerBand(art::Circle(c, r + stroke / 2), stroke),
                               art::Segment({c.x - k, c.y - k}, {c.x + k, c.y + k}, stroke)});
        }
    }
    return art::Union({});
}

}  // namespace ui

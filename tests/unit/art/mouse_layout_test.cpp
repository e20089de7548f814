// The layout of the two mouse views: the places the program cuts out of the
// pictures must sit on what the pictures show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "windows/mouse_layout.h"

namespace {

using windows::mouse::ButtonPlace;
using windows::mouse::MouseView;
using windows::mouse::Side;

struct NamedView {
    const char* name;
    const MouseView& view;
};

std::vector<NamedView> Views() { return {{"top", windows::mouse::TopView()}, {"side", windows::mouse::SideView()}}; }

// Share of the rectangle's pixel centres for which `inside` holds.
template <typename Fn>
double Share(const art::Rect& r, Fn inside) {
    int hits = 0;
    for (int y = r.y; y < r.Bottom(); ++y)
        for (int x = r.x; x < r.Right(); ++x) hits += inside(art::Point{x + 0.5, y + 0.5});
    return double(hits) / (r.w * r.h);
}

bool Overlap(const art::Rect& a, const art::Rect& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool StrictlyInside(const art::Rect& r, art::Point p) {
    return p.x > r.x + 0.01 && p.x < r.Right() - 0.01 && p.y > r.y + 0.01 && p.y < r.Bottom() - 0.01;
}

// Points every half pixel along a leader, its two ends left out.
std::vector<art::Point> Samples(const std::vector<art::Point>& leader) {
    std::vector<art::Point> out;
    for (size_t i = 1; i < leader.size(); ++i) {
        const art::Point a = leader[i - 1], b = leader[i];
        const int steps = std::max(1, int(art::Length(b - a) * 2));
        for (int k = 0; k <= steps; ++k) {
            if ((i == 1 && k == 0) || (i + 1 == leader.size() && k == steps)) continue;
            out.push_back(a + (b - a) * (double(k) / steps));
        }
    }
    return out;
}

double Cross(art::Point o, art::Point a, art::Point b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool SegmentsCross(art::Point a, art::Point b, art::Point c, art::Point d) {
    const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

TEST(MouseLayout, EachViewShowsOnlyButtonsTheMouseHasThere) {
    std::set<int> top, side;
    for (const ButtonPlace& b : windows::mouse::TopView().buttons) EXPECT_TRUE(top.insert(b.index).second) << b.index;
    for (const ButtonPlace& b : windows::mouse::SideView().buttons) EXPECT_TRUE(side.insert(b.index).second) << b.index;
    EXPECT_EQ(top, (std::set<int>{0, 1, 2, 5, 6, 14, 15}));
    // The flank shows the thumb buttons, and at most what also shows from above it.
    EXPECT_TRUE(side.count(3) && side.count(4));
    for (int index : side) EXPECT_TRUE(index == 0 || index == 2 || index == 3 || index == 4) << index;
    // The numbers printed on the mouse's box: each once, and each button's own.
    const std::map<int, std::string> badges{{0, "G1"}, {1, "G2"}, {2, "G3"}, {5, "G4"}, {6, "G5"},
                                            {14, "G6"}, {15, "G7"}, {4, "G8"}, {3, "G9"}};
    for (const NamedView& v : Views())
        for (const ButtonPlace& b : v.view.buttons) EXPECT_EQ(b.badge, badges.at(b.index)) << v.name << " " << b.index;
}

TEST(MouseLayout, HotSpotsLieOnTheirButtonsWithoutSharingPixels) {
    for (const NamedView& v : Views()) {
        SCOPED_TRACE(v.name);
        for (const ButtonPlace& b : v.view.buttons) {
            SCOPED_TRACE(b.index);
            const art::Rect& r = b.hotSpot;
            EXPECT_GE(r.w, 12);
            EXPECT_GE(r.h, 12);
            EXPECT_EQ(Share(r, [&](art::Point p) { return v.view.outline->Distance(p) <= 0; }), 1.0)
                << "hot spot reaches off the mouse";
            // Mostly on the drawn button: the rest are a round button's corners.
            EXPECT_GE(Share(r, [&](art::Point p) { return b.surface->Distance(p) <= 0; }), 0.85);
            for (const ButtonPlace& other : v.view.buttons)
                if (other.index != b.index) {
                    EXPECT_FALSE(Overlap(r, other.hotSpot)) << "overlaps " << other.index;
                }
        }
    }
}

TEST(MouseLayout, CaptionsStandBesideTheMouseInsideTheView) {
    for (const NamedView& v : Views()) {
        SCOPED_TRACE(v.name);
        const art::Box mouse = v.view.outline->Bounds();
        for (const ButtonPlace& b : v.view.buttons) {
            SCOPED_TRACE(b.index);
            const art::Rect& c = b.caption;
            // The program writes up to about sixteen characters of Arial 15
            // after the number's lead-in.
            EXPECT_GE(c.w, 190);
            EXPECT_GE(c.h, 22);
            EXPECT_TRUE((art::Rect{0, 0, windows::mouse::kViewWidth, windows::mouse::kViewHeight}.Contains(c)));
            const art::Rect clearance{c.x - 3, c.y - 3, c.w + 6, c.h + 6};
            EXPECT_EQ(Share(clearance, [&](art::Point p) { return v.view.outline->Distance(p) <= 0; }), 0.0)
                << "caption on the mouse";
            if (b.side == Side::kLeft) {
                EXPECT_LT(c.Right(), mouse.Center().x);
            } else {
                EXPECT_GT(c.x, mouse.Center().x);
            }
            for (const ButtonPlace& other : v.view.buttons) {
                EXPECT_FALSE(Overlap(c, other.hotSpot)) << "covers hot spot " << other.index;
                if (other.index != b.index) {
                    EXPECT_FALSE(Overlap(c, other.caption)) << "covers caption " << other.index;
                }
            }
        }
    }
}

TEST(MouseLayout, LeadersJoinCaptionAndHotSpotWithoutCrossing) {
    for (const NamedView& v : Views()) {
        SCOPED_TRACE(v.name);
        for (const ButtonPlace& b : v.view.buttons) {
            SCOPED_TRACE(b.index);
            ASSERT_GE(b.leader.size(), 2u);
            const art::Point start = b.leader.front();
            const art::Point end = b.leader.back();
            EXPECT_EQ(start.x, b.side == Side::kLeft ? b.caption.Right() : b.caption.x) << "leaves the far edge";
            EXPECT_NEAR(start.y, b.caption.y + b.caption.h / 2.0, 0.5);
            // Ends on the hot spot's border.
            const art::Rect& h = b.hotSpot;
            EXPECT_TRUE(end.x >= h.x && end.x <= h.Right() && end.y >= h.y && end.y <= h.Bottom());
            EXPECT_FALSE(StrictlyInside(h, end));
            for (const art::Point& p : Samples(b.leader)) {
                EXPECT_FALSE(StrictlyInside(h, p)) << "runs through its own button at " << p.x << "," << p.y;
                for (const ButtonPlace& other : v.view.buttons)
                    EXPECT_FALSE(StrictlyInside(other.caption, p)) << "runs under caption " << other.index;
            }
            for (const ButtonPlace& other : v.view.buttons) {
                if (other.index <= b.index) continue;
                for (size_t i = 1; i < b.leader.size(); ++i)
                    for (size_t j = 1; j < other.leader.size(); ++j)
                        EXPECT_FALSE(SegmentsCross(b.leader[i - 1], b.leader[i], other.leader[j - 1], other.leader[j]))
                            << "crosses the leader of " << other.index;
            }
        }
    }
}

}  // namespace

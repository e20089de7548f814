#pragma once
// Where the mouse's buttons are in its two pictures on the button page: the
// top view and the left flank. One table per view holds every button's drawn
// outline, its hot spot, its caption and the leader between them; the views'
// painters and their skin entries both read it, so the picture and the places
// the program cuts from it cannot drift apart.
#include <vector>

#include "art/geometry.h"
#include "art/shape.h"

namespace windows::mouse {

// Size of a view: the views area of the button page.
constexpr int kViewWidth = 592;
constexpr int kViewHeight = 260;

// Button indexes run 0-15 as the settings store them; the program reads the
// caption of button i from entry 1 + i and its hot spot from entry 17 + i.
constexpr int kButtonSlots = 16;
constexpr int CaptionEntry(int index) { return 1 + index; }
constexpr int HotSpotEntry(int index) { return 1 + kButtonSlots + index; }

// The program writes a caption's text from this many pixels after its left
// edge; the lead-in carries the button's number.
constexpr int kCaptionLeadIn = 45;

enum class Side { kLeft, kRight };

struct ButtonPlace {
    int index = 0;
    const char* badge = "";       // the number printed on the mouse's box: "G1"
    const char* name = "";        // entry name of the hot spot; the caption adds "Caption"
    const char* what = "";        // the button in words, for the tooltips
    Side side = Side::kLeft;      // where the caption stands beside the mouse
    art::Rect hotSpot;
    art::Rect caption;
    // From the middle of the caption's edge that faces the mouse to the hot
    // spot's border.
    std::vector<art::Point> leader;
    // The button as drawn. Its lit states are painted where it meets the hot
    // spot; the hot spot lies on it.
    art::ShapePtr surface;
};

struct MouseView {
    art::ShapePtr shell;    // the body
    art::ShapePtr outline;  // all that belongs to the mouse: body and wheel
    art::ShapePtr wheel;    // top: the tyre; side: the disc, mostly behind the body
    // Top view only: the groove between the main buttons that holds the
    // wheel and the DPI buttons.
    art::ShapePtr channel;
    // Side view only: the left button's side, drawn but without a hot spot.
    art::ShapePtr leftButtonSide;
    std::vector<ButtonPlace> buttons;

    const ButtonPlace* Find(int index) const;
};

const MouseView& TopView();
const MouseView& SideView();

// A closed curve through the given points (Catmull-Rom), as a polygon.
std::vector<art::Point> SmoothLoop(const std::vector<art::Point>& knots, int stepsPerSpan);

}  // namespace windows::mouse

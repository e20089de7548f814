#pragma once
// Pictures of the skins folder that belong to no window: the thumb that every
// slider of the program carries. Each is a 24-bit bitmap the program loads by
// name from the skins folder.
#include <vector>

#include "art/image.h"
#include "skin/skin_builder.h"

namespace pictures {

// The sliders' thumb: a small purple pointer that stands over the groove of a
// slider track and points down into it. The program shapes the thumb's window
// from the picture: every pixel of the colour of the top-left pixel is left
// out, so that colour (magenta) appears only outside the pointer.
inline constexpr char kSliderThumbFile[] = "slider_arrow_rect.bmp";
constexpr int kSliderThumbWidth = 14;
constexpr int kSliderThumbHeight = 22;
constexpr art::Pixel8 kThumbTransparent{255, 0, 255, 255};

// At `percent` the thumb is S(14) x S(22) pixels (art::UiScale), the same
// drawing laid onto them.
art::Image8 RenderSliderThumb(int percent = 100);

// Every such picture, by its file name, at `percent`.
std::vector<skin::GeneratedFile> BuildSkinPictures(int percent = 100);

}  // namespace pictures

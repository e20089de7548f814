#pragma once
// Windows icon files holding several sizes of one picture, 32 bits with alpha.
#include <string>
#include <vector>

#include "art/image.h"

namespace art {

// One entry per image, in the given order. Images of 256 pixels are stored as
// PNG, smaller ones as bitmaps (BGRA rows bottom-up plus the 1-bit AND mask that
// older readers use). Images must be square and at most 256 pixels wide.
std::string EncodeIco(const std::vector<Image8>& images);

}  // namespace art

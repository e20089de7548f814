#pragma once
// Uncompressed 24-bit Windows bitmaps: the skin images. The platform's picture
// loader reads them without any codec, and their size is predictable.
#include <optional>
#include <string>

#include "art/image.h"

namespace art {

// BITMAPFILEHEADER + BITMAPINFOHEADER + bottom-up BGR rows padded to 4 bytes.
// Alpha is dropped.
std::string EncodeBmp24(const Image8& image);

// Reads back what EncodeBmp24 writes (24-bit, BI_RGB, either row order). On
// failure returns nothing and says why in `error`.
std::optional<Image8> DecodeBmp24(const std::string& bytes, std::string* error = nullptr);

}  // namespace art

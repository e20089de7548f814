#pragma once
// An 8-bit RGBA image, rows top to bottom: what the file writers take.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

struct Pixel8 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
    bool operator==(const Pixel8&) const = default;
};

class Image8 {
public:
    Image8() = default;
    Image8(int width, int height, Pixel8 fill = {}) : w_(width), h_(height), px_(std::size_t(width) * height, fill) {}

    int Width() const { return w_; }
    int Height() const { return h_; }
    Pixel8& At(int x, int y) { return px_[std::size_t(y) * w_ + x]; }
    const Pixel8& At(int x, int y) const { return px_[std::size_t(y) * w_ + x]; }
    bool operator==(const Image8&) const = default;

private:
    int w_ = 0;
    int h_ = 0;
    std::vector<Pixel8> px_;
};

}  // namespace art

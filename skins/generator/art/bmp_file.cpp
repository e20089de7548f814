#include "art/bmp_file.h"

#include <cstdlib>

#include "art/byte_writer.h"

namespace art {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

size_t RowStride(int width) { return (size_t(width) * 3 + 3) & ~size_t(3); }

std::optional<Image8> Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return std::nullopt;
}

}  // namespace

std::string EncodeBmp24(const Image8& image) {
    const size_t stride = RowStride(image.Width());
    const size_t pixelBytes = stride * size_t(image.Height());
    ByteWriter w;
    w.U8('B');
    w.U8('M');
    w.U32le(uint32_t(kFileHeaderSize + kInfoHeaderSize + pixelBytes));
    w.U16le(0);
    w.U16le(0);
    w.U32le(kFileHeaderSize + kInfoHeaderSize);
    w.U32le(kInfoHeaderSize);
    w.U32le(uint32_t(image.Width()));
    w.U32le(uint32_t(image.Height()));  // positive: rows stored bottom-up
    w.U16le(1);                          // planes
    w.U16le(24);                         // bits per pixel
    w.U32le(0);                          // BI_RGB
    w.U32le(uint32_t(pixelBytes));
    w.U32le(kPixelsPerMetre);
    w.U32le(kPixelsPerMetre);
    w.U32le(0);
    w.U32le(0);
    std::string& out = w.Data();
    out.reserve(out.size() + pixelBytes);
    for (int y = image.Height() - 1; y >= 0; --y) {
        size_t written = 0;
        for (int x = 0; x < image.Width(); ++x) {
            const Pixel8& p = image.At(x, y);
            out.push_back(char(p.b));
            out.push_back(char(p.g));
            out.push_back(char(p.r));
            written += 3;
        }
        for (; written < stride; ++written) out.push_back('\0');
    }
    return w.Take();
}

std::optional<Image8> DecodeBmp24(const std::string& b, std::string* error) {
    if (b.size() < kFileHeaderSize + kInfoHeaderSize) return Fail(error, "file shorter than the bitmap headers");
    if (b[0] != 'B' || b[1] != 'M') return Fail(error, "no BM signature");
    const uint32_t offset = ReadU32le(b, 10);
    const uint32_t infoSize = ReadU32le(b, 14);
    if (infoSize < kInfoHeaderSize) return Fail(error, "unknown info header");
    const int32_t width = int32_t(ReadU32le(b, 18));
    const int32_t rawHeight = int32_t(ReadU32le(b, 22));
    if (ReadU16le(b, 26) != 1) return Fail(error, "planes is not 1");
    if (ReadU16le(b, 28) != 24) return Fail(error, "not 24 bits per pixel");
    if (ReadU32le(b, 30) != 0) return Fail(error, "compressed bitmap");
    if (width <= 0 || rawHeight == 0 || width > 32768 || std::abs(int64_t(rawHeight)) > 32768)
        return Fail(error, "bad dimensions");
    const bool bottomUp = rawHeight > 0;
    const int height = int(std::abs(int64_t(rawHeight)));
    const size_t stride = RowStride(width);
    if (offset > b.size() || b.size() - offset < stride * size_t(height)) return Fail(error, "pixel data truncated");
    Image8 image(width, height);
    for (int row = 0; row < height; ++row) {
        const int y = bottomUp ? height - 1 - row : row;
        const size_t base = offset + size_t(row) * stride;
        for (int x = 0; x < width; ++x) {
            const size_t at = base + size_t(x) * 3;
            image.At(x, y) = Pixel8{uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at]), 255};
        }
    }
    return image;
}

}  // namespace art

#include "art/ico_file.h"

#include <stdexcept>

#include "art/byte_writer.h"
#include "art/png_file.h"

namespace art {
namespace {

std::string EncodeIconBitmap(const Image8& image) {
    const int size = image.Width();
    ByteWriter w;
    w.U32le(40);
    w.U32le(uint32_t(size));
    w.U32le(uint32_t(size * 2));  // colour rows plus mask rows
    w.U16le(1);
    w.U16le(32);
    w.U32le(0);
    const size_t maskStride = ((size_t(size) + 31) / 32) * 4;
    w.U32le(uint32_t(size_t(size) * size * 4 + maskStride * size));
    w.U32le(0);
    w.U32le(0);
    w.U32le(0);
    w.U32le(0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Pixel8& p = image.At(x, y);
            w.U8(p.b);
            w.U8(p.g);
            w.U8(p.r);
            w.U8(p.a);
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < size; ++x)
            if (image.At(x, y).a == 0) row[size_t(x) / 8] = char(uint8_t(row[size_t(x) / 8]) | (0x80u >> (x % 8)));
        w.Bytes(row);
    }
    return w.Take();
}

}  // namespace

std::string EncodeIco(const std::vector<Image8>& images) {
    std::vector<std::string> payloads;
    for (const Image8& image : images) {
        if (image.Width() != image.Height() || image.Width() < 1 || image.Width() > 256)
            throw std::invalid_argument("icon images must be square, 1 to 256 pixels");
        payloads.push_back(image.Width() == 256 ? EncodePng(image) : EncodeIconBitmap(image));
    }
    ByteWriter w;
    w.U16le(0);
    w.U16le(1);  // icon
    w.U16le(uint32_t(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].Width();
        w.U8(size == 256 ? 0 : uint32_t(size));
        w.U8(size == 256 ? 0 : uint32_t(size));
        w.U8(0);   // no palette
        w.U8(0);
        w.U16le(1);   // planes
        w.U16le(32);  // bits per pixel
        w.U32le(uint32_t(payloads[i].size()));
        w.U32le(offset);
        offset += uint32_t(payloads[i].size());
    }
    for (const std::string& p : payloads) w.Bytes(p);
    return w.Take();
}

}  // namespace art

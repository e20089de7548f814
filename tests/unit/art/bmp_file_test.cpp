#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "art/bmp_file.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
uint32_t U16(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; }

// 3 x 2 pixels: 9 bytes of colour per row, padded to 12.
art::Image8 Sample() {
    art::Image8 image(3, 2);
    image.At(0, 0) = {10, 20, 30, 255};
    image.At(1, 0) = {40, 50, 60, 255};
    image.At(2, 0) = {70, 80, 90, 255};
    image.At(0, 1) = {1, 2, 3, 255};
    image.At(1, 1) = {4, 5, 6, 255};
    image.At(2, 1) = {7, 8, 9, 255};
    return image;
}

TEST(BmpFile, HeadersDescribeAnUncompressedBottomUp24BitImage) {
    const std::string b = art::EncodeBmp24(Sample());
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), b.size());  // file size
    EXPECT_EQ(U32(b, 6), 0u);        // reserved
    EXPECT_EQ(U32(b, 10), 54u);      // pixel offset
    EXPECT_EQ(U32(b, 14), 40u);      // BITMAPINFOHEADER
    EXPECT_EQ(U32(b, 18), 3u);
    EXPECT_EQ(U32(b, 22), 2u);       // positive height: bottom-up rows
    EXPECT_EQ(U16(b, 26), 1u);
    EXPECT_EQ(U16(b, 28), 24u);
    EXPECT_EQ(U32(b, 30), 0u);       // BI_RGB
    EXPECT_EQ(U32(b, 34), 24u);      // image size
}

TEST(BmpFile, RowsAreStoredBottomUpInBgrOrderWithZeroPadding) {
    const std::string b = art::EncodeBmp24(Sample());
    const std::string firstRow = b.substr(54, 12);
    EXPECT_EQ(firstRow, std::string("\x03\x02\x01\x06\x05\x04\x09\x08\x07\0\0\0", 12));  // image row 1
    const std::string secondRow = b.substr(66, 12);
    EXPECT_EQ(secondRow, std::string("\x1e\x14\x0a\x3c\x32\x28\x5a\x50\x46\0\0\0", 12));  // image row 0
}

TEST(BmpFile, ReadsBackWhatItWrites) {
    for (int width : {1, 2, 3, 4, 5, 17}) {
        art::Image8 image(width, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) image.At(x, y) = {uint8_t(x * 7), uint8_t(y * 50), uint8_t(x + y), 255};
        const auto back = art::DecodeBmp24(art::EncodeBmp24(image));
        ASSERT_TRUE(back.has_value()) << width;
        EXPECT_EQ(*back, image) << width;
    }
}

TEST(BmpFile, RejectsDamagedFiles) {
    const std::string good = art::EncodeBmp24(Sample());
    std::string error;
    EXPECT_FALSE(art::DecodeBmp24(good.substr(0, 40), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(art::DecodeBmp24(good.substr(0, good.size() - 1)));  // pixels cut short
    std::string wrongDepth = good;
    wrongDepth[28] = 32;
    EXPECT_FALSE(art::DecodeBmp24(wrongDepth));
    std::string noSignature = good;
    noSignature[0] = 'X';
    EXPECT_FALSE(art::DecodeBmp24(noSignature));
    std::string hugeOffset = good;
    hugeOffset[13] = '\x7f';
    EXPECT_FALSE(art::DecodeBmp24(hugeOffset));
}

}  // namespace

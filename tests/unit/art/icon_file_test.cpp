#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "art/ico_file.h"
#include "art/png_file.h"
#include "icons/app_icons.h"

namespace {

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
uint32_t U16(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t U32be(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8 |
           uint32_t(uint8_t(b[at + 3]));
}

TEST(Checksums, MatchTheirPublishedCheckValues) {
    EXPECT_EQ(art::Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(art::Adler32("Wikipedia"), 0x11E60398u);
    const std::string z = art::ZlibCompress("");
    ASSERT_GE(z.size(), 6u);
    EXPECT_EQ((uint8_t(z[0]) * 256 + uint8_t(z[1])) % 31, 0);  // zlib header check bits
}

TEST(IconFile, EveryProgramIconHoldsAValidEntryForEachScale) {
    // The small and large icon sizes at 100, 125, 150 and 200 %, and Explorer's.
    const int expected[] = {16, 20, 24, 32, 40, 48, 64, 256};
    const size_t n = std::size(expected);
    for (const auto& file : icons::BuildAppIcons()) {
        SCOPED_TRACE(file.name);
        const std::string& b = file.bytes;
        ASSERT_GE(b.size(), 6u + n * 16);
        EXPECT_EQ(U16(b, 0), 0u);
        EXPECT_EQ(U16(b, 2), 1u);  // icon, not cursor
        ASSERT_EQ(U16(b, 4), n);
        std::vector<std::pair<uint32_t, uint32_t>> spans;
        for (size_t i = 0; i < n; ++i) {
            const size_t e = 6 + 16 * size_t(i);
            const int size = expected[i];
            EXPECT_EQ(uint8_t(b[e]), size == 256 ? 0 : size);
            EXPECT_EQ(uint8_t(b[e + 1]), size == 256 ? 0 : size);
            EXPECT_EQ(U16(b, e + 4), 1u);   // planes
            EXPECT_EQ(U16(b, e + 6), 32u);  // bits per pixel
            const uint32_t length = U32(b, e + 8);
            const uint32_t offset = U32(b, e + 12);
            ASSERT_LE(uint64_t(offset) + length, b.size());
            spans.push_back({offset, length});
            if (size == 256) {
                EXPECT_EQ(b.substr(offset, 8), std::string("\x89PNG\r\n\x1a\n", 8));
                EXPECT_EQ(b.substr(offset + 12, 4), "IHDR");
                EXPECT_EQ(U32be(b, offset + 16), 256u);
                EXPECT_EQ(U32be(b, offset + 20), 256u);
                EXPECT_EQ(uint8_t(b[offset + 25]), 6);  // RGBA
            } else {
                EXPECT_EQ(U32(b, offset), 40u);
                EXPECT_EQ(U32(b, offset + 4), uint32_t(size));
                EXPECT_EQ(U32(b, offset + 8), uint32_t(size * 2));  // colour and mask rows
                EXPECT_EQ(U16(b, offset + 14), 32u);
                const uint32_t maskStride = ((size + 31) / 32) * 4;
                EXPECT_EQ(length, 40u + uint32_t(size * size * 4) + maskStride * size);
            }
        }
        std::sort(spans.begin(), spans.end());
        EXPECT_EQ(spans.front().first, 6u + n * 16);
        for (size_t i = 1; i < spans.size(); ++i) EXPECT_EQ(spans[i].first, spans[i - 1].first + spans[i - 1].second);
    }
}

TEST(IconFile, PicturesHaveRealAlphaAndTheMaskFollowsIt) {
    for (int size : icons::kIconSizes) {
        SCOPED_TRACE(size);
        const art::Image8 monitor = icons::RenderMonitorIcon(size);
        EXPECT_EQ(monitor.At(0, 0).a, 0);                     // corners see through
        EXPECT_EQ(monitor.At(size / 2, size / 2).a, 255);     // the mouse is solid
        const art::Image8 option = icons::RenderOptionIcon(size);
        EXPECT_EQ(option.At(0, 0).a, 0);
        EXPECT_EQ(option.At(size / 2, size * 3 / 4).a, 255);
    }
    const art::Image8 small = icons::RenderMonitorIcon(16);
    const std::string ico = art::EncodeIco({small});
    const size_t mask = 6 + 16 + 40 + 16 * 16 * 4;
    // Top row of the picture is the last mask row; its first pixel is transparent.
    EXPECT_TRUE(uint8_t(ico[mask + 15 * 4]) & 0x80);
    EXPECT_THROW(art::EncodeIco({art::Image8(16, 8)}), std::invalid_argument);
}

TEST(IconFile, OutputIsTheSameOnEveryRun) {
    const auto first = icons::BuildAppIcons();
    const auto second = icons::BuildAppIcons();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_TRUE(first[i].bytes == second[i].bytes) << first[i].name;
}

}  // namespace

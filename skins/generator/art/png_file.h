#pragma once
// PNG (RGBA, 8 bits per channel) with its own small deflate compressor: the
// 256-pixel entries of the program icons are stored this way, as the platform's
// icon format allows for large sizes.
#include <string>

#include "art/image.h"

namespace art {

std::string EncodePng(const Image8& image);

// The zlib stream (RFC 1950) of `data`, compressed with fixed Huffman codes.
std::string ZlibCompress(const std::string& data);
uint32_t Crc32(const std::string& data, uint32_t crc = 0);
uint32_t Adler32(const std::string& data);

}  // namespace art

#pragma once
// Byte order of stored and transmitted bytes. Every stored record of the suite
// is little-endian and laid out as the host's own; the device speaks big-endian
// in one place (the macro repeat count), which is spelled out here.
#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "records are laid out for a little-endian host (x86/x64)");

namespace bytes {

inline void StoreBe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}
inline uint16_t LoadBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

}  // namespace bytes

#pragma once
// Appends little- and big-endian integers to a byte string.
#include <cstddef>
#include <cstdint>
#include <string>

namespace art {

class ByteWriter {
public:
    void U8(uint32_t v) { bytes_.push_back(char(v & 0xFF)); }
    void U16le(uint32_t v) { U8(v); U8(v >> 8); }
    void U32le(uint32_t v) { U16le(v & 0xFFFF); U16le(v >> 16); }
    void U32be(uint32_t v) { U8(v >> 24); U8(v >> 16); U8(v >> 8); U8(v); }
    void Bytes(const std::string& s) { bytes_ += s; }
    size_t Size() const { return bytes_.size(); }
    std::string& Data() { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

inline uint32_t ReadU16le(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}
inline uint32_t ReadU32le(const std::string& b, size_t at) { return ReadU16le(b, at) | ReadU16le(b, at + 2) << 16; }

}  // namespace art

#include "art/png_file.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "art/byte_writer.h"

namespace art {
namespace {

class BitWriter {
public:
    void Bits(uint32_t value, int count) {  // least significant bit first
        for (int i = 0; i < count; ++i) {
            acc_ |= ((value >> i) & 1u) << fill_;
            if (++fill_ == 8) Flush();
        }
    }
    void Huffman(uint32_t code, int length) {  // most significant bit first
        for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
    }
    std::string Finish() {
        if (fill_ > 0) Flush();
        return std::move(out_);
    }

private:
    void Flush() {
        out_.push_back(char(acc_));
        acc_ = 0;
        fill_ = 0;
    }
    std::string out_;
    uint32_t acc_ = 0;
    int fill_ = 0;
};

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutLiteralOrLength(BitWriter& w, int symbol) {
    if (symbol < 144) w.Huffman(0x30 + symbol, 8);
    else if (symbol < 256) w.Huffman(0x190 + (symbol - 144), 9);
    else if (symbol < 280) w.Huffman(symbol - 256, 7);
    else w.Huffman(0xC0 + (symbol - 280), 8);
}

void PutMatch(BitWriter& w, int length, int distance) {
    int li = 28;
    while (kLengthBase[li] > length) --li;
    PutLiteralOrLength(w, 257 + li);
    w.Bits(uint32_t(length - kLengthBase[li]), kLengthExtra[li]);
    int di = 29;
    while (kDistBase[di] > distance) --di;
    w.Huffman(uint32_t(di), 5);
    w.Bits(uint32_t(distance - kDistBase[di]), kDistExtra[di]);
}

std::string Deflate(const std::string& data) {
    constexpr int kWindow = 32768;
    constexpr int kHashBits = 15;
    constexpr int kMaxChain = 48;
    const int n = int(data.size());
    const auto byte = [&](int i) { return uint32_t(uint8_t(data[size_t(i)])); };
    std::vector<int> head(1 << kHashBits, -1);
    std::vector<int> prev(size_t(n), -1);
    const auto hashAt = [&](int i) {
        return ((byte(i) << 10) ^ (byte(i + 1) << 5) ^ byte(i + 2)) & ((1u << kHashBits) - 1);
    };
    const auto insert = [&](int i) {
        if (i + 2 >= n) return;
        const uint32_t h = hashAt(i);
        prev[size_t(i)] = head[h];
        head[h] = i;
    };

    BitWriter w;
    w.Bits(1, 1);  // final block
    w.Bits(1, 2);  // fixed Huffman codes
    int i = 0;
    while (i < n) {
        int bestLen = 0;
        int bestDist = 0;
        if (i + 2 < n) {
            int candidate = head[hashAt(i)];
            for (int chain = 0; candidate >= 0 && chain < kMaxChain && i - candidate <= kWindow; ++chain) {
                int len = 0;
                while (len < 258 && i + len < n && data[size_t(candidate + len)] == data[size_t(i + len)]) ++len;
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = i - candidate;
                    if (len == 258) break;
                }
                candidate = prev[size_t(candidate)];
            }
        }
        if (bestLen >= 3) {
            PutMatch(w, bestLen, bestDist);
            for (int k = 0; k < bestLen; ++k) insert(i + k);
            i += bestLen;
        } else {
            PutLiteralOrLength(w, int(byte(i)));
            insert(i);
            ++i;
        }
    }
    PutLiteralOrLength(w, 256);
    return w.Finish();
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

void Chunk(ByteWriter& out, const char* type, const std::string& body) {
    const std::string typeAndBody = std::string(type, 4) + body;
    out.U32be(uint32_t(body.size()));
    out.Bytes(typeAndBody);
    out.U32be(Crc32(typeAndBody));
}

}  // namespace

uint32_t Crc32(const std::string& data, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (char ch : data) crc = table[(crc ^ uint8_t(ch)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const std::string& data) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (char ch : data) {
        a = (a + uint8_t(ch)) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string ZlibCompress(const std::string& data) {
    ByteWriter w;
    w.U8(0x78);  // deflate, 32 KiB window
    w.U8(0x01);  // no dictionary; check bits make 0x7801 a multiple of 31
    w.Bytes(Deflate(data));
    w.U32be(Adler32(data));
    return w.Take();
}

std::string EncodePng(const Image8& image) {
    const int width = image.Width();
    const int height = image.Height();
    const size_t stride = size_t(width) * 4;
    // Each row takes the filter (of the five) whose output has the smallest sum of
    // magnitudes: the usual heuristic, cheap and good for smooth artwork.
    std::string raw;
    std::vector<uint8_t> above(stride, 0);
    std::vector<uint8_t> row(stride);
    std::vector<uint8_t> trial(stride);
    std::vector<uint8_t> best(stride);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel8& p = image.At(x, y);
            row[size_t(x) * 4 + 0] = p.r;
            row[size_t(x) * 4 + 1] = p.g;
            row[size_t(x) * 4 + 2] = p.b;
            row[size_t(x) * 4 + 3] = p.a;
        }
        long bestScore = -1;
        int bestFilter = 0;
        for (int filter = 0; filter < 5; ++filter) {
            long score = 0;
            for (size_t i = 0; i < stride; ++i) {
                const int a = i >= 4 ? row[i - 4] : 0;
                const int b = above[i];
                const int c = i >= 4 ? above[i - 4] : 0;
                int predicted = 0;
                switch (filter) {
                    case 1: predicted = a; break;
                    case 2: predicted = b; break;
                    case 3: predicted = (a + b) / 2; break;
                    case 4: predicted = Paeth(a, b, c); break;
                    default: break;
                }
                trial[i] = uint8_t(row[i] - predicted);
                score += trial[i] < 128 ? trial[i] : 256 - trial[i];
            }
            if (bestScore < 0 || score < bestScore) {
                bestScore = score;
                bestFilter = filter;
                best = trial;
            }
        }
        raw.push_back(char(bestFilter));
        raw.append(reinterpret_cast<const char*>(best.data()), stride);
        above = row;
    }

    ByteWriter out;
    out.Bytes(std::string("\x89PNG\r\n\x1a\n", 8));
    ByteWriter ihdr;
    ihdr.U32be(uint32_t(width));
    ihdr.U32be(uint32_t(height));
    ihdr.U8(8);  // bits per channel
    ihdr.U8(6);  // RGBA
    ihdr.U8(0);  // deflate
    ihdr.U8(0);  // adaptive filtering
    ihdr.U8(0);  // no interlace
    Chunk(out, "IHDR", ihdr.Take());
    Chunk(out, "IDAT", ZlibCompress(raw));
    Chunk(out, "IEND", "");
    return out.Take();
}

}  // namespace art

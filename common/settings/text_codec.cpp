#include "text_codec.h"

#include <cstdint>

std::u16string Utf8ToU16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    const size_t n = utf8.size();
    auto byteAt = [&](size_t k) { return static_cast<uint8_t>(utf8[k]); };
    while (i < n) {
        const uint8_t b0 = byteAt(i);
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        if (b0 < 0x80) {
            cp = b0;
        } else if (b0 >= 0xC2 && b0 <= 0xF4) {
            const size_t need = b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
            uint32_t value = b0 & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
            size_t k = 1;
            for (; k < need && i + k < n; ++k) {
                const uint8_t b = byteAt(i + k);
                if ((b & 0xC0) != 0x80) break;
                value = (value << 6) | (b & 0x3F);
            }
            if (k == need) {
                const bool overlong = (need == 3 && value < 0x800) || (need == 4 && value < 0x10000);
                const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
                if (!overlong && !surrogate && value <= 0x10FFFF) cp = value;
                len = need;
            } else {
                len = k;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string U16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

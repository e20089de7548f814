#pragma once
// The string tables of a resource library as the resource compiler writes them:
// the language ids the tables are stored under, and the blocks of sixteen texts.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Language ids as the resource compiler writes them (primary | sublanguage << 10).
inline constexpr uint16_t kLanguageEnglish = 0x0409;  // English (United States)
inline constexpr uint16_t kLanguageGerman = 0x0407;   // German (Germany)

// Text `index` (0-15) of one string-table block: sixteen counted UTF-16 strings,
// each a 16-bit length followed by that many units. Empty for an empty entry;
// nothing when the block ends before the entry does (a damaged library).
inline std::optional<std::u16string> StringBlockText(const uint8_t* data, size_t size, unsigned index) {
    if (!data || index > 15) return std::nullopt;
    size_t offset = 0;
    for (unsigned i = 0;; ++i) {
        if (offset + 2 > size) return std::nullopt;
        const size_t length = static_cast<size_t>(data[offset]) | static_cast<size_t>(data[offset + 1]) << 8;
        offset += 2;
        if (length > (size - offset) / 2) return std::nullopt;
        if (i == index) {
            std::u16string text(length, u'\0');
            for (size_t k = 0; k < length; ++k)
                text[k] = static_cast<char16_t>(data[offset + 2 * k] | data[offset + 2 * k + 1] << 8);
            return text;
        }
        offset += 2 * length;
    }
}

// The block and index a text number lives in, as the resource compiler stores them.
inline constexpr unsigned StringBlockId(unsigned textId) { return textId / 16 + 1; }
inline constexpr unsigned StringBlockIndex(unsigned textId) { return textId % 16; }

#pragma once
// Which of uistr.dll's string tables the programs show. The user's Windows
// display language picks it; the "Language" key of the store's "Config"
// section, when a user sets it by hand, overrides Windows. Any text missing
// from the chosen table is taken from the English one.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Language ids as the resource compiler writes them (primary | sublanguage << 10).
inline constexpr uint16_t kLanguageEnglish = 0x0409;  // English (United States)
inline constexpr uint16_t kLanguageGerman = 0x0407;   // German (Germany)

inline constexpr std::u16string_view kLanguageKey = u"Language";

// "de", "deu", "german", "deutsch" or a German language id such as "0x0407" give
// German; "en", "eng", "english" or an English id give English; anything else,
// an empty value included, gives nothing: the display language decides.
std::optional<uint16_t> ParseLanguageOverride(std::u16string_view value);

// The table to show: the override when there is one, else German for any German
// display language (Germany, Austria, Switzerland...), else English.
uint16_t ChooseTextLanguage(std::optional<uint16_t> override, uint16_t displayLanguage);

// The override stored in <programFolder>\config\Config.data; nothing when the
// store or the key is missing or the value is not understood.
std::optional<uint16_t> ReadLanguageOverride(const std::filesystem::path& programFolder);

// Text `index` (0-15) of one string-table block: sixteen counted UTF-16 strings,
// each a 16-bit length followed by that many units. Empty for an empty entry;
// nothing when the block ends before the entry does (a damaged library).
std::optional<std::u16string> StringBlockText(const uint8_t* data, size_t size, unsigned index);

// The block and index a text number lives in, as the resource compiler stores them.
inline constexpr unsigned StringBlockId(unsigned textId) { return textId / 16 + 1; }
inline constexpr unsigned StringBlockIndex(unsigned textId) { return textId % 16; }

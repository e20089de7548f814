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

#include "string_table.h"

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

#include "text_language.h"

#include "ini_file.h"
#include "profile_store.h"
#include "text_util.h"

namespace {

constexpr uint16_t kPrimaryGerman = 0x07;
constexpr uint16_t kPrimaryEnglish = 0x09;

uint16_t PrimaryLanguage(uint16_t language) { return static_cast<uint16_t>(language & 0x3FF); }

std::optional<uint16_t> FromPrimary(uint16_t primary) {
    if (primary == kPrimaryGerman) return kLanguageGerman;
    if (primary == kPrimaryEnglish) return kLanguageEnglish;
    return std::nullopt;
}

// A language id written as a number ("0x0407", "1031"); nothing for other text.
std::optional<uint16_t> NumericLanguage(std::u16string_view text) {
    unsigned base = 10;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (char16_t c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
    }
    if (value > 0xFFFF) return std::nullopt;
    return FromPrimary(PrimaryLanguage(static_cast<uint16_t>(value)));
}

}  // namespace

std::optional<uint16_t> ParseLanguageOverride(std::u16string_view value) {
    const std::u16string name = ToAsciiLower(std::u16string_view(TrimText(value)));
    if (name.empty()) return std::nullopt;
    for (std::u16string_view german : {u"de", u"deu", u"ger", u"german", u"deutsch"})
        if (name == german) return kLanguageGerman;
    for (std::u16string_view english : {u"en", u"eng", u"english"})
        if (name == english) return kLanguageEnglish;
    // Locale names as Windows writes them: "de-DE", "de-AT", "en-GB".
    if (name.size() == 5 && name[2] == u'-') return ParseLanguageOverride(name.substr(0, 2));
    return NumericLanguage(name);
}

uint16_t ChooseTextLanguage(std::optional<uint16_t> override, uint16_t displayLanguage) {
    if (override) return *override;
    return PrimaryLanguage(displayLanguage) == kPrimaryGerman ? kLanguageGerman : kLanguageEnglish;
}

std::optional<uint16_t> ReadLanguageOverride(const std::filesystem::path& programFolder) {
    const CIniFile store(ProfileStorePath(programFolder));
    return ParseLanguageOverride(store.ReadString(kConfigSection, kLanguageKey, u""));
}

#include "skin_description.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr char16_t kScreen[] = u"SCREEN";
constexpr char16_t kButtonPos[] = u"BUTTONPOS";

constexpr uint16_t kEnglish = 0x0409;
uint16_t g_tooltipLanguage = kEnglish;

std::filesystem::path ToPath(const std::u16string& text) { return std::filesystem::path(text); }

std::u16string TooltipSection(uint16_t language) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string name = u"TOOLTIPS_";
    for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(language >> shift) & 0xF];
    return name;
}

}  // namespace

void SetSkinTooltipLanguage(uint16_t language) { g_tooltipLanguage = language; }

SkinDescription::SkinDescription(std::u16string skinsFolder, std::u16string_view fileName)
    : folder_(std::move(skinsFolder)), ini_(ToPath(folder_ + std::u16string(fileName))) {}

SkinScreen SkinDescription::ReadScreen() const {
    SkinScreen screen;
    screen.mask = ini_.ReadString(kScreen, u"Mask", u"");
    screen.normal = ini_.ReadString(kScreen, u"Normal", u"");
    screen.over = ini_.ReadString(kScreen, u"Over", u"");
    screen.down = ini_.ReadString(kScreen, u"Down", u"");
    screen.disable = ini_.ReadString(kScreen, u"Disable", u"");
    return screen;
}

ButtonPos SkinDescription::ReadEntry(int number) const {
    ButtonPos pos = ParseButtonPos(ini_.ReadString(kButtonPos, IntToText(number), u""));
    pos.entry = number;
    if (g_tooltipLanguage != kEnglish) {
        const std::u16string text = ini_.ReadString(TooltipSection(g_tooltipLanguage), IntToText(number), u"");
        if (!text.empty()) {
            // Cut to the field as the parser cuts the English one.
            const size_t units = std::min(text.size(), ButtonPos::kTextUnits - 1);
            std::copy_n(text.begin(), units, pos.text);
            pos.text[units] = u'\0';
        }
    }
    return pos;
}

bool SkinDescription::HasEntry(int number) const { return ini_.HasKey(kButtonPos, IntToText(number)); }

std::u16string SkinDescription::ImagePath(std::u16string_view name) const {
    if (name.empty()) return {};
    return folder_ + std::u16string(name);
}

std::u16string SkinsFolderOf(std::u16string_view programFolder) {
    std::u16string folder(programFolder);
    // Keep the folder's own separator, so the same code serves both platforms' tests.
    const char16_t separator = !folder.empty() && folder.back() == u'/' ? u'/' : u'\\';
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') folder += separator;
    return folder + u"skins" + separator;
}

#include "skin_description.h"

#include <filesystem>

namespace {

constexpr char16_t kScreen[] = u"SCREEN";
constexpr char16_t kButtonPos[] = u"BUTTONPOS";

std::filesystem::path ToPath(const std::u16string& text) { return std::filesystem::path(text); }

}  // namespace

SkinDescription::SkinDescription(std::u16string skinsFolder, std::u16string_view fileName)
    : folder_(std::move(skinsFolder)), filePath_(folder_ + std::u16string(fileName)), ini_(ToPath(filePath_)) {}

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

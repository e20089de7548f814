#pragma once
// A skin description file: the five window pictures of section "SCREEN" and
// the control positions of section "BUTTONPOS". Read only, through CIniFile;
// whatever is missing reads as empty. Portable.
#include <cstdint>
#include <string>
#include <string_view>

#include "button_pos.h"
#include "ini_file.h"

// The skin description file of each skinned window of the configuration program.
namespace skin_files {
inline constexpr char16_t kMain[] = u"skin_mains.ini";
inline constexpr char16_t kConfigPage[] = u"skin_configr.ini";
inline constexpr char16_t kButtonPage[] = u"skin_button_page.ini";
inline constexpr char16_t kMouseTop[] = u"skin_Mouse.ini";
inline constexpr char16_t kMouseSide[] = u"skin_MousSide.ini";
inline constexpr char16_t kPerformance[] = u"Skin_Function.ini";
inline constexpr char16_t kSetup[] = u"skin_Setup.ini";
inline constexpr char16_t kSetBlock[] = u"skin_SetBlock.ini";
inline constexpr char16_t kSetDefault[] = u"skin_SetDefault.ini";
inline constexpr char16_t kSetDpi[] = u"skin_setDPI.ini";
inline constexpr char16_t kSetKey[] = u"skin_setKey.ini";
inline constexpr char16_t kSetLaunch[] = u"skin_setLaunch.ini";
inline constexpr char16_t kSetMacro[] = u"skin_setMacro.ini";
inline constexpr char16_t kSetMedia[] = u"skin_setMedia.ini";
inline constexpr char16_t kSetMouse[] = u"skin_setMouse.ini";
inline constexpr char16_t kSetShortcut[] = u"skin_setShortcut.ini";
inline constexpr char16_t kMacros[] = u"skin_Macros.ini";
inline constexpr char16_t kInsertMacro[] = u"skin_InsertMacro.ini";
inline constexpr char16_t kInsertMacro1[] = u"skin_InsertMacro1.ini";
inline constexpr char16_t kInsertMacro2[] = u"skin_InsertMacro2.ini";
inline constexpr char16_t kConfigDpi[] = u"Skin_configDPI.ini";
inline constexpr char16_t kLighting[] = u"Skin_light.ini";
// The developer gallery of every skinned control.
inline constexpr char16_t kGallery[] = u"skin_gallery.ini";
inline constexpr char16_t kQuestion[] = u"skin_question.ini";
}  // namespace skin_files

// Image names of section "SCREEN", as the file gives them.
struct SkinScreen {
    std::u16string mask;
    std::u16string normal;
    std::u16string over;
    std::u16string down;
    std::u16string disable;
};

// The language of the tooltips that ReadEntry gives: a skin may carry them
// again, by entry number, in a section "TOOLTIPS_<language id in hex>"
// ("TOOLTIPS_0407" for German). An entry that section lacks keeps the
// tooltip of "BUTTONPOS". English (0x0409), the default, reads no such section.
void SetSkinTooltipLanguage(uint16_t language);

class SkinDescription {
public:
    // `skinsFolder` ends with a separator; every file of the skin is that
    // folder followed directly by its name, so names may contain subfolders.
    SkinDescription(std::u16string skinsFolder, std::u16string_view fileName);

    const std::u16string& Folder() const { return folder_; }
    // "Mask", "Normal", "Over", "Down", "Disable", read in this order.
    SkinScreen ReadScreen() const;
    // The parsed "BUTTONPOS" entry `number` (an empty position when missing).
    ButtonPos ReadEntry(int number) const;
    bool HasEntry(int number) const;
    // Skins folder + name; empty when the name is empty (no picture).
    std::u16string ImagePath(std::u16string_view name) const;

private:
    std::u16string folder_;
    CIniFile ini_;
};

// Program folder (with or without its trailing separator) + "skins\".
std::u16string SkinsFolderOf(std::u16string_view programFolder);

#pragma once
// Empty dialog templates built in memory: no controls, no caption, no border;
// the window decides its real size when it is created. Portable: the template
// is plain 16-bit words as the dialog manager reads them.
#include <cstdint>
#include <string>
#include <vector>

struct DialogTemplateSpec {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    int16_t width = 0;   // dialog units
    int16_t height = 0;
    uint16_t pointSize = 0;
    std::u16string faceName;
    std::u16string className;  // the dialog window class; empty: the system's
};

// The platform's style bits that the templates use.
namespace dialog_style {
inline constexpr uint32_t kPopup = 0x80000000u;
inline constexpr uint32_t kChild = 0x40000000u;
inline constexpr uint32_t kVisible = 0x10000000u;
inline constexpr uint32_t kSetFont = 0x00000040u;
inline constexpr uint32_t kControl = 0x00000400u;
inline constexpr uint32_t kExAppWindow = 0x00040000u;
}  // namespace dialog_style

// DLGTEMPLATE, menu, class, title, and with a point size the font: the words of
// one template. The first word's address must be 4-byte aligned when used.
std::vector<uint16_t> BuildDialogTemplate(const DialogTemplateSpec& layout);

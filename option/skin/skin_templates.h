#pragma once
// The dialog templates of the skinned windows. They only fix the style, the
// font and a first size: the skin's background picture decides the real size.
#include <optional>

#include "dialog_template.h"

// The window class every skinned dialog is created with.
inline constexpr char16_t kSkinDialogClass[] = u"GmSkinDialog";

// The template numbers of the skinned windows.
namespace skin_template {
enum Id : int {
    kMainWindow = 102,  // the main window: its own taskbar button
    kView = 129,        // the mouse views and the assignment dialog's function pages
    kPage = 131,        // configuration page, macro manager, insert-into-macro dialogs
    kPopup = 134,       // pop-up pages and dialogs
};
}  // namespace skin_template

// The templates named in skin_template; nothing for other ids.
std::optional<DialogTemplateSpec> SkinDialogTemplate(int templateId);

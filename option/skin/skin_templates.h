#pragma once
// The dialog templates of the skinned windows. They only fix the style, the
// font and a first size: the skin's background picture decides the real size.
#include <optional>

#include "dialog_template.h"

// The window class every skinned dialog is created with.
inline constexpr char16_t kSkinDialogClass[] = u"GmSkinDialog";

// Templates 102 (main window), 129, 131 and 134; nothing for other ids.
std::optional<DialogTemplateSpec> SkinDialogTemplate(int templateId);

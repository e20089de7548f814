#include "skin_templates.h"

std::optional<DialogTemplateSpec> SkinDialogTemplate(int templateId) {
    using namespace dialog_style;
    DialogTemplateSpec layout;
    layout.faceName = u"Arial";
    layout.className = kSkinDialogClass;
    switch (templateId) {
        case skin_template::kMainWindow:
            layout.style = kPopup | kVisible | kSetFont;
            layout.exStyle = kExAppWindow;
            layout.width = 339;
            layout.height = 225;
            layout.pointSize = 10;
            return layout;
        case skin_template::kView:
            layout.style = kChild | kControl | kSetFont;
            layout.width = 221;
            layout.height = 98;
            layout.pointSize = 8;
            return layout;
        case skin_template::kPage:
            layout.style = kChild | kControl | kSetFont;
            layout.width = 339;
            layout.height = 117;
            layout.pointSize = 10;
            return layout;
        case skin_template::kPopup:
            layout.style = kPopup | kSetFont;
            layout.width = 187;
            layout.height = 98;
            layout.pointSize = 10;
            return layout;
        default:
            return std::nullopt;
    }
}

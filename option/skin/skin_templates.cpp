#include "skin_templates.h"

std::optional<DialogTemplateSpec> SkinDialogTemplate(int templateId) {
    using namespace dialog_style;
    DialogTemplateSpec layout;
    layout.faceName = u"Arial";
    layout.className = kSkinDialogClass;
    switch (templateId) {
        case 102:  // main window: its own taskbar button
            layout.style = kPopup | kVisible | kSetFont;
            layout.exStyle = kExAppWindow;
            layout.width = 339;
            layout.height = 225;
            layout.pointSize = 10;
            return layout;
        case 129:  // the mouse views and the assignment dialog's function pages
            layout.style = kChild | kSetFont;
            layout.width = 221;
            layout.height = 98;
            layout.pointSize = 8;
            return layout;
        case 131:  // configuration page, macro manager, insert-into-macro dialogs
            layout.style = kChild | kSetFont;
            layout.width = 339;
            layout.height = 117;
            layout.pointSize = 10;
            return layout;
        case 134:  // pop-up pages and dialogs
            layout.style = kPopup | kSetFont;
            layout.width = 187;
            layout.height = 98;
            layout.pointSize = 10;
            return layout;
        default:
            return std::nullopt;
    }
}

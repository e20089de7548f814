#include "dialog_template.h"

namespace {

void PutDword(std::vector<uint16_t>& words, uint32_t value) {
    words.push_back(static_cast<uint16_t>(value & 0xFFFF));
    words.push_back(static_cast<uint16_t>(value >> 16));
}

void PutString(std::vector<uint16_t>& words, const std::u16string& text) {
    for (char16_t c : text) words.push_back(static_cast<uint16_t>(c));
    words.push_back(0);
}

}  // namespace

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

std::vector<uint16_t> BuildDialogTemplate(const DialogTemplateSpec& layout) {
    std::vector<uint16_t> words;
    PutDword(words, layout.pointSize ? layout.style | dialog_style::kSetFont : layout.style & ~dialog_style::kSetFont);
    PutDword(words, layout.exStyle);
    words.push_back(0);  // no controls
    words.push_back(0);  // x
    words.push_back(0);  // y
    words.push_back(static_cast<uint16_t>(layout.width));
    words.push_back(static_cast<uint16_t>(layout.height));
    words.push_back(0);  // no menu
    PutString(words, layout.className);
    words.push_back(0);  // no title
    if (layout.pointSize) {
        words.push_back(layout.pointSize);
        PutString(words, layout.faceName);
    }
    return words;
}

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
    DialogTemplateSpec spec;
    spec.faceName = u"Arial";
    spec.className = kSkinDialogClass;
    switch (templateId) {
        case 102:  // main window: its own taskbar button
            spec.style = kPopup | kVisible | kSetFont;
            spec.exStyle = kExAppWindow;
            spec.width = 339;
            spec.height = 225;
            spec.pointSize = 10;
            return spec;
        case 129:  // the mouse views and the assignment dialog's function pages
            spec.style = kChild | kSetFont;
            spec.width = 221;
            spec.height = 98;
            spec.pointSize = 8;
            return spec;
        case 131:  // configuration page, macro manager, insert-into-macro dialogs
            spec.style = kChild | kSetFont;
            spec.width = 339;
            spec.height = 117;
            spec.pointSize = 10;
            return spec;
        case 134:  // pop-up pages and dialogs
            spec.style = kPopup | kSetFont;
            spec.width = 187;
            spec.height = 98;
            spec.pointSize = 10;
            return spec;
        default:
            return std::nullopt;
    }
}

std::vector<uint16_t> BuildDialogTemplate(const DialogTemplateSpec& spec) {
    std::vector<uint16_t> words;
    PutDword(words, spec.pointSize ? spec.style | dialog_style::kSetFont : spec.style & ~dialog_style::kSetFont);
    PutDword(words, spec.exStyle);
    words.push_back(0);  // no controls
    words.push_back(0);  // x
    words.push_back(0);  // y
    words.push_back(static_cast<uint16_t>(spec.width));
    words.push_back(static_cast<uint16_t>(spec.height));
    words.push_back(0);  // no menu
    PutString(words, spec.className);
    words.push_back(0);  // no title
    if (spec.pointSize) {
        words.push_back(spec.pointSize);
        PutString(words, spec.faceName);
    }
    return words;
}

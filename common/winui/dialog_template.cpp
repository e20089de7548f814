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

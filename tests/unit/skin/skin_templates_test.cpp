#include <gtest/gtest.h>

#include <vector>

#include "skin_templates.h"

namespace {

std::vector<uint16_t> Words(std::initializer_list<uint16_t> w) { return w; }

void AppendText(std::vector<uint16_t>& words, const char16_t* text) {
    for (; *text; ++text) words.push_back(*text);
    words.push_back(0);
}

std::vector<uint16_t> Expected(uint32_t style, uint32_t exStyle, uint16_t cx, uint16_t cy, uint16_t points) {
    std::vector<uint16_t> w{static_cast<uint16_t>(style & 0xFFFF), static_cast<uint16_t>(style >> 16),
                            static_cast<uint16_t>(exStyle & 0xFFFF), static_cast<uint16_t>(exStyle >> 16),
                            0, 0, 0, cx, cy, 0};
    AppendText(w, kSkinDialogClass);
    w.push_back(0);
    w.push_back(points);
    AppendText(w, u"Arial");
    return w;
}

}  // namespace

TEST(DialogTemplates, TheFourSkinnedTemplatesWordForWord) {
    EXPECT_EQ(BuildDialogTemplate(*SkinDialogTemplate(102)), Expected(0x90000040, 0x00040000, 339, 225, 10));
    EXPECT_EQ(BuildDialogTemplate(*SkinDialogTemplate(129)), Expected(0x40000040, 0, 221, 98, 8));
    EXPECT_EQ(BuildDialogTemplate(*SkinDialogTemplate(131)), Expected(0x40000040, 0, 339, 117, 10));
    EXPECT_EQ(BuildDialogTemplate(*SkinDialogTemplate(134)), Expected(0x80000040, 0, 187, 98, 10));
    EXPECT_FALSE(SkinDialogTemplate(130).has_value());
}

TEST(DialogTemplates, WithoutAFontThereIsNoFontBlock) {
    DialogTemplateSpec layout;
    layout.style = dialog_style::kPopup | dialog_style::kSetFont;
    layout.width = 10;
    layout.height = 20;
    EXPECT_EQ(BuildDialogTemplate(layout), Words({0, 0x8000, 0, 0, 0, 0, 0, 10, 20, 0, 0, 0}));
}

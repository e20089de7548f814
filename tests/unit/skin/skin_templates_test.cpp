#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "skin_templates.h"

namespace {

std::vector<uint16_t> Words(std::initializer_list<uint16_t> w) { return w; }

// What each template is for, as the windows built on it rely on: the main
// window shows itself with a taskbar button, pages sit inside a parent, and
// pop-ups have no parent frame to sit in.
struct Role {
    int id;
    bool page;
    bool mainWindow;
};
constexpr Role kRoles[] = {{102, false, true}, {129, true, false}, {131, true, false}, {134, false, false}};

}  // namespace

TEST(DialogTemplates, OnlyTheIdsInUseHaveATemplate) {
    std::set<int> used;
    for (const Role& role : kRoles) used.insert(role.id);
    // A mistyped id in a page must fail to create rather than take another page's template.
    for (int id = 0; id < 1000; ++id) EXPECT_EQ(SkinDialogTemplate(id).has_value(), used.count(id) == 1) << id;
}

TEST(DialogTemplates, EveryTemplateMakesAnEmptySkinDialogWithItsFont) {
    using namespace dialog_style;
    for (const Role& role : kRoles) {
        SCOPED_TRACE(role.id);
        const DialogTemplateSpec layout = *SkinDialogTemplate(role.id);
        // The skin dialog class paints the skin; the system's would not.
        EXPECT_EQ(layout.className, kSkinDialogClass);
        // The controls come from the skin, the size from its picture: a first size only.
        EXPECT_GT(layout.width, 0);
        EXPECT_GT(layout.height, 0);
        // A font block without DS_SETFONT is read as the first control.
        EXPECT_TRUE(layout.style & kSetFont);
        EXPECT_FALSE(layout.faceName.empty());
        EXPECT_GT(layout.pointSize, 0);
        const std::vector<uint16_t> words = BuildDialogTemplate(layout);
        ASSERT_GT(words.size(), 10u);
        EXPECT_EQ(words[4], 0) << "no controls in the template";
    }
}

TEST(DialogTemplates, EachTemplateHasTheWindowKindOfItsRole) {
    using namespace dialog_style;
    int mainWindows = 0;
    for (const Role& role : kRoles) {
        SCOPED_TRACE(role.id);
        const DialogTemplateSpec layout = *SkinDialogTemplate(role.id);
        EXPECT_EQ((layout.style & kChild) != 0, role.page);
        EXPECT_EQ((layout.style & kPopup) != 0, !role.page);
        // Tab goes on from the parent's controls into a page's and back out.
        EXPECT_EQ((layout.style & kControl) != 0, role.page) << "a page in its parent's tab order";
        EXPECT_EQ((layout.exStyle & kExAppWindow) != 0, role.mainWindow) << "a taskbar button";
        EXPECT_EQ((layout.style & kVisible) != 0, role.mainWindow) << "shown at creation";
        mainWindows += role.mainWindow;
    }
    EXPECT_EQ(mainWindows, 1);
}

TEST(DialogTemplates, WithoutAFontThereIsNoFontBlock) {
    DialogTemplateSpec layout;
    layout.style = dialog_style::kPopup | dialog_style::kSetFont;
    layout.width = 10;
    layout.height = 20;
    EXPECT_EQ(BuildDialogTemplate(layout), Words({0, 0x8000, 0, 0, 0, 0, 0, 10, 20, 0, 0, 0}));
}

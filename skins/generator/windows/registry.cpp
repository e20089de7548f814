// The skinned windows of the suite. A new window is one line here and one
// layout description.
#include "skin/skin_set.h"
#include "windows/windows.h"

namespace skin {

namespace {

constexpr WindowDescription kWindows[] = {
    {"skin_mains.ini", "mains", 680, 572, nullptr, 0, windows::DescribeMainWindow},
    {"skin_configr.ini", "configr", 0, 0, "skin_mains.ini", 7, windows::DescribeConfigPage},
    {"skin_Macros.ini", "macros", 0, 0, "skin_mains.ini", 7, windows::DescribeMacroPage},
    // The insert panel over the macro page's recorder, and its sub-panels, the
    // delay one first: the panel opens with it.
    {"skin_InsertMacro.ini", "insert_macro", 0, 0, "skin_Macros.ini", 20, windows::DescribeInsertPanel, true},
    {"skin_InsertMacro1.ini", "insert_delay", 0, 0, "skin_InsertMacro.ini", 3, windows::DescribeInsertDelayPanel},
    {"skin_InsertMacro2.ini", "insert_record", 0, 0, "skin_InsertMacro.ini", 3, windows::DescribeInsertRecordPanel},
    // The sub-pages of the configuration page, the button page first: it is shown at start.
    {"skin_button_page.ini", "button_page", 0, 0, "skin_configr.ini", 16, windows::DescribeButtonPage},
    // The two mouse views on the button page, the top view first: it is shown at start.
    {"skin_Mouse.ini", "mouse_top", 0, 0, "skin_button_page.ini", 3, windows::DescribeMouseTopView},
    {"skin_MousSide.ini", "mouse_side", 0, 0, "skin_button_page.ini", 3, windows::DescribeMouseSideView},
    {"Skin_Function.ini", "function", 0, 0, "skin_configr.ini", 16, windows::DescribePerformancePage},
    {"Skin_light.ini", "light", 0, 0, "skin_configr.ini", 16, windows::DescribeLightingPage},
    {"Skin_configDPI.ini", "configDPI", 431, 330, nullptr, 0, windows::DescribeDpiLevelsDialog},
    {"skin_question.ini", "question", 520, 304, nullptr, 0, windows::DescribeQuestionBox},
    // The assignment dialog and its category pages, the default one first.
    {"skin_Setup.ini", "setup", 440, 330, nullptr, 0, windows::DescribeAssignmentDialog},
    {"skin_SetDefault.ini", "set_default", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetDefaultPage},
    {"skin_setKey.ini", "set_key", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetKeyPage},
    {"skin_setMouse.ini", "set_mouse", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetMousePage},
    {"skin_setDPI.ini", "set_dpi", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetDpiPage},
    {"skin_setMacro.ini", "set_macro", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetMacroPage},
    {"skin_setLaunch.ini", "set_launch", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetLaunchPage},
    {"skin_setMedia.ini", "set_media", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetMediaPage},
    {"skin_setShortcut.ini", "set_shortcut", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetShortcutPage},
    {"skin_SetBlock.ini", "set_block", 0, 0, "skin_Setup.ini", 6, windows::DescribeSetBlockPage},
    {"skin_gallery.ini", "gallery", 748, 412, nullptr, 0, windows::DescribeGallery},
};

}  // namespace

std::span<const WindowDescription> RegisteredWindows() { return kWindows; }

}  // namespace skin

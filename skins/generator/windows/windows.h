#pragma once
// Layout descriptions, one per skinned window.
#include "skin/skin_builder.h"

namespace windows {

void DescribeMainWindow(skin::SkinBuilder& b);
void DescribeConfigPage(skin::SkinBuilder& b);
void DescribeMacroPage(skin::SkinBuilder& b);
void DescribeInsertPanel(skin::SkinBuilder& b);
void DescribeInsertDelayPanel(skin::SkinBuilder& b);
void DescribeInsertRecordPanel(skin::SkinBuilder& b);
void DescribeButtonPage(skin::SkinBuilder& b);
// The mouse seen from above and from its left side, on the button page's views area.
void DescribeMouseTopView(skin::SkinBuilder& b);
void DescribeMouseSideView(skin::SkinBuilder& b);
void DescribePerformancePage(skin::SkinBuilder& b);
void DescribeLightingPage(skin::SkinBuilder& b);
// The frame of a small pop-up dialog (a 44-pixel header, short cut corners):
// set as the window's outline and painted on its background.
void PaintDialogFrame(skin::SkinBuilder& b, double notchWidth);

void DescribeQuestionBox(skin::SkinBuilder& b);
void DescribeDpiLevelsDialog(skin::SkinBuilder& b);
void DescribeGallery(skin::SkinBuilder& b);
// The dialog that gives a mouse button its function, and its page for each category.
void DescribeAssignmentDialog(skin::SkinBuilder& b);
void DescribeSetDefaultPage(skin::SkinBuilder& b);
void DescribeSetKeyPage(skin::SkinBuilder& b);
void DescribeSetMousePage(skin::SkinBuilder& b);
void DescribeSetDpiPage(skin::SkinBuilder& b);
void DescribeSetMacroPage(skin::SkinBuilder& b);
void DescribeSetLaunchPage(skin::SkinBuilder& b);
void DescribeSetMediaPage(skin::SkinBuilder& b);
void DescribeSetShortcutPage(skin::SkinBuilder& b);
void DescribeSetBlockPage(skin::SkinBuilder& b);

}  // namespace windows

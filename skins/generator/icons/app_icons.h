#pragma once
// The program icons: the Monitor's tray and program icon (the mouse itself)
// and the configuration program's icon (the mouse on a tile).
#include <vector>

#include "art/image.h"
#include "art/shape.h"
#include "skin/skin_builder.h"

namespace icons {

// The mouse seen from above, filling `box`: an egg, narrower at the buttons,
// fuller at the palm. The lighting page shows it too.
art::ShapePtr MouseBody(const art::Box& box);

// Sizes stored in each icon file, smallest first: the small and large icon
// sizes of Windows at 100, 125, 150 and 200 % (16, 20, 24, 32 and 32, 40, 48,
// 64), so that no scale has its icon stretched, and 256 for Explorer.
constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

art::Image8 RenderMonitorIcon(int size);
art::Image8 RenderOptionIcon(int size);

// "monitor.ico" and "option.ico".
std::vector<skin::GeneratedFile> BuildAppIcons();

}  // namespace icons

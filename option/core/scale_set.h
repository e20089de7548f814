#pragma once
// Which skin set a display gets. The sets are drawn at 100, 125, 150 and
// 200 %; a display's DPI picks the set of its scale, or the next larger one
// between sets, since a picture shrunk by Windows stays sharper than one
// enlarged. A set that is not installed gives way to the nearest one that is.
// Portable.
#include <functional>

namespace scale_set {
inline constexpr int kPercents[] = {100, 125, 150, 200};
inline constexpr int kBaseDpi = 96;
}  // namespace scale_set

struct ScaleSetChoice {
    int percent = 100;
    // The set of the DPI was not there (above 200 %, or its folder missing):
    // worth one debug line.
    bool fallback = false;
};

// `installed(percent)` says whether a set is there; without any, 100.
ScaleSetChoice ChooseScaleSet(int dpi, const std::function<bool(int percent)>& installed);

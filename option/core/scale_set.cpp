#include "scale_set.h"

#include <cstdlib>

ScaleSetChoice ChooseScaleSet(int dpi, const std::function<bool(int percent)>& installed) {
    if (dpi <= 0) dpi = scale_set::kBaseDpi;
    // The wanted set: the smallest whose scale reaches the display's, in
    // integers (percent / 100 >= dpi / 96).
    int wanted = 0;
    for (int percent : scale_set::kPercents) {
        if (percent * scale_set::kBaseDpi >= dpi * 100) {
            wanted = percent;
            break;
        }
    }
    const bool beyond = wanted == 0;
    if (beyond) wanted = scale_set::kPercents[std::size(scale_set::kPercents) - 1];
    if (installed && installed(wanted)) return ScaleSetChoice{wanted, beyond};

    // The nearest installed set; of two as near, the larger.
    int best = 0;
    for (int percent : scale_set::kPercents) {
        if (percent == wanted || !installed || !installed(percent)) continue;
        if (best == 0 || std::abs(percent - wanted) < std::abs(best - wanted) ||
            (std::abs(percent - wanted) == std::abs(best - wanted) && percent > best))
            best = percent;
    }
    return ScaleSetChoice{best == 0 ? 100 : best, true};
}

#include "skin_scale.h"

namespace {

UiScale& Current() {
    static UiScale scale;
    return scale;
}

}  // namespace

void SetSkinScale(int percent) { Current().percent = percent > 0 ? percent : 100; }

const UiScale& SkinScale() { return Current(); }

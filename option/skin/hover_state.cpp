#include "hover_state.h"

HoverState::Change HoverState::Move(int item, bool leftHeld, bool programActive) {
    Change change;
    if (item == hot_) return change;
    change.left = hot_;
    hot_ = kNone;
    if (item != kNone && !leftHeld && programActive) {
        hot_ = item;
        change.entered = item;
    }
    return change;
}

HoverState::Change HoverState::Leave() {
    Change change;
    change.left = hot_;
    hot_ = kNone;
    return change;
}

HoverState::Change HoverState::Check(int itemUnderPointer) {
    if (itemUnderPointer == hot_) return Change{};
    return Leave();
}

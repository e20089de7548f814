#pragma once
// The rules of hover tracking, without windows: which part of a control the
// pointer lights up. A control that lights as a whole has one item, 0; a list
// lights its rows, a scroll bar its arrows, each an item of its own. Portable.
class HoverState {
public:
    static constexpr int kNone = -1;

    // What a step changed: the item that went dark and the item that lit up,
    // each kNone when nothing did.
    struct Change {
        int left = kNone;
        int entered = kNone;
        bool operator==(const Change&) const = default;
        explicit operator bool() const { return left != kNone || entered != kNone; }
    };

    // The pointer moved over `item` (kNone: over no item). Nothing lights up
    // while the left button is held (a drag that began elsewhere passes over
    // the control) or while the program has no active window; what is lit
    // goes dark as soon as the pointer leaves it, held button or not.
    Change Move(int item, bool leftHeld, bool programActive);
    // The pointer left the control (its leave message).
    Change Leave();
    // The periodic look at the pointer: `itemUnderPointer` is where it really
    // is. It only ever darkens; lighting up is for moves.
    Change Check(int itemUnderPointer);
    // Set by the program, not by the pointer: nothing is reported.
    void Set(int item) { hot_ = item; }

    int Hot() const { return hot_; }
    bool Hovered() const { return hot_ != kNone; }

private:
    int hot_ = kNone;
};

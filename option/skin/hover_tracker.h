#pragma once
// CHoverTracker: hover for any control, on the platform's leave tracking. The
// control owns one and feeds it from its mouse handlers (OnMouseMove,
// OnMouseLeave, OnTimer); the tracker tells it through its listener when an
// item lights up or goes dark. Buttons light as a whole; a list, a scroll bar
// or a slider gives a hit test that names the row, arrow or thumb at a point.
//
// Lighting up happens on the first move over an item; going dark on the leave
// message (TrackMouseEvent, TME_LEAVE) or on a move to elsewhere. While an
// item is lit, a timer also looks where the pointer is, because a pointer
// that leaves for a part of the screen that is no window of the program can
// leave without any message at all (Wine on an X server without a window
// manager: the bare desktop sends nothing).
#include <windows.h>

#include <functional>

#include "hover_state.h"
#include "window.h"

class CHoverTracker {
public:
    // The tracker's timer id on the control's window; controls keep their own
    // timers clear of it.
    static constexpr UINT_PTR kPointerTimer = 0x4856;
    static constexpr UINT kPointerTimerMs = 100;

    using Listener = std::function<void(const HoverState::Change& change)>;
    // The item at a point of the control's client area, or HoverState::kNone.
    using HitTest = std::function<int(POINT client)>;

    // `control` is the window that owns the tracker; the listener is called
    // after the tracker's own state has changed. Without a hit test the whole
    // client area is item 0.
    CHoverTracker(const CWindow& control, Listener listener, HitTest hitTest = {});
    CHoverTracker(const CHoverTracker&) = delete;
    CHoverTracker& operator=(const CHoverTracker&) = delete;

    void OnMouseMove(POINT at, UINT keys);
    void OnMouseLeave();
    // True when `id` was the tracker's own timer.
    bool OnTimer(UINT_PTR id);
    // Lights `item` (or nothing) for the program, without telling the listener.
    void Set(int item);
    // The control goes: nothing is lit, the timer and the leave request end.
    void Stop();

    int Hot() const { return state_.Hot(); }
    bool Hovered() const { return state_.Hovered(); }

private:
    int ItemAt(POINT client) const;
    // Whether the pointer is over this very window (not a window above it);
    // `client` is where, in client coordinates.
    bool PointerIsOver(POINT& client) const;
    // Where the pointer really is: kNone unless it is over this very window.
    int ItemUnderPointer() const;
    void Apply(const HoverState::Change& change);
    // Asks for the leave message and starts the pointer check, or ends both.
    void Watch(bool on);

    const CWindow& control_;  // not owned: the tracker is a member of it
    Listener listener_;
    HitTest hitTest_;
    HoverState state_;
};

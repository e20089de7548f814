#include "hover_tracker.h"

#include <utility>

CHoverTracker::CHoverTracker(const CWindow& control, Listener listener, HitTest hitTest)
    : control_(control), listener_(std::move(listener)), hitTest_(std::move(hitTest)) {}

int CHoverTracker::ItemAt(POINT client) const {
    if (hitTest_) return hitTest_(client);
    RECT area{};
    GetClientRect(control_.hwnd(), &area);
    return PtInRect(&area, client) ? 0 : HoverState::kNone;
}

bool CHoverTracker::PointerIsOver(POINT& client) const {
    HWND window = control_.hwnd();
    if (!window || !GetCursorPos(&client) || WindowFromPoint(client) != window) return false;
    return ScreenToClient(window, &client) != FALSE;
}

int CHoverTracker::ItemUnderPointer() const {
    POINT at{};
    return PointerIsOver(at) ? ItemAt(at) : HoverState::kNone;
}

void CHoverTracker::OnMouseMove(POINT at, UINT keys) {
    // Moves also come while the control holds the capture (a press that left
    // it), and one can be replayed from where the pointer was when a capture
    // ended: only a pointer that is really over the window counts.
    POINT pointer{};
    const int item = PointerIsOver(pointer) ? ItemAt(at) : HoverState::kNone;
    Apply(state_.Move(item, (keys & MK_LBUTTON) != 0, GetActiveWindow() != nullptr));
}

void CHoverTracker::OnMouseLeave() { Apply(state_.Leave()); }

bool CHoverTracker::OnTimer(UINT_PTR id) {
    if (id != kPointerTimer) return false;
    // Only the fallback: the leave message ends the hover wherever it comes.
    // A pointer that leaves for the bare desktop of an X server without a
    // window manager sends nothing under Wine, so this look catches it.
    Apply(state_.Check(ItemUnderPointer()));
    return true;
}

void CHoverTracker::Set(int item) {
    state_.Set(item);
    Watch(state_.Hovered());
}

void CHoverTracker::Stop() {
    state_.Set(HoverState::kNone);
    Watch(false);
}

void CHoverTracker::Apply(const HoverState::Change& change) {
    if (!change) return;
    Watch(state_.Hovered());
    if (listener_) listener_(change);
}

void CHoverTracker::Watch(bool on) {
    HWND window = control_.hwnd();
    if (!window) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = on ? TME_LEAVE : TME_LEAVE | TME_CANCEL;
    track.hwndTrack = window;
    TrackMouseEvent(&track);
    if (on) {
        SetTimer(window, kPointerTimer, kPointerTimerMs, nullptr);
    } else {
        KillTimer(window, kPointerTimer);
    }
}

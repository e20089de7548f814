#pragma once
// Tooltips of the skinned controls: one tooltip control per top-level window,
// shared by all the controls inside it, each control a tool of its own (its
// whole window). The tooltip is made with the window's first tool, always
// shows (even while the window is inactive), stays above other windows, and
// is owned by the top-level window, so it goes when that window goes.
#include <windows.h>

#include <string>

// The tool of one control. The control relays its mouse messages to it.
class CControlTooltip {
public:
    CControlTooltip() = default;
    ~CControlTooltip() { Remove(); }
    CControlTooltip(const CControlTooltip&) = delete;
    CControlTooltip& operator=(const CControlTooltip&) = delete;

    // Sets the control's tip. `activate` false keeps the text but shows no tip
    // (the tooltip itself serves other controls, so only this tool goes).
    // Null text: nothing happens.
    void SetText(HWND control, const wchar_t* text, bool activate);
    // Hands one of the control's mouse messages to the tooltip.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Takes the tool out of the tooltip; the text stays.
    void Remove();
    // While held the control shows no tip, whatever SetText says meanwhile:
    // what the control opened (its drop-down list) lies where the tip would
    // show and would take the click meant for it. Released, the tip is back
    // as SetText last left it.
    void Hold(bool hold);

    const std::wstring& text() const { return text_; }
    bool active() const { return active_; }

    // The tooltip that the controls of `window`'s top-level window share, or
    // null while none of them has a tip.
    static HWND SharedTooltipOf(HWND window);

private:
    HWND Tooltip() const;

    HWND control_ = nullptr;  // not owned
    HWND top_ = nullptr;      // not owned: whose tooltip holds the tool
    std::wstring text_;
    bool active_ = false;
    bool hasTool_ = false;
    bool held_ = false;
};

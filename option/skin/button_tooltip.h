#pragma once
// The tooltip of one skinned button: created on first use, without a parent,
// always shown (even when the window is inactive), fed with the button's
// mouse messages.
#include <windows.h>

#include <string>

class CButtonTooltip {
public:
    CButtonTooltip() = default;
    ~CButtonTooltip();
    CButtonTooltip(const CButtonTooltip&) = delete;
    CButtonTooltip& operator=(const CButtonTooltip&) = delete;

    // Sets the text of tool 1 (the button's client area) and activates or
    // deactivates the tooltip. Null text: nothing happens.
    void SetText(HWND button, const wchar_t* text, bool activate);
    // Hands one of the button's messages to the tooltip.
    void Relay(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    void Destroy();
    HWND window() const { return tooltip_; }
    const std::wstring& text() const { return text_; }

private:
    bool Ensure();

    HWND tooltip_ = nullptr;  // owned: destroyed with this object
    bool hasTool_ = false;
    std::wstring text_;
};

#pragma once
// Skinned buttons: owner-drawn push buttons that show one of four pictures cut
// from their window's "Normal", "Over", "Down" and "Disable" images, light up
// under the pointer, can act as two-state switches, and carry a tooltip.
//
// A button made from a skin entry has the entry's number as its control id (0
// without one). A click calls the button's onClicked, bound when the button is
// made; a button without one reports the click to its parent as WM_COMMAND
// with its handle in lParam. Hover changes are posted to the parent as WM_BUTTON_HOVER (wParam 1
// entered / 0 left, lParam the hover id).
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "button_look.h"
#include "button_pos.h"
#include "control_tooltip.h"
#include "gdi.h"
#include "hover_tracker.h"
#include "skin_dialog.h"
#include "window.h"

class CSkinButtonBase : public CWindow {
public:
    CSkinButtonBase();

    // What a click of the button does; the parent sees no command then.
    std::function<void()> onClicked;

    // A child at `rect` of `parent`, visible, no text, control id `id`; it
    // makes itself owner-drawn and is a stop of Tab.
    bool Create(HWND parent, const SkinRect& rect, int id = 0);
    // Create with the entry's number as the id, cut the pictures at the
    // entry's rectangle, and take the entry's text as the tooltip.
    bool CreateFromSkin(HWND parent, const ButtonPos& pos, const SkinPictures& pictures);

    // Cuts the four pictures out of the window images at `rect` (with
    // `cutter`'s device contexts when one is given). A missing image keeps
    // the old picture.
    void SetBitmaps(const SkinRect& rect, HBITMAP normal, const PictureSource& over, const PictureSource& down,
                    const PictureSource& disabled, PictureCutter* cutter = nullptr);
    void SetCheck(int checked);
    int GetCheck() const { return checked_; }
    void SetCheckMode(bool on) { checkMode_ = on; }
    // Makes the buttons, in this order, the parts of one choice (a segmented
    // choice, or tabs): Left and Up go to the part before, Right and Down to
    // the part after, as with radio buttons, passing over hidden and disabled
    // parts and stopping at the ends. The part reached takes the focus and is
    // pressed as a click presses it.
    static void JoinChoice(std::initializer_list<CSkinButtonBase*> parts);
    // Screen readers hear a push button, or a check button once the button
    // shows a check (a switch); a tab says so here.
    void SetAccessibleRole(AccessibleRole role) { accessibleRole_ = role; }
    bool Describe(AccessibleFacts& facts) const override;
    void SetTooltipText(const wchar_t* text, bool activate);
    const CControlTooltip& Tooltip() const { return tooltip_; }
    // See CControlTooltip::Hold.
    void HoldTooltip(bool hold) { tooltip_.Hold(hold); }
    // Lights the button or not, for the program, and tells the parent either way.
    void SetHover(bool hover);
    bool Hover() const { return hover_.Hovered(); }
    // Shows the button lit as if the pointer were over it, because its partner
    // (a mouse view's caption for its hot spot, and the reverse) is. Only the
    // look: the button's own pointer tracking and hover reports are untouched.
    void SetPartnerLit(bool lit);
    void SetHoverId(int id) { hoverId_ = id; }
    HBITMAP Picture(ButtonPicture which) const { return pictures_[static_cast<int>(which)].get(); }

    // Paints the button as it looks with `itemState` (ODS_* flags) into `dc`.
    void Draw(HDC dc, const RECT& rc, UINT itemState);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;
    bool OnReflectedCommand(WORD code) override;
    void OnDestroy() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMouseMove(POINT at, UINT keys) override;
    bool OnMouseLeave() override;
    bool OnKillFocus(HWND gaining) override;
    bool OnLButtonDown(POINT at, UINT keys) override;
    bool OnLButtonDblClk(POINT at, UINT keys) override;
    bool OnLButtonUp(POINT at, UINT keys) override;
    bool OnKeyUp(UINT virtualKey, UINT flags) override;
    bool OnKeyDown(UINT virtualKey, UINT flags) override;

    ButtonState StateOf(UINT itemState) const;
    // Composes the face into `dc` (an off-screen buffer, or the button itself
    // when no buffer could be made).
    virtual void Compose(HDC dc, const RECT& rc, const ButtonState& state) = 0;
    virtual ButtonPicture Choose(const ButtonState& state) const = 0;
    void CopyPicture(HDC dc, const RECT& rc, ButtonPicture which) const;

private:
    // Clears style bits the window has; a style that is already right is left alone.
    void DropStyle(LONG_PTR bits);
    void NotifyHover(bool state);
    void OnHoverChange(const HoverState::Change& change);
    // A press activates the top-level window the button belongs to.
    void ActivateOwner();
    // The end of a press, by the pointer or by Space: the check turns over
    // and the owner hears of the click.
    void ToggleCheck();

    BitmapHandle pictures_[kButtonPictureCount];
    bool checkMode_ = false;
    // The parts of the choice this button belongs to, shared by all of them.
    std::shared_ptr<const std::vector<HWND>> choice_;
    int checked_ = 0;
    bool switch_ = false;  // the owner sets its check: a two-state switch
    AccessibleRole accessibleRole_ = AccessibleRole::kNone;
    int hoverId_ = 0;
    bool partnerLit_ = false;
    // Messages of this button being handled right now: a click the button
    // reports is always sent from inside one of them.
    std::shared_ptr<int> dispatching_ = std::make_shared<int>(0);
    CHoverTracker hover_;
    CControlTooltip tooltip_;
};

class CSkinButton : public CSkinButtonBase {
public:
    void SetText(std::wstring caption);
    const std::wstring& Text() const { return caption_; }
    void SetAlign(CaptionAlign align) { align_ = align; }
    void SetFont(int height, int width) {
        fontHeight_ = height;
        fontWidth_ = width;
    }
    void SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed, COLORREF disabled);
    // The caption every page of the configuration program gives its buttons:
    // Arial of `height`, grey, the accent under the pointer, white pressed.
    void SetPageCaption(int height, CaptionAlign align);
    void SetIndicator(LampIndicator indicator);
    LampIndicator Indicator() const { return indicator_; }
    bool Describe(AccessibleFacts& facts) const override;

protected:
    void Compose(HDC dc, const RECT& rc, const ButtonState& state) override;
    ButtonPicture Choose(const ButtonState& state) const override { return ChooseButtonPicture(state); }

private:
    void DrawCaption(HDC dc, const RECT& rc, const ButtonState& state) const;
    void DrawLamps(HDC dc) const;

    std::wstring caption_;
    int fontHeight_ = 15;
    int fontWidth_ = 0;
    CaptionAlign align_ = CaptionAlign::kLeft;
    CaptionColors colors_;
    LampIndicator indicator_ = LampIndicator::kNoLamps;
};

// A skinned button with a colour swatch over its picture (the lighting page's
// colour choices). The swatch covers the button but its four corner pixels.
class CSkinColorButton : public CSkinButtonBase {
public:
    // The owner repaints when it wants the new colour shown.
    void SetFillColor(COLORREF color) { fill_ = color; }
    bool Describe(AccessibleFacts& facts) const override;

protected:
    void Compose(HDC dc, const RECT& rc, const ButtonState& state) override;
    ButtonPicture Choose(const ButtonState& state) const override { return ChooseColorButtonPicture(state); }

private:
    COLORREF fill_ = RGB(0, 0, 0);
};

#include "skin_button.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "app_messages.h"
#include "accessible_object.h"
#include "buffered_paint.h"
#include "gdi_cache.h"
#include "skin_control.h"
#include "skin_image.h"
#include "skin_rect_win32.h"
#include "skin_rescale.h"

namespace {

constexpr wchar_t kButtonClass[] = L"GmSkinButton";
// What a button shows where its skin gave it no picture.
constexpr COLORREF kNoPicture = RGB(16, 16, 16);

static_assert(text_format::kCenter == DT_CENTER && text_format::kRight == DT_RIGHT &&
              text_format::kVCenter == DT_VCENTER && text_format::kWordBreak == DT_WORDBREAK &&
              text_format::kSingleLine == DT_SINGLELINE && text_format::kCalcRect == DT_CALCRECT &&
              text_format::kNoPrefix == DT_NOPREFIX && text_format::kEditControl == DT_EDITCONTROL &&
              text_format::kEndEllipsis == DT_END_ELLIPSIS,
              "portable text formats are the platform's");

LPARAM PointParam(POINT at) { return MAKELPARAM(at.x, at.y); }

// One message of a button on the stack. The count lives apart from the
// button, so a handler that deletes the button leaves nothing dangling.
class DispatchCount {
public:
    explicit DispatchCount(std::shared_ptr<int> count) : count_(std::move(count)) { ++*count_; }
    ~DispatchCount() { --*count_; }
    DispatchCount(const DispatchCount&) = delete;
    DispatchCount& operator=(const DispatchCount&) = delete;

private:
    std::shared_ptr<int> count_;
};

}  // namespace

// ---- CSkinButtonBase -------------------------------------------------------

CSkinButtonBase::CSkinButtonBase()
    : hover_(*this, [this](const HoverState::Change& change) { OnHoverChange(change); }) {}

bool CSkinButtonBase::Create(HWND parent, const SkinRect& rect, int id) {
    // Owner-drawn from the start: a style set afterwards costs a round of
    // style messages for each of the many buttons a window opens with. Every
    // button is a stop of Tab: without the pointer it is the only way to it.
    if (!CreateSuperclassed(L"BUTTON", SkinControlParams(kButtonClass, rect, parent, id,
                                                         kSkinControlStyle | BS_OWNERDRAW | WS_TABSTOP)))
        return false;
    return true;
}

void CSkinButtonBase::DropStyle(LONG_PTR bits) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    if (style & bits) SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~bits);
}

bool CSkinButtonBase::CreateFromSkin(HWND parent, const ButtonPos& pos, const SkinPictures& pictures) {
    if (!Create(parent, pos.rect, pos.entry)) return false;
    SetBitmaps(pos.rect, pictures.normal, pictures.over, pictures.down, pictures.disabled, pictures.cutter);
    // A check the skin gives at the start makes a switch as well.
    if (pos.initialCheck) SetCheck(static_cast<int>(pos.initialCheck));
    SetTooltipText(reinterpret_cast<const wchar_t*>(pos.text), true);
    return true;
}

void CSkinButtonBase::SetBitmaps(const SkinRect& rect, HBITMAP normal, const PictureSource& over,
                                 const PictureSource& down, const PictureSource& disabled, PictureCutter* cutter) {
    const PictureSource sources[kButtonPictureCount] = {normal, over, down, disabled};
    const RECT piece = ToRect(rect);
    // Cut on the screen when the button has no window yet; a button of no
    // size has no pictures.
    const bool sized = piece.right > piece.left && piece.bottom > piece.top;
    std::optional<PictureCutter> own;
    if (sized && !cutter) cutter = &own.emplace(hwnd());
    for (int i = 0; i < kButtonPictureCount; ++i)
        if (sources[i]) pictures_[i] = sized ? cutter->Cut(sources[i], piece) : BitmapHandle();
    if (hwnd()) {
        DropStyle(WS_BORDER);
        InvalidateRect(hwnd(), nullptr, FALSE);
    }
}

void CSkinButtonBase::SetCheck(int checked) {
    switch_ = true;
    if (checked == checked_) return;
    checked_ = checked;
    if (!hwnd()) return;
    InvalidateRect(hwnd(), nullptr, FALSE);
    NotifyAccessible(hwnd(), EVENT_OBJECT_STATECHANGE);
}

bool CSkinButtonBase::Describe(AccessibleFacts& facts) const {
    if (accessibleRole_ != AccessibleRole::kNone)
        facts.role = accessibleRole_;
    else
        facts.role = checkMode_ || switch_ ? AccessibleRole::kCheckButton : AccessibleRole::kPushButton;
    facts.tooltip = tooltip_.text();
    facts.checked = checked_ != 0;
    return true;
}

void CSkinButtonBase::SetTooltipText(const wchar_t* text, bool activate) { tooltip_.SetText(hwnd(), text, activate); }

void CSkinButtonBase::SetHover(bool hover) {
    hover_.Set(hover ? 0 : HoverState::kNone);
    NotifyHover(hover);
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButtonBase::SetPartnerLit(bool lit) {
    if (lit == partnerLit_) return;
    partnerLit_ = lit;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButtonBase::NotifyHover(bool state) {
    if (HWND parent = hwnd() ? GetParent(hwnd()) : nullptr)
        PostMessageW(parent, WM_BUTTON_HOVER, state ? 1 : 0, static_cast<LPARAM>(hoverId_));
}

void CSkinButtonBase::OnHoverChange(const HoverState::Change& change) {
    NotifyHover(change.entered != HoverState::kNone);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButtonBase::ActivateOwner() {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner) owner = GetParent(hwnd());
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (top && GetActiveWindow() != top) SetActiveWindow(top);
}

LRESULT CSkinButtonBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) tooltip_.Relay(message, wParam, lParam);
    if (message == WM_ERASEBKGND) return 0;  // the drawing covers the button
    if (message == SkinRescaleMessage()) {
        // Moved already: the pictures are cut again where the button now lies.
        const auto* change = reinterpret_cast<const SkinRescale*>(lParam);
        if (change && change->pictures) {
            const RECT at = RectInParent(hwnd());
            const SkinPictures& p = *change->pictures;
            SetBitmaps(SkinRect{at.left, at.top, at.right, at.bottom}, p.normal, p.over, p.down, p.disabled);
        }
        return 0;
    }
    if (message == WM_UPDATEUISTATE || message == WM_SETFOCUS) InvalidateRect(hwnd(), nullptr, FALSE);
    const DispatchCount count(dispatching_);
    // The arrows are the choice's own, not the dialog manager's group moves.
    if (message == WM_GETDLGCODE && choice_) return CWindow::HandleMessage(message, wParam, lParam) | DLGC_WANTARROWS;
    return CWindow::HandleMessage(message, wParam, lParam);
}

void CSkinButtonBase::JoinChoice(std::initializer_list<CSkinButtonBase*> parts) {
    auto windows = std::make_shared<std::vector<HWND>>();
    for (CSkinButtonBase* part : parts)
        if (part && part->hwnd()) windows->push_back(part->hwnd());
    for (CSkinButtonBase* part : parts)
        if (part && part->hwnd()) part->choice_ = windows;
}

bool CSkinButtonBase::OnKeyDown(UINT virtualKey, UINT) {
    const int step = virtualKey == VK_LEFT || virtualKey == VK_UP       ? -1
                     : virtualKey == VK_RIGHT || virtualKey == VK_DOWN ? 1
                                                                       : 0;
    if (!choice_ || step == 0) return false;
    // A copy: the click below may remake the page and its buttons.
    const std::vector<HWND> parts = *choice_;
    // Not a vector<bool>: the rule reads a span of plain bools.
    const auto usable = std::make_unique<bool[]>(parts.size());
    size_t from = parts.size();
    for (size_t i = 0; i < parts.size(); ++i) {
        usable[i] = IsWindow(parts[i]) && IsWindowVisible(parts[i]) && IsWindowEnabled(parts[i]);
        if (parts[i] == hwnd()) from = i;
    }
    const auto next = NextChoicePart(std::span<const bool>(usable.get(), parts.size()), from, step);
    if (!next) return true;
    SetFocus(parts[*next]);
    SendMessageW(parts[*next], BM_CLICK, 0, 0);
    return true;
}

bool CSkinButtonBase::OnMouseMove(POINT at, UINT keys) {
    DefaultProc();
    hover_.OnMouseMove(at, keys);
    return true;
}

bool CSkinButtonBase::OnMouseLeave() {
    hover_.OnMouseLeave();
    return false;  // the system button tracks its own leave too
}

bool CSkinButtonBase::OnTimer(UINT_PTR id) { return hover_.OnTimer(id); }

bool CSkinButtonBase::OnKillFocus(HWND) {
    DefaultProc();
    SetHover(false);
    return true;
}

bool CSkinButtonBase::OnLButtonDown(POINT, UINT) {
    ActivateOwner();
    return false;
}

bool CSkinButtonBase::OnLButtonDblClk(POINT at, UINT keys) {
    // Every click counts as a click, however quickly it follows the last.
    ActivateOwner();
    DefaultProc(WM_LBUTTONDOWN, keys, PointParam(at));
    return true;
}

bool CSkinButtonBase::OnLButtonUp(POINT, UINT) {
    if (!checkMode_) return false;  // the system button reports the click
    ToggleCheck();
    return true;
}

bool CSkinButtonBase::OnKeyUp(UINT virtualKey, UINT) {
    // The system button would report Space as a click with the check left as
    // it was, and a drop-down would close instead of opening.
    if (!checkMode_ || virtualKey != VK_SPACE || !(DefaultProc(BM_GETSTATE, 0, 0) & BST_PUSHED)) return false;
    ToggleCheck();
    return true;
}

void CSkinButtonBase::ToggleCheck() {
    checked_ = checked_ == 0 ? 1 : 0;
    // The system button still thinks it is held, and holds the capture it
    // took at the press; neither is true any more.
    DefaultProc(BM_SETSTATE, FALSE, 0);
    if (GetCapture() == hwnd()) ReleaseCapture();
    InvalidateRect(hwnd(), nullptr, FALSE);
    if (HWND parent = GetParent(hwnd()))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(hwnd()));
}

bool CSkinButtonBase::OnReflectedCommand(WORD code) {
    // The dialog manager names a control by its id alone: Enter, Esc and the
    // close command arrive as IDOK or IDCANCEL with whichever control has that
    // id, and buttons of skin entries 1 and 2 do. A click of this button is
    // always sent from inside one of its own messages; anything else is the
    // dialog manager's command, and goes on as such, naming no control.
    if (code != BN_CLICKED) return false;
    if (*dispatching_ > 0) {
        if (!onClicked) return false;
        // A copy runs: the handler may destroy the button and its members.
        const std::function<void()> clicked = onClicked;
        clicked();
        return true;
    }
    const int id = GetDlgCtrlID(hwnd());
    if (id != IDOK && id != IDCANCEL) return false;
    if (HWND parent = GetParent(hwnd())) SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return true;
}

void CSkinButtonBase::OnDestroy() {
    hover_.Stop();
    tooltip_.Remove();
    for (auto& picture : pictures_) picture.Reset();
}

ButtonState CSkinButtonBase::StateOf(UINT itemState) const {
    ButtonState state;
    state.checkMode = checkMode_;
    state.disabled = (itemState & ODS_DISABLED) != 0;
    state.pressed = (itemState & ODS_SELECTED) != 0;
    state.checked = checked_ != 0;
    state.hover = hover_.Hovered() || partnerLit_;
    return state;
}

bool CSkinButtonBase::OnReflectedDrawItem(DRAWITEMSTRUCT* item) {
    Draw(item->hDC, item->rcItem, item->itemState);
    return true;
}

void CSkinButtonBase::Draw(HDC dc, const RECT& rc, UINT itemState) {
    const ButtonState state = StateOf(itemState);
    const bool focusMark = (itemState & ODS_FOCUS) && ShowsFocusMark(hwnd());
    PaintBuffered(dc, rc, [&](HDC target, const RECT& area) {
        Compose(target, area, state);
        if (focusMark) DrawFocusMark(target, area);
    });
}

void CSkinButtonBase::CopyPicture(HDC dc, const RECT& rc, ButtonPicture which) const {
    if (!DrawPicture(dc, Picture(which), rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top))
        FillRect(dc, &rc, CachedBrush(kNoPicture));
}

// ---- CSkinButton -----------------------------------------------------------

void CSkinButton::SetText(std::wstring caption) {
    const bool renamed = caption != caption_;
    caption_ = std::move(caption);
    if (!hwnd()) return;
    if (renamed) NotifyAccessible(hwnd(), EVENT_OBJECT_NAMECHANGE);
    // The window text carries the caption too, so screen readers (and the
    // tests) read what the picture shows.
    SetWindowTextW(hwnd(), caption_.c_str());
    InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CSkinButton::Describe(AccessibleFacts& facts) const {
    CSkinButtonBase::Describe(facts);
    facts.caption = caption_;
    return true;
}

void CSkinButton::SetPageCaption(int height, CaptionAlign align) {
    SetFont(height, 0);
    SetAlign(align);
    SetTextColors(RGB(100, 100, 100), RGB(128, 21, 153), RGB(255, 255, 255), RGB(150, 150, 150));
}

void CSkinButton::SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed, COLORREF disabled) {
    colors_ = CaptionColors{normal, hover, pressed, disabled};
}

void CSkinButton::SetIndicator(LampIndicator indicator) {
    indicator_ = indicator;
    if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinButton::Compose(HDC dc, const RECT& rc, const ButtonState& state) {
    CopyPicture(dc, rc, Choose(state));
    if (!caption_.empty()) DrawCaption(dc, rc, state);
    if (indicator_ != LampIndicator::kNoLamps) DrawLamps(dc);
}

void CSkinButton::DrawCaption(HDC dc, const RECT& rc, const ButtonState& state) const {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ChooseCaptionColor(state, colors_));
    SelectGuard selectFont(dc, SkinFont(fontHeight_, fontWidth_));
    const CaptionLayout layout = LayoutCaption(align_, ToSkinRect(rc));
    const int length = static_cast<int>(caption_.size());
    switch (layout.kind) {
        case CaptionKind::kWrapped: {
            RECT box = ToRect(layout.rect);
            RECT measured = box;
            DrawTextW(dc, caption_.c_str(), length, &measured, layout.format | DT_CALCRECT);
            box.top = CenteredTop(box.top, box.bottom - box.top, measured.bottom - measured.top);
            DrawTextW(dc, caption_.c_str(), length, &box, layout.format);
            break;
        }
        case CaptionKind::kSingleLine: {
            RECT box = ToRect(layout.rect);
            DrawTextW(dc, caption_.c_str(), length, &box, layout.format);
            break;
        }
        case CaptionKind::kTextOut:
            TextOutW(dc, rc.left + layout.x, rc.top + layout.y, caption_.c_str(), length);
            break;
    }
}

void CSkinButton::DrawLamps(HDC dc) const {
    const auto colors = LampColors(indicator_);
    if (!colors) return;
    for (int lamp = 0; lamp < 3; ++lamp) {
        const RECT r = ToRect(LampRect(lamp));
        FillRect(dc, &r, CachedBrush((*colors)[lamp]));
    }
}

#include "skin_list_box.h"

#include <algorithm>
#include <vector>

#include "accessible_object.h"
#include "debug_output.h"
#include "gdi_cache.h"
#include "list_box_model.h"
#include "skin_control.h"
#include "skin_rect_win32.h"
#include "skin_rescale.h"
#include "skin_resource.h"
#include "skin_scale.h"
#include "wide_text.h"

namespace {

constexpr wchar_t kListClass[] = L"GmSkinListBox";
// Posted by the edit box to the list: wParam 1 commit, 0 abandon. The edit
// ends outside its own handler, so its object can go at once.
constexpr UINT kEndEdit = WM_APP + 0x5F6;

}  // namespace

// A plain edit placed over a row while it is edited; Enter and Esc end it
// (in a dialog they would otherwise go to the dialog manager's default buttons).

class CSkinListBox::EditBox : public CWindow {
public:
    explicit EditBox(CSkinListBox& list) : list_(list) {}

    // The row being renamed, under the list's name.
    bool Describe(AccessibleFacts& facts) const override {
        facts.role = AccessibleRole::kEditableText;
        facts.name = list_.AccessibleName();
        facts.value = list_.EditText();
        return true;
    }

protected:
    bool OnKeyDown(UINT key, UINT) override {
        if (key != VK_RETURN && key != VK_ESCAPE) return false;
        PostMessageW(list_.hwnd(), kEndEdit, key == VK_RETURN ? 1 : 0, 0);
        return true;
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        // Keep Enter and Esc for ourselves instead of the dialog's default buttons.
        if (message == WM_GETDLGCODE) return DefaultProc(message, wParam, lParam) | DLGC_WANTALLKEYS;
        if (message == WM_CHAR && (wParam == L'\r' || wParam == 27)) return 0;
        return CWindow::HandleMessage(message, wParam, lParam);
    }

private:
    CSkinListBox& list_;
};

CSkinListBox::CSkinListBox()
    : hover_(
          *this,
          [this](const HoverState::Change& change) {
              InvalidateRow(change.left);
              InvalidateRow(change.entered);
          },
          [this](POINT at) { return RowAt(at); }) {}
CSkinListBox::~CSkinListBox() = default;

bool CSkinListBox::Create(HWND parent, const SkinRect& rect, int id, DWORD style, const Colors& colors) {
    colors_ = colors;
    const CreateParams p = SkinControlParams(kListClass, rect, parent, id, style | WS_CHILD);
    if (!CreateSuperclassed(L"LISTBOX", p)) return false;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(SkinFont(kListFontHeight)), FALSE);
    return true;
}

void CSkinListBox::ResetContent() {
    EndEdit(false);
    chosenRow_.reset();
    hover_.Set(HoverState::kNone);
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

int CSkinListBox::AddString(const std::wstring& text, uint32_t itemValue) {
    return InsertString(-1, text, itemValue);
}

int CSkinListBox::InsertString(int row, const std::wstring& text, uint32_t itemValue) {
    const auto at = static_cast<int>(SendMessageW(hwnd(), LB_INSERTSTRING, static_cast<WPARAM>(row),
                                                  reinterpret_cast<LPARAM>(text.c_str())));
    if (at >= 0) SendMessageW(hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(itemValue));
    return at;
}

int CSkinListBox::Count() const { return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0)); }
int CSkinListBox::GetCurSel() const { return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)); }
void CSkinListBox::SetCurSel(int row) { SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }
void CSkinListBox::SetTopIndex(int row) { SendMessageW(hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0); }

void CSkinListBox::PassFocusTo(HWND control) const {
    if (control && IsWindow(control) && GetFocus() == hwnd()) SetFocus(control);
}

bool CSkinListBox::OnDropDownKey(UINT key) {
    ListKey move{};
    switch (key) {
        // The system list would take Left and Right for Up and Down and choose at once.
        case VK_LEFT:
        case VK_UP: move = ListKey::kUp; break;
        case VK_RIGHT:
        case VK_DOWN: move = ListKey::kDown; break;
        case VK_PRIOR: move = ListKey::kPageUp; break;
        case VK_NEXT: move = ListKey::kPageDown; break;
        case VK_HOME: move = ListKey::kHome; break;
        case VK_END: move = ListKey::kEnd; break;
        case VK_RETURN:
            ChooseSelection();
            return true;
        default:
            return false;
    }
    const int selected = GetCurSel();
    RECT client{};
    GetClientRect(hwnd(), &client);
    const auto page = static_cast<size_t>(std::max<LONG>(client.bottom / std::max(S(kListRowHeight), 1), 1));
    const auto target = ListKeyTarget(move, selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected))
                                                          : std::nullopt,
                                      static_cast<size_t>(std::max(Count(), 0)), page);
    if (target) MoveSelection(static_cast<int>(*target));
    return true;
}

void CSkinListBox::MoveSelection(int row) {
    const int selected = GetCurSel();
    if (row == selected) return;
    if (!chosenRow_) chosenRow_ = selected;
    // Scrolls the row into view and puts the caret (the focus mark) on it,
    // without telling the owner: nothing is chosen yet.
    SetCurSel(row);
    // A screen reader follows the keys by these; the system list raises none here.
    NotifyAccessible(hwnd(), EVENT_OBJECT_SELECTION, row + 1);
    NotifyAccessible(hwnd(), EVENT_OBJECT_FOCUS, row + 1);
}

void CSkinListBox::ChooseSelection() {
    chosenRow_.reset();
    if (GetCurSel() < 0) return;
    // To the parent the list has now (a skinned bar's window passes it on),
    // as the list's own notice of a click goes.
    if (HWND parent = GetParent(hwnd()))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(hwnd()));
}

bool CSkinListBox::Describe(AccessibleFacts& facts) const {
    facts.role = AccessibleRole::kList;
    const int selected = GetCurSel();
    if (selected >= 0) facts.value = Text(selected);
    return true;
}

bool CSkinListBox::DescribeItem(int row, AccessibleFacts& facts) const {
    if (row < 0 || row >= Count()) return false;
    facts.role = AccessibleRole::kListItem;
    // A profile's or a macro's name, as typed: "R&D" keeps its '&'.
    facts.name = Wide(SpokenRowName(Narrow16(Text(row)), ItemValue(row)));
    facts.nameAsTyped = true;
    facts.selected = row == GetCurSel();
    facts.focused = facts.selected;
    return true;
}

std::wstring CSkinListBox::Text(int row) const {
    const auto length = static_cast<int>(SendMessageW(hwnd(), LB_GETTEXTLEN, static_cast<WPARAM>(row), 0));
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(
        SendMessageW(hwnd(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

uint32_t CSkinListBox::ItemValue(int row) const {
    const LRESULT value = SendMessageW(hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    return value == LB_ERR ? 0 : static_cast<uint32_t>(value);
}

bool CSkinListBox::OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) {
    item->itemHeight = static_cast<UINT>(S(kListRowHeight));
    return true;
}

bool CSkinListBox::OnReflectedDrawItem(DRAWITEMSTRUCT* item) {
    if (item->itemID == static_cast<UINT>(-1)) return true;  // an empty list has no row to draw
    const int row = static_cast<int>(item->itemID);
    RowDrawState state;
    state.hover = row == hover_.Hot();
    state.selected = (item->itemState & ODS_SELECTED) != 0;
    state.focused = (item->itemState & ODS_FOCUS) != 0 || GetFocus() == hwnd();
    state.disabled = (item->itemState & ODS_DISABLED) != 0;
    state.selectionChanged = (item->itemAction & ODA_SELECT) != 0;
    const RECT& rc = item->rcItem;
    const RowPaint plan = PlanRow(ToSkinRect(rc), ItemValue(row), state, colors_);
    Paint(item->hDC, plan, rc, row);
    // The caret's row carries the mark once the keyboard is in use. Only a
    // focus drawing says where the caret is: Wine redraws a newly selected
    // row without ODS_FOCUS, so other drawings ask the list.
    const bool caret = (item->itemAction & ODA_FOCUS)
                           ? (item->itemState & ODS_FOCUS) != 0
                           : SendMessageW(hwnd(), LB_GETCARETINDEX, 0, 0) == row;
    if (caret && ShowsFocusMark(hwnd()))
        DrawFocusMark(item->hDC, rc, state.selected ? kFocusMarkOnAccent : kFocusMarkColor);
    if (plan.seeksPartner && state.selected) DrawPartner(row);
    return true;
}

HBRUSH CSkinListBox::OnReflectedCtlColor(HDC dc) {
    SetBkColor(dc, colors_.background);
    SetTextColor(dc, colors_.text);
    return CachedBrush(colors_.background);
}

void CSkinListBox::Paint(HDC dc, const RowPaint& plan, const RECT& rc, int row) {
    if (plan.fill) {
        const RECT fill = ToRect(*plan.fill);
        FillRect(dc, &fill, CachedBrush(plan.fillColor));
    }
    if (plan.inset) {
        const RECT inset = ToRect(*plan.inset);
        FillRect(dc, &inset, CachedBrush(plan.insetColor));
    }
    if (plan.triangle) {
        POINT points[3];
        for (int i = 0; i < 3; ++i) points[i] = POINT{(*plan.triangle)[i].x, (*plan.triangle)[i].y};
        SelectGuard brush(dc, CachedBrush(plan.triangleColor));
        SelectGuard pen(dc, CachedPen(plan.triangleColor));
        Polygon(dc, points, 3);
    }
    if (plan.layout.icon) {
        if (auto picture = SkinResourceBitmap(plan.layout.icon,
                                              (L"row_icon_" + std::to_wstring(plan.layout.icon) + L".bmp").c_str())) {
            BITMAP info{};
            GetObjectW(picture, sizeof info, &info);
            MemoryDC source(dc);
            if (source) {
                SelectGuard select(source.get(), picture);
                TransparentBlt(dc, plan.layout.iconAt.x, plan.layout.iconAt.y, info.bmWidth, info.bmHeight,
                               source.get(), 0, 0, info.bmWidth, info.bmHeight, kRowIconTransparent);
            }
        }
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, plan.disabledText ? GetSysColor(COLOR_BTNSHADOW) : plan.textColor);
    SelectGuard font(dc, SkinFont(kListFontHeight));
    const std::wstring text = Text(row);
    TextOutW(dc, plan.layout.textAt.x, plan.layout.textAt.y, text.c_str(), static_cast<int>(text.size()));
    (void)rc;
}

void CSkinListBox::DrawPartner(int selected) {
    const int count = Count();
    std::vector<uint32_t> values(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) values[static_cast<size_t>(i)] = ItemValue(i);
    const auto partner = FindPartnerRow(values, static_cast<size_t>(selected));
    if (!partner) {
        // A message box from inside drawing would paint again under itself.
        DebugOutF(L"CSkinListBox: step %d has no partner\n", selected);
        return;
    }
    const int row = static_cast<int>(*partner);
    RECT rc{};
    if (SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) == LB_ERR) return;
    // The partner lies outside the row being drawn: it is drawn in its own place.
    ClientDC client(hwnd());
    Paint(client.get(), PlanPartnerRow(ToSkinRect(rc), ItemValue(row), colors_), rc, row);
}

void CSkinListBox::InvalidateRow(int row) {
    RECT rc{};
    if (row >= 0 && SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) !=
                        LB_ERR)
        InvalidateRect(hwnd(), &rc, FALSE);
}

int CSkinListBox::RowAt(POINT at) const {
    const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    return HIWORD(hit) != 0 ? HoverState::kNone : static_cast<int>(LOWORD(hit));
}

// The list's own handling of the pointer (selection, drags) runs as well.
bool CSkinListBox::OnMouseMove(POINT at, UINT keys) {
    hover_.OnMouseMove(at, keys);
    return false;
}

bool CSkinListBox::OnMouseLeave() {
    hover_.OnMouseLeave();
    return false;
}

bool CSkinListBox::OnMouseWheel(int delta, UINT, POINT) {
    const int32_t lines = wheel_.Add(delta);
    for (int32_t i = 0; i < (lines < 0 ? -lines : lines); ++i)
        SendMessageW(hwnd(), WM_VSCROLL, lines < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

bool CSkinListBox::StartEdit() {
    const int selected = GetCurSel();
    RECT rc{};
    if (selected < 0 ||
        SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
        return false;
    const std::wstring text = Text(selected);
    const auto begun = editor_.Begin(static_cast<size_t>(selected), static_cast<size_t>(Count()), ToSkinRect(rc),
                                     ItemValue(selected), Narrow16(text));
    if (!begun) return false;
    edit_ = std::make_unique<EditBox>(*this);
    const CreateParams p = SkinControlParams(L"GmSkinListEdit", begun->editRect, hwnd(), 0,
                                             kSkinControlStyle | WS_BORDER | ES_AUTOHSCROLL);
    if (!edit_->CreateSuperclassed(L"EDIT", p)) {
        edit_.reset();
        editor_.Cancel();
        return false;
    }
    SendMessageW(edit_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(SkinFont(kListFontHeight)), FALSE);
    const std::wstring shown = Wide(begun->text);
    SetWindowTextW(edit_->hwnd(), shown.c_str());
    SendMessageW(edit_->hwnd(), EM_LIMITTEXT, ListRowEditor::kTextLimit, 0);
    SendMessageW(edit_->hwnd(), EM_SETSEL, 0, -1);
    SetFocus(edit_->hwnd());
    return true;
}

void CSkinListBox::CommitEdit() { EndEdit(true); }

std::wstring CSkinListBox::EditText() const {
    if (!editor_.Editing() || !edit_) return {};
    const int length = GetWindowTextLengthW(edit_->hwnd());
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(edit_->hwnd(), text.data(), length + 1))));
    return text;
}

void CSkinListBox::SetEditText(const std::wstring& text) {
    if (!editor_.Editing() || !edit_) return;
    SetWindowTextW(edit_->hwnd(), text.c_str());
    SendMessageW(edit_->hwnd(), EM_SETSEL, 0, -1);
}
void CSkinListBox::CancelEdit() { EndEdit(false); }

void CSkinListBox::EndEdit(bool commit) {
    if (!editor_.Editing() || !edit_) return;
    std::wstring typed;
    if (commit) {
        const int length = GetWindowTextLengthW(edit_->hwnd());
        typed.assign(static_cast<size_t>(length) + 1, L'\0');
        typed.resize(static_cast<size_t>(std::max(0, GetWindowTextW(edit_->hwnd(), typed.data(), length + 1))));
    }
    // The editor ends first, so the focus coming back below cannot commit again.
    const ListRowEditor::Outcome outcome =
        commit ? editor_.Commit(Narrow16(typed), static_cast<size_t>(Count()))
               : editor_.Cancel();
    SetFocus(hwnd());
    edit_.reset();
    const int row = static_cast<int>(outcome.row);
    if (outcome.end == ListRowEditor::End::kRemoved) {
        SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    } else if (outcome.end == ListRowEditor::End::kReplaced) {
        const uint32_t value = ItemValue(row);
        SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
        InsertString(row, Wide(outcome.text), value);
        SetCurSel(row);
    }
    if (outcome.notifyOwner)
        if (HWND owner = GetParent(hwnd()))
            PostMessageW(owner, ListRowEditor::kRowEditedMessage, static_cast<WPARAM>(row), GetDlgCtrlID(hwnd()));
}

LRESULT CSkinListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
            // The focus came back from the edit box without Enter: that commits too.
            if (editor_.Editing() && edit_ && reinterpret_cast<HWND>(wParam) == edit_->hwnd()) CommitEdit();
            return DefaultProc(message, wParam, lParam);
        case kEndEdit:
            EndEdit(wParam != 0);
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DefaultProc(message, wParam, lParam);
            // Enter chooses in a drop-down instead of reaching the dialog's default button.
            const MSG* key = reinterpret_cast<const MSG*>(lParam);
            if (dropDown_ && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (dropDown_ && !editor_.Editing() && OnDropDownKey(static_cast<UINT>(wParam))) return 0;
            break;
        case WM_CHAR:
            if (dropDown_ && !editor_.Editing()) {
                // The system list would choose the row of a typed letter at once.
                if (wParam > L' ') {
                    const wchar_t prefix[2] = {static_cast<wchar_t>(wParam), L'\0'};
                    const auto found = static_cast<int>(SendMessageW(hwnd(), LB_FINDSTRING,
                                                                     static_cast<WPARAM>(GetCurSel()),
                                                                     reinterpret_cast<LPARAM>(prefix)));
                    if (found >= 0) MoveSelection(found);
                }
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
            // A click chooses its row itself.
            chosenRow_.reset();
            break;
        case WM_KILLFOCUS:
            if (chosenRow_) {
                SetCurSel(*chosenRow_);
                chosenRow_.reset();
            }
            break;
        default:
            if (message == SkinRescaleMessage()) {
                Rescale(reinterpret_cast<const SkinRescale*>(lParam));
                return 0;
            }
            break;
    }
    return CWindow::HandleMessage(message, wParam, lParam);
}

// The system list runs timers of its own (drag selection): those go on to it.
bool CSkinListBox::OnTimer(UINT_PTR id) { return hover_.OnTimer(id); }

void CSkinListBox::OnDestroy() {
    hover_.Stop();
    editor_.Cancel();
    edit_.reset();
}

void CSkinListBox::Rescale(const SkinRescale* change) {
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(SkinFont(kListFontHeight)), FALSE);
    const int count = Count();
    for (int i = 0; i < count; ++i)
        SendMessageW(hwnd(), LB_SETITEMHEIGHT, static_cast<WPARAM>(i), static_cast<LPARAM>(S(kListRowHeight)));
    if (edit_ && edit_->hwnd() && change) {
        // A rename in progress stays, over its row at the new size.
        const RECT placed = RescaleRect(RectInParent(edit_->hwnd()), change->from, change->to);
        SetWindowPos(edit_->hwnd(), nullptr, placed.left, placed.top, placed.right - placed.left,
                     placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(edit_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(SkinFont(kListFontHeight)), TRUE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

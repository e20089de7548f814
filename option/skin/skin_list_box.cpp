#include "skin_list_box.h"

#include <algorithm>
#include <vector>

#include "debug_output.h"
#include "gdi_cache.h"
#include "list_box_model.h"
#include "module.h"

namespace {

constexpr wchar_t kListClass[] = L"GmSkinListBox";
constexpr COLORREF kPartnerFill = RGB(0x63, 0x41, 0xC8);
constexpr COLORREF kIconTransparent = RGB(255, 0, 0);
// Posted by the edit box to the list: wParam 1 commit, 0 abandon. The edit
// ends outside its own handler, so its object can go at once.
constexpr UINT kEndEdit = WM_APP + 0x5F6;

}  // namespace

// A plain edit placed over a row while it is edited; Enter and Esc end it
// (in a dialog they would otherwise go to the dialog manager's default buttons).

class CSkinListBox::EditBox : public CWindow {
public:
    explicit EditBox(CSkinListBox& list) : list_(list) {}

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

CSkinListBox::CSkinListBox() = default;
CSkinListBox::~CSkinListBox() = default;

bool CSkinListBox::Create(HWND parent, const SkinRect& rect, int id, DWORD style, const Colors& colors) {
    colors_ = colors;
    CreateParams p;
    p.className = kListClass;
    p.style = style | WS_CHILD;
    p.x = rect.left;
    p.y = rect.top;
    p.width = rect.Width() > 0 ? rect.Width() : 0;
    p.height = rect.Height() > 0 ? rect.Height() : 0;
    p.parent = parent;
    p.menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    if (!CreateSuperclassed(L"LISTBOX", p)) return false;
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(L"Arial", 14)), FALSE);
    return true;
}

void CSkinListBox::ResetContent() {
    if (editRow_ >= 0) EndEdit(false);
    hoverRow_ = -1;
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
    item->itemHeight = kRowHeight;
    return true;
}

bool CSkinListBox::OnReflectedDrawItem(DRAWITEMSTRUCT* item) {
    if (item->itemID == static_cast<UINT>(-1)) return true;  // an empty list has no row to draw
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    DrawRow(item->hDC, item->rcItem, static_cast<int>(item->itemID), selected,
            (item->itemState & ODS_DISABLED) != 0, (item->itemState & ODS_FOCUS) != 0 || GetFocus() == hwnd());
    return true;
}

void CSkinListBox::DrawRow(HDC dc, const RECT& rc, int row, bool selected, bool disabled, bool focused) {
    FillRect(dc, &rc, CachedBrush(colors_.background));
    if (row == hoverRow_) {
        const POINT triangle[3] = {{rc.right - 16, (rc.top + rc.bottom) / 2},
                                   {rc.right - 6, rc.top + 5},
                                   {rc.right - 6, rc.bottom - 5}};
        SelectGuard brush(dc, CachedBrush(colors_.selection));
        SelectGuard pen(dc, CachedPen(colors_.selection));
        Polygon(dc, triangle, 3);
    }
    COLORREF textColor = colors_.text;
    if (selected) {
        const RECT inner{rc.left + 2, rc.top + 1, rc.right - 5, rc.bottom - 1};
        FillRect(dc, &inner, CachedBrush(colors_.selection));
        if (focused) textColor = colors_.selectedText;
    }
    if (disabled) textColor = GetSysColor(COLOR_BTNSHADOW);
    DrawIconAndText(dc, rc, row, textColor);

    if (!selected) return;
    const int count = Count();
    std::vector<uint32_t> values(static_cast<size_t>(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) values[static_cast<size_t>(i)] = ItemValue(i);
    const PartnerSearch partner = FindPartnerRow(values, row);
    if (partner.kind == PartnerSearch::Kind::kNone) return;
    if (partner.kind == PartnerSearch::Kind::kMissing) {
        // A message box from inside drawing would paint again under itself.
        DebugOutF(L"CSkinListBox: step %d has no partner\n", row);
        return;
    }
    RECT other{};
    if (SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(partner.row), reinterpret_cast<LPARAM>(&other)) ==
        LB_ERR)
        return;
    // The partner may lie outside the row being drawn: draw it in its own place.
    ClientDC client(hwnd());
    FillRect(client.get(), &other, CachedBrush(kPartnerFill));
    DrawIconAndText(client.get(), other, partner.row, colors_.text);
}

void CSkinListBox::DrawIconAndText(HDC dc, const RECT& rc, int row, COLORREF textColor) {
    const uint32_t value = ItemValue(row);
    const int icon = RowIconResource(value);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    SelectGuard font(dc, CachedFont(L"Arial", 14));
    const std::wstring text = Text(row);
    int textX = rc.left + 10;
    int textY = rc.top + 4;
    if (icon) {
        if (HBITMAP picture = static_cast<HBITMAP>(
                LoadImageW(CurrentModule(), MAKEINTRESOURCEW(icon), IMAGE_BITMAP, 0, 0, LR_SHARED))) {
            BITMAP info{};
            GetObjectW(picture, sizeof info, &info);
            MemoryDC source(dc);
            if (source) {
                SelectGuard select(source.get(), picture);
                TransparentBlt(dc, rc.left + 5, rc.top + 3, info.bmWidth, info.bmHeight, source.get(), 0, 0,
                               info.bmWidth, info.bmHeight, kIconTransparent);
            }
        }
        textX = rc.left + 10 + 16;
        textY = rc.top + 3;
    }
    TextOutW(dc, textX, textY, text.c_str(), static_cast<int>(text.size()));
}

void CSkinListBox::InvalidateRow(int row) {
    RECT rc{};
    if (row >= 0 && SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) !=
                        LB_ERR)
        InvalidateRect(hwnd(), &rc, FALSE);
}

void CSkinListBox::SetHoverRow(int row) {
    if (row == hoverRow_) return;
    InvalidateRow(hoverRow_);
    hoverRow_ = row;
    InvalidateRow(hoverRow_);
}

bool CSkinListBox::OnMouseMove(POINT at, UINT) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    const bool outside = HIWORD(hit) != 0;
    SetHoverRow(outside ? -1 : static_cast<int>(LOWORD(hit)));
    return false;
}

bool CSkinListBox::OnMouseLeave() {
    trackingLeave_ = false;
    SetHoverRow(-1);
    return false;
}

bool CSkinListBox::OnMouseWheel(int delta, UINT, POINT) {
    // One turn, one line, whichever way the wheel reports it.
    SendMessageW(hwnd(), WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return true;
}

bool CSkinListBox::StartEdit() {
    const int row = GetCurSel();
    if (row < 0 || editRow_ >= 0) return false;
    RECT rc{};
    if (SendMessageW(hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rc)) == LB_ERR)
        return false;
    if (RowIconResource(ItemValue(row))) rc.left += 10 + 16 - 2;
    edit_ = std::make_unique<EditBox>(*this);
    CreateParams p;
    p.className = L"GmSkinListEdit";
    p.style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    p.x = rc.left;
    p.y = rc.top;
    p.width = rc.right - rc.left;
    p.height = rc.bottom - rc.top;
    p.parent = hwnd();
    if (!edit_->CreateSuperclassed(L"EDIT", p)) {
        edit_.reset();
        return false;
    }
    editRow_ = row;
    SendMessageW(edit_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(CachedFont(L"Arial", 14)), FALSE);
    const std::wstring text = Text(row);
    SetWindowTextW(edit_->hwnd(), text.c_str());
    SendMessageW(edit_->hwnd(), EM_LIMITTEXT, kEditLimit, 0);
    SendMessageW(edit_->hwnd(), EM_SETSEL, 0, -1);
    SetFocus(edit_->hwnd());
    return true;
}

void CSkinListBox::CommitEdit() { EndEdit(true); }
void CSkinListBox::CancelEdit() { EndEdit(false); }

void CSkinListBox::EndEdit(bool commit) {
    if (editRow_ < 0 || !edit_) return;
    const int row = editRow_;
    editRow_ = -1;  // first: destroying the edit moves the focus back here, which commits
    std::wstring text;
    if (commit) {
        const int length = GetWindowTextLengthW(edit_->hwnd());
        text.assign(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(edit_->hwnd(), text.data(), length + 1))));
    }
    SetFocus(hwnd());
    edit_.reset();
    if (!commit) return;
    const EditOutcome outcome = CommitRowEdit(text);
    const uint32_t value = ItemValue(row);
    SendMessageW(hwnd(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
    if (outcome == EditOutcome::kRemoveRow) return;
    InsertString(row, text, value);
    SetCurSel(row);
    if (HWND owner = GetParent(hwnd()))
        PostMessageW(owner, kEditCommitted, static_cast<WPARAM>(row), GetDlgCtrlID(hwnd()));
}

LRESULT CSkinListBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
            // The focus came back from the edit box without Enter: that commits too.
            if (editRow_ >= 0 && edit_ && reinterpret_cast<HWND>(wParam) == edit_->hwnd()) CommitEdit();
            return DefaultProc(message, wParam, lParam);
        case kEndEdit:
            EndEdit(wParam != 0);
            return 0;
        default:
            return CWindow::HandleMessage(message, wParam, lParam);
    }
}

void CSkinListBox::OnDestroy() {
    editRow_ = -1;
    edit_.reset();
}

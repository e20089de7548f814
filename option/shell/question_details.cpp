#include "question_details.h"

#include "gdi_cache.h"
#include "skin_control.h"

namespace {
constexpr COLORREF kDetailsText = RGB(251, 251, 251);
constexpr COLORREF kDetailsBack = RGB(31, 27, 41);
}  // namespace

bool CQuestionDetails::Create(HWND parent, const SkinRect& rect, int id, const std::wstring& text, bool scrolls) {
    text_ = text;
    CreateParams p = SkinControlParams(L"GmQuestionDetails", rect, parent, id,
                                       kSkinControlStyle | (scrolls ? WS_VSCROLL : 0) | ES_MULTILINE | ES_READONLY |
                                           ES_AUTOVSCROLL);
    p.title = text_.c_str();
    return CreateSuperclassed(L"EDIT", p);
}

void CQuestionDetails::SetFont(HFONT font, bool redraw) {
    if (hwnd()) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

bool CQuestionDetails::Describe(AccessibleFacts& facts) const {
    // Read as it is: a path may hold '&', which a caption would take for a mnemonic.
    facts.role = AccessibleRole::kStaticText;
    facts.name = text_;
    facts.nameAsTyped = true;
    facts.focusable = false;
    return true;
}

HBRUSH CQuestionDetails::OnReflectedCtlColor(HDC dc) {
    SetTextColor(dc, kDetailsText);
    SetBkColor(dc, kDetailsBack);
    return CachedBrush(kDetailsBack);
}

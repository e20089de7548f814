#include "question_box.h"

#include <algorithm>

#include "gdi.h"
#include "gdi_cache.h"
#include "skin_control.h"
#include "skin_description.h"
#include "skin_page.h"
#include "skin_rect_win32.h"
#include "skin_scale.h"

namespace {

enum QuestionEntry {
    kTitleArea = 1,
    kQuestionArea = 2,
    kDetailsArea = 3,
    kCloseEntry = 4,
    kFirstAnswer = 5,
};

constexpr int kDetailsId = 4200;
constexpr int kDetailsLineHeight = 16;  // the 14-pixel font's line, with room for a wrapped path
constexpr COLORREF kTitleColor = RGB(226, 220, 236);
constexpr COLORREF kQuestionColor = RGB(200, 194, 212);

// Lines the details take in a box `width` pixels wide, a long path wrapping
// at about seven pixels a character.
int DetailLines(const std::wstring& text, int width) {
    const size_t perLine = static_cast<size_t>(std::max(1, width / S(7)));
    int lines = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        lines += static_cast<int>(std::max<size_t>(1, (end - start + perLine - 1) / perLine));
        start = end + 1;
    }
    return lines;
}

}  // namespace

CQuestionBox::CQuestionBox(Content content)
    : CSkinDialog(skin_template::kPopup, skin_files::kQuestion), content_(std::move(content)) {}

int CQuestionBox::Ask(HWND owner) {
    const INT_PTR result = DoModal(owner);
    return result < 0 ? -1 : static_cast<int>(result);
}

void CQuestionBox::CreateControls(const SkinDescription& skin, const SkinPictures& pictures) {
    titleArea_ = ToRect(skin.ReadEntry(kTitleArea).rect);
    questionArea_ = ToRect(skin.ReadEntry(kQuestionArea).rect);
    KeepScaled(titleArea_);
    KeepScaled(questionArea_);
    close_ = CSkinPage::MakeButton(hwnd(), skin, kCloseEntry, pictures);
    for (int i = 0; i < 3; ++i) {
        answerAreas_[i] = ToRect(skin.ReadEntry(kFirstAnswer + i).rect);
        KeepScaled(answerAreas_[i]);
        if (content_.answers[i].empty()) continue;
        answers_[i] = CSkinPage::MakeButton(hwnd(), skin, kFirstAnswer + i, pictures);
        if (!answers_[i]) continue;
        answers_[i]->SetText(content_.answers[i]);
        answers_[i]->SetFont(15, 0);
        answers_[i]->SetAlign(CaptionAlign::kCentredWrapped);
        answers_[i]->SetTextColors(kQuestionColor, RGB(178, 70, 210), RGB(255, 255, 255), RGB(150, 150, 150));
    }
    const SkinRect d = skin.ReadEntry(kDetailsArea).rect;
    // The platform's bar only when the lines cannot all be seen: it does not
    // take the skin's colours.
    const bool scrolls = DetailLines(content_.details, d.right - d.left) * S(kDetailsLineHeight) > d.bottom - d.top;
    if (details_.Create(hwnd(), d, kDetailsId, content_.details, scrolls)) details_.SetFont(SkinFont(14), false);
}

BOOL CQuestionBox::OnInitDialog() {
    SetWindowTextW(hwnd(), content_.title.c_str());
    // Centred over the window that asks, kept on its screen.
    RECT box{}, over{};
    GetWindowRect(hwnd(), &box);
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    if (!owner || !GetWindowRect(owner, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int width = box.right - box.left, height = box.bottom - box.top;
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    x = std::max(0, x);
    y = std::max(0, y);
    SetWindowPos(hwnd(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    ShowWindow(hwnd(), SW_SHOW);
    const int chosen = content_.defaultAnswer - 1;
    if (chosen >= 0 && chosen < 3 && answers_[chosen]) {
        SetFocus(answers_[chosen]->hwnd());
        return FALSE;
    }
    return TRUE;
}

bool CQuestionBox::OnDialogCommand(WORD id, WORD, HWND control) {
    if (!control) return false;
    if (id == kCloseEntry) {
        EndDialog(0);
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (answers_[i] && control == answers_[i]->hwnd()) {
            EndDialog(i + 1);
            return true;
        }
    }
    return false;
}

void CQuestionBox::OnOK() {
    const int chosen = content_.defaultAnswer;
    EndDialog(chosen >= 1 && chosen <= 3 && answers_[chosen - 1] ? chosen : 0);
}

void CQuestionBox::OnCancel() { EndDialog(0); }

void CQuestionBox::OnRescaled(const SkinDescription&, const SkinPictures&) {
    details_.SetFont(SkinFont(14), true);
}

void CQuestionBox::PaintOver(HDC dc, const RECT&) {
    // The background holds a frame for every answer; a place left without one
    // takes the colour just beside it, so no empty button shows.
    for (int i = 0; i < 3; ++i) {
        if (answers_[i]) continue;
        RECT place = answerAreas_[i];
        InflateRect(&place, S(2), S(2));
        const COLORREF beside = GetPixel(dc, place.left - 1, (place.top + place.bottom) / 2);
        if (beside == CLR_INVALID) continue;
        BrushHandle brush(CreateSolidBrush(beside));
        FillRect(dc, &place, brush.get());
    }
    {
        SelectGuard font(dc, SkinFont(18));
        SetTextColor(dc, kTitleColor);
        DrawSkinText(dc, content_.title, titleArea_, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                     false);
    }
    SelectGuard font(dc, SkinFont(15));
    SetTextColor(dc, kQuestionColor);
    DrawSkinText(dc, content_.question, questionArea_, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS, true);
}

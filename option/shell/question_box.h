#pragma once
// CQuestionBox: a skinned question with up to three answers, asked modally.
// It replaces the platform's message box where a decision needs more room
// than a line (a list of what an imported profile would run) and the suite's
// look. Enter gives the default answer, Esc and the close button none.
#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "question_details.h"
#include "skin_button.h"
#include "skin_dialog.h"

class CQuestionBox : public CSkinDialog {
public:
    struct Content {
        std::wstring title;
        std::wstring question;
        std::wstring details;  // shown in a scrolling read-only box; lines end in "\r\n"
        std::array<std::wstring, 3> answers;
        int defaultAnswer = 1;  // 1-3
    };

    explicit CQuestionBox(Content content);

    // 1-3 for the answer chosen, 0 when the box was closed without one, -1
    // when it could not be shown.
    int Ask(HWND owner);

protected:
    void CreateControls(const SkinDescription& skin, const SkinPictures& pictures) override;
    BOOL OnInitDialog() override;
    bool OnDialogCommand(WORD id, WORD code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    void PaintOver(HDC dc, const RECT& client) override;
    void OnRescaled(const SkinDescription& skin, const SkinPictures& pictures) override;
    DragMode Drag() const override { return DragMode::kSelf; }

private:
    Content content_;
    std::array<std::unique_ptr<CSkinButton>, 3> answers_;
    std::unique_ptr<CSkinButton> close_;
    CQuestionDetails details_;
    RECT titleArea_{};
    RECT questionArea_{};
    std::array<RECT, 3> answerAreas_{};
};

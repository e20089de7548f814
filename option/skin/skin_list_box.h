#pragma once
// CSkinListBox: the one list control of the configuration program (profiles,
// macros, macro steps). A system list box with variable owner-drawn rows of
// 20 pixels that draws them itself in its owner's colours: a triangle marks
// the row under the pointer, a selected key step shows its partner, rows of a
// kind carry an icon, and a row can be edited in place.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "button_pos.h"
#include "gdi.h"
#include "hover_tracker.h"
#include "list_box_model.h"
#include "window.h"

// The style the pages give their lists: a bordered list with a vertical bar
// (which a scroll-bar frame replaces) and rows of its own drawing, a stop of Tab.
inline constexpr DWORD kSkinListStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;

class CSkinListBox : public CWindow {
public:
    using Colors = ListBoxColors;

    CSkinListBox();
    ~CSkinListBox() override;

    bool Create(HWND parent, const SkinRect& rect, int id, DWORD style, const Colors& colors);

    void ResetContent();
    // Appends a row; `itemValue` is the owner's (bits 15-8 key code, 7-0 row kind, or 0).
    int AddString(const std::wstring& text, uint32_t itemValue);
    int InsertString(int row, const std::wstring& text, uint32_t itemValue);
    int Count() const;
    int GetCurSel() const;
    void SetCurSel(int row);
    void SetTopIndex(int row);
    std::wstring Text(int row) const;
    uint32_t ItemValue(int row) const;
    // Named by its owner (SetAccessibleName); its value is the chosen row.
    bool Describe(AccessibleFacts& facts) const override;
    // Each row is a list item named by its text; the chosen row is selected.
    int AccessibleItemCount() const override { return hwnd() ? Count() : 0; }
    bool DescribeItem(int row, AccessibleFacts& facts) const override;

    // The list of a drop-down: Up, Down, Home, End and the page keys (and a
    // typed first letter) only move the selection; Enter chooses it, telling
    // the owner LBN_SELCHANGE as a click on the row does. A selection moved
    // and not chosen goes back when the list loses the focus. A list in a
    // page keeps the system's keys: each move is a choice, as a click is.
    void SetDropDown(bool dropDown) { dropDown_ = dropDown; }
    // A drop-down closing hands the focus on (to its button) when the list
    // has it, so the focus never stays on a list no longer shown.
    void PassFocusTo(HWND control) const;

    // Places an edit box over the selected row with its text selected. Enter
    // or the list getting the focus back commits it, Esc abandons it.
    bool StartEdit();
    bool Editing() const { return editor_.Editing(); }
    void CommitEdit();
    void CancelEdit();
    // The text in the running edit box (empty without one), and a text put
    // there by the owner: a captured key shows its name instead of typing.
    std::wstring EditText() const;
    void SetEditText(const std::wstring& text);

protected:
    bool OnReflectedMeasureItem(MEASUREITEMSTRUCT* item) override;
    bool OnReflectedDrawItem(DRAWITEMSTRUCT* item) override;
    // The part below the last row shows the list's own background too.
    HBRUSH OnReflectedCtlColor(HDC dc) override;
    bool OnMouseMove(POINT at, UINT keys) override;
    bool OnMouseLeave() override;
    bool OnTimer(UINT_PTR id) override;
    bool OnMouseWheel(int delta, UINT keys, POINT screen) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    // The rows, their font and a running edit at the scale of the new skin set.
    void Rescale(const struct SkinRescale* change);
    class EditBox;

    void Paint(HDC dc, const RowPaint& plan, const RECT& rc, int row);
    void DrawPartner(int selected);
    // The row at a point of the client area, or HoverState::kNone.
    int RowAt(POINT at) const;
    void InvalidateRow(int row);
    void EndEdit(bool commit);
    // A drop-down's keys; false for keys the system list handles.
    bool OnDropDownKey(UINT key);
    void MoveSelection(int row);
    void ChooseSelection();

    bool dropDown_ = false;
    // The chosen row while keys have moved the selection away from it.
    std::optional<int> chosenRow_;

    Colors colors_{};
    CHoverTracker hover_;  // the row under the pointer, marked with a triangle
    ListRowEditor editor_;
    WheelLines wheel_;
    std::unique_ptr<EditBox> edit_;
};

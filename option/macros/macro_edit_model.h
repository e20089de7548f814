#pragma once
// The editing state of the macro page, without windows: the library and its
// selected macro, the working copy with its event-list rows and selected row,
// step editing, recording and the insert panel's work. The page turns clicks
// and messages into these calls and draws what they leave; every change that
// reaches the selected macro ends in `Store`, which writes the working copy
// into the record and hands over to the page's persist step (saving the
// library, refreshing the buttons that use it, applying).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "item_bar_model.h"
#include "keyboard_layout.h"
#include "macro_library.h"
#include "macro_recorder.h"
#include "macro_steps.h"
#include "stop_chord.h"

// The delay boxes start with "50", and a box left without a number means it.
inline constexpr uint16_t kDefaultBoxDelay = 50;
inline constexpr char16_t kDefaultBoxDelayText[] = u"50";
// The value of a delay box: its number capped at 65535, or 50 without one.
uint16_t DelayBoxValue(std::u16string_view text);

// Where the insert panel puts a delay or a recording: before or after the
// selected step (wParam 0 and 1 of its messages).
enum class InsertSide : int { kBefore = 0, kAfter = 1 };

// "<name>_Copy", made unique by the library's "_%d" rule. The name gives way
// to the suffix, never the other way round, so a long name still reads as a
// copy and fits its field.
std::u16string MacroCopyName(const MacroLibrary& library, std::u16string_view name);

class MacroEditModel {
public:
    using PersistFn = std::function<void()>;
    // Told of a new name while the library still holds the old one, so
    // whatever refers to the macro by name can follow it (position, old name,
    // new name).
    using RenameFn = std::function<void(int, std::u16string_view, std::u16string_view)>;
    // Told of a delete while the library still holds the macro (its position).
    using DeleteFn = std::function<void(int)>;

    MacroEditModel(MacroLibrary& library, const IKeyboardLayout& layout, PersistFn persist);

    // ---- the macro list
    // Loads the macro at `position` into the working copy (none for -1 or a
    // position that is not there: an empty list).
    void Select(int position);
    int SelectedPosition() const { return selected_; }
    const MacroRecord* Selected() const;
    std::u16string SelectedName() const;

    // "Macro<count + 1>", made unique, appended, saved and selected. Returns
    // its position.
    int NewMacro();
    // Removes the selected macro; the selection stays on the same position,
    // the last one when the last was deleted, or none.
    bool DeleteMacro();
    // A copy of the selected macro under MacroCopyName, appended, saved and
    // selected. -1 without a selection.
    int CopyMacro();
    // An imported macro under a unique name, appended, saved and selected.
    int AddImportedMacro(std::unique_ptr<MacroRecord> record);

    // Renaming: the name box opens with the current name, whole, however
    // long; ending it keeps the old name for an empty text, the same name in
    // other case, or another macro's name in any case and with any blanks
    // around it. Only a name that differs is held to the typed limit. True
    // when a new name was stored.
    std::optional<std::u16string> BeginRename();
    bool EndRename(std::u16string_view typed);
    bool Renaming() const { return bar_.Renaming(); }
    // The selected macro takes `typed` by the rules above; the macro bar's
    // rename has ended already.
    bool RenameSelected(std::u16string_view typed);
    // The macro bar's drop-down and rename; a selection ends the rename.
    ItemBarModel& Bar() { return bar_; }
    void SetRenameHandler(RenameFn renamed) { renamed_ = std::move(renamed); }
    void SetDeleteHandler(DeleteFn deleting) { deleting_ = std::move(deleting); }

    // ---- the event list
    const MacroWorkingCopy& WorkingCopy() const { return copy_; }
    const std::vector<EventRow>& Rows() const { return rows_; }
    std::optional<int> SelectedRow() const { return selectedRow_; }
    void SelectRow(std::optional<int> row);
    // The row the list highlights as the selected row's partner.
    std::optional<int> PartnerRow() const;
    // Key steps: every step that is not a pure delay, shown or not.
    int KeySteps() const { return copy_.KeySteps(); }

    // ---- step operations (each ends with store)
    bool MoveStepUp();
    bool MoveStepDown();
    bool DeleteStep();

    // Editing the selected row: a delay row takes a typed number, a key row
    // the next key pressed. Begin gives the row's text for the editor.
    std::optional<std::u16string> BeginStepEdit();
    bool EditingStep() const { return edit_.has_value(); }
    bool EditingKeyStep() const { return edit_ && !edit_->delayRow; }
    // A key message while a key row is edited: Shift, Ctrl and Alt refined by
    // the key data. Returns the name the editor shows, or none when the key
    // is not one a macro can hold (the step keeps its key).
    std::optional<std::u16string> CaptureEditKey(uint32_t virtualKey, uint32_t keyData);
    // Ends the edit (second click, or the list's end of the in-place edit).
    // `typedText` is what the editor holds; it matters for delay rows only.
    bool FinishStepEdit(std::u16string_view typedText);
    void AbandonStepEdit() { edit_.reset(); }

    // ---- recording
    // The record button: makes a macro first when none is selected, clears
    // the working copy and records from scratch. `mode` is the page's mode
    // button, `fixedDelayText` its fixed-delay box.
    bool StartRecording(DelayMode mode, std::u16string_view fixedDelayText);
    // The insert panel's record button: keeps the steps and records before or
    // after the selected step (appends without a selected row).
    bool StartInsertRecording(InsertSide side, DelayMode mode, uint32_t fixedDelay);
    // Ends either kind of recording and stores.
    void StopRecording();
    bool Recording() const { return recorder_.Recording(); }
    bool InsertRecording() const { return recorder_.InsertRecording(); }
    const MacroRecorder& Recorder() const { return recorder_; }

    struct InputResult {
        bool consumed = false;  // the message goes no further
        bool stopped = false;   // recording ended by itself: the panel shows its stopped state
    };
    // A key transition from the keyboard hook (virtual key, release, the
    // event's time stamp in ms). kStopListeningChord is not recorded: it
    // stops the recording (stopped), its modifiers left out of the steps.
    InputResult OnRecordedKey(uint32_t virtualKey, bool release, uint32_t timeMs);
    // A mouse button (240-244) reaching any window of the program.
    InputResult OnRecordedMouseButton(uint8_t buttonCode, bool release, uint32_t timeMs);
    // While the pointer is over the record button in use (the page's, or the
    // insert panel's while insert-recording), its clicks are not steps: the
    // click that stops recording must not end up in the macro.
    void SetPointerOverRecordButton(bool over) { overRecordButton_ = over; }

    // ---- the insert panel
    // Opens only with a selected row; keeps a backup of the working copy.
    bool OpenInsertPanel();
    bool InsertPanelOpen() const { return panelOpen_; }
    // Cancel: restores exactly the steps there were when the panel opened.
    void CancelInsertPanel();
    // Close: keeps what was done.
    void CloseInsertPanel();
    // A pure delay step before / after the selected step; refused before the
    // first row, after the last row and in a full copy. Stores and closes the
    // panel either way. True when a step was inserted.
    bool InsertDelay(InsertSide side, uint32_t delay);

    // Writes the working copy into the selected macro and persists.
    void Store();

private:
    struct StepEdit {
        int step = 0;
        bool delayRow = false;
        std::optional<uint8_t> newKey;
    };

    // Rebuilds the rows and selects by the refill rule: while insert-recording
    // the row of the last step recorded, otherwise the last row.
    void Refill();
    void SelectStepRow(int step);
    // Hands keys to the recorder in order; true when it stopped by itself
    // (the copy is full), the rest of them then dropped.
    bool RecordKeys(const std::vector<HeardKey>& keys);
    std::optional<int> SelectedStep() const;
    int Append(std::unique_ptr<MacroRecord> record);
    void Persist();

    MacroLibrary& library_;
    const IKeyboardLayout& layout_;
    PersistFn persist_;
    RenameFn renamed_;
    DeleteFn deleting_;

    int selected_ = -1;
    MacroWorkingCopy copy_;
    MacroWorkingCopy backup_;
    std::vector<EventRow> rows_;
    std::optional<int> selectedRow_;
    MacroRecorder recorder_;
    StopChordFilter chord_;
    std::optional<StepEdit> edit_;
    ItemBarModel bar_;
    bool panelOpen_ = false;
    bool overRecordButton_ = false;
};

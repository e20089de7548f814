#include "macro_edit_model.h"

#include <algorithm>
#include <cstring>

#include "ini_file.h"
#include "key_codes.h"
#include "list_box_model.h"
#include "profile_store.h"

uint16_t DelayBoxValue(std::u16string_view text) { return ParseDelayText(text).value_or(kDefaultBoxDelay); }

std::u16string MacroCopyName(const MacroLibrary& library, std::u16string_view name) {
    constexpr size_t kMax = kMacroNameUnits - 1;
    constexpr std::u16string_view kSuffix = u"_Copy";
    for (int n = 0;; ++n) {
        const std::u16string tail = n == 0 ? std::u16string(kSuffix) : std::u16string(kSuffix) + u"_" + IntToText(n);
        std::u16string candidate(name.substr(0, std::min(name.size(), kMax - tail.size())));
        candidate += tail;
        if (!MacroNameExists(library, candidate)) return candidate;
    }
}

MacroEditModel::MacroEditModel(MacroLibrary& library, const IKeyboardLayout& layout, PersistFn persist)
    : library_(library), layout_(layout), persist_(std::move(persist)) {}

void MacroEditModel::Persist() {
    if (persist_) persist_();
}

// ---- the macro list

void MacroEditModel::Select(int position) {
    if (Recording()) StopRecording();
    edit_.reset();
    bar_.EndRename();
    const MacroRecord* record = FindMacroAt(library_, position);
    selected_ = record ? position : -1;
    copy_ = record ? MacroWorkingCopy::FromRecord(*record) : MacroWorkingCopy{};
    Refill();
}

const MacroRecord* MacroEditModel::Selected() const {
    return FindMacroAt(const_cast<MacroLibrary&>(library_), selected_);
}

std::u16string MacroEditModel::SelectedName() const {
    const MacroRecord* record = Selected();
    return record ? FieldText(record->name) : std::u16string();
}

int MacroEditModel::Append(std::unique_ptr<MacroRecord> record) {
    library_.push_back(std::move(record));
    const int position = static_cast<int>(library_.size()) - 1;
    Select(position);
    return position;
}

int MacroEditModel::NewMacro() {
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    const std::u16string base = u"Macro" + IntToText(static_cast<int32_t>(library_.size()) + 1);
    CopyToField(record->name, MakeUniqueMacroName(library_, base));
    const int position = Append(std::move(record));
    Persist();
    return position;
}

bool MacroEditModel::DeleteMacro() {
    if (!Selected()) return false;
    if (Recording()) recorder_.Stop();
    const int position = selected_;
    if (deleting_) deleting_(position);
    library_.erase(library_.begin() + position);
    selected_ = -1;
    Persist();
    const int remaining = static_cast<int>(library_.size());
    Select(remaining == 0 ? -1 : std::min(position, remaining - 1));
    return true;
}

int MacroEditModel::CopyMacro() {
    const MacroRecord* source = Selected();
    if (!source) return -1;
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    CopyToField(record->name, MacroCopyName(library_, TrimText(FieldText(source->name))));
    record->reserved = source->reserved;
    record->eventCount = source->eventCount;
    std::memcpy(record->events, source->events, sizeof record->events);
    SanitizeMacro(*record);
    const int position = Append(std::move(record));
    Persist();
    return position;
}

int MacroEditModel::AddImportedMacro(std::unique_ptr<MacroRecord> record) {
    if (!record) return -1;
    SanitizeMacro(*record);
    CopyToField(record->name, MakeUniqueMacroName(library_, TrimText(FieldText(record->name))));
    const int position = Append(std::move(record));
    // Closing Option right after an import must not lose the macro.
    Persist();
    return position;
}

std::optional<std::u16string> MacroEditModel::BeginRename() {
    if (!Selected()) return std::nullopt;
    bar_.BeginRename(selected_, SelectedName());
    return SelectedName();
}

bool MacroEditModel::EndRename(std::u16string_view typed) {
    if (!bar_.EndRename()) return false;
    return RenameSelected(typed);
}

bool MacroEditModel::RenameSelected(std::u16string_view typed) {
    MacroRecord* record = FindMacroAt(library_, selected_);
    if (!record) return false;
    // A copy or an import can carry a name longer than anyone may type: the
    // box shows it whole, and handing it back unchanged (Esc, or no edit)
    // must not cut it.
    const std::u16string oldTrimmed = TrimText(FieldText(record->name));
    if (NamesEqualIgnoringCase(TrimText(typed), oldTrimmed)) return false;
    // A new name obeys the box's limit of 20 characters; text handed in otherwise is cut alike.
    std::u16string name = TrimText(typed.substr(0, std::min<size_t>(typed.size(), kMacroNameTypedLimit)));
    if (name.empty() || NamesEqualIgnoringCase(name, oldTrimmed)) return false;
    for (size_t i = 0; i < library_.size(); ++i) {
        if (static_cast<int>(i) == selected_) continue;
        if (NamesEqualIgnoringCase(name, TrimText(FieldText(library_[i]->name)))) return false;
    }
    const std::u16string oldName = FieldText(record->name);
    if (renamed_) renamed_(selected_, oldName, name);
    CopyToField(record->name, name);
    Persist();
    return true;
}

// ---- the event list

void MacroEditModel::Refill() {
    rows_ = BuildEventRows(copy_, layout_);
    selectedRow_.reset();
    if (rows_.empty()) return;
    if (recorder_.InsertRecording()) {
        // The row of the last step before the insert position; none when all
        // the recorded steps so far are hidden 0 ms delays at the very top.
        for (size_t row = rows_.size(); row-- > 0;) {
            if (rows_[row].step < recorder_.InsertPosition()) {
                selectedRow_ = static_cast<int>(row);
                return;
            }
        }
        return;
    }
    selectedRow_ = static_cast<int>(rows_.size()) - 1;
}

void MacroEditModel::SelectRow(std::optional<int> row) {
    if (row && (*row < 0 || *row >= static_cast<int>(rows_.size()))) row.reset();
    if (row != selectedRow_) edit_.reset();
    selectedRow_ = row;
}

void MacroEditModel::SelectStepRow(int step) {
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].step == step) {
            selectedRow_ = static_cast<int>(row);
            return;
        }
    }
}

std::optional<int> MacroEditModel::SelectedStep() const {
    if (!selectedRow_) return std::nullopt;
    return rows_[static_cast<size_t>(*selectedRow_)].step;
}

std::optional<int> MacroEditModel::PartnerRow() const {
    if (!selectedRow_) return std::nullopt;
    const auto row = FindPartnerRow(RowItemValues(rows_), static_cast<size_t>(*selectedRow_));
    if (!row) return std::nullopt;
    return static_cast<int>(*row);
}

void MacroEditModel::Store() {
    MacroRecord* record = FindMacroAt(library_, selected_);
    if (!record) return;
    copy_.StoreInto(*record);
    Persist();
}

// ---- step operations

bool MacroEditModel::MoveStepUp() {
    if (!Selected() || !selectedRow_ || Recording()) return false;
    // An edit in progress names a step by its index, which the move changes.
    edit_.reset();
    const StepChange change = ::MoveStepUp(copy_, rows_, *selectedRow_);
    if (!change.changed) return false;
    Store();
    Refill();
    SelectStepRow(*change.selectStep);
    return true;
}

bool MacroEditModel::MoveStepDown() {
    if (!Selected() || !selectedRow_ || Recording()) return false;
    edit_.reset();
    const StepChange change = ::MoveStepDown(copy_, rows_, *selectedRow_);
    if (!change.changed) return false;
    Store();
    Refill();
    SelectStepRow(*change.selectStep);
    return true;
}

bool MacroEditModel::DeleteStep() {
    if (!Selected() || !selectedRow_ || Recording()) return false;
    edit_.reset();
    if (!::DeleteStep(copy_, rows_, *selectedRow_).changed) return false;
    Store();
    Refill();
    return true;
}

std::optional<std::u16string> MacroEditModel::BeginStepEdit() {
    const std::optional<int> step = SelectedStep();
    if (!Selected() || !step || Recording()) return std::nullopt;
    edit_ = StepEdit{*step, IsDelayStep(copy_.events[static_cast<size_t>(*step)]), std::nullopt};
    return rows_[static_cast<size_t>(*selectedRow_)].text;
}

std::optional<std::u16string> MacroEditModel::CaptureEditKey(uint32_t virtualKey, uint32_t keyData) {
    if (!EditingKeyStep()) return std::nullopt;
    const uint32_t refined = RefineModifierKey(virtualKey, keyData);
    uint32_t deviceCode = 0;
    if (!VirtualKeyToDeviceCode(layout_, refined, deviceCode) || deviceCode == 0 || deviceCode >= kDelayStepKey)
        return std::nullopt;
    edit_->newKey = static_cast<uint8_t>(deviceCode);
    return std::u16string(DeviceKeyName(layout_, deviceCode));
}

bool MacroEditModel::FinishStepEdit(std::u16string_view typedText) {
    if (!edit_) return false;
    const StepEdit edit = *edit_;
    edit_.reset();
    bool changed = false;
    if (edit.delayRow) {
        // Text that holds no number leaves the delay as it was.
        if (const auto delay = ParseDelayText(typedText)) changed = SetStepDelay(copy_, edit.step, *delay);
    } else if (edit.newKey) {
        changed = SetStepKey(copy_, edit.step, *edit.newKey);
    }
    // The mouse first; the list follows.
    Store();
    const std::optional<int> row = selectedRow_;
    Refill();
    // The edited step stays selected; a delay set to 0 ms has no row left.
    selectedRow_.reset();
    SelectStepRow(edit.step);
    if (!selectedRow_ && row && !rows_.empty()) selectedRow_ = std::min(*row, static_cast<int>(rows_.size()) - 1);
    return changed;
}

// ---- recording

bool MacroEditModel::StartRecording(DelayMode mode, std::u16string_view fixedDelayText) {
    if (Recording()) return false;
    edit_.reset();
    if (!Selected()) NewMacro();
    copy_.Clear();
    chord_.Reset();
    recorder_.Start(mode, DelayBoxValue(fixedDelayText), -1);
    Refill();
    return true;
}

bool MacroEditModel::StartInsertRecording(InsertSide side, DelayMode mode, uint32_t fixedDelay) {
    if (Recording() || !Selected()) return false;
    edit_.reset();
    int position = -1;
    if (const std::optional<int> step = SelectedStep()) position = side == InsertSide::kAfter ? *step + 1 : *step;
    chord_.Reset();
    recorder_.Start(mode, fixedDelay, position);
    return true;
}

void MacroEditModel::StopRecording() {
    if (!Recording()) return;
    // A modifier held back as the start of the stop combination was pressed
    // all the same: Stop clicked with it down keeps it.
    RecordKeys(chord_.Flush());
    recorder_.Stop();
    Store();
}

bool MacroEditModel::RecordKeys(const std::vector<HeardKey>& keys) {
    bool added = false, stop = false;
    for (const HeardKey& key : keys) {
        const MacroRecorder::Outcome outcome = recorder_.OnKey(copy_, layout_, key.virtualKey, key.release, key.timeMs);
        added = added || outcome.added;
        stop = outcome.stop;
        if (stop) break;
    }
    // Rows first: while insert-recording they select by the recorder's position.
    if (added) Refill();
    if (stop) recorder_.Stop();
    return stop;
}

MacroEditModel::InputResult MacroEditModel::OnRecordedKey(uint32_t virtualKey, bool release, uint32_t timeMs) {
    if (!Recording()) return {};
    const StopChordFilter::Outcome heard = chord_.Feed({virtualKey, release, timeMs});
    const bool full = RecordKeys(heard.pass);
    if (full || heard.complete) {
        if (!full) recorder_.Stop();
        chord_.Reset();
        Store();
        return {true, true};
    }
    return {true, false};
}

MacroEditModel::InputResult MacroEditModel::OnRecordedMouseButton(uint8_t buttonCode, bool release,
                                                                  uint32_t timeMs) {
    if (!Recording() || overRecordButton_ || !Selected() || !IsMouseButtonCode(buttonCode)) return {};
    // Keys held back come first: they were pressed before the button.
    if (RecordKeys(chord_.Flush())) {
        Store();
        return {true, true};
    }
    const MacroRecorder::Outcome outcome = recorder_.OnMouseButton(copy_, buttonCode, release, timeMs);
    if (outcome.added) Refill();
    if (outcome.stop) StopRecording();
    return {true, outcome.stop};
}

// ---- the insert panel

bool MacroEditModel::OpenInsertPanel() {
    if (panelOpen_ || !Selected() || !selectedRow_ || Recording()) return false;
    edit_.reset();
    backup_ = copy_;
    panelOpen_ = true;
    return true;
}

void MacroEditModel::CancelInsertPanel() {
    if (!panelOpen_) return;
    // A recording the panel started ends with it, or keys would go on
    // landing in the steps just given back.
    if (Recording()) recorder_.Stop();
    panelOpen_ = false;
    copy_ = backup_;
    Refill();
    Store();
}

void MacroEditModel::CloseInsertPanel() {
    if (!panelOpen_) return;
    if (Recording()) recorder_.Stop();
    panelOpen_ = false;
    Store();
}

bool MacroEditModel::InsertDelay(InsertSide side, uint32_t delay) {
    edit_.reset();
    bool inserted = false;
    if (Selected() && selectedRow_ && !Recording()) {
        const int row = *selectedRow_;
        const int step = rows_[static_cast<size_t>(row)].step;
        const bool allowed = side == InsertSide::kBefore ? row > 0 : row + 1 < static_cast<int>(rows_.size());
        const int at = side == InsertSide::kBefore ? step : step + 1;
        const uint16_t ms = static_cast<uint16_t>(std::min<uint32_t>(delay, kMaxStepDelay));
        if (allowed && copy_.InsertAt(at, DelayStep(ms))) {
            inserted = true;
            Refill();
            SelectStepRow(at);
        }
    }
    panelOpen_ = false;
    Store();
    return inserted;
}

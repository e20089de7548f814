#include "option_session.h"

#include <cstring>
#include <utility>

#include "profile_actions.h"

OptionSession::OptionSession(std::filesystem::path programFolder, ISharedLock* lock)
    : storeFile_(ProfileStorePath(programFolder)), macroFile_(MacroLibraryPath(programFolder)), lock_(lock) {}

bool OptionSession::Load() {
    FreeProfiles(store_);
    if (!LoadProfileStoreLocked(lock_, storeFile_, store_)) {
        FreeProfiles(store_);
        LoadProfileStore(storeFile_, store_);
        ClearAllParts(store_.values);
    }
    // The pages always edit a current profile: an empty store gets its first
    // one now, on disk too, so the Monitor sees the same list.
    const bool hadCurrent = current() != nullptr;
    const bool made = EnsureFirstProfile(store_);
    owesFullApply_ = !hadCurrent;
    if (made && !SaveProfileStoreLocked(lock_, storeFile_, store_)) SaveProfileStore(storeFile_, store_);
    macros_.clear();
    LoadMacroLibrary(macroFile_, macros_);
    KeepGiven();
    TakeSnapshot();
    // What was just read is what the mouse was given: until something changes,
    // a partial apply (a macro page store with no button playing the macro)
    // has nothing to write or send.
    lastSaved_ = true;
    return made;
}

void OptionSession::TakeSnapshot() {
    if (const ProfileRecord* record = current()) std::memcpy(&snapshot_, record, sizeof snapshot_);
}

ApplyOutcome OptionSession::Apply(bool full, IMonitorPort& monitor) {
    ApplyOutcome outcome;
    if (owesFullApply_) {
        // A partial apply would send only what changed since a snapshot the mouse never got.
        MarkAllParts(store_.values);
    } else if (!full) {
        if (const ProfileRecord* record = current()) {
            // A slider's last report can arrive twice (once late from the drag,
            // once from the release): the second one changes nothing, and must
            // neither write the store nor send the mouse anything.
            if (lastSaved_ && std::memcmp(record, &snapshot_, sizeof snapshot_) == 0) {
                outcome.saved = true;
                return outcome;
            }
            ComputePartFlags(snapshot_, *record, store_.values);
        }
    }
    outcome.saved = SaveProfileStoreLocked(lock_, storeFile_, store_);
    outcome.told = monitor.PostApplyAll();
    TakeSnapshot();
    if (!outcome.saved) outcome.saved = SaveProfileStore(storeFile_, store_);
    lastSaved_ = outcome.saved;
    // Told or not: a Monitor that was not there downloads the whole store when it starts.
    if (outcome.saved) owesFullApply_ = false;
    outcome.waiting = full && outcome.told;
    return outcome;
}

bool OptionSession::SaveWithoutApply() { return SaveProfileStore(storeFile_, store_); }

bool OptionSession::ReloadAfterMonitorChange(bool* switched) {
    if (switched) *switched = false;
    ProfileStore fresh;
    if (!LoadProfileStoreLocked(lock_, storeFile_, fresh)) {
        FreeProfiles(fresh);
        LoadProfileStore(storeFile_, fresh);
    }
    // A store that reads back empty (deleted or unreadable) is not taken: the
    // pages keep editing what they have, and the next save writes it again.
    if (fresh.profiles.empty()) return current() != nullptr;
    const ProfileRecord* before = current();
    const ProfileRecord* after = CurrentProfile(fresh);
    const bool moved = fresh.values.ProfileID != store_.values.ProfileID;
    const bool other = moved || !before || !after ||
                       !NamesEqualIgnoringCase(FieldText(before->ProFileName), FieldText(after->ProFileName));
    store_ = std::move(fresh);
    // The Monitor switched the mouse to another profile: it sent that one whole.
    if (moved) owesFullApply_ = false;
    if (other) {
        // The part flags of the next apply compare with what the mouse holds now.
        TakeSnapshot();
        lastSaved_ = true;
        if (switched) *switched = true;
    } else if (const ProfileRecord* record = current()) {
        // Without a switch the Monitor stored what the mouse chose by itself, a
        // DPI level or a polling rate: the mouse holds those now, so the next
        // apply counts a change from them, not from what Option sent before.
        snapshot_.CpiStep = record->CpiStep;
        snapshot_.PollingRate = record->PollingRate;
    }
    return current() != nullptr;
}

bool OptionSession::SetGameFile(std::u16string_view path) { return SetGameFile(EditedNow(), path); }

bool OptionSession::SetGameFile(const EditedProfile& target, std::u16string_view path) {
    ProfileRecord* record = ProfileNamed(target.position, target.name);
    if (!record || path.size() > kGameFileUnits - 1) return false;
    for (char16_t c : path)
        if (c < 0x20 || c == 0x7F) return false;
    CopyToField(record->GameFile, path);
    // Nothing of it goes to the mouse: the next apply must not count it as a
    // change to send. The snapshot is the current profile's alone.
    if (record == current()) CopyToField(snapshot_.GameFile, path);
    return SaveWithoutApply();
}

ProfileRecord* OptionSession::ProfileNamed(int32_t position, std::u16string_view name) {
    ProfileRecord* record = GetProfileAt(store_.profiles, position);
    if (!record || !NamesEqualIgnoringCase(TrimText(FieldText(record->ProFileName)), TrimText(name))) return nullptr;
    return record;
}

bool OptionSession::RenameProfile(int32_t position, std::u16string_view oldName, std::u16string_view typed) {
    ProfileRecord* record = ProfileNamed(position, oldName);
    if (!record) return false;
    const auto accepted = AcceptedRename(store_.profiles, position, typed);
    if (!accepted) return false;
    CopyToField(record->ProFileName, *accepted);
    return SaveWithoutApply();
}

EditedProfile OptionSession::EditedNow() const { return MarkCurrentProfile(store_); }

EditOutcome OptionSession::ApplyEdit(const EditedProfile& target, const std::function<bool(ProfileRecord&)>& edit,
                                     IMonitorPort& monitor) {
    EditOutcome outcome;
    ProfileRecord* record = ProfileNamed(target.position, target.name);
    if (!record || !edit(*record)) return outcome;
    outcome.written = true;
    outcome.current = record == current();
    if (outcome.current) {
        outcome.apply = Apply(false, monitor);
        return outcome;
    }
    // Another profile went to the mouse whole when it became current; this one
    // is only stored, and the part flags of the next apply still compare with
    // what the mouse holds.
    outcome.apply.saved = SaveProfileStoreLocked(lock_, storeFile_, store_) || SaveProfileStore(storeFile_, store_);
    return outcome;
}

bool OptionSession::SaveMacros() { return SaveMacroLibrary(macroFile_, macros_); }

int OptionSession::RenameMacroInProfiles(int position, std::u16string_view newName) {
    int changed = 0;
    for (auto& profile : store_.profiles) changed += RenameMacroAssignments(*profile, macros_, position, newName);
    if (position >= 0 && static_cast<size_t>(position) < given_.size()) CopyToField(given_[static_cast<size_t>(position)]->name, newName);
    // Buttons of other profiles changed only in memory: the apply must not
    // take the store for saved because the current profile looks the same.
    if (changed) lastSaved_ = false;
    return changed;
}

void OptionSession::KeepGiven() {
    given_.clear();
    for (const auto& macro : macros_) given_.push_back(std::make_unique<MacroRecord>(*macro));
}

int OptionSession::SyncMacrosInProfiles() {
    // Macros added since the last time keep their places after the others.
    MacroLibrary given;
    for (size_t i = 0; i < macros_.size(); ++i)
        given.push_back(std::make_unique<MacroRecord>(i < given_.size() ? *given_[i] : *macros_[i]));
    int changed = 0;
    for (auto& profile : store_.profiles) {
        const ProfileRecord before = *profile;
        SyncMacroAssignments(*profile, macros_, given);
        if (std::memcmp(&before, profile.get(), sizeof before) != 0) ++changed;
    }
    KeepGiven();
    if (changed) lastSaved_ = false;
    return changed;
}

int OptionSession::ForgetMacroInProfiles(int position) {
    int changed = 0;
    for (auto& profile : store_.profiles) changed += ForgetMacroAssignments(*profile, macros_, position);
    if (position >= 0 && static_cast<size_t>(position) < given_.size()) given_.erase(given_.begin() + position);
    if (changed) lastSaved_ = false;
    return changed;
}

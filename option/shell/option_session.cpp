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
    const bool made = EnsureFirstProfile(store_);
    if (made && !SaveProfileStoreLocked(lock_, storeFile_, store_)) SaveProfileStore(storeFile_, store_);
    macros_.clear();
    LoadMacroLibrary(macroFile_, macros_);
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
    if (!full) {
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
    const bool other = fresh.values.ProfileID != store_.values.ProfileID;
    store_ = std::move(fresh);
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

bool OptionSession::SetGameFile(std::u16string_view path) {
    ProfileRecord* record = current();
    if (!record || path.size() > kGameFileUnits - 1) return false;
    for (char16_t c : path)
        if (c < 0x20 || c == 0x7F) return false;
    CopyToField(record->GameFile, path);
    // Nothing of it goes to the mouse: the next apply must not count it as a change to send.
    CopyToField(snapshot_.GameFile, path);
    return SaveWithoutApply();
}

bool OptionSession::RenameProfile(int32_t position, std::u16string_view oldName, std::u16string_view typed) {
    ProfileRecord* record = GetProfileAt(store_.profiles, position);
    if (!record || !NamesEqualIgnoringCase(TrimText(FieldText(record->ProFileName)), TrimText(oldName))) return false;
    const auto accepted = AcceptedRename(store_.profiles, position, typed);
    if (!accepted) return false;
    CopyToField(record->ProFileName, *accepted);
    return SaveWithoutApply();
}

bool OptionSession::SaveMacros() { return SaveMacroLibrary(macroFile_, macros_); }

#include "option_session.h"

#include <cstring>
#include <utility>

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

bool OptionSession::ReloadAfterMonitorChange() {
    ProfileStore fresh;
    if (!LoadProfileStoreLocked(lock_, storeFile_, fresh)) {
        FreeProfiles(fresh);
        LoadProfileStore(storeFile_, fresh);
    }
    // A store that reads back empty (deleted or unreadable) is not taken: the
    // pages keep editing what they have, and the next save writes it again.
    if (fresh.profiles.empty()) return current() != nullptr;
    store_ = std::move(fresh);
    return current() != nullptr;
}

bool OptionSession::SaveMacros() { return SaveMacroLibrary(macroFile_, macros_); }

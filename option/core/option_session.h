#pragma once
// What Option holds of the settings for its whole run, and the procedures that
// move them between memory, the files and the Monitor: start-up loading, the
// apply that every page calls, the save of a rename, and the reload after the
// Monitor changed the store. No windows here: the Monitor is reached through
// IMonitorPort, the lock through ISharedLock.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "macro_library.h"
#include "profile_actions.h"
#include "profile_store.h"

class ISharedLock;

class IMonitorPort {
public:
    virtual ~IMonitorPort() = default;
    // Posts the apply request to the Monitor's window. False when none runs.
    virtual bool PostApplyAll() = 0;
};

struct ApplyOutcome {
    bool saved = false;    // the store is on disk (under the lock or, failing that, without)
    bool told = false;     // the Monitor was asked to apply
    bool waiting = false;  // a full apply waits for the Monitor's answer
};

// The profile a dialog was opened for, as it was then. A modal dialog runs its
// own message loop, so by the time it closes the Monitor may have switched
// profiles and Option read the store again; the result goes to this profile,
// not to whichever is current.
using EditedProfile = ProfileMark;

struct EditOutcome {
    bool written = false;  // the profile was found and took the edit
    bool current = false;  // it is the current profile: the pages show it
    ApplyOutcome apply;    // saved; told only when it is the current profile
};

class OptionSession {
public:
    // `lock` is not owned and may be null (no Monitor running).
    OptionSession(std::filesystem::path programFolder, ISharedLock* lock);

    // Start-up: the store under the lock, or without it (part flags then 0);
    // an empty store gets a first profile, saved at once; the macro library;
    // the applied snapshot. True when a first profile had to be made.
    bool Load();
    // The Monitor downloaded its own reset values at its start when the store
    // had no current profile: the first profile Option makes (or the one it
    // falls back to) has never reached the mouse. Until an apply has sent it
    // whole, every apply is a full one; the window applies at once.
    bool OwesFullApply() const { return owesFullApply_; }

    ProfileStore& store() { return store_; }
    const ProfileStore& store() const { return store_; }
    MacroLibrary& macros() { return macros_; }
    // Null only when the store could not give a current profile.
    ProfileRecord* current() { return CurrentProfile(store_); }
    const ProfileRecord& snapshot() const { return snapshot_; }

    // Saves the store and asks the Monitor to apply it. A full apply sends every
    // part (the caller marked them); otherwise the part flags come from what
    // changed since the last apply. The current profile becomes the snapshot.
    // A partial apply that changes nothing since a saved one does nothing.
    ApplyOutcome Apply(bool full, IMonitorPort& monitor);
    // Saves the store as it is, without the lock and without asking for an
    // apply: a rename changes nothing on the mouse.
    bool SaveWithoutApply();
    // The Monitor changed the store (a DPI or rate button on the mouse, or a
    // game's profile switched in): read it again, without the lock when the
    // lock cannot be taken, so the pages never see an empty list. The snapshot
    // stays, unless another profile is current now (`switched`): the mouse got
    // that one whole, so it is the new snapshot. Another profile at the same
    // position (the list changed under it) counts as a switch as well. Without
    // a switch it takes the level and rate the mouse chose. False when no
    // current profile results.
    bool ReloadAfterMonitorChange(bool* switched = nullptr);
    // Links the current profile to a game (a program path; empty unlinks) and
    // saves without an apply: the mouse holds no game. False, with nothing
    // changed, for a path too long for the field or holding control characters.
    bool SetGameFile(std::u16string_view path);
    // A rename typed for the profile at `position`, named `oldName` when it
    // began, saved without an apply once the store changed under it: refused
    // when that profile is gone from there or the name is not accepted.
    bool RenameProfile(int32_t position, std::u16string_view oldName, std::u16string_view typed);
    // The current profile as a dialog opened now would edit it (position -1
    // without a current profile).
    EditedProfile EditedNow() const;
    // A dialog's accepted result for `target`: `edit` changes that profile's
    // record as the store holds it now (only what the dialog edits, so a DPI
    // level the mouse changed meanwhile stays) and returns false when nothing
    // is to be stored. The store is saved; the Monitor is asked for a partial
    // apply only when `target` is still the current profile. Otherwise the
    // mouse already holds the current profile whole and gets nothing, and the
    // snapshot stays that profile's. Refused, with nothing changed, when the
    // profile is gone from its place.
    EditOutcome ApplyEdit(const EditedProfile& target, const std::function<bool(ProfileRecord&)>& edit,
                          IMonitorPort& monitor);
    // SetGameFile for the profile the file dialog was opened for, current or
    // not; refused as well when that profile is gone from its place.
    bool SetGameFile(const EditedProfile& target, std::u16string_view path);
    // Saves the macro library.
    bool SaveMacros();
    // The macro at `position` of the library is about to be renamed, or
    // removed: the buttons that play it, in every profile, take the new name,
    // or go back to their defaults. The next apply writes the store even when
    // the current profile is untouched. Returns how many buttons changed.
    int RenameMacroInProfiles(int position, std::u16string_view newName);
    int ForgetMacroInProfiles(int position);
    // The library changed (steps recorded or edited, a macro gone): the buttons
    // of every profile play the steps of their macros as they are now, so the
    // profile a game switches in later does not send the old ones. As above,
    // the next apply writes the store. Returns how many profiles changed.
    int SyncMacrosInProfiles();

    const std::filesystem::path& storeFile() const { return storeFile_; }
    const std::filesystem::path& macroFile() const { return macroFile_; }

private:
    void TakeSnapshot();
    // The record at `position` when it is still named `name` (case and outer blanks ignored).
    ProfileRecord* ProfileNamed(int32_t position, std::u16string_view name);

    std::filesystem::path storeFile_;
    std::filesystem::path macroFile_;
    ISharedLock* lock_;  // not owned
    ProfileStore store_;
    MacroLibrary macros_;
    // The library as the buttons last took its steps (see SyncMacrosInProfiles).
    MacroLibrary given_;
    void KeepGiven();
    ProfileRecord snapshot_{};
    bool lastSaved_ = false;  // the last apply reached the disk
    bool owesFullApply_ = false;
};

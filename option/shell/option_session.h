#pragma once
// What Option holds of the settings for its whole run, and the procedures that
// move them between memory, the files and the Monitor: start-up loading, the
// apply that every page calls, the save of a rename, and the reload after the
// Monitor changed the store. No windows here: the Monitor is reached through
// IMonitorPort, the lock through ISharedLock.
#include <filesystem>
#include <memory>
#include <string_view>

#include "macro_library.h"
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

class OptionSession {
public:
    // `lock` is not owned and may be null (no Monitor running).
    OptionSession(std::filesystem::path programFolder, ISharedLock* lock);

    // Start-up: the store under the lock, or without it (part flags then 0);
    // an empty store gets a first profile, saved at once; the macro library;
    // the applied snapshot. True when a first profile had to be made.
    bool Load();

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
    // that one whole, so it is the new snapshot. Without a switch it takes the
    // level and rate the mouse chose. False when no current profile results.
    bool ReloadAfterMonitorChange(bool* switched = nullptr);
    // Links the current profile to a game (a program path; empty unlinks) and
    // saves without an apply: the mouse holds no game. False, with nothing
    // changed, for a path too long for the field or holding control characters.
    bool SetGameFile(std::u16string_view path);
    // A rename typed for the profile at `position`, named `oldName` when it
    // began, saved without an apply once the store changed under it: refused
    // when that profile is gone from there or the name is not accepted.
    bool RenameProfile(int32_t position, std::u16string_view oldName, std::u16string_view typed);
    // Saves the macro library.
    bool SaveMacros();

    const std::filesystem::path& storeFile() const { return storeFile_; }
    const std::filesystem::path& macroFile() const { return macroFile_; }

private:
    void TakeSnapshot();

    std::filesystem::path storeFile_;
    std::filesystem::path macroFile_;
    ISharedLock* lock_;  // not owned
    ProfileStore store_;
    MacroLibrary macros_;
    ProfileRecord snapshot_{};
    bool lastSaved_ = false;  // the last apply reached the disk
};

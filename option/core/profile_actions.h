#pragma once
// What the configuration page does to the profile list, without windows: new,
// copy, import, delete and the rename rule. Each operation leaves `ProfileID`
// on the profile the page selects (and applies) next, and `number` equal to the
// list's length, as the store is written.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange_file.h"
#include "profile_store.h"

// "Profile<count + 1>", made unique, with Option's reset values, appended and
// made current. Returns its position.
int AddNewProfile(ProfileStore& store);

// "<name>_Copy", made unique. The name is cut before the suffix, so a long name
// still reads as a copy and fits its field.
std::u16string CopyName(const ProfileList& list, std::u16string_view name);
// The current profile copied under CopyName, appended and made current. -1,
// with nothing changed, when there is no current profile.
int CopyCurrentProfile(ProfileStore& store);

// An exchange file's profile under a unique name, appended and made current.
int AddImportedProfile(ProfileStore& store, std::unique_ptr<ProfileRecord> record);

// Removes the profile at `row`. Nothing happens (false) with one profile or
// fewer, or a row outside the list. The profile that followed the deleted one
// becomes current; after the last row, the new last one.
bool DeleteProfileAt(ProfileStore& store, int row);

// Where a profile stood when a modal dialog opened over it. The Monitor may
// reload the store while the dialog runs (a DPI button, a game's profile), so
// the records of that moment may be gone, and another profile current, when it
// closes: the profile the user acted on is found again by its mark.
struct ProfileMark {
    int32_t position = -1;
    std::u16string name;
};
ProfileMark MarkCurrentProfile(const ProfileStore& store);
// Where the marked profile is now: at its position under its name (case
// ignored), or, when the list moved, the one of that name. -1 when it is gone.
int32_t FindMarkedProfile(const ProfileList& list, const ProfileMark& mark);

// The new name typed for the profile at `current`, trimmed, when it is accepted:
// not empty, not the current name in other case, and no other profile's name.
std::optional<std::u16string> AcceptedRename(const ProfileList& list, int32_t current, std::u16string_view typed);

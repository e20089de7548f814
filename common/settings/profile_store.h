#pragma once
// The profile store "config\Config.data": the list of profiles, the store
// values of its "Config" section, the reset values, name rules and part flags.
// Both programs use this one reader and writer.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "profile_record.h"

class CIniFile;
class ISharedLock;

using ProfileList = std::vector<std::unique_ptr<ProfileRecord>>;

struct StoreValues {
    int32_t number = -1;     // profiles as read; the list length is written
    int32_t ProfileID = -1;  // position of the current profile
    int32_t KeysFlag = -1;
    int32_t AttributeFlag = -1;
    int32_t DPIStepFlag = -1;
    int32_t PRateFlag = -1;
};

// Automatic game profiles, in the "Config" section too. Every program reads
// these keys; only the Monitor writes them (GameKeys::kWrite). Every other save
// keeps what the file holds at that moment, as it keeps any key of that section
// it does not know, so an older copy in Option's memory never undoes a switch.
struct GameProfileValues {
    bool enabled = true;  // "GameProfiles": 0 turns automatic switching off
    std::u16string home;  // "GameHome": the profile to go back to when the game leaves; empty: none
};

// Everything one program holds of the store.
struct ProfileStore {
    ProfileList profiles;
    StoreValues values;
    GameProfileValues games;
};

enum class GameKeys { kKeepFile, kWrite };

// The section of the store values, of the game keys and of the language override.
inline constexpr std::u16string_view kConfigSection = u"Config";

std::filesystem::path ProfileStorePath(const std::filesystem::path& programFolder);

// Appends the stored profiles to `store.profiles` (expected empty) and reads the
// store values. A missing file leaves no profiles and every value -1.
void LoadProfileStore(const std::filesystem::path& file, ProfileStore& store);
// The same from a document already parsed.
void LoadProfileStore(const CIniFile& ini, ProfileStore& store);
// For a reader that must act on the current profile before it needs the
// others (the Monitor, downloading an apply): the store values and the current
// record only, from the file's bytes. The list gets its full length; the other
// records stay zeroed until LoadProfileStore reads the same bytes whole.
void LoadStoreHead(std::string_view bytes, ProfileStore& store);
// Puts the whole store into a document (what SaveProfileStore writes). Keys of
// the "Config" section that this writer does not write stay as the document had them.
void WriteProfileStore(CIniFile& ini, const ProfileStore& store, GameKeys games = GameKeys::kKeepFile);
// The bytes of the file holding `store`, with the [Config] keys kept from
// `ini` (the file as read); `ini` is left holding at least that section.
std::string StoreBytes(CIniFile& ini, const ProfileStore& store, GameKeys games = GameKeys::kKeepFile);
// Rewrites the whole file in one atomic replace; false (old file untouched) on failure.
bool SaveProfileStore(const std::filesystem::path& file, const ProfileStore& store, std::string* error = nullptr,
                      GameKeys games = GameKeys::kKeepFile);
// The same under the shared lock. False, having done nothing, when the lock
// could not be taken (no lock, or it was abandoned); callers then fall back to
// the unlocked operation. A save that fails on disk also returns false.
bool LoadProfileStoreLocked(ISharedLock* lock, const std::filesystem::path& file, ProfileStore& store);
bool SaveProfileStoreLocked(ISharedLock* lock, const std::filesystem::path& file, const ProfileStore& store,
                            std::string* error = nullptr);

void FreeProfiles(ProfileStore& store);
ProfileRecord* GetProfileAt(ProfileList& list, int32_t position);
const ProfileRecord* GetProfileAt(const ProfileList& list, int32_t position);
inline ProfileRecord* CurrentProfile(ProfileStore& store) { return GetProfileAt(store.profiles, store.values.ProfileID); }

// True when a stored name, trimmed, equals `name` ignoring case (`name` itself is not trimmed).
bool ProfileNameExists(const ProfileList& list, std::u16string_view name);
// `base`, or base + "_1", "_2", ... whichever is free first; always fits the name field.
std::u16string MakeUniqueName(const ProfileList& list, std::u16string_view base);
// Position of the first profile whose trimmed name equals `name` ignoring case, or -1.
int32_t FindProfileByName(const ProfileList& list, std::u16string_view name);
// Names compared as the platform compares them ordinally without case (each
// UTF-16 unit upper-cased on its own): profiles, macros and store keys alike.
bool NamesEqualIgnoringCase(std::u16string_view a, std::u16string_view b);
std::u16string TrimText(std::u16string_view text);
// The name rule of profiles and macros alike: `base`, or base + "_1", "_2", ...
// whichever `taken` says is free first. The base, not the number, is cut so the
// name fits in `maxUnits`.
std::u16string FirstFreeName(std::u16string_view base, size_t maxUnits,
                             const std::function<bool(std::u16string_view)>& taken);

// Option's reset values; keeps the name, LightType and DPIColor 5 and 6.
void ResetProfile(ProfileRecord& record);
// The Monitor's set: Option's, with DPI levels 4, 8, 16, 32, 50 and LightDir 0.
void ResetProfileMonitor(ProfileRecord& record);
// A zero-filled record with Option's reset values and the given name.
void InitNewProfile(ProfileRecord& record, std::u16string_view name);

// An empty store gets "Profile1" with Option's reset values as its current
// profile. True when a profile was created.
bool EnsureFirstProfile(ProfileStore& store);

void ComputePartFlags(const ProfileRecord& snapshot, const ProfileRecord& current, StoreValues& values);
void MarkAllParts(StoreValues& values);
void ClearAllParts(StoreValues& values);

// Repairs what a damaged file could make unsafe to use: event counts beyond the
// slots and names without a terminator.
void SanitizeAssignment(ButtonAssignment& record);

#include "profile_store.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

#include "file_io.h"
#include "ini_file.h"
#include "profile_section.h"
#include "shared_lock.h"
#include "ordinal_case.h"
#include "text_util.h"

namespace {

constexpr std::u16string_view kGameProfilesKey = u"GameProfiles";
constexpr std::u16string_view kGameHomeKey = u"GameHome";
constexpr std::u16string_view kStoreValueKeys[] = {u"number",        u"ProfileID",   u"KeysFlag",
                                                    u"AttributeFlag", u"DPIStepFlag", u"PRateFlag"};

bool WrittenKey(std::u16string_view key, GameKeys games) {
    for (std::u16string_view known : kStoreValueKeys)
        if (NamesEqualIgnoringCase(key, known)) return true;
    return games == GameKeys::kWrite &&
           (NamesEqualIgnoringCase(key, kGameProfilesKey) || NamesEqualIgnoringCase(key, kGameHomeKey));
}

std::u16string ProfileSectionName(int i) { return u"Profile" + IntToText(i); }

// What a save reads of the file it replaces: the [Config] keys it keeps and
// the names that tell whether the current profile changed. Everything else is
// rewritten from the records.
bool ReadBeforeSave(std::u16string_view section, std::u16string_view key) {
    return NamesEqualIgnoringCase(section, kConfigSection) || NamesEqualIgnoringCase(key, u"ProFileName");
}

// The highest N of the "Profile%d" sections present, or -1. A stored "number"
// far beyond the sections present must not create millions of empty records.
int LastProfileSection(const CIniFile& ini) {
    int last = -1;
    for (const auto& name : ini.SectionNames()) {
        if (name.size() <= 7 || !NamesEqualIgnoringCase(std::u16string_view(name).substr(0, 7), u"Profile")) continue;
        int value = 0;
        bool digits = true;
        for (size_t i = 7; i < name.size() && digits; ++i) {
            const char16_t c = name[i];
            digits = c >= u'0' && c <= u'9' && value < 100000000;
            if (digits) value = value * 10 + (c - u'0');
        }
        // "Profile%d" never has leading zeros, except Profile0 itself.
        if (digits && !(name.size() > 8 && name[7] == u'0')) last = std::max(last, value);
    }
    return last;
}

bool EnsureFolderOf(const std::filesystem::path& file, std::string* error) {
    const auto folder = file.parent_path();
    if (folder.empty()) return true;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec && error) *error = "cannot create " + folder.string() + ": " + ec.message();
    return !ec;
}

}  // namespace

std::filesystem::path ProfileStorePath(const std::filesystem::path& programFolder) {
    return programFolder / "config" / "Config.data";
}

void LoadProfileStore(const std::filesystem::path& file, ProfileStore& store) {
    const CIniFile ini(file);
    LoadProfileStore(ini, store);
}

namespace {

// The count of records a load makes from the stored "number".
int ReadStoreValues(const CIniFile& ini, ProfileStore& store) {
    StoreValues& v = store.values;
    v.number = ini.ReadInt(kConfigSection, u"number", -1);
    v.ProfileID = ini.ReadInt(kConfigSection, u"ProfileID", -1);
    v.KeysFlag = ini.ReadInt(kConfigSection, u"KeysFlag", -1);
    v.AttributeFlag = ini.ReadInt(kConfigSection, u"AttributeFlag", -1);
    v.DPIStepFlag = ini.ReadInt(kConfigSection, u"DPIStepFlag", -1);
    v.PRateFlag = ini.ReadInt(kConfigSection, u"PRateFlag", -1);
    // Anything but an explicit 0 leaves switching on: a store written before
    // the key existed, or a damaged value, keeps the default.
    store.games.enabled = ini.ReadString(kConfigSection, kGameProfilesKey, u"1") != u"0";
    store.games.home = ini.ReadString(kConfigSection, kGameHomeKey, u"");
    if (v.number <= 0) return 0;
    // Sections missing below the last one present load as records of defaults;
    // none are invented after it.
    return std::max(0, std::min(v.number, LastProfileSection(ini) + 1));
}

std::unique_ptr<ProfileRecord> ZeroedRecord() {
    auto record = std::make_unique<ProfileRecord>();
    std::memset(record.get(), 0, sizeof(ProfileRecord));
    return record;
}

}  // namespace

void LoadProfileStore(const CIniFile& ini, ProfileStore& store) {
    const int count = ReadStoreValues(ini, store);
    store.profiles.reserve(store.profiles.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto record = ZeroedRecord();
        ReadProfileFields(ini, ProfileSectionName(i), ProfileKeySet::Store, *record);
        store.profiles.push_back(std::move(record));
    }
}

void LoadStoreHead(std::string_view bytes, ProfileStore& store) {
    // Two partial reads of the same bytes, each skipping the values it does
    // not keep: the store values name the current section, then that section.
    CIniFile config("");
    config.ParseOnly(bytes, [](std::u16string_view section, std::u16string_view) {
        return NamesEqualIgnoringCase(section, kConfigSection);
    });
    const int count = ReadStoreValues(config, store);
    store.profiles.clear();
    store.profiles.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) store.profiles.push_back(ZeroedRecord());
    ProfileRecord* current = GetProfileAt(store.profiles, store.values.ProfileID);
    if (!current) return;
    const std::u16string name = ProfileSectionName(store.values.ProfileID);
    CIniFile section("");
    section.ParseOnly(bytes, [&name](std::u16string_view s, std::u16string_view) {
        return NamesEqualIgnoringCase(s, name);
    });
    ReadProfileFields(section, name, ProfileKeySet::Store, *current);
}

bool SaveProfileStore(const std::filesystem::path& file, const ProfileStore& store, std::string* error,
                      GameKeys games) {
    // The document starts as the file on disk, so the keys kept come from the
    // newest save, not from whenever this program last read the store.
    CIniFile ini(file);
    ini.LoadOnly(ReadBeforeSave);
    const std::string bytes = StoreBytes(ini, store, games);
    std::string local;
    std::string& reason = error ? *error : local;
    if (!EnsureFolderOf(file, &reason)) return false;
    return WriteFileAtomically(file, bytes, reason);
}

namespace {

// The [Config] section of a new document; the profiles' sections follow it.
void WriteStoreConfig(CIniFile& ini, const ProfileStore& store, GameKeys games) {
    // A save that makes another profile current is the user's choice: the way
    // back from a game's profile no longer applies. The same profile under
    // another position (one before it deleted) or another name is no choice.
    const int32_t oldCurrent = ini.ReadInt(kConfigSection, u"ProfileID", -1);
    const std::u16string oldName = TrimText(ini.ReadString(ProfileSectionName(oldCurrent), u"ProFileName", u""));
    const ProfileRecord* newCurrent = GetProfileAt(store.profiles, store.values.ProfileID);
    const bool userChoice = oldCurrent != store.values.ProfileID &&
                            !(newCurrent && NamesEqualIgnoringCase(oldName, TrimText(FieldText(newCurrent->ProFileName))));
    std::vector<std::pair<std::u16string, std::u16string>> kept;
    for (std::u16string& key : ini.KeyNames(kConfigSection)) {
        if (WrittenKey(key, games)) continue;
        if (userChoice && NamesEqualIgnoringCase(key, kGameHomeKey)) continue;
        std::u16string value = ini.ReadString(kConfigSection, key, u"");
        kept.emplace_back(std::move(key), std::move(value));
    }
    ini.Clear();
    const StoreValues& v = store.values;
    ini.WriteInt(kConfigSection, u"number", static_cast<int32_t>(store.profiles.size()));
    ini.WriteInt(kConfigSection, u"ProfileID", v.ProfileID);
    ini.WriteInt(kConfigSection, u"KeysFlag", v.KeysFlag);
    ini.WriteInt(kConfigSection, u"AttributeFlag", v.AttributeFlag);
    ini.WriteInt(kConfigSection, u"DPIStepFlag", v.DPIStepFlag);
    ini.WriteInt(kConfigSection, u"PRateFlag", v.PRateFlag);
    if (games == GameKeys::kWrite) {
        ini.WriteInt(kConfigSection, kGameProfilesKey, store.games.enabled ? 1 : 0);
        ini.WriteString(kConfigSection, kGameHomeKey, store.games.home);
    }
    for (const auto& [key, value] : kept) ini.WriteString(kConfigSection, key, value);
}

void WriteProfileSections(CIniFile& ini, const ProfileStore& store) {
    int counter = 0;
    for (const auto& record : store.profiles)
        WriteProfileFields(ini, ProfileSectionName(counter++), ProfileKeySet::Store, *record);
}

}  // namespace

void WriteProfileStore(CIniFile& ini, const ProfileStore& store, GameKeys games) {
    WriteStoreConfig(ini, store, games);
    WriteProfileSections(ini, store);
}

std::string StoreBytes(CIniFile& ini, const ProfileStore& store, GameKeys games) {
    WriteStoreConfig(ini, store, games);
    std::string bytes = ini.Serialize();
    // Nearly every store is plain text: its profiles go straight into bytes,
    // some 800 KB of hex for twenty, never widened and narrowed again. A
    // single character beyond ASCII makes the whole file UTF-16, which only
    // the document writes.
    bool plain = bytes.empty() || static_cast<uint8_t>(bytes[0]) != 0xFF;
    if (plain) {
        bytes.reserve(bytes.size() + store.profiles.size() * 42000);
        int counter = 0;
        for (const auto& record : store.profiles) {
            if (!AppendPlainProfileSection(bytes, ProfileSectionName(counter++), ProfileKeySet::Store, *record)) {
                plain = false;
                break;
            }
        }
    }
    if (plain) return bytes;
    WriteProfileSections(ini, store);
    return ini.Serialize();
}


bool LoadProfileStoreLocked(ISharedLock* lock, const std::filesystem::path& file, ProfileStore& store) {
    SharedLockScope scope(lock);
    if (!scope.held()) return false;
    LoadProfileStore(file, store);
    return true;
}

bool SaveProfileStoreLocked(ISharedLock* lock, const std::filesystem::path& file, const ProfileStore& store,
                            std::string* error) {
    SharedLockScope scope(lock);
    if (!scope.held()) return false;
    return SaveProfileStore(file, store, error);
}

void FreeProfiles(ProfileStore& store) { store.profiles.clear(); }

ProfileRecord* GetProfileAt(ProfileList& list, int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= list.size()) return nullptr;
    return list[static_cast<size_t>(position)].get();
}

const ProfileRecord* GetProfileAt(const ProfileList& list, int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= list.size()) return nullptr;
    return list[static_cast<size_t>(position)].get();
}

std::u16string TrimText(std::u16string_view text) {
    return std::u16string(TrimView(text, IsAsciiBlank<char16_t>));
}

bool NamesEqualIgnoringCase(std::u16string_view a, std::u16string_view b) { return EqualsIgnoringCase(a, b); }

int32_t FindProfileByName(const ProfileList& list, std::u16string_view name) {
    const std::u16string wanted = TrimText(name);
    if (wanted.empty()) return -1;
    for (size_t i = 0; i < list.size(); ++i)
        if (NamesEqualIgnoringCase(TrimText(FieldText(list[i]->ProFileName)), wanted)) return static_cast<int32_t>(i);
    return -1;
}

bool ProfileNameExists(const ProfileList& list, std::u16string_view name) {
    for (const auto& record : list)
        if (NamesEqualIgnoringCase(TrimText(FieldText(record->ProFileName)), name)) return true;
    return false;
}

std::u16string FirstFreeName(std::u16string_view base, size_t maxUnits,
                             const std::function<bool(std::u16string_view)>& taken) {
    std::u16string candidate(base.substr(0, std::min(base.size(), maxUnits)));
    if (!taken(candidate)) return candidate;
    for (int n = 1;; ++n) {
        const std::u16string suffix = u"_" + IntToText(n);
        // Cut the base, not the number, so the name stays unique and fits.
        candidate = std::u16string(base.substr(0, std::min(base.size(), maxUnits - suffix.size()))) + suffix;
        if (!taken(candidate)) return candidate;
    }
}

std::u16string MakeUniqueName(const ProfileList& list, std::u16string_view base) {
    return FirstFreeName(base, kProfileNameUnits - 1,
                         [&](std::u16string_view name) { return ProfileNameExists(list, name); });
}

void ResetProfile(ProfileRecord& r) {
    CopyToField(r.GameFile, u"");
    r.DbleClickSpeed = 500;
    r.ScrollWheelSpeed = 3;
    r.ScrollWheelFlag = 0;
    r.MouseSpeed = 10;
    r.Acceleration = 10;
    r.AccelerationFlag = 0;
    r.MaxDPI = 5;
    r.XYCpiFlag = 1;
    static constexpr int32_t kLevels[kDpiLevels] = {10, 16, 20, 32, 45};
    std::copy(std::begin(kLevels), std::end(kLevels), r.CpiLevel_X);
    std::copy(std::begin(kLevels), std::end(kLevels), r.CpiLevel_Y);
    r.CpiStep = 2;
    r.PollingRate = 2;
    r.LightSwitch = 3;
    r.LightIntensity = 2;
    r.LightDir = 1;
    r.LightSpeed = 1;
    static constexpr int32_t kColors[5] = {0x00FFFF, 0x00FF00, 0xFF0000, 0x0000FF, 0xFF00FF};
    std::copy(std::begin(kColors), std::end(kColors), r.DPIColor);
    std::fill(std::begin(r.dpiStepFlag), std::end(r.dpiStepFlag), uint8_t{1});
    static constexpr uint8_t kIndicators[kDpiLevels] = {15, 16, 17, 19, 20};
    std::copy(std::begin(kIndicators), std::end(kIndicators), r.dpiIndicator);
    r.reserved[0] = r.reserved[1] = 0;
    for (int i = 0; i < kButtonCount; ++i) ResetToDefault(r.MacroKeyInfo[i], i);
}

void ResetProfileMonitor(ProfileRecord& r) {
    ResetProfile(r);
    static constexpr int32_t kLevels[kDpiLevels] = {4, 8, 16, 32, 50};
    std::copy(std::begin(kLevels), std::end(kLevels), r.CpiLevel_X);
    std::copy(std::begin(kLevels), std::end(kLevels), r.CpiLevel_Y);
    r.LightDir = 0;
}

void InitNewProfile(ProfileRecord& record, std::u16string_view name) {
    std::memset(&record, 0, sizeof record);
    ResetProfile(record);
    CopyToField(record.ProFileName, name);
}

bool EnsureFirstProfile(ProfileStore& store) {
    if (!store.profiles.empty()) {
        if (!GetProfileAt(store.profiles, store.values.ProfileID)) store.values.ProfileID = 0;
        return false;
    }
    auto record = std::make_unique<ProfileRecord>();
    InitNewProfile(*record, MakeUniqueName(store.profiles, u"Profile1"));
    store.profiles.push_back(std::move(record));
    store.values.number = 1;
    store.values.ProfileID = 0;
    MarkAllParts(store.values);
    return true;
}

void ComputePartFlags(const ProfileRecord& snapshot, const ProfileRecord& current, StoreValues& values) {
    const ProfileRecord& a = snapshot;
    const ProfileRecord& b = current;
    values.PRateFlag = a.PollingRate != b.PollingRate ? 1 : 0;
    values.DPIStepFlag = a.CpiStep != b.CpiStep ? 1 : 0;
    const bool attributes =
        a.MaxDPI != b.MaxDPI || a.LightSwitch != b.LightSwitch || a.LightIntensity != b.LightIntensity ||
        a.LightSpeed != b.LightSpeed || a.LightDir != b.LightDir ||
        std::memcmp(a.CpiLevel_X, b.CpiLevel_X, sizeof a.CpiLevel_X) != 0 ||
        std::memcmp(a.CpiLevel_Y, b.CpiLevel_Y, sizeof a.CpiLevel_Y) != 0 ||
        std::memcmp(a.DPIColor, b.DPIColor, sizeof a.DPIColor) != 0;
    values.AttributeFlag = attributes ? 1 : 0;
    values.KeysFlag = std::memcmp(a.MacroKeyInfo, b.MacroKeyInfo, sizeof a.MacroKeyInfo) != 0 ? 1 : 0;
}

void MarkAllParts(StoreValues& v) { v.KeysFlag = v.AttributeFlag = v.DPIStepFlag = v.PRateFlag = 1; }
void ClearAllParts(StoreValues& v) { v.KeysFlag = v.AttributeFlag = v.DPIStepFlag = v.PRateFlag = 0; }

void SanitizeAssignment(ButtonAssignment& record) {
    ClampEventCount(record);
    record.macroName[kMacroNameFieldUnits - 1] = u'\0';
    record.program[kProgramFieldUnits - 1] = u'\0';
}

bool SameRecord(const ProfileRecord& a, const ProfileRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

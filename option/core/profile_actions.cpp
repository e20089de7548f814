#include "profile_actions.h"

#include <algorithm>

#include "button_assignment.h"
#include "macro_record.h"

namespace {

int Append(ProfileStore& store, std::unique_ptr<ProfileRecord> record) {
    store.profiles.push_back(std::move(record));
    store.values.number = static_cast<int32_t>(store.profiles.size());
    store.values.ProfileID = store.values.number - 1;
    return store.values.ProfileID;
}

std::u16string NumberText(size_t n) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n);
    return digits;
}

}  // namespace

int AddNewProfile(ProfileStore& store) {
    const std::u16string base = u"Profile" + NumberText(store.profiles.size() + 1);
    auto record = std::make_unique<ProfileRecord>();
    InitNewProfile(*record, MakeUniqueName(store.profiles, base));
    return Append(store, std::move(record));
}

std::u16string CopyName(const ProfileList& list, std::u16string_view name) {
    // The source name gives way to the suffix and the number, never the other
    // way round: the result always reads as a copy, fits, and is unique.
    constexpr size_t kMax = kProfileNameUnits - 1;
    for (size_t n = 0;; ++n) {
        const std::u16string suffix = n == 0 ? std::u16string(u"_Copy") : u"_Copy_" + NumberText(n);
        std::u16string candidate(name.substr(0, std::min(name.size(), kMax - suffix.size())));
        candidate += suffix;
        if (!ProfileNameExists(list, candidate)) return candidate;
    }
}

int CopyCurrentProfile(ProfileStore& store) {
    const ProfileRecord* current = CurrentProfile(store);
    if (!current) return -1;
    auto record = std::make_unique<ProfileRecord>(*current);
    CopyToField(record->ProFileName, CopyName(store.profiles, FieldText(current->ProFileName)));
    return Append(store, std::move(record));
}

int AddImportedProfile(ProfileStore& store, std::unique_ptr<ProfileRecord> record) {
    CopyToField(record->ProFileName, MakeUniqueName(store.profiles, FieldText(record->ProFileName)));
    return Append(store, std::move(record));
}

bool DeleteProfileAt(ProfileStore& store, int row) {
    const int count = static_cast<int>(store.profiles.size());
    if (count <= 1 || row < 0 || row >= count) return false;
    store.profiles.erase(store.profiles.begin() + row);
    const int32_t length = static_cast<int32_t>(store.profiles.size());
    store.values.number = length;
    store.values.ProfileID = row >= length ? length - 1 : row;
    return true;
}

ProfileMark MarkCurrentProfile(const ProfileStore& store) {
    const ProfileRecord* current = GetProfileAt(store.profiles, store.values.ProfileID);
    if (!current) return {};
    return ProfileMark{store.values.ProfileID, FieldText(current->ProFileName)};
}

int32_t FindMarkedProfile(const ProfileList& list, const ProfileMark& mark) {
    if (mark.position < 0) return -1;
    auto named = [&mark](const ProfileRecord* record) {
        return record && NamesEqualIgnoringCase(FieldText(record->ProFileName), mark.name);
    };
    if (named(GetProfileAt(list, mark.position))) return mark.position;
    // Names are unique in the list, so a name alone still names one profile.
    for (size_t i = 0; i < list.size(); ++i)
        if (named(list[i].get())) return static_cast<int32_t>(i);
    return -1;
}

std::optional<std::u16string> AcceptedRename(const ProfileList& list, int32_t current, std::u16string_view typed) {
    const ProfileRecord* record = GetProfileAt(list, current);
    if (!record) return std::nullopt;
    std::u16string name = TrimText(typed);
    if (name.empty() || name.size() > kProfileNameUnits - 1) return std::nullopt;
    if (NamesEqualIgnoringCase(name, FieldText(record->ProFileName))) return std::nullopt;
    if (ProfileNameExists(list, name)) return std::nullopt;
    return name;
}

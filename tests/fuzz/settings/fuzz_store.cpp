// Arbitrary bytes as the profile store: whatever loads, saves and loads back
// to the same profiles and values, and the quick read of the current record
// agrees with it.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini_file.h"
#include "profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CIniFile file("Config.data");
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    ProfileStore store;
    LoadProfileStore(file, store);
    for (const auto& p : store.profiles)
        for (const auto& b : p->MacroKeyInfo)
            if (b.eventCount > kMaxMacroEvents) std::abort();
    // The Monitor's quick read of the current record agrees with the whole load.
    ProfileStore head;
    LoadStoreHead(std::string_view(reinterpret_cast<const char*>(data), size), head);
    if (head.profiles.size() != store.profiles.size() || head.values.ProfileID != store.values.ProfileID) std::abort();
    if (const ProfileRecord* current = CurrentProfile(store))
        if (!SameRecord(*current, *CurrentProfile(head))) std::abort();

    CIniFile saved("Config.data");
    WriteProfileStore(saved, store);
    CIniFile reread("Config.data");
    reread.Parse(saved.Serialize());
    ProfileStore again;
    LoadProfileStore(reread, again);
    if (again.profiles.size() != store.profiles.size()) std::abort();
    for (size_t i = 0; i < store.profiles.size(); ++i)
        if (!SameRecord(*again.profiles[i], *store.profiles[i])) std::abort();
    if (again.values.ProfileID != store.values.ProfileID || again.values.KeysFlag != store.values.KeysFlag)
        std::abort();
    return 0;
}

#pragma once
// Reading and writing one profile as INI keys: the "Profile%d" sections of the
// store and the "Setting" section of an exchange file share these rules.
#include <string_view>

#include "profile_record.h"

class CIniFile;

enum class ProfileKeySet {
    Store,     // every key
    Exchange,  // without MaxDPI, LightDir, LightSpeed and DPIColor%d
};

void ReadProfileFields(const CIniFile& ini, std::u16string_view section, ProfileKeySet keys, ProfileRecord& record);
void WriteProfileFields(CIniFile& ini, std::u16string_view section, ProfileKeySet keys, const ProfileRecord& record);

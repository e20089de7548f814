#pragma once
// Reading and writing one profile as INI keys: the "Profile%d" sections of the
// store and the "Setting" section of an exchange file share these rules.
#include <string>
#include <string_view>

#include "profile_record.h"

class CIniFile;

enum class ProfileKeySet {
    Store,     // every key
    Exchange,  // without MaxDPI, LightDir, LightSpeed and DPIColor%d
};

void ReadProfileFields(const CIniFile& ini, std::u16string_view section, ProfileKeySet keys, ProfileRecord& record);
void WriteProfileFields(CIniFile& ini, std::u16string_view section, ProfileKeySet keys, const ProfileRecord& record);
// Appends the section exactly as WriteProfileFields followed by Serialize
// would write it, straight as bytes, when every text of the record is plain
// ASCII; otherwise appends nothing and returns false (the file must then be
// UTF-16, and only the document knows how to write it).
bool AppendPlainProfileSection(std::string& out, std::u16string_view section, ProfileKeySet keys,
                               const ProfileRecord& record);

#pragma once
// Profile exchange files (".gmp"): one profile in section "Setting", without
// MaxDPI, LightDir, LightSpeed and the DPI colours.
#include <filesystem>
#include <string>

#include "profile_record.h"

class CIniFile;

// Writes a new file holding only the "Setting" section. False (and the old
// file untouched) when it cannot be written.
bool WriteExchangeSection(const ProfileRecord& record, const std::filesystem::path& path, std::string* error = nullptr);

// Reads "Setting" into `record`. Keys the file lacks take the store's defaults;
// the four fields the file never carries take Option's reset values. False,
// leaving `record` as it was, when the file cannot be read at all.
bool ReadExchangeSection(ProfileRecord& record, const std::filesystem::path& path);
void ReadExchangeSection(ProfileRecord& record, const CIniFile& ini);

#pragma once
// Profile exchange files (".gmp"): one profile in section "Setting", without
// MaxDPI, LightDir, LightSpeed and the DPI colours.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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

// Buttons that start a program or a command when pressed: a shared profile
// carries them to whoever imports it, so the import asks first.
struct LaunchAction {
    int buttonIndex = 0;
    uint8_t code = 0;        // kCodeLaunchProgram or kCodeLaunchCommand
    std::u16string target;   // the program or command line, as stored
};
std::vector<LaunchAction> LaunchActionsOf(const ProfileRecord& record);
// Gives every launching button of `record` its default function back.
void ResetLaunchActions(ProfileRecord& record);

// Reads the profile of an exchange file for import. Null, with `error` saying
// why, when the file cannot be read, is too large, or has no "Setting" section:
// such a file is not a profile, and importing it would add one of -1 values.
std::unique_ptr<ProfileRecord> ReadProfileForImport(const std::filesystem::path& path, std::string& error);

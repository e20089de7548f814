#include "exchange_file.h"

#include <cstring>

#include "file_io.h"
#include "ini_file.h"
#include "profile_section.h"
#include "button_assignment.h"
#include "macro_record.h"
#include "profile_store.h"

namespace {
constexpr std::u16string_view kSection = u"Setting";

bool IsLaunch(const ButtonAssignment& b) {
    return b.FunctionClass == kClassLaunch &&
           (b.FunctionCode == kCodeLaunchProgram || b.FunctionCode == kCodeLaunchCommand);
}
}

bool WriteExchangeSection(const ProfileRecord& record, const std::filesystem::path& path, std::string* error) {
    CIniFile ini(path);
    ini.Clear();
    WriteProfileFields(ini, kSection, ProfileKeySet::Exchange, record);
    if (ini.Commit()) return true;
    if (error) *error = ini.LastError();
    return false;
}

bool ReadExchangeSection(ProfileRecord& record, const std::filesystem::path& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    CIniFile ini(path);
    ini.Parse(bytes);
    ReadExchangeSection(record, ini);
    return true;
}

void ReadExchangeSection(ProfileRecord& record, const CIniFile& ini) {
    ProfileRecord incoming;
    std::memset(&incoming, 0, sizeof incoming);
    ResetProfile(incoming);  // gives the fields the file does not carry a defined value
    ReadProfileFields(ini, kSection, ProfileKeySet::Exchange, incoming);
    record = incoming;
}

std::vector<LaunchAction> LaunchActionsOf(const ProfileRecord& record) {
    std::vector<LaunchAction> actions;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonAssignment& b = record.MacroKeyInfo[i];
        if (IsLaunch(b)) actions.push_back(LaunchAction{i, b.FunctionCode, FieldText(b.program)});
    }
    return actions;
}

void ResetLaunchActions(ProfileRecord& record) {
    for (int i = 0; i < kButtonCount; ++i)
        if (IsLaunch(record.MacroKeyInfo[i])) ResetToDefault(record.MacroKeyInfo[i], i);
}

std::unique_ptr<ProfileRecord> ReadProfileForImport(const std::filesystem::path& path, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = "the file cannot be read, or is too large to be a profile";
        return nullptr;
    }
    CIniFile ini(path);  // read once, parsed once
    ini.Parse(bytes);
    if (!ini.HasSection(kSection)) {
        error = "the file holds no profile (no [Setting] section)";
        return nullptr;
    }
    auto record = std::make_unique<ProfileRecord>();
    ReadExchangeSection(*record, ini);
    return record;
}

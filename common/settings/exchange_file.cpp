#include "exchange_file.h"

#include <cstring>

#include "file_io.h"
#include "ini_file.h"
#include "profile_section.h"
#include "profile_store.h"

namespace {
constexpr std::u16string_view kSection = u"Setting";
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

// Arbitrary bytes as a profile exchange file: the imported profile is
// well-formed and exports to a file that imports identically.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "exchange_file.h"
#include "ini_file.h"
#include "profile_section.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CIniFile file("profile.gmp");
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    ProfileRecord record;
    ReadExchangeSection(record, file);
    if (record.ProFileName[kProfileNameUnits - 1] != 0 || record.GameFile[kGameFileUnits - 1] != 0) std::abort();

    CIniFile saved("profile.gmp");
    saved.Clear();
    WriteProfileFields(saved, u"Setting", ProfileKeySet::Exchange, record);
    CIniFile reread("profile.gmp");
    reread.Parse(saved.Serialize());
    ProfileRecord again;
    ReadExchangeSection(again, reread);
    if (!SameRecord(again, record)) std::abort();
    return 0;
}

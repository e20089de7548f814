// Arbitrary bytes as an INI file: parsing never fails, and what was parsed
// writes out to a document that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CIniFile first("fuzz.ini");
    first.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = first.Serialize();
    CIniFile second("fuzz.ini");
    second.Parse(once);
    if (second.Serialize() != once) std::abort();
    for (const auto& section : first.SectionNames()) {
        if (first.ReadString(section, u"k", u"d") != second.ReadString(section, u"k", u"d")) std::abort();
        unsigned char buffer[16];
        (void)first.ReadStruct(section, u"k", buffer, sizeof buffer);
        (void)first.ReadInt(section, u"k", -1);
    }
    return 0;
}

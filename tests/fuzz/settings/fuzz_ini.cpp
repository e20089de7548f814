// Arbitrary bytes as an INI file: parsing never fails, and what was parsed
// writes out to a document that reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini_file.h"
#include "text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CIniFile first("fuzz.ini");
    first.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string once = first.Serialize();
    CIniFile second("fuzz.ini");
    second.Parse(once);
    if (second.Serialize() != once) std::abort();
    // 8-bit text is split as bytes; the same text decoded first, as UTF-16
    // with its mark, must give the same document.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool marked = size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF) ||
                                      (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF));
    if (!marked) {
        std::string utf16 = "\xFF\xFE";
        for (char16_t c : DecodeAnsi(bytes)) {
            utf16.push_back(static_cast<char>(c & 0xFF));
            utf16.push_back(static_cast<char>(c >> 8));
        }
        CIniFile decoded("fuzz.ini");
        decoded.Parse(utf16);
        if (decoded.SerializeText() != first.SerializeText()) std::abort();
    }
    for (const auto& section : first.SectionNames()) {
        if (first.ReadString(section, u"k", u"d") != second.ReadString(section, u"k", u"d")) std::abort();
        unsigned char buffer[16];
        (void)first.ReadStruct(section, u"k", buffer, sizeof buffer);
        (void)first.ReadInt(section, u"k", -1);
    }
    return 0;
}

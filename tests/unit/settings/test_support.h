#pragma once
// Helpers shared by the settings tests: files as bytes and random records.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "../../support/temp_folder.h"
#include "profile_record.h"
#include "profile_store.h"

inline std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

// Random text that survives the store: printable, no edge blanks that a user
// could not type, sometimes outside ASCII.
inline std::u16string RandomName(std::mt19937& rng, size_t maxLength) {
    static const std::u16string alphabet =
        u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.()#'\"=;[]\u00e9\u00fc\u00df\u5c04\u51fb\u0416";
    std::uniform_int_distribution<size_t> len(1, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string s;
    const size_t n = len(rng);
    for (size_t i = 0; i < n; ++i) s += alphabet[pick(rng)];
    return s;
}

// A record with every field random, as a damaged-but-parseable or hand-edited
// store could hold it. Texts are terminated inside their fields.
inline void FillRandomProfile(ProfileRecord& r, std::mt19937& rng) {
    std::memset(&r, 0, sizeof r);
    auto* bytes = reinterpret_cast<unsigned char*>(&r);
    std::uniform_int_distribution<int> byte(0, 255);
    for (size_t i = offsetof(ProfileRecord, DbleClickSpeed); i < sizeof r; ++i)
        bytes[i] = static_cast<unsigned char>(byte(rng));
    r.reserved[0] = r.reserved[1] = 0;
    CopyToField(r.ProFileName, RandomName(rng, kProfileNameUnits - 1));
    CopyToField(r.GameFile, RandomName(rng, 120));
    for (auto& b : r.MacroKeyInfo) {
        b.eventCount = static_cast<uint16_t>(b.eventCount % (kMaxMacroEvents + 1));
        b.macroName[kMacroNameFieldUnits - 1] = 0;
        b.program[kProgramFieldUnits - 1] = 0;
    }
}

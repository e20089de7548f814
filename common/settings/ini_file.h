#pragma once
// CIniFile: the one access object for every INI file of the suite (the profile
// store, the macro library, exchange and macro files, skin descriptions).
//
// It reads and writes the files exactly as the platform's private-profile
// functions do, with two deliberate differences:
//  - the whole file is parsed once and written once: writes edit the document
//    in memory and Commit() replaces the file atomically, so a crash mid-save
//    never leaves a half-written store;
//  - text that 8-bit code pages cannot hold is written as UTF-16LE with a byte
//    order mark instead of turning into "?".
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CIniFile {
public:
    explicit CIniFile(std::filesystem::path path);
    ~CIniFile();
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    CIniFile(CIniFile&&) noexcept = default;
    CIniFile& operator=(CIniFile&&) noexcept = default;

    const std::filesystem::path& Path() const { return path_; }

    // Reading. A missing file reads as empty. Values come back as the platform
    // returns them: trimmed, one pair of outer quotes removed, cut at 4095 units.
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Decimal (or 0x/0o/0b-prefixed) number with the platform's rules; the
    // default when the key is missing or empty, 0 when it is not a number.
    int32_t ReadInt(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const;
    // A record stored as hex digits plus a two-digit check sum. Fails, leaving
    // the buffer untouched, unless the length and the check digits are right.
    bool ReadStruct(std::u16string_view section, std::u16string_view key, void* buffer, size_t size) const;
    bool HasSection(std::u16string_view section) const;
    bool HasKey(std::u16string_view section, std::u16string_view key) const;
    std::vector<std::u16string> SectionNames() const;
    // The keys of `section` that hold a value, in file order, each once.
    std::vector<std::u16string> KeyNames(std::u16string_view section) const;

    // Writing edits the document in memory the way the platform edits a file: a
    // new section goes to the end, a new key to the end of its section, an
    // existing key keeps its place. Nothing reaches the disk before Commit().
    bool WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    bool WriteInt(std::u16string_view section, std::u16string_view key, int32_t value);
    bool WriteStruct(std::u16string_view section, std::u16string_view key, const void* buffer, size_t size);
    // Starts a new, empty document (as if the file had been deleted).
    void Clear();

    // Writes the document in one atomic replace of the file. On failure the old
    // file stays as it was and the reason is in LastError().
    bool Commit();
    const std::string& LastError() const { return lastError_; }

    // The exact bytes Commit() writes.
    std::string Serialize() const;
    // The same document as text, whatever encoding it would be written in.
    std::u16string SerializeText() const;
    // Parses file bytes (for tests and fuzzing; the constructor reads the file).
    void Parse(std::string_view bytes);

    // Decides whether a partial read keeps an entry: section and key as they
    // stand in the file.
    using KeepEntry = std::function<bool(std::u16string_view section, std::u16string_view key)>;
    // Reads the file now, keeping only the entries `keep` accepts; every
    // section is still known. For a document about to be rewritten whole,
    // where copying and indexing the values it replaces would be wasted work.
    void LoadOnly(const KeepEntry& keep);
    void ParseOnly(std::string_view bytes, const KeepEntry& keep);

private:
    struct Entry {
        std::u16string key;
        std::u16string value;  // trimmed as on disk, quotes still present
        bool hasValue = true;  // a line without '=' names a key that reads as missing
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
        std::unordered_map<std::u16string, size_t> index;  // folded key -> first entry
        bool implicit = false;  // the keys before the first header: written without one
    };

    struct ParseState {
        static constexpr size_t kNone = static_cast<size_t>(-1);
        const KeepEntry* keep = nullptr;
        size_t current = kNone;  // keys before the first section belong to none
    };
    void AddSection(ParseState& state, std::u16string_view line);
    bool Keeps(const ParseState& state, std::u16string_view key) const;
    void AddEntry(ParseState& state, std::u16string_view key, std::u16string_view value, bool hasValue);

    void EnsureLoaded() const;
    const Entry* Find(std::u16string_view section, std::u16string_view key) const;
    Section& SectionForWrite(std::u16string_view name);

    std::filesystem::path path_;
    mutable bool loaded_ = false;
    mutable std::vector<Section> sections_;
    mutable std::unordered_map<std::u16string, size_t> sectionIndex_;  // folded name -> first section
    std::string lastError_;
};

// A value as WriteString puts it in the file: line breaks made blanks, and
// quoted when its edges would not survive reading.
std::u16string EncodeIniValue(std::u16string_view value);
// Appends a record's hex digits and check digits, as WriteStruct writes them.
void AppendIniStruct(std::string& out, const void* buffer, size_t size);

// Helpers shared by the store code: "%d"-formatting and ASCII/UTF-16 literals.
std::u16string IntToText(int32_t value);
std::u16string AsciiToU16(std::string_view ascii);

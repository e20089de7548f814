#pragma once
// The macro library "config\sequence.dat", single-macro ".macro" files, and
// keeping the macro buttons of a profile in line with the library.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "macro_record.h"

class CIniFile;
struct ProfileRecord;

using MacroLibrary = std::vector<std::unique_ptr<MacroRecord>>;

std::filesystem::path MacroLibraryPath(const std::filesystem::path& programFolder);

// Appends every stored macro in file order. A missing file gives an empty
// library; an unreadable entry loads as an empty macro.
void LoadMacroLibrary(const std::filesystem::path& file, MacroLibrary& library);
void LoadMacroLibrary(const CIniFile& ini, MacroLibrary& library);
void WriteMacroLibrary(CIniFile& ini, const MacroLibrary& library);
bool SaveMacroLibrary(const std::filesystem::path& file, const MacroLibrary& library, std::string* error = nullptr);

MacroRecord* FindMacroAt(MacroLibrary& library, int position);
bool MacroNameExists(const MacroLibrary& library, std::u16string_view name);
std::u16string MakeUniqueMacroName(const MacroLibrary& library, std::u16string_view base);

// A ".macro" file: section "Macros", key "0".
bool ExportMacro(const MacroRecord& macro, const std::filesystem::path& path, std::string* error = nullptr);
// False when the file cannot be read; otherwise `macro` holds what it carries
// (an empty macro when the entry is missing or damaged). The name is not yet
// made unique: that is the caller's, against its library.
bool ImportMacro(const std::filesystem::path& path, MacroRecord& macro);
void ImportMacro(const CIniFile& ini, MacroRecord& macro);

// Brings the macro buttons of `profile` in line with `library` after the library changed.
void SyncMacroAssignments(ProfileRecord& profile, const MacroLibrary& library);
// A macro was renamed: the macro buttons of `profile` that name it take the new
// name, so the next sync still finds their macro instead of resetting them.
// Returns how many buttons changed.
int RenameMacroAssignments(ProfileRecord& profile, std::u16string_view oldName, std::u16string_view newName);

// Makes a record read from a file safe to use.
void SanitizeMacro(MacroRecord& macro);

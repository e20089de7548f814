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
struct ButtonAssignment;
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

// The library position of the macro a macro button plays, or -1. A button
// keeps only the first 23 characters of the name, so several macros can
// answer to it (long names, their copies); among those the button's own copy
// of the steps and its macro index tell which one it was given.
int AssignedMacroPosition(const ButtonAssignment& button, const MacroLibrary& library);
// Brings the macro buttons of `profile` in line with `library` after the library changed.
void SyncMacroAssignments(ProfileRecord& profile, const MacroLibrary& library);
// The same, with each button's macro found in `given`, the library as the
// buttons last took it (same positions; shorter when macros were added since):
// a macro just recorded anew no longer plays the steps its buttons hold, and a
// copy of it still does, so only the old steps tell the two apart.
void SyncMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, const MacroLibrary& given);
// The macro at `position` is about to be renamed (`library` still holds the
// old name): the macro buttons of `profile` that play it take the new name, so
// the next sync still finds their macro instead of resetting them. Returns how
// many buttons changed.
int RenameMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, int position,
                           std::u16string_view newName);
// The macro at `position` is about to be removed from `library`: the buttons
// of `profile` that play it go back to their defaults, and the others' macro
// index follows their macro to its new position. Returns how many buttons changed.
int ForgetMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, int position);

// Makes a record read from a file safe to use.
void SanitizeMacro(MacroRecord& macro);

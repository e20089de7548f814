#include "macro_library.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "file_io.h"
#include "ini_file.h"
#include "profile_store.h"

namespace {

constexpr std::u16string_view kSection = u"Macros";

std::unique_ptr<MacroRecord> NewEmptyMacro() {
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    return macro;
}

// The entries actually present: a stored "number" far beyond them must not
// allocate millions of empty macros.
int LastMacroKey(const CIniFile& ini, int number) {
    int last = -1;
    for (int i = std::min(number, 100000) - 1; i >= 0; --i) {
        if (ini.HasKey(kSection, IntToText(i))) {
            last = i;
            break;
        }
    }
    return last;
}

}  // namespace

std::filesystem::path MacroLibraryPath(const std::filesystem::path& programFolder) {
    return programFolder / "config" / "sequence.dat";
}

void SanitizeMacro(MacroRecord& macro) {
    macro.eventCount = std::clamp<int32_t>(macro.eventCount, 0, kMaxMacroEvents);
    macro.name[kMacroNameUnits - 1] = u'\0';
}

void LoadMacroLibrary(const std::filesystem::path& file, MacroLibrary& library) {
    const CIniFile ini(file);
    LoadMacroLibrary(ini, library);
}

void LoadMacroLibrary(const CIniFile& ini, MacroLibrary& library) {
    const int32_t number = ini.ReadInt(kSection, u"number", -1);
    if (number <= 0) return;
    const int count = LastMacroKey(ini, number) + 1;
    for (int i = 0; i < count; ++i) {
        auto macro = NewEmptyMacro();
        if (ini.ReadStruct(kSection, IntToText(i), macro.get(), sizeof(MacroRecord)))
            SanitizeMacro(*macro);
        else
            std::memset(macro.get(), 0, sizeof(MacroRecord));
        library.push_back(std::move(macro));
    }
}

void WriteMacroLibrary(CIniFile& ini, const MacroLibrary& library) {
    ini.Clear();
    ini.WriteInt(kSection, u"number", static_cast<int32_t>(library.size()));
    for (size_t i = 0; i < library.size(); ++i)
        ini.WriteStruct(kSection, IntToText(static_cast<int32_t>(i)), library[i].get(), sizeof(MacroRecord));
}

bool SaveMacroLibrary(const std::filesystem::path& file, const MacroLibrary& library, std::string* error) {
    CIniFile ini(file);
    WriteMacroLibrary(ini, library);
    std::error_code ec;
    if (!file.parent_path().empty()) std::filesystem::create_directories(file.parent_path(), ec);
    if (ini.Commit()) return true;
    if (error) *error = ini.LastError();
    return false;
}

MacroRecord* FindMacroAt(MacroLibrary& library, int position) {
    if (position < 0 || static_cast<size_t>(position) >= library.size()) return nullptr;
    return library[static_cast<size_t>(position)].get();
}

bool MacroNameExists(const MacroLibrary& library, std::u16string_view name) {
    for (const auto& macro : library)
        if (NamesEqualIgnoringCase(TrimText(FieldText(macro->name)), name)) return true;
    return false;
}

std::u16string MakeUniqueMacroName(const MacroLibrary& library, std::u16string_view base) {
    return FirstFreeName(base, kMacroNameUnits - 1,
                         [&](std::u16string_view name) { return MacroNameExists(library, name); });
}

bool ExportMacro(const MacroRecord& macro, const std::filesystem::path& path, std::string* error) {
    CIniFile ini(path);
    ini.Clear();
    ini.WriteStruct(kSection, u"0", &macro, sizeof macro);
    if (ini.Commit()) return true;
    if (error) *error = ini.LastError();
    return false;
}

bool ImportMacro(const std::filesystem::path& path, MacroRecord& macro) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    CIniFile ini(path);
    ini.Parse(bytes);
    ImportMacro(ini, macro);
    return true;
}

void ImportMacro(const CIniFile& ini, MacroRecord& macro) {
    MacroRecord incoming;
    if (ini.ReadStruct(kSection, u"0", &incoming, sizeof incoming))
        SanitizeMacro(incoming);
    else
        std::memset(&incoming, 0, sizeof incoming);
    macro = incoming;
}

namespace {

// The name as a button's field keeps it: cut to 23 characters, blanks trimmed.
std::u16string ButtonFieldName(std::u16string_view name) {
    return TrimText(name.substr(0, std::min<size_t>(name.size(), kMacroNameFieldUnits - 1)));
}

bool SameSteps(const ButtonAssignment& button, const MacroRecord& macro) {
    const int32_t count = std::clamp<int32_t>(macro.eventCount, 0, kMaxMacroEvents);
    return button.eventCount == count &&
           std::memcmp(button.events, macro.events, static_cast<size_t>(count) * sizeof(MacroEvent)) == 0;
}

}  // namespace

int AssignedMacroPosition(const ButtonAssignment& button, const MacroLibrary& library) {
    const std::u16string wanted = TrimText(FieldText(button.macroName));
    if (wanted.empty()) return -1;
    std::vector<int> candidates;
    for (size_t i = 0; i < library.size(); ++i)
        if (NamesEqualIgnoringCase(ButtonFieldName(FieldText(library[i]->name)), wanted))
            candidates.push_back(static_cast<int>(i));
    if (candidates.size() <= 1) return candidates.empty() ? -1 : candidates.front();
    // The steps the button plays are the surest sign; the index alone goes
    // stale when an older program moved the list under it, and the steps
    // alone when the macro was edited while another profile was current.
    const auto atIndex = std::find(candidates.begin(), candidates.end(), button.macroIndex);
    const auto sameSteps = [&](int i) { return SameSteps(button, *library[static_cast<size_t>(i)]); };
    if (atIndex != candidates.end() && sameSteps(*atIndex)) return *atIndex;
    if (const auto same = std::find_if(candidates.begin(), candidates.end(), sameSteps); same != candidates.end())
        return *same;
    return atIndex != candidates.end() ? *atIndex : candidates.front();
}

void SyncMacroAssignments(ProfileRecord& profile, const MacroLibrary& library) {
    SyncMacroAssignments(profile, library, library);
}

void SyncMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, const MacroLibrary& given) {
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonAssignment& button = profile.MacroKeyInfo[i];
        if (button.FunctionCode != kCodeMacro || button.macroName[0] == u'\0') continue;
        int position = AssignedMacroPosition(button, given);
        if (given.size() < library.size() && position < 0) position = AssignedMacroPosition(button, library);
        if (position < 0 || position >= static_cast<int>(library.size())) {
            // The macro is gone: the button falls back to its default function.
            button.FunctionCode = DefaultFunctionCode(i);
            button.FunctionClass = kClassDefault;
            continue;
        }
        const MacroRecord* found = library[static_cast<size_t>(position)].get();
        button.macroIndex = position;
        button.eventCount = static_cast<uint16_t>(std::clamp<int32_t>(found->eventCount, 0, kMaxMacroEvents));
        std::memset(button.macroName, 0, sizeof button.macroName + sizeof button.reserved2);
        CopyToField(button.macroName, FieldText(found->name));
        std::memcpy(button.events, found->events, sizeof button.events);
    }
}

int RenameMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, int position,
                           std::u16string_view newName) {
    if (!FindMacroAt(const_cast<MacroLibrary&>(library), position)) return 0;
    int changed = 0;
    for (ButtonAssignment& button : profile.MacroKeyInfo) {
        if (button.FunctionCode != kCodeMacro || AssignedMacroPosition(button, library) != position) continue;
        std::memset(button.macroName, 0, sizeof button.macroName + sizeof button.reserved2);
        CopyToField(button.macroName, newName);
        button.macroIndex = position;
        ++changed;
    }
    return changed;
}

int ForgetMacroAssignments(ProfileRecord& profile, const MacroLibrary& library, int position) {
    if (!FindMacroAt(const_cast<MacroLibrary&>(library), position)) return 0;
    int changed = 0;
    for (int i = 0; i < kButtonCount; ++i) {
        ButtonAssignment& button = profile.MacroKeyInfo[i];
        if (button.FunctionCode != kCodeMacro) continue;
        const int at = AssignedMacroPosition(button, library);
        if (at == position) {
            // As the sync resets a button whose macro is gone: only the function changes.
            button.FunctionCode = DefaultFunctionCode(i);
            button.FunctionClass = kClassDefault;
            ++changed;
        } else if (at >= 0) {
            const int moved = at > position ? at - 1 : at;
            if (button.macroIndex != moved) {
                button.macroIndex = moved;
                ++changed;
            }
        }
    }
    return changed;
}

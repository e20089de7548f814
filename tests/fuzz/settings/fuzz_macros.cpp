// Arbitrary bytes as the macro library: every macro that loads is safe to use
// and to copy into buttons, and survives a save.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ini_file.h"
#include "macro_library.h"
#include "profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CIniFile file("sequence.dat");
    file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    MacroLibrary library;
    LoadMacroLibrary(file, library);
    ProfileRecord profile;
    InitNewProfile(profile, u"P");
    for (size_t i = 0; i < library.size() && i < kButtonCount; ++i) {
        const MacroRecord& m = *library[i];
        if (m.eventCount < 0 || m.eventCount > kMaxMacroEvents || m.name[kMacroNameUnits - 1] != 0) std::abort();
        ButtonAssignment& b = profile.MacroKeyInfo[i];
        b.FunctionClass = kClassMacro;
        b.FunctionCode = kCodeMacro;
        CopyToField(b.macroName, FieldText(m.name).empty() ? u"x" : FieldText(m.name));
    }
    SyncMacroAssignments(profile, library);
    (void)MakeUniqueMacroName(library, library.empty() ? u"m" : FieldText(library[0]->name));

    CIniFile saved("sequence.dat");
    WriteMacroLibrary(saved, library);
    CIniFile reread("sequence.dat");
    reread.Parse(saved.Serialize());
    MacroLibrary again;
    LoadMacroLibrary(reread, again);
    if (again.size() != library.size()) std::abort();
    for (size_t i = 0; i < library.size(); ++i)
        if (std::memcmp(again[i].get(), library[i].get(), sizeof(MacroRecord)) != 0) std::abort();
    MacroRecord imported;
    ImportMacro(file, imported);
    if (imported.eventCount < 0 || imported.eventCount > kMaxMacroEvents) std::abort();
    return 0;
}

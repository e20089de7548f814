#include "gmconfig.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <ostream>

#include "download_report.h"
#include "exchange_file.h"
#include "file_io.h"
#include "function_names.h"
#include "ini_file.h"
#include "key_codes.h"
#include "macro_library.h"
#include "profile_section.h"
#include "profile_store.h"
#include "shared_lock.h"
#include "sim_state_file.h"
#include "slot_check.h"
#include "text_codec.h"
#include "text_util.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kRenameLimit = 20;  // what the rename box lets a user type

const char kUsage[] =
    "usage: gmconfig [--folder DIR] COMMAND [ARGS]\n"
    "\n"
    "Works on the profile store DIR\\config\\Config.data and the macro library\n"
    "DIR\\config\\sequence.dat (DIR defaults to the folder of gmconfig itself).\n"
    "Changes are saved the way the configuration program saves them and a running\n"
    "Monitor is asked to apply them to the mouse at once.\n"
    "\n"
    "Profiles:\n"
    "  list                     index and name of every profile; * marks the current one;\n"
    "                           a profile linked to a game gets a tab and \"game: PATH\"\n"
    "  show [N] [--raw]         every field of profile N (default: the current one);\n"
    "                           --raw prints the profile's section as stored\n"
    "  select N                 make profile N current\n"
    "  new [NAME]               add a profile with the default settings and make it current;\n"
    "                           the name defaults to ProfileK, and gets _1, _2... when taken\n"
    "  delete N                 delete profile N (the last profile cannot be deleted)\n"
    "  rename N NAME            rename profile N (1-20 characters, not another profile's name)\n"
    "  set KEY=VALUE...         change fields of the current profile:\n"
    "                             PollingRate      1, 2, 4 or 8 (ms between reports)\n"
    "                             MaxDPI           1-5 (DPI levels in use)\n"
    "                             CpiLevel_X0..4   2-100 (units of 100 DPI)\n"
    "                             CpiLevel_Y0..4   2-100\n"
    "                             CpiStep          0 .. MaxDPI-1 (the active level)\n"
    "                             MouseSpeed       1-20 (Windows pointer speed)\n"
    "                             AccelerationFlag 0 (acceleration off) or 1 (keep Windows')\n"
    "                             LightSwitch      0-3\n"
    "                             LightIntensity   0-2\n"
    "                             LightSpeed       0-2\n"
    "                             LightDir         0-3\n"
    "                             DPIColor0..6     0x000000-0xFFFFFF (0xBBGGRR)\n"
    "                             GameFile         a program path (up to 499 characters)\n"
    "  button B FUNCTION        assign a function to button index B (0-15) of the current profile:\n"
    "                             default | disable | mouse C (1-11) | dpi C (13-15) |\n"
    "                             media C (26-32) | shortcut C (112-120) | key CODE [MODBYTE] |\n"
    "                             launch PATH | command TEXT | macro M [MODE [COUNT]]\n"
    "                           (CODE is a device key code; M a macro index; MODE 0-3; COUNT 2-255)\n"
    "  export N FILE            write profile N to an exchange file (.gmp)\n"
    "  import FILE              add the profile of an exchange file and make it current\n"
    "\n"
    "Macros:\n"
    "  macros                   index, name and step count of every macro\n"
    "  macro-export N FILE      write macro N to a .macro file\n"
    "  macro-import FILE        add the macro of a .macro file to the library\n"
    "\n"
    "Device:\n"
    "  reports [--full]         the reports the Monitor would send to the mouse for the current\n"
    "                           profile, one per line: the apply download with the store's part\n"
    "                           flags, or with --full the whole profile\n"
    "  slot-check [FILE]        whether the virtual mouse (its state file FILE, by default\n"
    "                           DIR\\devio-state.ini) holds what a full download of the current\n"
    "                           profile puts into it; prints one line per difference\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be written, 2 bad input (nothing changed),\n"
    "3 the mouse's slot differs from the profile (slot-check).\n";

enum class ApplyMode {
    None,     // saved without asking the Monitor (rename)
    Changed,  // part flags from the comparison with the store as it was
    Full,     // every part
};

class Session {
public:
    Session(IGmconfigPlatform& platform, std::ostream& out, std::ostream& err)
        : platform_(platform), out_(out), err_(err) {}

    IGmconfigPlatform& platform_;
    std::ostream& out_;
    std::ostream& err_;
    fs::path folder_;
    fs::path storePath_;
    fs::path libraryPath_;
    std::unique_ptr<ISharedLock> lock_;
    ProfileStore store_;

    int Bad(const std::string& message) {
        err_ << "gmconfig: " << message << "\n";
        return kExitBadInput;
    }
    int Failed(const std::string& message) {
        err_ << "gmconfig: " << message << "\n";
        return kExitFailed;
    }

    // Loads the store under the lock when there is one. False (with the error
    // printed) when the file is there but is not a profile store.
    bool LoadStore(int& exitCode) {
        lock_ = platform_.OpenStoreLock();
        if (!LoadProfileStoreLocked(lock_.get(), storePath_, store_)) {
            FreeProfiles(store_);
            LoadProfileStore(storePath_, store_);
        }
        std::string bytes;
        if (store_.values.number == -1 && ReadWholeFile(storePath_, bytes) && !bytes.empty()) {
            exitCode = Bad(storePath_.string() + " is damaged: it has no readable [Config] number");
            return false;
        }
        return true;
    }

    int Save(ApplyMode mode, const ProfileRecord* before) {
        ProfileRecord* current = CurrentProfile(store_);
        if (mode == ApplyMode::Changed && before && current) ComputePartFlags(*before, *current, store_.values);
        if (mode == ApplyMode::Full) MarkAllParts(store_.values);
        std::string error;
        bool saved = false;
        {
            SharedLockScope scope(lock_.get());
            saved = SaveProfileStore(storePath_, store_, &error);
        }
        if (!saved) return Failed("cannot save " + storePath_.string() + ": " + error);
        if (mode != ApplyMode::None) platform_.NotifyMonitor();
        return kExitOk;
    }
};

std::u16string Arg(const std::string& s) { return Utf8ToU16(s); }
std::string Out(std::u16string_view s) { return U16ToUtf8(s); }

// A whole decimal number (or 0x hex), nothing else.
std::optional<int64_t> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 20) return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-' || text[0] == '+') {
        negative = text[0] == '-';
        i = 1;
    }
    int base = 10;
    if (text.size() > i + 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const int digit = HexDigitValue(c);
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL) return std::nullopt;
    }
    return negative ? -value : value;
}

bool HasControlCharacters(std::u16string_view s) {
    return std::any_of(s.begin(), s.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

int ParseIndex(Session& s, const std::string& text, size_t count, const char* what, int& index) {
    const auto n = ParseNumber(text);
    if (!n || *n < 0 || static_cast<size_t>(*n) >= count)
        return s.Bad(std::string("no ") + what + " \"" + text + "\" (there are " + std::to_string(count) + ")");
    index = static_cast<int>(*n);
    return kExitOk;
}

ProfileRecord* RequireCurrent(Session& s, int& exitCode) {
    ProfileRecord* current = CurrentProfile(s.store_);
    if (!current)
        exitCode = s.store_.profiles.empty()
                       ? s.Bad("the store has no profile yet (use: gmconfig new)")
                       : s.Bad("the store's current profile " + std::to_string(s.store_.values.ProfileID) +
                               " does not exist (use: gmconfig select N)");
    return current;
}

// ---- Profiles ----------------------------------------------------------------

int CmdList(Session& s) {
    for (size_t i = 0; i < s.store_.profiles.size(); ++i) {
        const bool current = static_cast<int32_t>(i) == s.store_.values.ProfileID;
        const ProfileRecord& record = *s.store_.profiles[i];
        s.out_ << (current ? "* " : "  ") << i << " " << Out(FieldText(record.ProFileName));
        // After a tab: a name may hold blanks, never a tab (none can be typed into it).
        if (record.GameFile[0] != u'\0') s.out_ << "\tgame: " << Out(FieldText(record.GameFile));
        s.out_ << "\n";
    }
    return kExitOk;
}

void ShowFields(Session& s, const ProfileRecord& r) {
    auto line = [&](const std::string& key, long long value) { s.out_ << key << "=" << value << "\n"; };
    s.out_ << "ProFileName=" << Out(FieldText(r.ProFileName)) << "\n";
    s.out_ << "GameFile=" << Out(FieldText(r.GameFile)) << "\n";
    line("DbleClickSpeed", r.DbleClickSpeed);
    line("ScrollWheelSpeed", r.ScrollWheelSpeed);
    line("ScrollWheelFlag", r.ScrollWheelFlag);
    line("MouseSpeed", r.MouseSpeed);
    line("Acceleration", r.Acceleration);
    line("AccelerationFlag", r.AccelerationFlag);
    line("XYCpiFlag", r.XYCpiFlag);
    line("MaxDPI", r.MaxDPI);
    for (int i = 0; i < kDpiLevels; ++i) line("CpiLevel_X" + std::to_string(i), r.CpiLevel_X[i]);
    for (int i = 0; i < kDpiLevels; ++i) line("CpiLevel_Y" + std::to_string(i), r.CpiLevel_Y[i]);
    line("CpiStep", r.CpiStep);
    line("PollingRate", r.PollingRate);
    line("LightSwitch", r.LightSwitch);
    line("LightType", r.LightType);
    line("LightIntensity", r.LightIntensity);
    line("LightDir", r.LightDir);
    line("LightSpeed", r.LightSpeed);
    for (int i = 0; i < kDpiColors; ++i) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%06X", static_cast<unsigned>(r.DPIColor[i]));
        s.out_ << "DPIColor" << i << "=" << (r.DPIColor[i] >= 0 ? std::string(hex) : std::to_string(r.DPIColor[i]))
               << "\n";
    }
    for (int i = 0; i < kDpiLevels; ++i) line("dpiStepFlag" + std::to_string(i), r.dpiStepFlag[i]);
    for (int i = 0; i < kDpiLevels; ++i) line("dpiIndicator" + std::to_string(i), r.dpiIndicator[i]);
    for (int i = 0; i < kButtonCount; ++i) {
        const int number = ButtonNumber(i);
        s.out_ << "MacroKeyInfo" << i << "=" << (number ? "G" + std::to_string(number) : std::string("(no button)"))
               << " " << DescribeAssignment(r.MacroKeyInfo[i], SystemKeyboardLayout()) << "\n";
    }
}

int CmdShow(Session& s, const std::vector<std::string>& args) {
    bool raw = false;
    std::optional<std::string> which;
    for (const auto& a : args) {
        if (a == "--raw") raw = true;
        else if (!which) which = a;
        else return s.Bad("show takes one profile index");
    }
    int index = s.store_.values.ProfileID;
    if (which) {
        if (int rc = ParseIndex(s, *which, s.store_.profiles.size(), "profile", index)) return rc;
    } else {
        int rc = kExitOk;
        if (!RequireCurrent(s, rc)) return rc;
    }
    const ProfileRecord& record = *s.store_.profiles[static_cast<size_t>(index)];
    if (raw) {
        CIniFile text("");
        text.Clear();
        WriteProfileFields(text, u"Profile" + IntToText(index), ProfileKeySet::Store, record);
        s.out_ << Out(text.SerializeText());
        return kExitOk;
    }
    s.out_ << "Profile " << index << (index == s.store_.values.ProfileID ? " (current)" : "") << "\n";
    ShowFields(s, record);
    return kExitOk;
}

int CmdSelect(Session& s, const std::vector<std::string>& args) {
    if (args.size() != 1) return s.Bad("usage: select N");
    int index = 0;
    if (int rc = ParseIndex(s, args[0], s.store_.profiles.size(), "profile", index)) return rc;
    s.store_.values.ProfileID = index;
    return s.Save(ApplyMode::Full, nullptr);
}

int CmdNew(Session& s, const std::vector<std::string>& args) {
    if (args.size() > 1) return s.Bad("usage: new [NAME]");
    std::u16string base;
    if (args.empty()) {
        base = u"Profile" + IntToText(static_cast<int32_t>(s.store_.profiles.size() + 1));
    } else {
        base = TrimText(Arg(args[0]));
        if (base.empty()) return s.Bad("a profile name cannot be empty");
        if (HasControlCharacters(base)) return s.Bad("a profile name cannot hold control characters");
        if (base.size() > kProfileNameUnits - 1)
            return s.Bad("a profile name has at most " + std::to_string(kProfileNameUnits - 1) + " characters");
    }
    auto record = std::make_unique<ProfileRecord>();
    InitNewProfile(*record, MakeUniqueName(s.store_.profiles, base));
    const std::string name = Out(FieldText(record->ProFileName));
    s.store_.profiles.push_back(std::move(record));
    s.store_.values.number = static_cast<int32_t>(s.store_.profiles.size());
    s.store_.values.ProfileID = s.store_.values.number - 1;
    if (int rc = s.Save(ApplyMode::Full, nullptr)) return rc;
    s.out_ << s.store_.values.ProfileID << " " << name << "\n";
    return kExitOk;
}

int CmdDelete(Session& s, const std::vector<std::string>& args) {
    if (args.size() != 1) return s.Bad("usage: delete N");
    int index = 0;
    if (int rc = ParseIndex(s, args[0], s.store_.profiles.size(), "profile", index)) return rc;
    if (s.store_.profiles.size() <= 1) return s.Bad("the last profile cannot be deleted");
    s.store_.profiles.erase(s.store_.profiles.begin() + index);
    const int32_t count = static_cast<int32_t>(s.store_.profiles.size());
    int32_t& current = s.store_.values.ProfileID;
    // The current profile stays current; when it is the one deleted, the one
    // after it (or the new last one) takes its place.
    if (current > index) --current;
    if (current >= count || current < 0) current = count - 1;
    s.store_.values.number = count;
    return s.Save(ApplyMode::Full, nullptr);
}

int CmdRename(Session& s, const std::vector<std::string>& args) {
    if (args.size() != 2) return s.Bad("usage: rename N NAME");
    int index = 0;
    if (int rc = ParseIndex(s, args[0], s.store_.profiles.size(), "profile", index)) return rc;
    const std::u16string name = TrimText(Arg(args[1]));
    ProfileRecord& record = *s.store_.profiles[static_cast<size_t>(index)];
    if (name.empty()) return s.Bad("a profile name cannot be empty");
    if (HasControlCharacters(name)) return s.Bad("a profile name cannot hold control characters");
    if (name.size() > kRenameLimit)
        return s.Bad("a profile name has at most " + std::to_string(kRenameLimit) + " characters");
    if (NamesEqualIgnoringCase(name, TrimText(FieldText(record.ProFileName))))
        return s.Bad("profile " + std::to_string(index) + " already has that name");
    for (size_t i = 0; i < s.store_.profiles.size(); ++i)
        if (static_cast<int>(i) != index && NamesEqualIgnoringCase(FieldText(s.store_.profiles[i]->ProFileName), name))
            return s.Bad("profile " + std::to_string(i) + " is already named \"" + args[1] + "\"");
    CopyToField(record.ProFileName, name);
    return s.Save(ApplyMode::None, nullptr);
}

// One settable field: its range and where it lives.
struct Field {
    int64_t min;
    int64_t max;
    int32_t ProfileRecord::*scalar = nullptr;
    int32_t (ProfileRecord::*array)[kDpiLevels] = nullptr;
    int32_t (ProfileRecord::*colors)[kDpiColors] = nullptr;
    int element = 0;
    bool pollingRate = false;
};

std::map<std::string, Field> SettableFields() {
    std::map<std::string, Field> fields;
    auto fold = [](std::string_view key) { return ToAsciiLower(key); };
    Field f{};
    f = Field{1, 8};
    f.scalar = &ProfileRecord::PollingRate;
    f.pollingRate = true;
    fields[fold("PollingRate")] = f;
    auto scalar = [&](const char* key, int64_t lo, int64_t hi, int32_t ProfileRecord::*member) {
        Field g{lo, hi};
        g.scalar = member;
        fields[fold(key)] = g;
    };
    scalar("MaxDPI", 1, 5, &ProfileRecord::MaxDPI);
    scalar("CpiStep", 0, 4, &ProfileRecord::CpiStep);
    scalar("MouseSpeed", 1, 20, &ProfileRecord::MouseSpeed);
    scalar("AccelerationFlag", 0, 1, &ProfileRecord::AccelerationFlag);
    scalar("LightSwitch", 0, 3, &ProfileRecord::LightSwitch);
    scalar("LightIntensity", 0, 2, &ProfileRecord::LightIntensity);
    scalar("LightSpeed", 0, 2, &ProfileRecord::LightSpeed);
    scalar("LightDir", 0, 3, &ProfileRecord::LightDir);
    for (int i = 0; i < kDpiLevels; ++i) {
        Field x{2, 100};
        x.array = &ProfileRecord::CpiLevel_X;
        x.element = i;
        fields[fold("CpiLevel_X" + std::to_string(i))] = x;
        Field y{2, 100};
        y.array = &ProfileRecord::CpiLevel_Y;
        y.element = i;
        fields[fold("CpiLevel_Y" + std::to_string(i))] = y;
    }
    for (int i = 0; i < kDpiColors; ++i) {
        Field c{0, 0xFFFFFF};
        c.colors = &ProfileRecord::DPIColor;
        c.element = i;
        fields[fold("DPIColor" + std::to_string(i))] = c;
    }
    return fields;
}

int CmdSet(Session& s, const std::vector<std::string>& args) {
    if (args.empty()) return s.Bad("usage: set KEY=VALUE...");
    int rc = kExitOk;
    ProfileRecord* current = RequireCurrent(s, rc);
    if (!current) return rc;
    const ProfileRecord before = *current;
    ProfileRecord edited = *current;
    const auto fields = SettableFields();
    bool dpiTouched = false;
    for (const auto& assignment : args) {
        const size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0) return s.Bad("expected KEY=VALUE, got \"" + assignment + "\"");
        std::string key = assignment.substr(0, eq);
        const std::string value = assignment.substr(eq + 1);
        const std::string folded = ToAsciiLower(std::string_view(key));
        if (folded == "gamefile") {
            const std::u16string path = Arg(value);
            if (path.size() > kGameFileUnits - 1 || HasControlCharacters(path))
                return s.Bad("GameFile must be a path of at most 499 characters");
            CopyToField(edited.GameFile, path);
            continue;
        }
        const auto it = fields.find(folded);
        if (it == fields.end()) return s.Bad("unknown or read-only key \"" + key + "\" (see gmconfig --help)");
        const Field& f = it->second;
        const auto number = ParseNumber(value);
        if (!number) return s.Bad("\"" + value + "\" is not a number (" + key + ")");
        const bool validRate = !f.pollingRate || *number == 1 || *number == 2 || *number == 4 || *number == 8;
        if (*number < f.min || *number > f.max || !validRate) {
            std::string range = f.pollingRate ? "1, 2, 4 or 8"
                                              : std::to_string(f.min) + "-" + std::to_string(f.max);
            return s.Bad(key + "=" + value + " is out of range (" + range + ")");
        }
        const auto v = static_cast<int32_t>(*number);
        if (f.scalar) edited.*(f.scalar) = v;
        if (f.array) (edited.*(f.array))[f.element] = v;
        if (f.colors) (edited.*(f.colors))[f.element] = v;
        if (folded == "maxdpi" || folded == "cpistep") dpiTouched = true;
    }
    if (dpiTouched && (edited.CpiStep < 0 || edited.CpiStep >= edited.MaxDPI))
        return s.Bad("CpiStep must be below MaxDPI (CpiStep " + std::to_string(edited.CpiStep) + ", MaxDPI " +
                     std::to_string(edited.MaxDPI) + ")");
    *current = edited;
    return s.Save(ApplyMode::Changed, &before);
}

int CmdButton(Session& s, const std::vector<std::string>& args) {
    if (args.size() < 2) return s.Bad("usage: button B FUNCTION (see gmconfig --help)");
    int rc = kExitOk;
    ProfileRecord* current = RequireCurrent(s, rc);
    if (!current) return rc;
    int index = 0;
    if ((rc = ParseIndex(s, args[0], kButtonCount, "button index", index))) return rc;
    const std::string& kind = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    ButtonAssignment record;
    ResetAssignmentState(record, index);

    auto numberArg = [&](size_t i, int64_t lo, int64_t hi, const char* what, int64_t& value) {
        if (i >= rest.size()) return s.Bad(std::string("button ") + kind + " needs " + what);
        const auto n = ParseNumber(rest[i]);
        if (!n || *n < lo || *n > hi)
            return s.Bad(std::string(what) + " \"" + rest[i] + "\" is out of range (" + std::to_string(lo) + "-" +
                         std::to_string(hi) + ")");
        value = *n;
        return kExitOk;
    };
    auto classCode = [&](uint8_t cls, int64_t lo, int64_t hi) {
        int64_t code = 0;
        if (int r = numberArg(0, lo, hi, "a function code", code)) return r;
        if (!FindFunctionCode(static_cast<uint8_t>(code)))
            return s.Bad("function code " + std::to_string(code) + " does not exist");
        record.FunctionClass = cls;
        record.FunctionCode = static_cast<uint8_t>(code);
        return kExitOk;
    };

    if (kind == "default") {
        ResetToDefault(record, index);
    } else if (kind == "disable") {
        record.FunctionClass = kClassDisabled;
        record.FunctionCode = kCodeNothing;
    } else if (kind == "mouse") {
        if ((rc = classCode(kClassMouseFunction, 1, 11))) return rc;
    } else if (kind == "dpi") {
        if ((rc = classCode(kClassDpiFunction, 13, 15))) return rc;
    } else if (kind == "media") {
        if ((rc = classCode(kClassMedia, 26, 32))) return rc;
    } else if (kind == "shortcut") {
        if ((rc = classCode(kClassShortcut, 112, 120))) return rc;
    } else if (kind == "key") {
        int64_t code = 0, modifiers = 0;
        if ((rc = numberArg(0, 1, 255, "a device key code", code))) return rc;
        uint32_t vk = 0;
        if (!DeviceCodeToVirtualKey(SystemKeyboardLayout(), static_cast<uint32_t>(code), vk) || code >= 240)
            return s.Bad("device key code " + std::to_string(code) + " is not a keyboard key");
        if (rest.size() > 1 && (rc = numberArg(1, 0, 255, "a modifier byte", modifiers))) return rc;
        record.FunctionClass = kClassKeyboardKey;
        record.FunctionCode = kCodeKeyboardKey;
        record.setKey(static_cast<uint8_t>(code), static_cast<uint8_t>(modifiers));
    } else if (kind == "launch" || kind == "command") {
        if (rest.size() != 1) return s.Bad("button " + kind + " needs one text");
        const std::u16string text = Arg(rest[0]);
        if (text.empty() || text.size() > kProgramFieldUnits - 1 || HasControlCharacters(text))
            return s.Bad("a program must be 1-260 characters");
        record.FunctionClass = kClassLaunch;
        record.FunctionCode = kind == "launch" ? kCodeLaunchProgram : kCodeLaunchCommand;
        CopyToField(record.program, text);
    } else if (kind == "macro") {
        MacroLibrary library;
        LoadMacroLibrary(s.libraryPath_, library);
        int64_t m = 0, mode = 0, count = 2;
        if ((rc = numberArg(0, 0, static_cast<int64_t>(library.size()) - 1, "a macro index", m))) return rc;
        if (rest.size() > 1 && (rc = numberArg(1, 0, 3, "a repeat mode", mode))) return rc;
        if (rest.size() > 2 && (rc = numberArg(2, 2, 255, "a repeat count", count))) return rc;
        const MacroRecord& macro = *library[static_cast<size_t>(m)];
        record.FunctionClass = kClassMacro;
        record.FunctionCode = kCodeMacro;
        record.macroIndex = static_cast<int32_t>(m);
        record.repeatMode = static_cast<int32_t>(mode);
        record.repeatCount = static_cast<int32_t>(count);
        CopyToField(record.macroName, FieldText(macro.name));
        record.eventCount = static_cast<uint16_t>(macro.eventCount);
        std::memcpy(record.events, macro.events, sizeof record.events);
    } else {
        return s.Bad("unknown button function \"" + kind + "\" (see gmconfig --help)");
    }
    ApplyAcceptanceRules(record, index);

    // Keep a left click on at least one button, as the button page does.
    const auto changeable = PrimaryClickGuard(current->MacroKeyInfo);
    if (!changeable[index] && record.FunctionCode != kCodePrimaryClick)
        return s.Bad("button " + std::to_string(index) +
                     " holds the only left click; give another button the left click first");
    const ProfileRecord before = *current;
    current->MacroKeyInfo[index] = record;
    return s.Save(ApplyMode::Changed, &before);
}

int CmdExport(Session& s, const std::vector<std::string>& args) {
    if (args.size() != 2) return s.Bad("usage: export N FILE");
    int index = 0;
    if (int rc = ParseIndex(s, args[0], s.store_.profiles.size(), "profile", index)) return rc;
    std::string error;
    if (!WriteExchangeSection(*s.store_.profiles[static_cast<size_t>(index)], fs::u8path(args[1]), &error))
        return s.Failed("cannot write " + args[1] + ": " + error);
    return kExitOk;
}

int CmdImport(Session& s, const std::vector<std::string>& args) {
    if (args.size() != 1) return s.Bad("usage: import FILE");
    const fs::path path = fs::u8path(args[0]);
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return s.Bad("cannot read " + args[0]);
    CIniFile probe(path);  // the file is read once and parsed once
    probe.Parse(bytes);
    if (!probe.HasSection(u"Setting")) return s.Bad(args[0] + " is not a profile exchange file (no [Setting])");
    auto record = std::make_unique<ProfileRecord>();
    ReadExchangeSection(*record, probe);
    // A shared profile can start programs: say which before it is used.
    for (const LaunchAction& action : LaunchActionsOf(*record))
        s.err_ << "button " << action.buttonIndex
               << (action.code == kCodeLaunchProgram ? " starts program: " : " runs command: ") << Out(action.target)
               << "\n";
    const std::u16string name = MakeUniqueName(s.store_.profiles, FieldText(record->ProFileName));
    CopyToField(record->ProFileName, name);
    s.store_.profiles.push_back(std::move(record));
    s.store_.values.number = static_cast<int32_t>(s.store_.profiles.size());
    s.store_.values.ProfileID = s.store_.values.number - 1;
    if (int rc = s.Save(ApplyMode::Full, nullptr)) return rc;
    s.out_ << s.store_.values.ProfileID << " " << Out(name) << "\n";
    return kExitOk;
}

// ---- Macros ------------------------------------------------------------------

int CmdMacros(Session& s, const MacroLibrary& library) {
    for (size_t i = 0; i < library.size(); ++i)
        s.out_ << i << " " << Out(FieldText(library[i]->name)) << " (" << library[i]->eventCount << " steps)\n";
    return kExitOk;
}

int CmdMacroExport(Session& s, const MacroLibrary& library, const std::vector<std::string>& args) {
    if (args.size() != 2) return s.Bad("usage: macro-export N FILE");
    int index = 0;
    if (int rc = ParseIndex(s, args[0], library.size(), "macro", index)) return rc;
    std::string error;
    if (!ExportMacro(*library[static_cast<size_t>(index)], fs::u8path(args[1]), &error))
        return s.Failed("cannot write " + args[1] + ": " + error);
    return kExitOk;
}

int CmdMacroImport(Session& s, MacroLibrary& library, const std::vector<std::string>& args) {
    if (args.size() != 1) return s.Bad("usage: macro-import FILE");
    const fs::path path = fs::u8path(args[0]);
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return s.Bad("cannot read " + args[0]);
    CIniFile probe(path);
    probe.Parse(bytes);
    MacroRecord check;
    if (!probe.ReadStruct(u"Macros", u"0", &check, sizeof check))
        return s.Bad(args[0] + " is not a macro file (no readable [Macros] 0)");
    auto macro = std::make_unique<MacroRecord>();
    ImportMacro(probe, *macro);
    CopyToField(macro->name, MakeUniqueMacroName(library, FieldText(macro->name)));
    const std::string name = Out(FieldText(macro->name));
    library.push_back(std::move(macro));
    std::string error;
    if (!SaveMacroLibrary(s.libraryPath_, library, &error))
        return s.Failed("cannot save " + s.libraryPath_.string() + ": " + error);
    s.out_ << library.size() - 1 << " " << name << "\n";
    return kExitOk;
}

// ---- Device ------------------------------------------------------------------

// What the Monitor would send: without a current profile an apply sends nothing
// and a full download the Monitor's own reset values.
int CmdReports(Session& s, const std::vector<std::string>& args) {
    const bool full = args.size() == 1 && args[0] == "--full";
    if (!args.empty() && !full) return s.Bad("usage: reports [--full]");
    s.out_ << FormatDownloadReport(s.store_, full);
    return kExitOk;
}

int CmdSlotCheck(Session& s, const std::vector<std::string>& args) {
    if (args.size() > 1) return s.Bad("usage: slot-check [FILE]");
    const fs::path path = args.empty() ? s.folder_ / "devio-state.ini" : fs::u8path(args[0]);
    MouseSlot held;
    SimStatus status;
    if (!ReadSimStateFile(path, held, status))
        return s.Bad("cannot read the virtual mouse's slot from " + path.string());
    const auto differences = SlotDifferences(held, s.store_);
    for (const std::string& line : differences) s.out_ << line << "\n";
    return differences.empty() ? kExitOk : kExitSlotDiffers;
}

}  // namespace

int RunGmconfig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                IGmconfigPlatform& platform) {
    Session s(platform, out, err);
    std::optional<fs::path> folder;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage;
            return kExitOk;
        }
        if (args[i] == "--folder") {
            if (i + 1 >= args.size()) return s.Bad("--folder needs a folder");
            folder = fs::u8path(args[++i]);
            continue;
        }
        break;
    }
    if (i >= args.size()) {
        err << kUsage;
        return kExitBadInput;
    }
    const std::string command = args[i];
    const std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        out << kUsage;
        return kExitOk;
    }
    s.folder_ = folder ? *folder : platform.ProgramFolder();
    s.storePath_ = ProfileStorePath(s.folder_);
    s.libraryPath_ = MacroLibraryPath(s.folder_);

    if (command == "macros" || command == "macro-export" || command == "macro-import") {
        MacroLibrary library;
        LoadMacroLibrary(s.libraryPath_, library);
        if (command == "macros") return rest.empty() ? CmdMacros(s, library) : s.Bad("usage: macros");
        if (command == "macro-export") return CmdMacroExport(s, library, rest);
        return CmdMacroImport(s, library, rest);
    }

    using Handler = int (*)(Session&, const std::vector<std::string>&);
    static const std::map<std::string, Handler> kCommands = {
        {"show", CmdShow},     {"select", CmdSelect}, {"new", CmdNew},
        {"delete", CmdDelete}, {"rename", CmdRename}, {"set", CmdSet},
        {"button", CmdButton}, {"export", CmdExport}, {"import", CmdImport},
        {"reports", CmdReports}, {"slot-check", CmdSlotCheck},
    };
    const bool isList = command == "list";
    const auto handler = kCommands.find(command);
    if (!isList && handler == kCommands.end()) return s.Bad("unknown command \"" + command + "\" (see gmconfig --help)");
    int rc = kExitOk;
    if (!s.LoadStore(rc)) return rc;
    if (isList) return rest.empty() ? CmdList(s) : s.Bad("usage: list");
    return handler->second(s, rest);
}

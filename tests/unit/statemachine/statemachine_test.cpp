// Option and the Monitor on one store, and a virtual mouse, driven by long
// seeded random sequences of what the pages and the mouse can do. After every
// step a reference model, kept with its own plain rules, must agree with
// Option's memory, the files on disk and the mouse.
//
// GM_STATEMACHINE_SEEDS (e.g. "1,2,3" or "100-199") and GM_STATEMACHINE_STEPS
// choose other runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../../support/monitor_port_doubles.h"
#include "../../support/temp_folder.h"
#include "../../support/option_port_doubles.h"
#include "app_messages.h"
#include "assign_model.h"
#include "button_table.h"
#include "download_job.h"
#include "exchange_file.h"
#include "feature_command.h"
#include "ini_file.h"
#include "macro_edit_model.h"
#include "macro_library.h"
#include "monitor_logic.h"
#include "mouse_emulator.h"
#include "option_session.h"
#include "performance_model.h"
#include "profile_actions.h"
#include "slot_decoder.h"

namespace fs = std::filesystem;

namespace {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// ---- the reference model: its own rules, nothing of the code under test -----------

struct RefButton {
    enum class Kind { kDefault, kMacro, kUnknown } kind = Kind::kDefault;
    int macro = -1;  // the macro's id for kMacro, whose steps it plays
};

struct RefProfile {
    std::u16string name;
    std::u16string game;
    int maxDpi = 5, cpiStep = 2, rate = 2, speed = 10;
    std::array<RefButton, kButtonCount> buttons{};
};

struct RefMacro {
    int id = 0;
    std::u16string name;
    int keySteps = 0;
};

struct Reference {
    std::vector<RefProfile> profiles;
    int current = 0;
    std::vector<RefMacro> macros;
    int selectedMacro = -1;
    int nextMacroId = 0;
    // Automatic game profiles.
    std::u16string home;
    std::wstring foreground, lastOutside, declined;

    RefProfile& Current() { return profiles[static_cast<size_t>(current)]; }

    static char16_t Fold(char16_t c) {
        if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
        if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);  // Latin-1
        if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);             // Cyrillic
        if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);  // Greek
        return c;
    }
    static bool Same(std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (Fold(a[i]) != Fold(b[i])) return false;
        return true;
    }
    static std::u16string Trim(std::u16string_view s) {
        size_t b = 0, e = s.size();
        while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
        while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
        return std::u16string(s.substr(b, e - b));
    }
    static std::u16string Number(int n) {
        std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    }
    static std::u16string Cut(std::u16string_view s, size_t n) { return std::u16string(s.substr(0, std::min(s.size(), n))); }
    static std::u16string FirstFree(std::u16string_view base, size_t max, const std::function<bool(std::u16string_view)>& taken) {
        std::u16string name = Cut(base, max);
        for (int n = 1; taken(name); ++n) name = Cut(base, max - 1 - Number(n).size()) + u"_" + Number(n);
        return name;
    }
    bool ProfileTaken(std::u16string_view name) const {
        for (const auto& p : profiles)
            if (Same(Trim(p.name), name)) return true;
        return false;
    }
    bool MacroTaken(std::u16string_view name) const {
        for (const auto& m : macros)
            if (Same(Trim(m.name), name)) return true;
        return false;
    }
    std::u16string UniqueProfileName(std::u16string_view base) const {
        return FirstFree(base, 49, [&](std::u16string_view n) { return ProfileTaken(n); });
    }
    std::u16string UniqueMacroName(std::u16string_view base) const {
        return FirstFree(base, 49, [&](std::u16string_view n) { return MacroTaken(n); });
    }
    std::u16string CopyName(std::u16string_view source, bool macro) const {
        for (int n = 0;; ++n) {
            const std::u16string tail = n == 0 ? std::u16string(u"_Copy") : u"_Copy_" + Number(n);
            const std::u16string name = Cut(source, 49 - tail.size()) + tail;
            if (!(macro ? MacroTaken(name) : ProfileTaken(name))) return name;
        }
    }
    // The rename rule of profiles: trimmed, 1-49 characters, not the old name
    // in other case, no other profile's name.
    std::optional<std::u16string> AcceptedRename(int position, std::u16string_view typed) const {
        const std::u16string name = Trim(typed);
        if (name.empty() || name.size() > 49) return std::nullopt;
        if (Same(name, profiles[static_cast<size_t>(position)].name) || ProfileTaken(name)) return std::nullopt;
        return name;
    }
    int MacroPosition(int id) const {
        for (size_t i = 0; i < macros.size(); ++i)
            if (macros[i].id == id) return static_cast<int>(i);
        return -1;
    }
    int Append(RefProfile profile) {
        profiles.push_back(std::move(profile));
        current = static_cast<int>(profiles.size()) - 1;
        return current;
    }
};

// ---- the mouse: the emulator, fed by the jobs the Monitor queues ----------------------

class EmulatedMouse final : public IDeviceChannel, public ISleeper, public IWorkerHost {
public:
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) override {
        emulator_.OnSetFeature(command.data(), static_cast<int>(command.size()));
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) override {
        emulator_.OnWriteUSB(half.data(), static_cast<int>(half.size()));
        return 1;
    }
    void SleepMs(int) override {}
    bool PostApplyDone() override { return true; }
    void DebugText(const char*) override {}

    void Run(const DownloadJob& job) { RunDownloadJob(job, DeviceState::kConnected, *this, *this, *this, scratch_); }
    // The mouse's own buttons change its level or rate before it reports them.
    void Press(const FeatureCommand& command) {
        for (const FeatureCommand& c : {StartCommand(), command, EndCommand()}) SetFeature(c);
    }
    const MouseSlot& Slot() const { return emulator_.Slot(); }
    int Errors() const { return emulator_.ProtocolErrors(); }

private:
    MouseEmulator emulator_;
    ButtonTable scratch_;
};

// Blocks of macros no button plays any more may stay in the mouse: only the
// ones the current profile sends count.
std::string SlotDifference(const MouseSlot& a, const MouseSlot& b, const ProfileRecord& profile) {
    const std::unique_ptr<ButtonTable> table = BuildButtonTable(profile);
    if (a.pollingRate != b.pollingRate) return "polling rate " + std::to_string(a.pollingRate) + " vs " + std::to_string(b.pollingRate);
    if (a.activeLevel != b.activeLevel) return "active level " + std::to_string(a.activeLevel) + " vs " + std::to_string(b.activeLevel);
    if (a.attributes != b.attributes) return "attribute block";
    if (a.buttonTable != b.buttonTable) return "button table";
    for (int i = 0; i < kSlotMacros; ++i)
        if (table->macros.pending[static_cast<size_t>(i)] && a.macros[i] != b.macros[i]) return "macro block " + std::to_string(i + 1);
    return {};
}

// ---- the run -------------------------------------------------------------------------

class Scenario {
public:
    Scenario(uint32_t seed, fs::path folder) : seed_(seed), rng_(seed), folder_(std::move(folder)) {}

    // Runs `steps` random steps; the first disagreement ends it with a message.
    std::string Go(int steps);
    const std::vector<std::string>& Log() const { return log_; }
    // The model's profiles and game state, for the failure message.
    std::string Describe() const;

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T>
    const T& PickOf(const std::vector<T>& v) { return v[static_cast<size_t>(Pick(static_cast<int>(v.size())))]; }

    void Start();
    void Step();
    std::string Check();

    // The Option side: what its windows do around the portable calls.
    void StartOption();
    void ApplyOption(bool full);
    void SelectProfile(int position);
    void CommitRename();
    void OptionReload();
    void DeleteRow();
    void PagePersist();
    void AcceptAssignment(const EditedProfile& opened, int button, const ButtonAssignment& accepted);
    void AcceptLevels(const EditedProfile& opened, const performance::DpiLevels& levels);
    // The Monitor side: the messages Option posted, and the downloads.
    void DeliverToMonitor();
    void DeliverToOption();
    void RunDownloads();

    // The operations.
    void OpNewProfile();
    void OpCopyProfile();
    void OpDeleteProfile();
    void OpSelectProfile();
    void OpResetProfile();
    void OpTune();
    void OpRename();
    void OpExchange();
    void OpGameLink();
    void OpAssign(bool racing);
    void OpMacroNew();
    void OpMacroCopy();
    void OpMacroDelete();
    void OpMacroSelect();
    void OpMacroRename();
    void OpMacroRecord();
    void OpMacroEdit();
    void OpMacroImport();
    void OpDeviceButton();
    void OpForeground();

    void Note(std::string text) { log_.push_back(std::to_string(log_.size()) + ": " + std::move(text)); }
    void UnlinkDeleted(int id);
    void ModelGameSwitch();
    void ModelUserChoice(int before);

    uint32_t seed_;
    std::mt19937 rng_;
    fs::path folder_;
    std::vector<std::string> log_;
    Reference ref_;
    ButtonAssignment defaults_[kButtonCount]{};

    FakeMonitor port_;
    RecordingHost host_;
    CountingSystem system_;
    EmulatedMouse mouse_;
    std::unique_ptr<OptionSession> session_;
    std::unique_ptr<MonitorLogic> monitor_;
    std::unique_ptr<MacroEditModel> macros_;
    struct PendingRename {
        int position;
        std::u16string oldName, typed;
    };
    std::optional<PendingRename> rename_;
};

// ---- Option's glue: each mirrors what its window does today -------------------------

void Scenario::StartOption() {
    // CMainWindow: the session loads, and a first profile the mouse never got is applied at once.
    session_ = std::make_unique<OptionSession>(folder_, nullptr);
    session_->Load();
    macros_ = std::make_unique<MacroEditModel>(session_->macros(), SystemKeyboardLayout(), [this] { PagePersist(); });
    // CMacroPage: the buttons of every profile follow a rename or a delete.
    macros_->SetRenameHandler([this](int position, std::u16string_view, std::u16string_view to) {
        session_->RenameMacroInProfiles(position, to);
    });
    macros_->SetDeleteHandler([this](int position) { session_->ForgetMacroInProfiles(position); });
    macros_->Select(session_->macros().empty() ? -1 : 0);
    if (session_->OwesFullApply()) ApplyOption(true);
}

void Scenario::ApplyOption(bool full) {
    session_->Apply(full, port_);
    DeliverToMonitor();
}

void Scenario::SelectProfile(int position) {
    // CProfileBar::Select.
    if (!GetProfileAt(session_->store().profiles, position)) return;
    session_->store().values.ProfileID = position;
    MarkAllParts(session_->store().values);
    ApplyOption(true);
}

void Scenario::CommitRename() {
    // CProfileBar::Rename.
    if (!rename_) return;
    const std::u16string typed = rename_->typed;
    rename_.reset();
    const auto accepted = AcceptedRename(session_->store().profiles, session_->store().values.ProfileID, typed);
    const auto expected = ref_.AcceptedRename(ref_.current, typed);
    if (accepted) {
        CopyToField(session_->current()->ProFileName, *accepted);
        session_->SaveWithoutApply();
    }
    if (expected) ref_.Current().name = *expected;
}

void Scenario::OptionReload() {
    // CMainWindow::OnProfileChanged: without a switch the box stays open with
    // what was typed; after one, the rename is saved into the store as it is now.
    bool switched = false;
    session_->ReloadAfterMonitorChange(&switched);
    if (!switched || !rename_) return;
    const PendingRename rename = *rename_;
    rename_.reset();
    session_->RenameProfile(rename.position, rename.oldName, rename.typed);
    const size_t at = static_cast<size_t>(rename.position);
    if (at < ref_.profiles.size() && Reference::Same(Reference::Trim(ref_.profiles[at].name), Reference::Trim(rename.oldName)))
        if (const auto name = ref_.AcceptedRename(rename.position, rename.typed)) ref_.profiles[at].name = *name;
}

void Scenario::DeleteRow() {
    // CProfileBar::Delete: the profile shown is the one deleted.
    if (session_->store().profiles.size() <= 1) return;
    const ProfileMark shown = MarkCurrentProfile(session_->store());
    if (!DeleteProfileAt(session_->store(), FindMarkedProfile(session_->store().profiles, shown))) return;
    SelectProfile(session_->store().values.ProfileID);
    const int row = ref_.current;
    ref_.profiles.erase(ref_.profiles.begin() + row);
    const int length = static_cast<int>(ref_.profiles.size());
    ref_.current = row >= length ? length - 1 : row;
}

void Scenario::PagePersist() {
    // CMacroPage::Persist: every profile's buttons follow the library, the
    // configuration page applies, the library is saved.
    session_->SyncMacrosInProfiles();
    ApplyOption(false);
    session_->SaveMacros();
}

void Scenario::AcceptLevels(const EditedProfile& opened, const performance::DpiLevels& levels) {
    // PerformancePage::ShowLevelsDialog: into the profile it was opened for.
    session_->ApplyEdit(opened, [&](ProfileRecord& record) { levels.ApplyTo(record); return true; }, port_);
    DeliverToMonitor();
}

void Scenario::AcceptAssignment(const EditedProfile& opened, int button, const ButtonAssignment& accepted) {
    // ButtonPage::OpenAssignment: into the profile it was opened for.
    session_->ApplyEdit(opened, [&](ProfileRecord& record) { record.MacroKeyInfo[button] = accepted; return true; }, port_);
    DeliverToMonitor();
}

// ---- messages between the programs --------------------------------------------------

void Scenario::DeliverToMonitor() {
    for (; port_.posts > 0; --port_.posts) monitor_->OnApplyAllSetting(true, 0);
    RunDownloads();
}

void Scenario::RunDownloads() {
    for (auto& job : host_.jobs) mouse_.Run(*job);
    host_.jobs.clear();
}

void Scenario::DeliverToOption() {
    RunDownloads();
    std::vector<unsigned> messages;
    messages.swap(host_.optionMessages);
    for (unsigned message : messages)
        if (message == WM_PROFILE_CHANGED) OptionReload();
}

// ---- start ------------------------------------------------------------------------------

void Scenario::Start() {
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "config");
    ProfileRecord record;
    InitNewProfile(record, u"x");
    std::memcpy(defaults_, record.MacroKeyInfo, sizeof defaults_);

    const bool empty = Chance(50);
    if (!empty) {
        ProfileStore store;
        const int count = 1 + Pick(3);
        for (int i = 0; i < count; ++i) {
            auto p = std::make_unique<ProfileRecord>();
            const std::u16string name = u"Start" + Reference::Number(i);
            InitNewProfile(*p, name);
            p->CpiStep = i % 5;
            RefProfile r;
            r.name = name;
            r.cpiStep = i % 5;
            ref_.profiles.push_back(r);
            store.profiles.push_back(std::move(p));
        }
        store.values.ProfileID = 0;
        store.values.number = count;
        MarkAllParts(store.values);
        SaveProfileStore(ProfileStorePath(folder_), store);
    } else {
        RefProfile r;
        r.name = u"Profile1";
        ref_.profiles.push_back(r);
    }
    Note(empty ? "start: empty store" : "start: " + std::to_string(ref_.profiles.size()) + " profiles");

    monitor_ = std::make_unique<MonitorLogic>(ProfileStorePath(folder_), host_, system_);
    monitor_->LoadAtStartup();
    monitor_->QueueFullDownload();
    RunDownloads();
    StartOption();
    DeliverToMonitor();
}

// ---- the operations ------------------------------------------------------------------------

void Scenario::ModelUserChoice(int before) {
    // Chosen in front of a game: that game does not take its profile back
    // until another program was in front, and the choice stays when the game goes.
    if (before == ref_.current || ref_.lastOutside.empty()) return;
    ref_.declined = ref_.lastOutside;
    ref_.home.clear();
}

void Scenario::OpNewProfile() {
    Note("new profile");
    const int before = ref_.current;
    SelectProfile(AddNewProfile(session_->store()));
    RefProfile p;
    p.name = ref_.UniqueProfileName(u"Profile" + Reference::Number(static_cast<int>(ref_.profiles.size()) + 1));
    ref_.Append(p);
    ModelUserChoice(before);
}

void Scenario::OpCopyProfile() {
    Note("copy profile");
    const int before = ref_.current;
    const int position = CopyCurrentProfile(session_->store());
    if (position >= 0) SelectProfile(position);
    RefProfile p = ref_.Current();
    p.name = ref_.CopyName(p.name, false);
    ref_.Append(p);
    ModelUserChoice(before);
}

void Scenario::OpDeleteProfile() {
    Note("delete profile");
    if (ref_.profiles.size() <= 1) {
        DeleteRow();
        return;
    }
    const int before = ref_.current;
    DeleteRow();
    ModelUserChoice(before);
}

void Scenario::OpSelectProfile() {
    const int position = Pick(static_cast<int>(ref_.profiles.size()));
    Note("select " + std::to_string(position));
    const int before = ref_.current;
    SelectProfile(position);
    ref_.current = position;
    ModelUserChoice(before);
}

void Scenario::OpResetProfile() {
    Note("reset profile");
    ResetProfile(*session_->current());
    MarkAllParts(session_->store().values);
    ApplyOption(true);
    RefProfile& p = ref_.Current();
    RefProfile fresh;
    fresh.name = p.name;
    p = fresh;
}

void Scenario::OpTune() {
    if (Chance(40)) {
        // The levels dialog: a copy of the current profile's levels, its own
        // message loop (a game may switch meanwhile), then accept.
        const int openedFor = ref_.current;
        const EditedProfile opened = session_->EditedNow();
        performance::DpiLevels levels = performance::DpiLevels::From(*session_->current());
        const int count = 1 + Pick(5);
        levels.ChooseCount(performance::kCountCommandBase + static_cast<unsigned>(count));
        const int row = Pick(count);
        levels.Choose(row);
        const bool racing = Chance(25);
        Note("levels dialog: " + std::to_string(count) + " levels, level " + std::to_string(row + 1) +
             (racing ? " (game switch meanwhile)" : ""));
        if (racing) OpForeground();
        AcceptLevels(opened, levels);
        ref_.profiles[static_cast<size_t>(openedFor)].maxDpi = count;
        ref_.profiles[static_cast<size_t>(openedFor)].cpiStep = row;
        return;
    }
    ProfileRecord* record = session_->current();
    RefProfile& p = ref_.Current();
    if (Chance(50)) {
        p.rate = std::vector<int>{1, 2, 4, 8}[static_cast<size_t>(Pick(4))];
        record->PollingRate = p.rate;
    } else {
        p.speed = 1 + Pick(20);
        record->MouseSpeed = p.speed;
    }
    Note("tune: rate " + std::to_string(p.rate) + " speed " + std::to_string(p.speed));
    ApplyOption(false);
}

const std::vector<std::u16string>& TypedNames() {
    static const std::vector<std::u16string> names{
        u"Game", u"GAME", u"  Work  ", u"", u"   ", u"Profile1", u"Start0_Copy", std::u16string(52, u'n'),
        std::u16string(49, u'L'), u"Büro", u"BÜRO", u"Привет", u"ПРИВЕТ"};
    return names;
}

void Scenario::OpRename() {
    const int what = Pick(10);
    if (what < 2 && !rename_) {
        Note("rename: begin");
        rename_ = PendingRename{ref_.current, FieldText(session_->current()->ProFileName),
                                FieldText(session_->current()->ProFileName)};
    } else if (what < 6 && rename_) {
        const std::u16string typed = PickOf(TypedNames());
        Note("rename: type \"" + Utf8(typed) + "\"");
        rename_->typed = typed;
    } else if (what < 8 && rename_) {
        Note("rename: commit");
        CommitRename();
    } else if (rename_) {
        Note("rename: cancel");
        rename_.reset();
    }
}

void Scenario::OpExchange() {
    // Export the current profile, then import that file as it is, damaged or hostile.
    const fs::path file = folder_ / "exchange.gmp";
    WriteExchangeSection(*session_->current(), file);
    const int kind = Pick(4);
    if (kind == 1) {
        std::ofstream(file, std::ios::binary) << "[Other]\r\nMouseSpeed=3\r\n";
    } else if (kind == 2) {
        std::string bytes(3000, '\0');
        for (char& c : bytes) c = static_cast<char>(Pick(256));
        std::ofstream(file, std::ios::binary) << bytes;
    } else if (kind == 3) {
        fs::remove(file);
    }
    Note("export and import (" + std::string(kind == 0 ? "good" : kind == 1 ? "no profile" : kind == 2 ? "garbage" : "missing") + ")");
    // CProfileBar::Import.
    std::string error;
    std::unique_ptr<ProfileRecord> record = ReadProfileForImport(file, error);
    if (record) {
        const int before = ref_.current;
        SelectProfile(AddImportedProfile(session_->store(), std::move(record)));
            ASSERT_EQ(kind, 0) << "a damaged file was imported as a profile";
        RefProfile p = ref_.Current();
        p.name = ref_.UniqueProfileName(p.name);
        p.maxDpi = 5;  // the file does not carry it
        ref_.Append(p);
        ModelUserChoice(before);
    } else {
        ASSERT_NE(kind, 0) << "a good file was refused: " << error;
    }
}

void Scenario::OpGameLink() {
    std::u16string path;
    bool refused = false;
    switch (Pick(5)) {
        case 0: path = u""; break;
        case 1: path = u"C:\\Games\\Bad\x01Name.exe"; refused = true; break;
        case 2: path = std::u16string(600, u'p'); refused = true; break;
        default: path = u"C:\\Games\\game" + Reference::Number(Pick(3)) + (Chance(50) ? u".exe" : u".EXE"); break;
    }
    Note("game link \"" + Utf8(path.substr(0, 40)) + "\"");
    session_->SetGameFile(path);
    if (!refused) ref_.Current().game = path;
}

void Scenario::OpAssign(bool racing) {
    const int button = Pick(kButtonCount);
    const int openedFor = ref_.current;
    const EditedProfile opened = session_->EditedNow();
    assign::AssignModel dialog(session_->current()->MacroKeyInfo[button], button);
    dialog.Open();
    RefButton result;
    if (!ref_.macros.empty() && Chance(70)) {
        const int position = Pick(static_cast<int>(ref_.macros.size()));
        dialog.ChooseCategory(kClassMacro);
        dialog.ChooseMacro(session_->macros(), position);
        result = {RefButton::Kind::kMacro, ref_.macros[static_cast<size_t>(position)].id};
        // A button never follows a macro without a name (a damaged import gives one).
        if (Reference::Trim(ref_.macros[static_cast<size_t>(position)].name).empty()) result.kind = RefButton::Kind::kUnknown;
        Note("assign G" + std::to_string(button + 1) + " to macro " + std::to_string(position) + (racing ? " (game switch meanwhile)" : ""));
    } else {
        dialog.ChooseCategory(kClassDefault);
        Note("assign G" + std::to_string(button + 1) + " its default" + (racing ? " (game switch meanwhile)" : ""));
    }
    if (racing) OpForeground();
    const ButtonAssignment accepted = dialog.Accept();
    AcceptAssignment(opened, button, accepted);
    ref_.profiles[static_cast<size_t>(openedFor)].buttons[button] = result;
}

// ---- macros ------------------------------------------------------------------------------------

void Scenario::UnlinkDeleted(int id) {
    for (size_t i = 0; i < ref_.profiles.size(); ++i)
        for (RefButton& b : ref_.profiles[i].buttons) {
            if (b.kind == RefButton::Kind::kMacro && b.macro == id) b = RefButton{};
        }
}

void Scenario::OpMacroNew() {
    Note("macro new");
    macros_->NewMacro();
    RefMacro m{ref_.nextMacroId++, ref_.UniqueMacroName(u"Macro" + Reference::Number(static_cast<int>(ref_.macros.size()) + 1)), 0};
    ref_.macros.push_back(m);
    ref_.selectedMacro = static_cast<int>(ref_.macros.size()) - 1;
}

void Scenario::OpMacroCopy() {
    Note("macro copy");
    macros_->CopyMacro();
    if (ref_.selectedMacro < 0) return;
    RefMacro m = ref_.macros[static_cast<size_t>(ref_.selectedMacro)];
    m.id = ref_.nextMacroId++;
    m.name = ref_.CopyName(Reference::Trim(m.name), true);
    ref_.macros.push_back(m);
    ref_.selectedMacro = static_cast<int>(ref_.macros.size()) - 1;
}

void Scenario::OpMacroDelete() {
    Note("macro delete");
    if (ref_.selectedMacro < 0) {
        macros_->DeleteMacro();
        return;
    }
    const int position = ref_.selectedMacro;
    const int id = ref_.macros[static_cast<size_t>(position)].id;
    ref_.macros.erase(ref_.macros.begin() + position);
    UnlinkDeleted(id);
    const int remaining = static_cast<int>(ref_.macros.size());
    ref_.selectedMacro = remaining == 0 ? -1 : std::min(position, remaining - 1);
    macros_->DeleteMacro();
}

void Scenario::OpMacroSelect() {
    const int position = ref_.macros.empty() ? -1 : Pick(static_cast<int>(ref_.macros.size()));
    Note("macro select " + std::to_string(position));
    macros_->Select(position);
    ref_.selectedMacro = position;
}

void Scenario::OpMacroRename() {
    if (ref_.selectedMacro < 0) return;
    RefMacro& m = ref_.macros[static_cast<size_t>(ref_.selectedMacro)];
    const bool esc = Chance(30);
    std::u16string typed;
    if (esc) {
        typed = macros_->SelectedName();  // CItemBar::CancelRename puts the old name back
    } else {
        static const std::vector<std::u16string> pool{u"Fire", u"FIRE", u"  Jump ", u"", u"Macro1", u"Büro", u"BÜRO",
                                                      u"A very long macro name indeed"};
        typed = PickOf(pool);
    }
    Note(esc ? "macro rename: Esc" : "macro rename \"" + Utf8(typed) + "\"");
    // The model's rule: Esc keeps the name; typing is cut to 20, trimmed, and
    // refused when empty, the same name in other case, or another macro's.
    std::optional<std::u16string> name;
    if (!esc) {
        const std::u16string cut = Reference::Trim(Reference::Cut(typed, 20));
        bool taken = cut.empty() || Reference::Same(cut, Reference::Trim(m.name));
        for (size_t i = 0; i < ref_.macros.size(); ++i)
            if (static_cast<int>(i) != ref_.selectedMacro && Reference::Same(cut, Reference::Trim(ref_.macros[i].name))) taken = true;
        if (!taken) name = cut;
    }
    macros_->BeginRename();
    macros_->EndRename(typed);
    if (name) m.name = *name;
}

void Scenario::OpMacroRecord() {
    const int keys = 1 + Pick(4);
    Note("macro record " + std::to_string(keys) + " keys");
    if (ref_.selectedMacro < 0) OpMacroNew();
    macros_->StartRecording(DelayMode::kMeasured, u"50");
    uint32_t time = 1000;
    for (int k = 0; k < keys; ++k) {
        macros_->OnRecordedKey('A' + static_cast<uint32_t>(k), false, time += 30);
        macros_->OnRecordedKey('A' + static_cast<uint32_t>(k), true, time += 30);
    }
    macros_->StopRecording();
    RefMacro& m = ref_.macros[static_cast<size_t>(ref_.selectedMacro)];
    m.keySteps = 2 * keys;
}

void Scenario::OpMacroEdit() {
    if (ref_.selectedMacro < 0) return;
    const auto& rows = macros_->Rows();
    const auto& copy = macros_->WorkingCopy();
    for (size_t row = 0; row < rows.size(); ++row) {
        const MacroEvent& event = copy.events[static_cast<size_t>(rows[row].step)];
        if (IsDelayStep(event) || !IsPress(event)) continue;
        Note("macro edit: delete row " + std::to_string(row));
        RefMacro& m = ref_.macros[static_cast<size_t>(ref_.selectedMacro)];
        m.keySteps = rows.size() == 1 ? 0 : m.keySteps - 2;
        macros_->SelectRow(static_cast<int>(row));
        macros_->DeleteStep();
            return;
    }
}

void Scenario::OpMacroImport() {
    const fs::path file = folder_ / "one.macro";
    MacroRecord macro{};
    const int kind = Pick(4);
    std::u16string name;
    if (Chance(50))
        name = u"Shared beginning of 23ch" + Reference::Number(Pick(3)) + u" end";
    else
        name = u"Imported" + Reference::Number(Pick(3));
    CopyToField(macro.name, name);
    const int keys = Pick(5);
    for (int k = 0; k < keys; ++k) {
        macro.events[2 * k] = KeyStep(static_cast<uint8_t>(4 + k), true);
        macro.events[2 * k + 1] = KeyStep(static_cast<uint8_t>(4 + k), false);
    }
    macro.eventCount = 2 * keys;
    if (kind == 1) macro.eventCount = 100000;  // a hostile count
    ExportMacro(macro, file);
    if (kind == 2) std::ofstream(file, std::ios::binary) << "[Macros]\r\n0=zz12\r\n";
    if (kind == 3) fs::remove(file);
    Note("macro import \"" + Utf8(name) + "\" (" + std::string(kind == 0 ? "good" : kind == 1 ? "hostile count" : kind == 2 ? "damaged" : "missing") + ")");
    // CMacroPage::ImportMacro.
    auto record = std::make_unique<MacroRecord>();
    std::memset(record.get(), 0, sizeof(MacroRecord));
    if (!ImportMacro(file, *record)) {
        ASSERT_EQ(kind, 3);
        return;
    }
    macros_->AddImportedMacro(std::move(record));
    RefMacro m;
    m.id = ref_.nextMacroId++;
    m.name = ref_.UniqueMacroName(kind == 2 ? u"" : name);
    m.keySteps = kind == 0 ? 2 * keys : -1;  // -1: whatever a damaged entry leaves, within range
    ref_.macros.push_back(m);
    ref_.selectedMacro = static_cast<int>(ref_.macros.size()) - 1;
}

// ---- the Monitor's events ---------------------------------------------------------------------

void Scenario::OpDeviceButton() {
    const DecodedSlot held = DecodeSlot(mouse_.Slot());
    RefProfile& p = ref_.Current();
    if (Chance(50)) {
        int level = held.cpiStep + 1;
        level = level % std::max(1, held.maxDpi) + 1;
        const bool stale = p.maxDpi < 5 && Chance(20);
        if (stale) {
            // An event from before Option lowered the levels in use: the top
            // level in use is stored, and the mouse is corrected.
            level = 5;
            Note("mouse: DPI event for level 5 of " + std::to_string(p.maxDpi));
            p.cpiStep = p.maxDpi - 1;
        } else {
            Note("mouse: DPI button to level " + std::to_string(level));
            mouse_.Press(DpiStepCommand(level - 1));
            p.cpiStep = level - 1;
        }
        monitor_->OnDeviceEvent(kEventDpiGroup, level);
    } else {
        static const int kNext[9] = {0, 8, 1, 0, 2, 0, 0, 0, 4};
        const int rate = held.pollingRate >= 1 && held.pollingRate <= 8 && kNext[held.pollingRate] ? kNext[held.pollingRate] : 2;
        Note("mouse: rate button to " + std::to_string(rate));
        mouse_.Press(PollingRateCommand(rate));
        monitor_->OnDeviceEvent(kEventRateGroup, rate);
        p.rate = rate;
    }
    DeliverToOption();
}

void Scenario::ModelGameSwitch() {
    Reference& r = ref_;
    const std::wstring& fg = r.foreground;
    auto fold = [](std::u16string s) {
        std::wstring w;
        for (char16_t c : s) w.push_back(c >= u'A' && c <= u'Z' ? static_cast<wchar_t>(c + 32) : static_cast<wchar_t>(c));
        return w;
    };
    auto homePosition = [&]() {
        if (r.home.empty()) return -1;
        for (size_t i = 0; i < r.profiles.size(); ++i)
            if (Reference::Same(Reference::Trim(r.profiles[i].name), Reference::Trim(r.home))) return static_cast<int>(i);
        return -1;
    };
    if (fg == r.declined) return;
    int game = -1;
    for (size_t i = 0; i < r.profiles.size() && game < 0; ++i) {
        const std::u16string& path = r.profiles[i].game;
        const size_t slash = path.find_last_of(u"\\/");
        const std::u16string file = Reference::Trim(slash == std::u16string::npos ? path : path.substr(slash + 1));
        if (!file.empty() && fold(file) == fg) game = static_cast<int>(i);
    }
    const int home = homePosition();
    if (home < 0) r.home.clear();
    if (game >= 0) {
        if (game == r.current) return;
        if (home < 0) r.home = Reference::Trim(r.Current().name);
        r.current = game;
    } else if (home >= 0) {
        r.current = home;
        r.home.clear();
    }
}

void Scenario::OpForeground() {
    static const std::vector<std::wstring> programs{L"game0.exe", L"game1.exe", L"game2.exe", L"notepad.exe", L"option.exe"};
    const std::wstring program = PickOf(programs);
    Note("foreground " + std::string(program.begin(), program.end()));
    if (program != ref_.foreground) {
        ref_.foreground = program;
        if (program != L"option.exe") {
            ref_.lastOutside = program;
            if (ref_.declined != program) ref_.declined.clear();
            ModelGameSwitch();
        }
    }
    monitor_->SetForegroundProgram(program);
    DeliverToOption();
}

// ---- one step -------------------------------------------------------------------------------------

void Scenario::Step() {
    int op = Pick(100);
    // The lists stay short, so that a long run stays quick: at their limit,
    // whatever would add to a list removes from it.
    if (ref_.profiles.size() >= 10 && ((op >= 12 && op < 19) || (op >= 38 && op < 41))) op = 20;
    if (ref_.macros.size() >= 10 && ((op >= 52 && op < 56) || (op >= 73 && op < 76))) op = 56;
    // Any click elsewhere on the page ends a rename as Enter does.
    if (rename_ && op >= 12 && op < 52) {
        Note("rename: ended by a click elsewhere");
        CommitRename();
    }
    if (op < 12) OpRename();
    else if (op < 16) OpNewProfile();
    else if (op < 19) OpCopyProfile();
    else if (op < 22) OpDeleteProfile();
    else if (op < 28) OpSelectProfile();
    else if (op < 30) OpResetProfile();
    else if (op < 38) OpTune();
    else if (op < 41) OpExchange();
    else if (op < 45) OpGameLink();
    else if (op < 50) OpAssign(false);
    else if (op < 52) OpAssign(true);
    else if (op < 54) OpMacroNew();
    else if (op < 56) OpMacroCopy();
    else if (op < 58) OpMacroDelete();
    else if (op < 62) OpMacroSelect();
    else if (op < 66) OpMacroRename();
    else if (op < 70) OpMacroRecord();
    else if (op < 73) OpMacroEdit();
    else if (op < 76) OpMacroImport();
    else if (op < 88) OpDeviceButton();
    else OpForeground();
}

// ---- the comparison ------------------------------------------------------------------------------

std::string Scenario::Check() {
    std::ostringstream out;
    const ProfileStore& store = session_->store();
    if (store.profiles.size() != ref_.profiles.size())
        return "profiles: " + std::to_string(store.profiles.size()) + ", expected " + std::to_string(ref_.profiles.size());
    if (store.values.ProfileID != ref_.current)
        return "current profile " + std::to_string(store.values.ProfileID) + ", expected " + std::to_string(ref_.current);
    if (session_->macros().size() != ref_.macros.size())
        return "macros: " + std::to_string(session_->macros().size()) + ", expected " + std::to_string(ref_.macros.size());
    if (macros_->SelectedPosition() != ref_.selectedMacro)
        return "selected macro " + std::to_string(macros_->SelectedPosition()) + ", expected " + std::to_string(ref_.selectedMacro);
    for (size_t m = 0; m < ref_.macros.size(); ++m) {
        const MacroRecord& macro = *session_->macros()[m];
        if (FieldText(macro.name) != ref_.macros[m].name)
            return "macro " + std::to_string(m) + " is \"" + Utf8(FieldText(macro.name)) + "\", expected \"" + Utf8(ref_.macros[m].name) + "\"";
        int keySteps = 0;
        if (macro.eventCount < 0 || macro.eventCount > kMaxMacroEvents) return "macro " + std::to_string(m) + " holds a count out of range";
        for (int e = 0; e < macro.eventCount; ++e) keySteps += IsDelayStep(macro.events[e]) ? 0 : 1;
        if (ref_.macros[m].keySteps >= 0 && keySteps != ref_.macros[m].keySteps)
            return "macro " + std::to_string(m) + " has " + std::to_string(keySteps) + " key steps, expected " + std::to_string(ref_.macros[m].keySteps);
    }
    for (size_t i = 0; i < ref_.profiles.size(); ++i) {
        const ProfileRecord& record = *store.profiles[i];
        const RefProfile& p = ref_.profiles[i];
        const std::string at = "profile " + std::to_string(i) + ": ";
        if (FieldText(record.ProFileName) != p.name)
            return at + "named \"" + Utf8(FieldText(record.ProFileName)) + "\", expected \"" + Utf8(p.name) + "\"";
        if (FieldText(record.GameFile) != p.game) return at + "game \"" + Utf8(FieldText(record.GameFile)) + "\", expected \"" + Utf8(p.game) + "\"";
        if (record.MaxDPI != p.maxDpi || record.CpiStep != p.cpiStep || record.PollingRate != p.rate || record.MouseSpeed != p.speed)
            return at + "levels " + std::to_string(record.MaxDPI) + " step " + std::to_string(record.CpiStep) + " rate " +
                   std::to_string(record.PollingRate) + " speed " + std::to_string(record.MouseSpeed) + ", expected " +
                   std::to_string(p.maxDpi) + "/" + std::to_string(p.cpiStep) + "/" + std::to_string(p.rate) + "/" + std::to_string(p.speed);
        if (record.CpiStep < 0 || record.CpiStep >= record.MaxDPI) return at + "CpiStep beyond MaxDPI";
        for (int b = 0; b < kButtonCount; ++b) {
            const ButtonAssignment& button = record.MacroKeyInfo[b];
            const RefButton& expected = p.buttons[static_cast<size_t>(b)];
            const std::string which = at + "G" + std::to_string(b + 1) + " ";
            if (expected.kind == RefButton::Kind::kDefault && button.FunctionCode != defaults_[b].FunctionCode)
                return which + "has code " + std::to_string(button.FunctionCode) + ", expected its default";
            if (expected.kind != RefButton::Kind::kMacro) continue;
            const int position = ref_.MacroPosition(expected.macro);
            if (position < 0) return which + "plays a macro the model has lost";
            const MacroRecord& macro = *session_->macros()[static_cast<size_t>(position)];
            if (button.FunctionCode != kCodeMacro) return which + "lost its macro \"" + Utf8(FieldText(macro.name)) + "\"";
            const std::u16string wanted = FieldText(macro.name).substr(0, kMacroNameFieldUnits - 1);
            if (FieldText(button.macroName) != wanted)
                return which + "names \"" + Utf8(FieldText(button.macroName)) + "\", expected \"" + Utf8(wanted) + "\"";
            if ((button.eventCount != macro.eventCount || std::memcmp(button.events, macro.events, sizeof button.events) != 0))
                return which + "plays other steps than macro \"" + Utf8(FieldText(macro.name)) + "\"";
        }
    }
    // The store reads back whole, and equals memory.
    ProfileStore disk;
    LoadProfileStore(ProfileStorePath(folder_), disk);
    if (disk.profiles.size() != store.profiles.size() || disk.values.ProfileID != store.values.ProfileID)
        return "the store on disk has " + std::to_string(disk.profiles.size()) + " profiles, current " + std::to_string(disk.values.ProfileID);
    for (size_t i = 0; i < disk.profiles.size(); ++i)
        if (!SameRecord(*disk.profiles[i], *store.profiles[i])) return "profile " + std::to_string(i) + " on disk differs from memory";
    {
        MacroLibrary library;
        LoadMacroLibrary(session_->macroFile(), library);
        if (library.size() != session_->macros().size()) return "the macro file holds " + std::to_string(library.size()) + " macros";
        for (size_t m = 0; m < library.size(); ++m)
            if (std::memcmp(library[m].get(), session_->macros()[m].get(), sizeof(MacroRecord)) != 0)
                return "macro " + std::to_string(m) + " on disk differs from memory";
    }
    // The mouse holds what a download of the current profile puts there.
    {
        EmulatedMouse fresh;
        DownloadJob job;
        job.profile = *store.profiles[static_cast<size_t>(store.values.ProfileID)];
        job.parts = PartFlags::All();
        fresh.Run(job);
        const std::string difference = SlotDifference(mouse_.Slot(), fresh.Slot(), job.profile);
        if (!difference.empty()) return "the mouse differs from the current profile: " + difference;
    }
    if (mouse_.Errors() != 0) return "the mouse saw protocol errors";
    return {};
}

std::string Scenario::Describe() const {
    std::string text = "model: current " + std::to_string(ref_.current) + ", home \"" + Utf8(ref_.home) + "\", declined " +
                       std::string(ref_.declined.begin(), ref_.declined.end()) + "\n";
    for (size_t i = 0; i < ref_.profiles.size(); ++i)
        text += "  " + std::to_string(i) + " \"" + Utf8(ref_.profiles[i].name) + "\" game \"" + Utf8(ref_.profiles[i].game) + "\"\n";
    return text;
}

std::string Scenario::Go(int steps) {
    Start();
    if (::testing::Test::HasFatalFailure()) return "start failed";
    std::string problem = Check();
    for (int i = 0; problem.empty() && i < steps; ++i) {
        Step();
        if (::testing::Test::HasFatalFailure()) return "an operation failed";
        problem = Check();
    }
    return problem;
}

// The sanitizers slow every save and load many times over: the test command
// runs fewer steps under them, the bench script as many as asked.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

std::vector<uint32_t> Seeds() {
    std::vector<uint32_t> seeds;
    const char* text = std::getenv("GM_STATEMACHINE_SEEDS");
    std::string list = text ? text : kSanitized ? "1-4" : "1-8";
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ',');) {
        const size_t dash = item.find('-');
        const uint32_t first = static_cast<uint32_t>(std::stoul(item.substr(0, dash)));
        const uint32_t last = dash == std::string::npos ? first : static_cast<uint32_t>(std::stoul(item.substr(dash + 1)));
        for (uint32_t s = first; s <= last; ++s) seeds.push_back(s);
    }
    return seeds;
}

int StepsPerSeed() {
    const char* text = std::getenv("GM_STATEMACHINE_STEPS");
    return text ? std::atoi(text) : kSanitized ? 100 : 400;
}

}  // namespace

TEST(StateMachine, OptionMonitorAndMouseAgreeAfterEveryStep) {
    const TempFolder temp;
    const fs::path base = temp.path();
    int failures = 0;
    for (uint32_t seed : Seeds()) {
        Scenario run(seed, base / std::to_string(seed));
        const std::string problem = run.Go(StepsPerSeed());
        if (problem.empty()) continue;
        ++failures;
        std::string steps;
        const auto& log = run.Log();
        for (size_t i = log.size() > 40 ? log.size() - 40 : 0; i < log.size(); ++i) steps += "  " + log[i] + "\n";
        ADD_FAILURE() << "seed " << seed << " after " << log.size() - 1 << " steps: " << problem
                      << "\nreproduce: GM_STATEMACHINE_SEEDS=" << seed << "\nlast steps:\n"
                      << steps << run.Describe();
    }
    std::printf("statemachine: %zu seeds x %d steps, %d failed\n", Seeds().size(), StepsPerSeed(), failures);
}

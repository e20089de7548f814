#include "monitor_logic.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "app_messages.h"
#include "download_job.h"
#include "file_io.h"
#include "ini_file.h"
#include "shared_lock.h"
#include "text_codec.h"

MonitorLogic::MonitorLogic(std::filesystem::path storeFile, IMonitorHost& host, ISystemPointer& pointer)
    : storeFile_(std::move(storeFile)), host_(host), pointer_(pointer) {}

const ProfileRecord* MonitorLogic::CurrentProfile() const {
    return GetProfileAt(store_.profiles, store_.values.ProfileID);
}

namespace {

// The games a store links, folded, sorted and each once; none while game
// profiles are off.
std::vector<std::wstring> LinkedGames(const ProfileStore& store) {
    std::vector<std::wstring> games;
    if (!store.games.enabled) return games;
    for (const auto& profile : store.profiles) {
        const std::u16string name = GameFileName(FieldText(profile->GameFile));
        if (!name.empty()) games.push_back(FoldProgramName(std::wstring(name.begin(), name.end())));
    }
    std::sort(games.begin(), games.end());
    games.erase(std::unique(games.begin(), games.end()), games.end());
    return games;
}

}  // namespace

void MonitorLogic::LoadAtStartup() {
    FreeProfiles(store_);
    LoadProfileStore(storeFile_, store_);
    NoteStoreRead();
}

bool MonitorLogic::ReadStore() {
    FreeProfiles(store_);
    LoadProfileStore(storeFile_, store_);
    NoteStoreRead();
    if (!UserChoseAnotherProfile()) return false;
    // Chosen in front of a game: the game does not take its profile back
    // before the user has been somewhere else.
    declined_ = lastOutside_;
    return true;
}

void MonitorLogic::NoteStoreRead() {
    gameNames_.clear();
    gameNames_.reserve(store_.profiles.size());
    for (const auto& profile : store_.profiles) {
        const std::u16string name = GameFileName(FieldText(profile->GameFile));
        gameNames_.push_back(name.empty() ? std::wstring() : FoldProgramName(std::wstring(name.begin(), name.end())));
    }
    stamp_ = StampOfStore();
    watchedStamp_ = stamp_;
    watchedGames_ = LinkedGames(store_);
}

bool MonitorLogic::WatchesForGames(const RunningPrograms& running) {
    // Only this program writes whether game profiles are on and the way home,
    // so the store in memory tells both without a look at the file.
    if (!store_.games.enabled) return false;
    if (!store_.games.home.empty()) return true;
    std::vector<std::wstring> programs;
    if (running) {
        programs = running();
        // Nothing that could come to the front: which games are linked does not matter.
        if (programs.empty()) return false;
    }
    const FileStamp now = StampOfStore();
    if (!(now == watchedStamp_)) {
        ProfileStore saved;
        {
            SharedLockScope scope(lock_);
            LoadProfileStore(storeFile_, saved);
        }
        watchedGames_ = LinkedGames(saved);
        watchedStamp_ = now;
        FreeProfiles(saved);
    }
    // The file is what a change in front is decided on (FollowForeground reads a newer one first).
    if (!running) return !watchedGames_.empty();
    return std::any_of(programs.begin(), programs.end(), [this](const std::wstring& program) {
        return std::binary_search(watchedGames_.begin(), watchedGames_.end(), FoldProgramName(program));
    });
}

bool MonitorLogic::LinksGame(std::wstring_view program) const {
    if (!store_.games.enabled) return false;
    const std::wstring folded = FoldProgramName(program);
    return !folded.empty() && std::find(gameNames_.begin(), gameNames_.end(), folded) != gameNames_.end();
}

MonitorLogic::FileStamp MonitorLogic::StampOfStore() const {
    FileStamp stamp;
    std::error_code error;
    stamp.written = std::filesystem::last_write_time(storeFile_, error);
    if (error) return stamp;
    stamp.size = std::filesystem::file_size(storeFile_, error);
    stamp.exists = !error;
    using namespace std::chrono_literals;
    const auto age = std::filesystem::file_time_type::clock::now() - stamp.written;
    // A time ahead of the clock (the clock set back, a copy put back) is no
    // save of this moment either, and would otherwise never settle.
    stamp.settled = stamp.written.time_since_epoch() % 1s != 0ns || age >= 2s || age <= -2s;
    return stamp;
}

bool MonitorLogic::SaveStore(GameKeys games) {
    std::string error;
    if (SaveProfileStore(storeFile_, store_, &error, games)) {
        stamp_ = StampOfStore();
        return true;
    }
    const std::u16string text = u"saving the store failed: " + Utf8ToU16(error) + u"\n";
    host_.Debug(std::wstring(text.begin(), text.end()).c_str());
    return false;
}

bool MonitorLogic::HoldsCurrentProfile() const {
    // Before this Monitor's first download it knows nothing better than the flags.
    if (held_.position < 0) return true;
    const ProfileRecord* current = CurrentProfile();
    return current && held_.position == store_.values.ProfileID &&
           NamesEqualIgnoringCase(held_.name, FieldText(current->ProFileName));
}

bool MonitorLogic::UserChoseAnotherProfile() const {
    if (held_.position < 0) return false;
    const ProfileRecord* current = CurrentProfile();
    return store_.values.ProfileID != held_.position &&
           !(current && NamesEqualIgnoringCase(held_.name, FieldText(current->ProFileName)));
}

void MonitorLogic::NoteHeld() {
    const ProfileRecord* current = CurrentProfile();
    held_.position = current ? store_.values.ProfileID : -1;
    held_.name = current ? FieldText(current->ProFileName) : std::u16string();
    host_.ShowActiveProfile(held_.name);
}

bool MonitorLogic::QueueHeld(std::unique_ptr<DownloadJob> job) {
    if (!host_.QueueDownload(std::move(job))) return false;
    NoteHeld();
    return true;
}

void MonitorLogic::ApplyPointerSettings() {
    ProfileRecord* current = ::CurrentProfile(store_);
    if (!current) {
        host_.Debug(L"no current profile: pointer settings left as they are\n");
        return;
    }
    const PointerApplyResult result = ::ApplyPointerSettings(*current, registry_, pointer_);
    if (!result.speedApplied) host_.Debug(L"MouseSpeed outside 1-20: pointer speed left as it is\n");
}

void MonitorLogic::OnApplyAllSetting(bool mouseConnected, intptr_t lParam) {
    std::string bytes;
    FileStamp stamp;
    {
        SharedLockScope scope(lock_);
        // No lock, or its last holder died inside a load or save (the lock has
        // been given back by now). The file itself is whole either way, because
        // every save replaces it in one step, so read it without the lock rather
        // than drive the mouse from an empty list.
        if (!scope.held()) host_.Debug(L"OnApplyAllSetting: store lock not taken, reading the store without it\n");
        ReadWholeFile(storeFile_, bytes);
        stamp = StampOfStore();
    }
    // The mouse waits only for the current profile: the store values and that
    // one record are read, and its download queued, before the other records
    // are decoded. A store of twenty profiles is some 800 KB of hex.
    LoadStoreHead(bytes, store_);
    if (UserChoseAnotherProfile()) declined_ = lastOutside_;  // as ReadStore decides
    // The download goes to the worker before the pointer settings too: they
    // announce themselves to every top-level window and wait for each to
    // answer, Option too, which may be busy closing a dialog just then.
    const bool queued = mouseConnected && QueueApplyDownload(lParam);
    CIniFile whole(storeFile_);
    whole.Parse(bytes);
    FreeProfiles(store_);
    LoadProfileStore(whole, store_);
    NoteStoreRead();
    stamp_ = stamp;
    watchedStamp_ = stamp;
    ApplyPointerSettings();
    if (!queued) AnswerApplyNow();
}

bool MonitorLogic::QueueApplyDownload(intptr_t lParam) {
    std::unique_ptr<DownloadJob> job = MakeDownloadJob(store_, DownloadKind::kChangedParts, lParam);
    if (!job) {
        // Nothing is ever downloaded from a missing record; Option must not wait.
        host_.Debug(L"OnApplyAllSetting: no current profile, nothing to download\n");
        return false;
    }
    // The part flags compare with what Option last applied, which need not be
    // what the mouse holds: a game's profile switched in just before Option
    // saved with the profile it showed. Another profile goes to the mouse whole.
    if (!HoldsCurrentProfile()) job->parts = PartFlags::All();
    return QueueHeld(std::move(job));  // the worker answers when the download is done
}

void MonitorLogic::AnswerApplyNow() {
    if (host_.PostToOption(WM_APPLY_DONE))
        host_.Debug(L"OnApplyAllSetting  Send Enable OK/Apply Button\n");
    else
        host_.Debug(L"OnApplyAllSetting Don't find Tarn Option Dialog\n");
}

bool MonitorLogic::QueueFullDownload() {
    // Without a current profile the job carries the Monitor's own reset values,
    // so the mouse is still put into a defined state.
    if (!CurrentProfile()) host_.Debug(L"no current profile: downloading the Monitor's reset values\n");
    return QueueHeld(MakeDownloadJob(store_, DownloadKind::kEverything));
}

void MonitorLogic::OnDeviceEvent(uint64_t wParam, int64_t lParam) {
    const DeviceEventAction action = InterpretDeviceEvent(DecodeDeviceEvent(wParam, lParam));
    switch (action.kind) {
        case DeviceEventAction::Kind::kLaunch: {
            const ProfileRecord* current = CurrentProfile();
            if (!current) return;
            if (const std::optional<std::u16string> target = LaunchTarget(*current, action.value))
                host_.OpenWithShell(*target);
            return;
        }
        case DeviceEventAction::Kind::kOpenOption:
            host_.PostOpenOption();
            return;
        case DeviceEventAction::Kind::kSetCpiStep:
        case DeviceEventAction::Kind::kSetPollingRate:
            SaveDeviceChange(action);
            return;
        case DeviceEventAction::Kind::kNothing:
            return;
    }
}

void MonitorLogic::SaveDeviceChange(const DeviceEventAction& action) {
    DeviceChange change = DeviceChange::kNone;
    bool saved = false;
    {
        SharedLockScope scope(lock_);
        if (!scope.held()) host_.Debug(L"store lock not taken: saving the mouse's change without it\n");
        // Read the file again inside the same hold: Option may have saved
        // changes whose apply request is still queued behind this event, and
        // writing back our older copy would throw them away.
        ReadStore();
        ProfileRecord* current = ::CurrentProfile(store_);
        if (!current) {
            host_.Debug(L"no current profile: the mouse's change is not stored\n");
            return;
        }
        change = ApplyDeviceChange(*current, action);
        if (change != DeviceChange::kRefused) {
            saved = SaveStore(GameKeys::kKeepFile);
            // Our copy goes back to what the file holds, which the mouse is given below.
            if (!saved) ReadStore();
        }
    }
    if (saved) host_.PostToOption(WM_PROFILE_CHANGED);
    if (change == DeviceChange::kTaken && saved) return;  // the mouse already uses the value
    if (change == DeviceChange::kClamped)
        host_.Debug(L"the mouse chose a DPI level past MaxDPI: the profile's top level is stored and sent back\n");
    if (change == DeviceChange::kRefused)
        host_.Debug(L"the mouse chose a polling rate other than 1, 2, 4 or 8: the stored rate is sent back\n");
    QueueCorrection(action.kind == DeviceEventAction::Kind::kSetCpiStep);
}

void MonitorLogic::QueueCorrection(bool dpiLevel) {
    std::unique_ptr<DownloadJob> job = MakeDownloadJob(store_, DownloadKind::kEverything);
    // A level past the profile's count means the mouse counts its levels
    // otherwise: the levels go along with the active one.
    if (HoldsCurrentProfile())
        job->parts = dpiLevel ? PartFlags{false, true, true, false} : PartFlags{true, false, false, false};
    QueueHeld(std::move(job));
}

bool MonitorLogic::SetForegroundProgram(std::wstring_view name) {
    std::wstring folded = FoldProgramName(name);
    if (folded == foregroundProgram_) return false;
    foregroundProgram_ = std::move(folded);
    if (!foregroundProgram_.empty() && !IsOwnProgram(foregroundProgram_)) {
        lastOutside_ = foregroundProgram_;
        if (declined_ != lastOutside_) declined_.clear();
    }
    FollowForeground(foregroundProgram_);
    return true;
}

GameSwitchInput MonitorLogic::GameInput(std::wstring_view program) const {
    GameSwitchInput input;
    input.foreground = program;
    input.gameNames = gameNames_;
    input.current = store_.values.ProfileID;
    input.home = FindProfileByName(store_.profiles, store_.games.home);
    input.enabled = store_.games.enabled;
    input.declined = declined_;
    return input;
}

std::u16string MonitorLogic::HomeName(const GameSwitchStep& step) const {
    const ProfileRecord* home = GetProfileAt(store_.profiles, step.home);
    return home ? TrimText(FieldText(home->ProFileName)) : std::u16string();
}

bool MonitorLogic::GameStepChanges(const GameSwitchStep& step) const {
    // A way back that names no profile any more is dropped as well.
    return step.kind != GameSwitchStep::Kind::kNothing || HomeName(step) != store_.games.home;
}

void MonitorLogic::FollowForeground(std::wstring_view program) {
    if (!store_.games.enabled || program.empty() || IsOwnProgram(program)) return;
    bool chosen = false;
    // Option saves a game it links without an apply request, so the store on
    // disk may be newer than ours: the stamp says so without reading it.
    if (!(StampOfStore() == stamp_)) {
        SharedLockScope scope(lock_);
        chosen = ReadStore();
    }
    bool switched = false;
    if (!chosen && GameStepChanges(DecideGameSwitch(GameInput(program)))) {
        SharedLockScope scope(lock_);
        if (!scope.held()) host_.Debug(L"game profiles: store lock not taken, switching without it\n");
        // Decided again on the file as it is now: a save of the other program
        // since our last read is neither lost nor overruled.
        chosen = ReadStore();
        const GameSwitchStep step = DecideGameSwitch(GameInput(program));
        if (!chosen && GameStepChanges(step)) {
            store_.games.home = HomeName(step);
            if (step.kind != GameSwitchStep::Kind::kNothing) store_.values.ProfileID = step.profile;
            // The mouse follows the store, never the other way round: no
            // switch that Option could not read back.
            if (SaveStore(GameKeys::kWrite))
                switched = step.kind != GameSwitchStep::Kind::kNothing;
            else
                ReadStore();
        }
    }
    if (chosen) {
        // Another program made another profile current and saved it without
        // an apply request reaching us first: that profile is what the mouse
        // gets, and it stays.
        host_.Debug(L"game profiles: another profile was chosen meanwhile, it stays\n");
        ApplyPointerSettings();
        QueueFullDownload();
        return;
    }
    if (!switched) return;
    ApplyPointerSettings();
    QueueFullDownload();
    host_.PostToOption(WM_PROFILE_CHANGED);
}

void MonitorLogic::SetGameProfilesEnabled(bool enabled) {
    {
        SharedLockScope scope(lock_);
        ReadStore();
        store_.games.enabled = enabled;
        if (!enabled) store_.games.home.clear();
        if (!SaveStore(GameKeys::kWrite)) ReadStore();
    }
    // Turned on from the icon's menu or Option, one of ours is in front by
    // then; the game the user came from is what is meant.
    if (enabled) FollowForeground(IsOwnProgram(foregroundProgram_) ? lastOutside_ : foregroundProgram_);
}

std::wstring ExecutableFileName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

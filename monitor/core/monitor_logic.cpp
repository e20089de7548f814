#include "monitor_logic.h"

#include <cstring>
#include <memory>

#include "app_messages.h"
#include "shared_lock.h"
#include "text_codec.h"

namespace {

constexpr int kMinButtonEventValue = 1;
constexpr int kMaxButtonEventValue = 8;

}  // namespace

MonitorLogic::MonitorLogic(std::filesystem::path storeFile, IMonitorHost& host, ISystemPointer& pointer)
    : storeFile_(std::move(storeFile)), host_(host), pointer_(pointer) {}

const ProfileRecord* MonitorLogic::CurrentProfile() const {
    return GetProfileAt(store_.profiles, store_.values.ProfileID);
}

void MonitorLogic::LoadAtStartup() {
    FreeProfiles(store_);
    LoadProfileStore(storeFile_, store_);
}

void MonitorLogic::Reload() {
    FreeProfiles(store_);
    if (LoadProfileStoreLocked(lock_, storeFile_, store_)) return;
    // No lock, or its last holder died inside a load or save (the lock has
    // been given back by now). The file itself is whole either way, because
    // every save replaces it in one step, so read it without the lock rather
    // than drive the mouse from an empty list.
    host_.Debug(L"OnApplyAllSetting: store lock not taken, reading the store without it\n");
    FreeProfiles(store_);
    LoadProfileStore(storeFile_, store_);
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
    Reload();
    ApplyPointerSettings();
    const ProfileRecord* current = CurrentProfile();
    if (mouseConnected) {
        if (!current) {
            // Nothing is ever downloaded from a missing record; Option must not wait.
            host_.Debug(L"OnApplyAllSetting: no current profile, nothing to download\n");
        } else if (host_.QueueDownload(DownloadJob::ChangedParts, *current, store_.values, lParam)) {
            return;  // the worker answers when the download is done
        }
    }
    AnswerApplyNow();
}

void MonitorLogic::AnswerApplyNow() {
    if (host_.PostToOption(WM_APPLY_DONE))
        host_.Debug(L"OnApplyAllSetting  Send Enable OK/Apply Button\n");
    else
        host_.Debug(L"OnApplyAllSetting Don't find Tarn Option Dialog\n");
}

bool MonitorLogic::QueueFullDownload() {
    if (const ProfileRecord* current = CurrentProfile())
        return host_.QueueDownload(DownloadJob::Everything, *current, store_.values, 0);
    // An empty store still gives the mouse a defined state: the Monitor's own reset values.
    auto defaults = std::make_unique<ProfileRecord>();
    std::memset(defaults.get(), 0, sizeof(ProfileRecord));
    ResetProfileMonitor(*defaults);
    host_.Debug(L"no current profile: downloading the Monitor's reset values\n");
    return host_.QueueDownload(DownloadJob::Everything, *defaults, store_.values, 0);
}

void MonitorLogic::OnLaunchButton(int buttonNumber) {
    if (buttonNumber < 1 || buttonNumber > kButtonCount) return;
    const ProfileRecord* current = CurrentProfile();
    if (!current) return;
    const ButtonAssignment& button = current->MacroKeyInfo[buttonNumber - 1];
    if (button.FunctionCode != kCodeLaunchProgram && button.FunctionCode != kCodeLaunchCommand) return;
    const std::u16string target = TrimText(FieldText(button.program));
    if (target.empty()) {
        host_.Debug(L"launch button without a program: nothing to open\n");
        return;
    }
    host_.OpenWithShell(target);
}

void MonitorLogic::OnConfigButton() { host_.PostOpenOption(); }

void MonitorLogic::OnDpiLevelButton(int value) {
    if (value < kMinButtonEventValue || value > kMaxButtonEventValue) return;
    SaveDeviceChange([value](ProfileRecord& profile) { profile.CpiStep = value - 1; });
}

void MonitorLogic::OnPollingRateButton(int value) {
    if (value < kMinButtonEventValue || value > kMaxButtonEventValue) return;
    SaveDeviceChange([value](ProfileRecord& profile) { profile.PollingRate = value; });
}

template <typename Change>
void MonitorLogic::SaveDeviceChange(Change change) {
    bool saved = false;
    {
        SharedLockScope scope(lock_);
        if (!scope.held()) host_.Debug(L"store lock not taken: saving the mouse's change without it\n");
        // Read the file again inside the same hold: Option may have saved
        // changes whose apply request is still queued behind this event, and
        // writing back our older copy would throw them away.
        FreeProfiles(store_);
        LoadProfileStore(storeFile_, store_);
        ProfileRecord* current = ::CurrentProfile(store_);
        if (!current) {
            host_.Debug(L"no current profile: the mouse's change is not stored\n");
            return;
        }
        change(*current);
        std::string error;
        saved = SaveProfileStore(storeFile_, store_, &error);
        if (!saved) {
            const std::u16string text = u"saving the store failed: " + Utf8ToU16(error) + u"\n";
            host_.Debug(std::wstring(text.begin(), text.end()).c_str());
        }
    }
    if (saved) host_.PostToOption(WM_PROFILE_CHANGED);
}

bool MonitorLogic::SetForegroundProgram(std::wstring name) {
    if (name == foregroundProgram_) return false;
    foregroundProgram_ = std::move(name);
    return true;
}

std::wstring ExecutableFileName(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

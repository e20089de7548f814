#include "monitor_logic.h"

#include <memory>

#include "app_messages.h"
#include "download_job.h"
#include "shared_lock.h"
#include "text_codec.h"

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
    if (mouseConnected) {
        std::unique_ptr<DownloadJob> job = MakeDownloadJob(store_, DownloadKind::kChangedParts, lParam);
        if (!job) {
            // Nothing is ever downloaded from a missing record; Option must not wait.
            host_.Debug(L"OnApplyAllSetting: no current profile, nothing to download\n");
        } else if (host_.QueueDownload(std::move(job))) {
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
    // Without a current profile the job carries the Monitor's own reset values,
    // so the mouse is still put into a defined state.
    if (!CurrentProfile()) host_.Debug(L"no current profile: downloading the Monitor's reset values\n");
    return host_.QueueDownload(MakeDownloadJob(store_, DownloadKind::kEverything));
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
        ApplyDeviceChange(*current, action);
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

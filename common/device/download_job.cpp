#include "download_job.h"

#include <cstring>

#include "button_table.h"
#include "profile_store.h"

void MakeMonitorDefaultProfile(ProfileRecord& profile) {
    std::memset(&profile, 0, sizeof profile);
    ResetProfileMonitor(profile);
}

std::unique_ptr<DownloadJob> MakeDownloadJob(const ProfileStore& store, DownloadKind kind, intptr_t lParam) {
    const ProfileRecord* current = GetProfileAt(store.profiles, store.values.ProfileID);
    if (current == nullptr && kind == DownloadKind::kChangedParts) return nullptr;
    auto job = std::make_unique<DownloadJob>();
    job->kind = kind;
    job->lParam = lParam;
    job->parts = kind == DownloadKind::kEverything ? PartFlags::All() : PartFlags::FromStore(store.values);
    if (current != nullptr)
        job->profile = *current;
    else
        MakeMonitorDefaultProfile(job->profile);
    return job;
}

namespace {

class PreciseWaits {
public:
    explicit PreciseWaits(ISleeper& sleeper) : sleeper_(sleeper) { sleeper_.BeginPreciseWaits(); }
    ~PreciseWaits() { sleeper_.EndPreciseWaits(); }
    PreciseWaits(const PreciseWaits&) = delete;
    PreciseWaits& operator=(const PreciseWaits&) = delete;

private:
    ISleeper& sleeper_;
};

}  // namespace

JobOutcome RunDownloadJob(const DownloadJob& job, DeviceState state, IDeviceChannel& channel, ISleeper& sleeper,
                          IWorkerHost& host, ButtonTable& scratch) {
    if (state != DeviceState::kConnected) return JobOutcome::kDropped;
    {
        PreciseWaits precise(sleeper);
        RunDownload(channel, sleeper, job.profile, job.parts, scratch);
    }
    if (job.kind == DownloadKind::kChangedParts) {
        if (host.PostApplyDone())
            host.DebugText(kDebugApplyDoneByWorker);
        else
            host.DebugText(kDebugOptionNotFound);
    }
    return JobOutcome::kDownloaded;
}

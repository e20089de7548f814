#pragma once
// One request to the download worker, and what the worker does with it.
//
// A job carries its own copy of the profile and of the part flags, taken when it
// is posted: the main thread frees and rebuilds its profile list on every apply
// request, possibly while an earlier download is still running.
#include <cstdint>
#include <memory>

#include "device_state.h"
#include "download_sequence.h"
#include "profile_record.h"

struct ProfileStore;
struct ButtonTable;

enum class DownloadKind : unsigned {
    kChangedParts = 1,  // the flagged parts, then WM_APPLY_DONE to Option
    kEverything = 2,    // a full download; nobody is told
};

struct DownloadJob {
    DownloadKind kind = DownloadKind::kEverything;
    PartFlags parts;
    intptr_t lParam = 0;  // the request's lParam, carried along
    ProfileRecord profile{};
};

// The job for `kind`, or null when there is nothing to download: an apply
// request with no current profile (an empty store or ProfileID past its end).
// A full download without a current profile sends the Monitor's own reset values.
std::unique_ptr<DownloadJob> MakeDownloadJob(const ProfileStore& store, DownloadKind kind, intptr_t lParam = 0);

// The profile the Monitor falls back to when the store has none.
void MakeMonitorDefaultProfile(ProfileRecord& profile);

// What the worker needs from its surroundings besides the channel.
class IWorkerHost {
public:
    virtual ~IWorkerHost() = default;
    // Posts WM_APPLY_DONE to Option's window; false when that window does not exist.
    virtual bool PostApplyDone() = 0;
    virtual void DebugText(const char* text) = 0;
};

inline constexpr char kDebugApplyDoneByWorker[] = "Thread Send Enable OK/Apply Button\n";
inline constexpr char kDebugOptionNotFound[] = "OnApplyAllSetting Don't find Tarn Option Dialog\n";

enum class JobOutcome {
    kDropped,     // the mouse was not connected when the job came up
    kDownloaded,  // downloaded; a changed-parts job also answered Option
};

// Runs one job as the worker does: dropped unless `state` is connected;
// otherwise the download (with precise waits), then the answer to Option for a
// changed-parts job. `scratch` is the worker's macro block store.
JobOutcome RunDownloadJob(const DownloadJob& job, DeviceState state, IDeviceChannel& channel, ISleeper& sleeper,
                          IWorkerHost& host, ButtonTable& scratch);

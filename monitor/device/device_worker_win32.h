#pragma once
// DeviceWorker: the Monitor's download thread. It has its own message queue and
// runs WM_WORKER_DOWNLOAD jobs one after another; every send to the mouse
// happens on it.
//
// Use from the main thread only:
//   DeviceWorker worker(library, link);   // channel and DeviceState source
//   worker.Start();                       // after the store lock exists, before Connect
//   worker.PostDownload(store, DownloadKind::kEverything);
//   ...
//   worker.Stop();                        // before the library is freed
//
// PostDownload copies the current profile and the part flags into the job, so
// the main thread may free and reload its store at once. The thread message
// carries the kind in wParam and a job number in lParam; a WM_WORKER_DOWNLOAD
// that did not come from PostDownload names no job and is dropped.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "device_state.h"
#include "download_job.h"
#include "kernel_handle.h"

struct ButtonTable;

class DeviceWorker {
public:
    // `host` answers Option and writes debug text (default: the window
    // "7741 Gaming Mouse Option" and OutputDebugString); `sleeper` makes the
    // waits (default: Sleep with the timer resolution raised per download).
    // All of them must outlive the worker.
    DeviceWorker(IDeviceChannel& channel, const IDeviceStateSource& state, IWorkerHost* host = nullptr,
                 ISleeper* sleeper = nullptr);
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Creates the thread (4096-byte initial stack) and returns once its message
    // queue exists, so a job posted right after cannot be lost.
    bool Start();
    // Posts WM_QUIT, waits for the thread without time limit, closes its handle.
    // A download in progress runs to its end first; jobs still queued are dropped.
    void Stop();

    bool IsRunning() const { return thread_.Valid(); }
    unsigned long ThreadId() const { return threadId_; }

    // Queues a download of the store's current profile. False when nothing was
    // queued: an apply without a current profile, a worker that is not running,
    // or a failed post. The caller then answers Option at once.
    bool PostDownload(const ProfileStore& store, DownloadKind kind, intptr_t lParam = 0);
    bool PostJob(std::unique_ptr<DownloadJob> job);

    // Jobs posted and not yet taken by the thread.
    size_t QueuedJobs() const;

private:
    static unsigned long __stdcall ThreadMain(void* param);
    void Loop();
    void RunMessage(uintptr_t wParam, intptr_t lParam, ButtonTable& scratch);
    std::unique_ptr<DownloadJob> TakeJob(intptr_t id);

    IDeviceChannel& channel_;
    const IDeviceStateSource& state_;
    std::unique_ptr<IWorkerHost> ownHost_;
    std::unique_ptr<ISleeper> ownSleeper_;
    IWorkerHost* host_;
    ISleeper* sleeper_;

    KernelHandle thread_;
    unsigned long threadId_ = 0;

    mutable std::mutex mutex_;
    std::map<intptr_t, std::unique_ptr<DownloadJob>> jobs_;
    intptr_t nextJobId_ = 1;
};

// The worker's default host: WM_APPLY_DONE to the window titled
// "7741 Gaming Mouse Option", debug text through OutputDebugString.
class OptionWindowHost final : public IWorkerHost {
public:
    bool PostApplyDone() override;
    void DebugText(const char* text) override;
};

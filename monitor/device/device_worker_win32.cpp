#include "device_worker_win32.h"

#include <windows.h>

#include <new>

#include "app_messages.h"
#include "button_table.h"
#include "platform_sleeper_win32.h"

namespace {

constexpr SIZE_T kWorkerStackCommit = 4096;

struct StartContext {
    DeviceWorker* worker;
    HANDLE ready;  // not owned
};

}  // namespace

bool OptionWindowHost::PostApplyDone() {
    HWND option = FindWindowW(nullptr, kOptionWindowTitle);
    return option != nullptr && PostMessageW(option, WM_APPLY_DONE, 0, 0) != FALSE;
}

void OptionWindowHost::DebugText(const char* text) { OutputDebugStringA(text); }

DeviceWorker::DeviceWorker(IDeviceChannel& channel, const IDeviceStateSource& state, IWorkerHost* host,
                           ISleeper* sleeper)
    : channel_(channel), state_(state) {
    if (host == nullptr) ownHost_ = std::make_unique<OptionWindowHost>();
    if (sleeper == nullptr) ownSleeper_ = std::make_unique<PlatformSleeper>();
    host_ = host != nullptr ? host : ownHost_.get();
    sleeper_ = sleeper != nullptr ? sleeper : ownSleeper_.get();
}

DeviceWorker::~DeviceWorker() { Stop(); }

bool DeviceWorker::Start() {
    if (thread_) return true;
    const KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    StartContext context{this, ready.get()};
    DWORD id = 0;
    // No STACK_SIZE_PARAM_IS_A_RESERVATION: 4096 bytes are committed, the
    // reservation is the program's default.
    KernelHandle thread(CreateThread(nullptr, kWorkerStackCommit, &DeviceWorker::ThreadMain, &context, 0, &id));
    if (!thread) {
        OutputDebugStringA("DeviceWorker: CreateThread failed\n");
        return false;
    }
    // The thread signals once its queue exists; if it died instead, do not wait forever.
    const HANDLE waitFor[2] = {ready.get(), thread.get()};
    WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    thread_ = std::move(thread);
    threadId_ = id;
    return true;
}

void DeviceWorker::Stop() {
    if (!thread_) return;
    // A full queue refuses the post; the thread keeps draining it, so try again.
    while (!PostThreadMessageW(threadId_, WM_QUIT, 0, 0)) {
        if (WaitForSingleObject(thread_.get(), 10) == WAIT_OBJECT_0) break;
    }
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.Reset();
    threadId_ = 0;
    std::lock_guard lock(mutex_);
    jobs_.clear();
}

bool DeviceWorker::PostDownload(const ProfileStore& store, DownloadKind kind, intptr_t lParam) {
    std::unique_ptr<DownloadJob> job;
    try {
        job = MakeDownloadJob(store, kind, lParam);
    } catch (const std::bad_alloc&) {
        OutputDebugStringA("DeviceWorker: out of memory for a download job\n");
        return false;
    }
    return job != nullptr && PostJob(std::move(job));
}

bool DeviceWorker::PostJob(std::unique_ptr<DownloadJob> job) {
    if (!thread_ || job == nullptr) return false;
    const auto kind = static_cast<WPARAM>(job->kind);
    std::lock_guard lock(mutex_);
    const intptr_t id = nextJobId_++;
    try {
        jobs_.emplace(id, std::move(job));
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Posted under the lock so that job numbers reach the queue in order.
    if (!PostThreadMessageW(threadId_, WM_WORKER_DOWNLOAD, kind, static_cast<LPARAM>(id))) {
        jobs_.erase(id);
        return false;
    }
    return true;
}

size_t DeviceWorker::QueuedJobs() const {
    std::lock_guard lock(mutex_);
    return jobs_.size();
}

unsigned long __stdcall DeviceWorker::ThreadMain(void* param) {
    auto* context = static_cast<StartContext*>(param);
    DeviceWorker* self = context->worker;
    MSG msg;
    // The first call of a message function creates this thread's queue.
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(context->ready);  // `context` lives on Start's stack: not used after this
    try {
        self->Loop();
    } catch (...) {
        OutputDebugStringA("DeviceWorker: the download thread stopped on an error\n");
    }
    return 0;
}

void DeviceWorker::Loop() {
    // The block store lives on the heap: the thread's stack is small.
    auto scratch = std::make_unique<ButtonTable>();
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (msg.hwnd == nullptr && msg.message == WM_WORKER_DOWNLOAD)
            RunMessage(msg.wParam, msg.lParam, *scratch);
    }
}

std::unique_ptr<DownloadJob> DeviceWorker::TakeJob(intptr_t id) {
    std::lock_guard lock(mutex_);
    const auto it = jobs_.find(id);
    if (it == jobs_.end()) return nullptr;
    std::unique_ptr<DownloadJob> job = std::move(it->second);
    jobs_.erase(it);
    return job;
}

void DeviceWorker::RunMessage(uintptr_t wParam, intptr_t lParam, ButtonTable& scratch) {
    const std::unique_ptr<DownloadJob> job = TakeJob(lParam);
    if (!job) {
        host_->DebugText("DeviceWorker: download request without a job dropped\n");
        return;
    }
    if (wParam != static_cast<uintptr_t>(job->kind)) return;
    RunDownloadJob(*job, state_.State(), channel_, *sleeper_, *host_, scratch);
}

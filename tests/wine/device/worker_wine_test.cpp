// The DeviceWorker thread under Wine: start and stop, jobs in order, jobs that
// must be dropped, the answer to Option, and the private copy of the profile.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "app_messages.h"
#include "device_test_support.h"
#include "device_worker_win32.h"
#include "wine_test_support.h"

namespace {

// Thread-safe recording channel; every wait is instant.
class ThreadChannel final : public IDeviceChannel, public ISleeper {
public:
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> c) override {
        std::lock_guard lock(mutex_);
        commands_.push_back(c[0] == kCmdMacroBlock ? (0x0F00 | c[1]) : c[0]);
        if (c[0] == kCmdPollingRate) rates_.push_back(c[2]);
        if (c[0] == kCmdEndDownload) ++downloads_;
        threadId_ = GetCurrentThreadId();
        return 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize>) override { return 1; }
    void SleepMs(int ms) override {
        if (slow_) Sleep(static_cast<DWORD>(ms));
    }
    void BeginPreciseWaits() override { ++precise_; }
    void EndPreciseWaits() override { --precise_; }

    std::vector<int> Commands() {
        std::lock_guard lock(mutex_);
        return commands_;
    }
    std::vector<int> Rates() {
        std::lock_guard lock(mutex_);
        return rates_;
    }
    int Downloads() {
        std::lock_guard lock(mutex_);
        return downloads_;
    }
    DWORD ThreadId() {
        std::lock_guard lock(mutex_);
        return threadId_;
    }
    std::atomic<bool> slow_{false};
    std::atomic<int> precise_{0};

private:
    std::mutex mutex_;
    std::vector<int> commands_;
    std::vector<int> rates_;
    int downloads_ = 0;
    DWORD threadId_ = 0;
};

class StateCell final : public IDeviceStateSource {
public:
    DeviceState State() const override { return state.load(); }
    std::atomic<DeviceState> state{DeviceState::kConnected};
};

class CountingHost final : public IWorkerHost {
public:
    bool PostApplyDone() override { return inner.PostApplyDone(); }
    void DebugText(const char* text) override {
        std::lock_guard lock(mutex);
        debug.push_back(text);
    }
    OptionWindowHost inner;
    std::mutex mutex;
    std::vector<std::string> debug;
};

ProfileStore StoreWithRate(int rate, int keysFlag = 0) {
    ProfileStore store;
    auto p = std::make_unique<ProfileRecord>(MonitorDefaultProfile());
    p->PollingRate = rate;
    SetMacro(*p, 3, {{0x04, 1, 0}});
    store.profiles.push_back(std::move(p));
    store.values = {1, 0, keysFlag, 0, 0, 1};
    return store;
}

TEST(DeviceWorkerWine, JobPostedRightAfterStartRunsOnTheWorkerThread) {
    ThreadChannel channel;
    StateCell state;
    CountingHost host;
    DeviceWorker worker(channel, state, &host, &channel);
    ASSERT_TRUE(worker.Start());
    ASSERT_NE(worker.ThreadId(), 0u);
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(4), DownloadKind::kEverything));
    ASSERT_TRUE(wine_test::PumpUntil([&] { return channel.Downloads() == 1; }));
    EXPECT_EQ(channel.ThreadId(), worker.ThreadId());
    EXPECT_EQ(channel.Commands(), (std::vector<int>{0x01, 0x03, 0x04, 0x0C, 0x0D, 0x0F04, 0x02}));
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(channel.precise_.load(), 0);
    // Stopped: nothing more is accepted, and stopping again is harmless.
    EXPECT_FALSE(worker.PostDownload(StoreWithRate(4), DownloadKind::kEverything));
    worker.Stop();
}

TEST(DeviceWorkerWine, JobsRunInOrderWithTheirOwnCopies) {
    ThreadChannel channel;
    channel.slow_ = true;  // the first download is still running while the others are posted
    StateCell state;
    CountingHost host;
    DeviceWorker worker(channel, state, &host, &channel);
    ASSERT_TRUE(worker.Start());
    for (int rate : {1, 2, 4, 8}) {
        ProfileStore store = StoreWithRate(rate);
        ASSERT_TRUE(worker.PostDownload(store, DownloadKind::kChangedParts));
        // The main thread frees its list at once, as on the next apply request.
        store.profiles[0]->PollingRate = 99;
        FreeProfiles(store);
    }
    ASSERT_TRUE(wine_test::PumpUntil([&] { return channel.Downloads() == 4; }));
    EXPECT_EQ(channel.Rates(), (std::vector<int>{1, 2, 4, 8}));
    worker.Stop();
    std::lock_guard lock(host.mutex);
    ASSERT_EQ(host.debug.size(), 4u);  // no Option window in this test
    EXPECT_EQ(host.debug[0], kDebugOptionNotFound);
}

TEST(DeviceWorkerWine, AnswersOptionAfterAnApply) {
    wine_test::MessageWindow option(kOptionWindowTitle);
    ASSERT_NE(option.hwnd(), nullptr);
    ThreadChannel channel;
    StateCell state;
    CountingHost host;
    DeviceWorker worker(channel, state, &host, &channel);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(2), DownloadKind::kChangedParts));
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(2), DownloadKind::kEverything));
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(2), DownloadKind::kChangedParts));
    ASSERT_TRUE(wine_test::PumpUntil([&] { return option.Count(WM_APPLY_DONE) == 2 && channel.Downloads() == 3; }));
    const auto answers = option.Of(WM_APPLY_DONE);
    EXPECT_EQ(answers[0].wParam, 0u);
    EXPECT_EQ(answers[0].lParam, 0);
    worker.Stop();
    std::lock_guard lock(host.mutex);
    EXPECT_EQ(host.debug, (std::vector<std::string>{kDebugApplyDoneByWorker, kDebugApplyDoneByWorker}));
}

TEST(DeviceWorkerWine, DroppedJobsAndForeignRequests) {
    ThreadChannel channel;
    StateCell state;
    state.state = DeviceState::kRemoved;
    CountingHost host;
    DeviceWorker worker(channel, state, &host, &channel);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(2), DownloadKind::kChangedParts));
    // A request that did not come through PostDownload names no job.
    ASSERT_TRUE(PostThreadMessageW(worker.ThreadId(), WM_WORKER_DOWNLOAD, 2, 12345));
    ASSERT_TRUE(PostThreadMessageW(worker.ThreadId(), WM_WORKER_DOWNLOAD, 7, 0));
    // The worker takes its messages in order: once both foreign requests are
    // written down, the apply job has come and gone.
    ASSERT_TRUE(wine_test::PumpUntil([&] {
        std::lock_guard lock(host.mutex);
        return host.debug.size() == 2;
    }));
    EXPECT_EQ(worker.QueuedJobs(), 0u);
    state.state = DeviceState::kConnected;
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(8), DownloadKind::kEverything));
    ASSERT_TRUE(wine_test::PumpUntil([&] { return channel.Downloads() == 1; }));
    EXPECT_EQ(channel.Rates(), std::vector<int>{8});  // only the job that came when connected
    worker.Stop();
    std::lock_guard lock(host.mutex);
    EXPECT_EQ(host.debug.size(), 2u);  // the two foreign requests; the dropped apply answers nobody

    // An apply without a current profile is not queued: the caller answers Option itself.
    ProfileStore empty;
    DeviceWorker again(channel, state, &host, &channel);
    ASSERT_TRUE(again.Start());
    EXPECT_FALSE(again.PostDownload(empty, DownloadKind::kChangedParts));
    EXPECT_TRUE(again.PostDownload(empty, DownloadKind::kEverything));
}

TEST(DeviceWorkerWine, StopWaitsForTheRunningDownload) {
    ThreadChannel channel;
    channel.slow_ = true;
    StateCell state;
    CountingHost host;
    DeviceWorker worker(channel, state, &host, &channel);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.PostDownload(StoreWithRate(2), DownloadKind::kEverything));
    ASSERT_TRUE(wine_test::PumpUntil([&] { return !channel.Commands().empty(); }));
    worker.Stop();
    // The download ran to its end before the thread let go.
    EXPECT_EQ(channel.Commands().back(), 0x02);
}

}  // namespace

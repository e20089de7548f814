// The report channel's overlapped writes and reader thread, driven over a named
// pipe in message mode: each pipe message plays one HID report of the mouse.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "hid_framing.h"
#include "process_counters.h"
#include "win32_feature_channel.h"
#include "win32_report_channel.h"

using namespace hidio;

namespace {

// The two ends of a fresh pipe: `mouse` is the device side, `host` what the
// library would have opened with CreateFileW.
struct PipePair {
    KernelHandle mouse;
    KernelHandle host;
};

PipePair MakePipe(DWORD bufferSize) {
    static std::atomic<int> counter{0};
    const std::wstring name = L"\\\\.\\pipe\\gm7741-hid-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter++);
    PipePair pair;
    pair.mouse.Reset(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                      PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, bufferSize,
                                      bufferSize, 0, nullptr));
    pair.host.Reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr));
    return pair;
}

// Synchronous write or read on an overlapped handle.
bool MouseSends(HANDLE mouse, const std::vector<uint8_t>& report) {
    OVERLAPPED ov{};
    KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ov.hEvent = done.get();
    DWORD n = 0;
    if (!WriteFile(mouse, report.data(), static_cast<DWORD>(report.size()), nullptr, &ov) &&
        GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    return GetOverlappedResult(mouse, &ov, &n, TRUE) && n == report.size();
}

std::vector<uint8_t> MouseReceives(HANDLE mouse, size_t size) {
    std::vector<uint8_t> buffer(size + 16);
    OVERLAPPED ov{};
    KernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ov.hEvent = done.get();
    DWORD n = 0;
    if (!ReadFile(mouse, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &ov) &&
        GetLastError() != ERROR_IO_PENDING) {
        return {};
    }
    if (!GetOverlappedResult(mouse, &ov, &n, TRUE)) return {};
    buffer.resize(n);
    return buffer;
}

// Collects what the reader hands over and lets the test wait for it.
class ReportCollector {
public:
    ReportCollector() : arrived_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    IReportChannel::ReportHandler Handler() {
        return [this](std::span<const uint8_t> report) {
            {
                std::lock_guard lock(mutex_);
                reports_.emplace_back(report.begin(), report.end());
            }
            SetEvent(arrived_.get());
        };
    }
    // Waits until `count` reports are in (a hang here fails the test by its time limit).
    std::vector<std::vector<uint8_t>> WaitFor(size_t count) {
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (reports_.size() >= count) return reports_;
            }
            WaitForSingleObject(arrived_.get(), INFINITE);
        }
    }
    size_t Count() {
        std::lock_guard lock(mutex_);
        return reports_.size();
    }

private:
    KernelHandle arrived_;
    std::mutex mutex_;
    std::vector<std::vector<uint8_t>> reports_;
};

}  // namespace

TEST(ReportChannel, WritesEachOutputReportWhole) {
    PipePair pipe = MakePipe(4096);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    Win32ReportChannel channel(std::move(pipe.host));
    std::vector<uint8_t> half(64);
    for (size_t i = 0; i < half.size(); ++i) half[i] = static_cast<uint8_t>(0x80 + i);
    const std::vector<uint8_t> report = BuildOutputReport(half);
    ASSERT_TRUE(channel.WriteReport(report, 1000));
    EXPECT_EQ(MouseReceives(pipe.mouse.get(), 65), report);
}

TEST(ReportChannel, ReaderHandsOverEveryInputReportInOrder) {
    PipePair pipe = MakePipe(4096);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    Win32ReportChannel channel(std::move(pipe.host));
    ReportCollector collector;
    ASSERT_TRUE(channel.StartReading(kInputReportLength, collector.Handler()));
    EXPECT_FALSE(channel.StartReading(kInputReportLength, collector.Handler())) << "one reader per channel";

    const std::vector<std::vector<uint8_t>> sent = {
        BuildInputReport({0x0702, 3}), BuildInputReport({0x00A0, 1}), BuildInputReport({0x000A, 16})};
    for (const auto& report : sent) ASSERT_TRUE(MouseSends(pipe.mouse.get(), report));
    EXPECT_EQ(collector.WaitFor(3), sent);
    channel.Shutdown();
}

TEST(ReportChannel, ShutdownEndsTheReaderAndLaterWritesFail) {
    PipePair pipe = MakePipe(4096);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    const DWORD before = ThreadsOfThisProcess();
    {
        Win32ReportChannel channel(std::move(pipe.host));
        ReportCollector collector;
        ASSERT_TRUE(channel.StartReading(kInputReportLength, collector.Handler()));
        EXPECT_EQ(ThreadsOfThisProcess(), before + 1);
        channel.Shutdown();
        EXPECT_EQ(ThreadsOfThisProcess(), before) << "Shutdown waits for the reader";
        channel.Shutdown();
        const std::vector<uint8_t> report(65, 0x06);
        EXPECT_FALSE(channel.WriteReport(report, 1000));
        EXPECT_FALSE(channel.StartReading(kInputReportLength, collector.Handler()));
        // Nothing read after Shutdown reaches the handler.
        MouseSends(pipe.mouse.get(), BuildInputReport({0x0701, 2}));
        Sleep(50);
        EXPECT_EQ(collector.Count(), 0u);
    }
    EXPECT_EQ(ThreadsOfThisProcess(), before);
}

TEST(ReportChannel, ReaderEndsByItselfWhenTheDeviceGoesAway) {
    PipePair pipe = MakePipe(4096);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    const DWORD before = ThreadsOfThisProcess();
    Win32ReportChannel channel(std::move(pipe.host));
    ReportCollector collector;
    ASSERT_TRUE(channel.StartReading(kInputReportLength, collector.Handler()));
    ASSERT_TRUE(MouseSends(pipe.mouse.get(), BuildInputReport({0x0504, 4})));
    collector.WaitFor(1);
    pipe.mouse.Reset();  // unplugged
    while (ThreadsOfThisProcess() != before) Sleep(10);
    EXPECT_EQ(collector.Count(), 1u);
    channel.Shutdown();  // still fine after the reader is gone
}

TEST(ReportChannel, AWriteTheDeviceNeverTakesIsGivenUpAtItsTimeLimit) {
    // A one-byte pipe buffer nobody reads: the 65-byte write can only pend.
    PipePair pipe = MakePipe(1);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    Win32ReportChannel channel(std::move(pipe.host));
    const std::vector<uint8_t> report(65, 0x06);
    EXPECT_FALSE(channel.WriteReport(report, 200));
    // The channel is not left stuck behind the cancelled request.
    EXPECT_FALSE(channel.WriteReport(report, 200));
}

TEST(ReportChannel, ShutdownCancelsAWriteInFlightOnAnotherThread) {
    PipePair pipe = MakePipe(1);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    Win32ReportChannel channel(std::move(pipe.host));
    struct Writer {
        Win32ReportChannel* channel;
        KernelHandle started;
        std::atomic<int> result{-1};
    } writer{&channel, KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
    // No time limit of its own: only the cancel can end this write.
    KernelHandle thread(CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            auto* w = static_cast<Writer*>(p);
            SetEvent(w->started.get());
            const std::vector<uint8_t> report(65, 0x06);
            w->result = w->channel->WriteReport(report, INFINITE) ? 1 : 0;
            return 0;
        },
        &writer, 0, nullptr));
    ASSERT_TRUE(thread);
    WaitForSingleObject(writer.started.get(), INFINITE);
    Sleep(100);  // let it reach the wait
    ASSERT_EQ(writer.result, -1) << "the write must still be waiting for the device";
    channel.Shutdown();
    WaitForSingleObject(thread.get(), INFINITE);
    EXPECT_EQ(writer.result, 0);
}

TEST(FeatureChannel, AHandleThatIsNoHidCollectionRefusesFeatureReports) {
    PipePair pipe = MakePipe(4096);
    ASSERT_TRUE(pipe.mouse && pipe.host);
    Win32FeatureChannel channel(std::move(pipe.host));
    const std::vector<uint8_t> command = {0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF6};
    EXPECT_FALSE(channel.SendFeatureReport(BuildFeatureReport(command)));
    EXPECT_FALSE(channel.SendFeatureReport({}));
    Win32FeatureChannel closed{KernelHandle()};
    EXPECT_FALSE(closed.SendFeatureReport(BuildFeatureReport(command)));
}

#include "win32_report_channel.h"

#include <memory>
#include <vector>

#include "module_thread.h"

namespace hidio {

namespace {

// One write in flight. Lives on the heap so that a request the driver never gives
// back can keep its buffer and OVERLAPPED for good instead of writing into a
// dead stack frame.
struct PendingWrite {
    OVERLAPPED overlapped{};
    KernelHandle done;
    std::vector<uint8_t> buffer;
};

}  // namespace

Win32ReportChannel::Win32ReportChannel(KernelHandle device)
    : device_(std::move(device)), stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32ReportChannel::~Win32ReportChannel() { Shutdown(); }

bool Win32ReportChannel::WriteReport(std::span<const uint8_t> report, unsigned timeoutMs) {
    if (shutDown_ || !device_ || report.empty()) return false;
    auto io = std::make_unique<PendingWrite>();
    io->done.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!io->done) return false;
    io->overlapped.hEvent = io->done.get();
    io->buffer.assign(report.begin(), report.end());

    const DWORD length = static_cast<DWORD>(io->buffer.size());
    if (!WriteFile(device_.get(), io->buffer.data(), length, nullptr, &io->overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    DWORD written = 0;
    if (WaitForSingleObject(io->done.get(), timeoutMs) != WAIT_OBJECT_0) {
        CancelIoEx(device_.get(), &io->overlapped);
        if (WaitForSingleObject(io->done.get(), kCancelGraceMs) != WAIT_OBJECT_0) {
            OutputDebugStringW(L"devio: a timed-out write was not given back by the driver\n");
            io.release();  // deliberately kept: the driver may still write into it
            return false;
        }
        GetOverlappedResult(device_.get(), &io->overlapped, &written, FALSE);
        return false;
    }
    if (!GetOverlappedResult(device_.get(), &io->overlapped, &written, FALSE)) return false;
    return written == length;
}

bool Win32ReportChannel::StartReading(size_t reportLength, ReportHandler onReport) {
    std::lock_guard<HidMutex> lock(readerMutex_);
    if (reader_ || shutDown_ || !device_ || !stopEvent_ || reportLength == 0 || !onReport) return false;
    reader_ = StartModuleThread(
        [this, reportLength, handler = std::move(onReport)] { ReadLoop(reportLength, handler); });
    return reader_.Valid();
}

void Win32ReportChannel::ReadLoop(size_t reportLength, const ReportHandler& onReport) {
    KernelHandle readDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readDone) return;
    std::vector<uint8_t> buffer(reportLength);
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = readDone.get();
        ResetEvent(readDone.get());
        if (!ReadFile(device_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &overlapped) &&
            GetLastError() != ERROR_IO_PENDING) {
            break;  // the device is gone; the Monitor hears of it by the removal notice
        }
        const HANDLE waits[2] = {stopEvent_.get(), readDone.get()};
        DWORD got = 0;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            // The read must be finished before its buffer and OVERLAPPED go away.
            CancelIoEx(device_.get(), &overlapped);
            GetOverlappedResult(device_.get(), &overlapped, &got, TRUE);
            break;
        }
        if (!GetOverlappedResult(device_.get(), &overlapped, &got, FALSE) || got == 0) break;
        onReport(std::span<const uint8_t>(buffer.data(), got));
    }
}

void Win32ReportChannel::Shutdown() {
    shutDown_ = true;
    KernelHandle reader;
    {
        std::lock_guard<HidMutex> lock(readerMutex_);
        reader = std::move(reader_);
    }
    if (stopEvent_) SetEvent(stopEvent_.get());
    if (reader) WaitForSingleObject(reader.get(), INFINITE);
    // Writes of other threads still in flight end now instead of at their time limit.
    if (device_) CancelIoEx(device_.get(), nullptr);
}

}  // namespace hidio

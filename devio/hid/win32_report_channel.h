#pragma once
// The report channel over an open HID interface: block halves go out as output
// reports with overlapped writes under a time limit, and a reader thread of the
// channel's own hands every input report to a handler.
#include <atomic>
#include <mutex>

#include "hid_backend.h"
#include "hid_mutex.h"
#include "kernel_handle.h"

namespace hidio {

class Win32ReportChannel final : public IReportChannel {
public:
    // How long a timed-out write may take to give its request back after it was
    // cancelled. A driver that holds it longer is not waited for.
    static constexpr DWORD kCancelGraceMs = 500;

    // Takes the handle of the interface, opened with FILE_FLAG_OVERLAPPED.
    explicit Win32ReportChannel(KernelHandle device);
    ~Win32ReportChannel() override;
    Win32ReportChannel(const Win32ReportChannel&) = delete;
    Win32ReportChannel& operator=(const Win32ReportChannel&) = delete;

    bool WriteReport(std::span<const uint8_t> report, unsigned timeoutMs) override;
    bool StartReading(size_t reportLength, ReportHandler onReport) override;
    void Shutdown() override;

private:
    void ReadLoop(size_t reportLength, const ReportHandler& onReport);

    KernelHandle device_;
    KernelHandle stopEvent_;  // manual reset; set once by Shutdown
    HidMutex readerMutex_;
    KernelHandle reader_;
    std::atomic<bool> shutDown_{false};
};

}  // namespace hidio

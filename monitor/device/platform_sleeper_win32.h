#pragma once
// The worker's waits on Windows. The default scheduler tick is 15.6 ms, which
// turns every 20 ms wait into about 31 ms; for the length of a download the
// timer resolution is raised to 1 ms.
#include "download_sequence.h"

class PlatformSleeper final : public ISleeper {
public:
    // `raiseResolution` false keeps the system's tick (for comparison in benchmarks).
    explicit PlatformSleeper(bool raiseResolution = true) : raise_(raiseResolution) {}
    void SleepMs(int milliseconds) override;
    void BeginPreciseWaits() override;
    void EndPreciseWaits() override;

private:
    bool raise_;
    bool raised_ = false;
};

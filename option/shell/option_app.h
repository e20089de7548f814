#pragma once
// COptionApp: one Option per user session. Its whole life is the modal main
// window; when that closes, the process ends.
#include "kernel_handle.h"

class COptionApp {
public:
    COptionApp() = default;
    ~COptionApp();
    COptionApp(const COptionApp&) = delete;
    COptionApp& operator=(const COptionApp&) = delete;

    // Runs Option; returns at once when another copy runs.
    int Run();

private:
    void ExitInstance();

    KernelHandle instanceMutex_;
    bool comInitialized_ = false;
    bool hookInstalled_ = false;
};

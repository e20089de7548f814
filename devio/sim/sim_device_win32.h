#pragma once
// The virtual mouse inside devio.dll: the emulator, its attachment, the two
// channels, the messages it posts to the program that opened it, the trace and
// the state file, and the hidden control window that mousesim talks to.
//
// One per process. Every export and the control window go through one lock, so
// the trace keeps the order in which calls really happened.
#include <windows.h>

#include <filesystem>
#include <mutex>
#include <string>

#include "kernel_handle.h"
#include "mouse_emulator.h"
#include "sim_control.h"

class SimDevice {
public:
    static SimDevice& Instance();

    int SetVidPid(int vendorId, int productId);
    int OpenDevMonitor(HWND window, int eventMessage, int plugMessage);
    int CloseDevMonitor();
    int OpenFeatureDevice();
    int CloseFeatureDevice();
    int OpenReportDevice();
    int CloseReportDevice();
    int SetFeature(const unsigned char* bytes, int length);
    int WriteUSB(const unsigned char* bytes, int length);

    // A mousesim command; the reply starts with "ok" or "error".
    std::string Execute(const SimCommand& command);

private:
    SimDevice();
    ~SimDevice();
    SimDevice(const SimDevice&) = delete;
    SimDevice& operator=(const SimDevice&) = delete;

    bool Present() const;  // attached and asked for by its own vendor and product id
    void Trace(const std::string& line);
    void WriteState();
    std::string StateReply();
    std::filesystem::path PathFromEnvironment(const wchar_t* variable, const wchar_t* defaultName) const;

    bool StartControlThread();
    void StopControlThread();
    // The control window's thread: `ready` is set once the window is up (or has failed).
    void RunControlWindow(HANDLE ready);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::mutex mutex_;
    MouseEmulator emulator_;
    bool attached_ = true;
    bool featureOpen_ = false;
    bool reportOpen_ = false;
    int vendorId_ = 0;
    int productId_ = 0;

    HWND target_ = nullptr;  // the program's window; not ours
    UINT eventMessage_ = 0;
    UINT plugMessage_ = 0;

    KernelHandle traceFile_;
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
    bool started_ = false;  // Open_DevMonitor was called: trace times count from it
    // DEVIO_SIM_TRACE_CLOCK=qpc: trace times are QueryPerformanceCounter
    // milliseconds (with fractions), comparable with other processes' clocks.
    bool absoluteClock_ = false;

    KernelHandle controlThread_;
    DWORD controlThreadId_ = 0;
    HMODULE module_ = nullptr;  // this DLL; not owned
    std::filesystem::path folder_;
};

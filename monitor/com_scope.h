#pragma once
// COM for the calling thread, from construction to destruction. The shell
// calls of the Monitor (opening Option, a launch button's program) may create
// COM objects on its thread.
#include <objbase.h>

class ComScope {
public:
    ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialized_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

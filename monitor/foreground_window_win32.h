#pragma once
// The foreground as Windows reports it, for the Monitor's ForegroundWatch.
#include "foreground_watch.h"

class CForegroundWindow final : public IForegroundWindow {
public:
    uintptr_t Window() override;
    std::wstring ProgramOf(uintptr_t window) override;
};

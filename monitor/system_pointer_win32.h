#pragma once
// The system's pointer parameters through SystemParametersInfo. Every window
// hears of a change; the user profile is not written.
#include "pointer_settings.h"

class CSystemPointer final : public ISystemPointer {
public:
    void SetMouseParameters(const std::array<int, 3>& triple) override;
    void SetPointerSpeed(int speed) override;
};

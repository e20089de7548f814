#pragma once
// The Monitor's view of the mouse. Written by the main thread only; the
// download worker reads it when a job comes up.
#include <cstdint>

enum class DeviceState : int32_t {
    kNotPresent = 0,  // the first connection attempt found no mouse (or no usable devio.dll)
    kConnected = 1,
    kRemoved = 2,
};

class IDeviceStateSource {
public:
    virtual ~IDeviceStateSource() = default;
    virtual DeviceState State() const = 0;
};

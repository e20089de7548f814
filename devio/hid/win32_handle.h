#pragma once
// Owners for the kernel handles of the HID library; nothing is closed by hand.
#include "kernel_handle.h"

namespace hidio {
using UniqueHandle = ::KernelHandle;
}  // namespace hidio

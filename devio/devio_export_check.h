#pragma once
// Included by each devio.dll build after its export definitions: the exports
// must keep exactly the signatures the Monitor resolves them with.
#include <type_traits>

#include "devio_api.h"

static_assert(std::is_same_v<decltype(&Set_VIDPID), PFN_Set_VIDPID>);
static_assert(std::is_same_v<decltype(&Open_DevMonitor), PFN_Open_DevMonitor>);
static_assert(std::is_same_v<decltype(&Close_DevMonitor), PFN_Close_DevMonitor>);
static_assert(std::is_same_v<decltype(&Open_FeatureDevice), PFN_Open_FeatureDevice>);
static_assert(std::is_same_v<decltype(&Close_FeatureDevice), PFN_Close_FeatureDevice>);
static_assert(std::is_same_v<decltype(&Open_ReportDevice), PFN_Open_ReportDevice>);
static_assert(std::is_same_v<decltype(&Close_ReportDevice), PFN_Close_ReportDevice>);
static_assert(std::is_same_v<decltype(&SetFeature), PFN_SetFeature>);
static_assert(std::is_same_v<decltype(&WriteUSB), PFN_WriteUSB>);

#pragma once
// The performance page's and the DPI levels dialog's rules, without windows.
#include "profile_record.h"

#pragma once
// The lighting page's rules, without windows.
#include "profile_record.h"

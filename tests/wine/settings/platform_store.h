#pragma once
// The profile store read and written through the platform's own private-profile
// functions, key by key in the store's order: the reference the suite's own
// store code is compared with (for equal bytes in tests, for speed in benches).
#include <string>

#include "profile_store.h"

void WriteStoreKeyByKey(const std::wstring& file, const ProfileStore& store);
void ReadStoreKeyByKey(const std::wstring& file, ProfileStore& store);

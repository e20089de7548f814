#pragma once
// Modules by address, and the owner of a reference on one.
#include <windows.h>

#include "handle_owner.h"

// A reference on a module (LoadLibrary, or GetModuleHandleEx without
// GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT), dropped with FreeLibrary.
using ModuleHandle = HandleOwner<HMODULE, FreeLibrary>;

// The module whose code or data holds `address`, without taking a reference:
// valid as long as that code is.
inline HMODULE ModuleAt(const void* address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(address), &module);
    return module;
}

// A new reference on the module that holds `address`: while it is held, that
// module stays loaded whoever else frees it.
inline ModuleHandle ReferenceModuleAt(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCWSTR>(address), &module))
        return {};
    return ModuleHandle(module);
}

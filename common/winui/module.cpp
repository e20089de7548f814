#include "module.h"

HINSTANCE CurrentModule() {
    // The framework is a static library: this function's address lies in the
    // module that linked it.
    static const HINSTANCE module = [] {
        HMODULE found = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&CurrentModule), &found);
        return found;
    }();
    return module;
}

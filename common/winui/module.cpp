#include "module.h"

#include "module_handle.h"

HINSTANCE CurrentModule() {
    // The framework is a static library: this function's address lies in the
    // module that linked it.
    static const HINSTANCE module = ModuleAt(reinterpret_cast<const void*>(&CurrentModule));
    return module;
}

#include "module_thread.h"

#include <memory>

namespace hidio {

namespace {

struct ThreadStart {
    std::function<void()> body;
    HMODULE module;
};

DWORD WINAPI ModuleThreadProc(void* parameter) {
    HMODULE module;
    {
        std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(parameter));
        module = start->module;
        try {
            start->body();
        } catch (...) {
            // Nothing may leave a thread procedure; the thread simply ends.
            OutputDebugStringW(L"devio: a library thread ended on an exception\n");
        }
        // Everything of this frame is destroyed before the reference is dropped.
    }
    FreeLibraryAndExitThread(module, 0);
}

}  // namespace

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleThreadProc), &module);
    return module;
}

KernelHandle StartModuleThread(std::function<void()> body) {
    HMODULE module = nullptr;
    // Takes a reference on the module; the thread drops it when it ends.
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(&ModuleThreadProc), &module)) {
        return {};
    }
    auto start = std::make_unique<ThreadStart>(ThreadStart{std::move(body), module});
    HANDLE thread = CreateThread(nullptr, 0, &ModuleThreadProc, start.get(), 0, nullptr);
    if (thread == nullptr) {
        FreeLibrary(module);
        return {};
    }
    start.release();  // the thread owns it now
    return KernelHandle(thread);
}

}  // namespace hidio

#include "module_thread.h"

#include <memory>

#include "module_handle.h"

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

HMODULE ThisModule() { return ModuleAt(reinterpret_cast<const void*>(&ModuleThreadProc)); }

KernelHandle StartModuleThread(std::function<void()> body) {
    // The thread drops this reference when it ends.
    ModuleHandle module = ReferenceModuleAt(reinterpret_cast<const void*>(&ModuleThreadProc));
    if (!module) return {};
    auto start = std::make_unique<ThreadStart>(ThreadStart{std::move(body), module.get()});
    KernelHandle thread(CreateThread(nullptr, 0, &ModuleThreadProc, start.get(), 0, nullptr));
    if (!thread) return {};
    // The thread owns both now.
    start.release();
    module.Release();
    return thread;
}

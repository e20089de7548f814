#pragma once
// Threads of the HID library that keep the library loaded while they run.
//
// A caller that frees the library without closing what it opened must not pull
// the code out from under a running reader or notifier thread. Each thread
// therefore holds a reference on the library's module and drops it as its very
// last act (FreeLibraryAndExitThread), so the library is unloaded only after
// the thread is gone. Nothing here runs in DllMain.
#include <windows.h>

#include <functional>

#include "kernel_handle.h"

namespace hidio {

// Starts `body` on a new thread. The returned handle is the thread's (wait on it
// to join); empty when the thread could not be started.
KernelHandle StartModuleThread(std::function<void()> body);

// The module handle of this library, whatever its file is called.
HMODULE ThisModule();

}  // namespace hidio

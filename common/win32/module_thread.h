#pragma once
// Threads that keep the module of their code loaded while they run.
//
// A caller that frees a library without closing what it opened must not pull
// the code out from under a running thread of that library. Each thread
// therefore holds a reference on the module that started it and drops it as
// its very last act (FreeLibraryAndExitThread), so the module is unloaded only
// after the thread is gone. Nothing here runs in DllMain.
#include <windows.h>

#include <functional>

#include "kernel_handle.h"

// Starts `body` on a new thread. The returned handle is the thread's (wait on it
// to join); empty when the thread could not be started.
KernelHandle StartModuleThread(std::function<void()> body);

// The module handle of the library or program this code is linked into,
// whatever its file is called.
HMODULE ThisModule();

#pragma once
// What this test process holds, counted from outside the library under test:
// its threads, and its open handles.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>

#include "kernel_handle.h"

inline DWORD ThreadsOfThisProcess() {
    const KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return 0;
    DWORD count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Thread32First(snapshot.get(), &entry); ok; ok = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    return count;
}

// Asks after every handle value in turn: GetProcessHandleCount is not
// implemented by Wine (it always says 0). Handle values are multiples of four
// and handed out lowest first.
inline DWORD HandlesOfThisProcess() {
    DWORD count = 0;
    for (uintptr_t value = 4; value < 0x8000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

#pragma once
// Registry key paths written as one string whose first component names the root
// ("HKEY_CURRENT_USER\Control Panel\Mouse"). Parsed here so the Win32 side only
// maps the root to its predefined handle.
#include <string>
#include <string_view>

enum class RegistryRoot { LocalMachine, CurrentUser, CurrentConfig, ClassesRoot };

struct RegistryPath {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::wstring subKey;  // below the root, without a leading backslash
};

// The four root names are recognised without regard to case. A path whose
// first component is anything else is taken whole as a key below
// HKEY_LOCAL_MACHINE, as the settings always have been.
RegistryPath ParseRegistryPath(std::wstring_view path);

#include "registry_key_win32.h"

#include <string>

#include "debug_output.h"
#include "registry_path.h"

namespace {

HKEY RootHandle(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

// The values are read into a zero-filled buffer of this many bytes.
constexpr DWORD kValueBufferBytes = 260;

}  // namespace

std::unique_ptr<CRegistryKey> CRegistryKey::OpenOrCreate(const wchar_t* path) {
    const RegistryPath parsed = ParseRegistryPath(path);
    const HKEY root = RootHandle(parsed.root);
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, parsed.subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        key = nullptr;
        if (RegCreateKeyExW(root, parsed.subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            DebugOutF(L"pointer settings key %ls cannot be opened or created\n", path);
            return nullptr;
        }
    }
    return std::unique_ptr<CRegistryKey>(new CRegistryKey(key));
}

CRegistryKey::~CRegistryKey() { RegCloseKey(key_); }

std::optional<std::wstring> CRegistryKey::ReadString(const wchar_t* name) {
    BYTE buffer[kValueBufferBytes] = {};
    DWORD type = 0;
    // One unit short of the buffer, so that the text always ends in a terminator.
    DWORD size = kValueBufferBytes - sizeof(wchar_t);
    if (RegQueryValueExW(key_, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        memcpy(&number, buffer, sizeof number);
        return std::to_wstring(static_cast<int>(number));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer));
}

void CRegistryKey::WriteString(const wchar_t* name, std::wstring_view value) {
    const std::wstring text(value);
    // The size is in bytes and counts the terminator.
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

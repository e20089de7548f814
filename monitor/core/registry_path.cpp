#include "registry_path.h"

#include <array>

namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

struct RootName {
    std::wstring_view name;
    RegistryRoot root;
};

constexpr std::array<RootName, 4> kRoots{{
    {L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {L"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
    {L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
}};

}  // namespace

RegistryPath ParseRegistryPath(std::wstring_view path) {
    const size_t slash = path.find(L'\\');
    const std::wstring_view first = path.substr(0, slash);
    for (const RootName& candidate : kRoots) {
        if (EqualsIgnoringCase(first, candidate.name)) {
            RegistryPath result;
            result.root = candidate.root;
            if (slash != std::wstring_view::npos) result.subKey.assign(path.substr(slash + 1));
            return result;
        }
    }
    RegistryPath result;
    result.root = RegistryRoot::LocalMachine;
    result.subKey.assign(path);
    return result;
}

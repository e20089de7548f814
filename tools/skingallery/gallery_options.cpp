#include "gallery_options.h"

#include <cwchar>
#include <cerrno>

namespace {

bool ParseInt(const std::wstring& text, int& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    const long parsed = std::wcstol(text.c_str(), &end, 10);
    if (errno != 0 || !end || *end != L'\0' || parsed < -100000 || parsed > 100000) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

GalleryOptions ParseGalleryOptions(const std::vector<std::wstring>& args) {
    GalleryOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((arg == L"--skin" || arg == L"--log" || arg == L"--x" || arg == L"--y") && !hasValue) {
            options.error = L"missing value after " + arg;
            return options;
        }
        if (arg == L"--skin") {
            options.skin = args[++i];
        } else if (arg == L"--log") {
            options.log = args[++i];
        } else if (arg == L"--x" || arg == L"--y") {
            int value = 0;
            if (!ParseInt(args[i + 1], value)) {
                options.error = L"not a position: " + args[i + 1];
                return options;
            }
            (arg == L"--x" ? options.x : options.y) = value;
            ++i;
        } else {
            options.error = L"unknown argument: " + arg;
            return options;
        }
    }
    return options;
}

void SplitSkinArgument(const std::wstring& skin, std::wstring& folder, std::wstring& file) {
    const size_t slash = skin.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        folder.clear();
        file = skin;
    } else {
        folder = skin.substr(0, slash + 1);
        file = skin.substr(slash + 1);
    }
}

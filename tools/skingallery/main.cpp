// skingallery.exe: shows the skinned controls, for developers and for the
// skin's end-to-end tests.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "menu_frame_hook.h"
#include "debug_output.h"
#include "gallery_options.h"
#include "gallery_window.h"

namespace {

std::vector<std::wstring> Arguments() {
    int count = 0;
    std::vector<std::wstring> args;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
        LocalFree(argv);
    }
    return args;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const GalleryOptions options = ParseGalleryOptions(Arguments());
    if (!options.error.empty()) {
        DebugOutF(L"skingallery: %ls\n", options.error.c_str());
        MessageBoxW(nullptr, (options.error + L"\n\nskingallery.exe [--skin FILE.ini] [--log FILE] [--x X --y Y]").c_str(),
                    CGalleryWindow::kTitle, MB_OK | MB_ICONERROR);
        return 2;
    }
    // The picture loader decodes JPEG and GIF through COM.
    const HRESULT ole = OleInitialize(nullptr);
    CMenuFrameHook::Install();

    std::wstring folder, file;
    SplitSkinArgument(options.skin, folder, file);
    INT_PTR result = -1;
    {
        CGalleryWindow gallery(std::u16string(file.begin(), file.end()), options.log);
        if (!folder.empty()) gallery.SetSkinFolder(std::u16string(folder.begin(), folder.end()));
        if (options.x || options.y) gallery.PlaceAt(options.x.value_or(0), options.y.value_or(0));
        result = gallery.DoModal(nullptr);
    }

    CMenuFrameHook::Uninstall();
    if (SUCCEEDED(ole)) OleUninitialize();
    return result == -1 ? 1 : 0;
}

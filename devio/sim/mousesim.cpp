// mousesim: plugs, unplugs and presses the buttons of the virtual mouse inside
// the running program that loaded it (normally the Monitor).
//
//   mousesim plug | unplug | dpi-button LEVEL | rate-button VALUE |
//            launch-button N | config-button | event CODE VALUE | state
//
// Exit codes: 0 done, 1 the virtual mouse refused or is not running, 2 bad usage.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "sim_control.h"
#include "text_codec.h"

namespace {

constexpr wchar_t kReplyClass[] = L"GM7741MousesimReply";

std::string g_reply;
bool g_replied = false;

LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data != nullptr && data->dwData == kSimReplyMagic && data->lpData != nullptr && data->cbData < 65536) {
            g_reply.assign(static_cast<const char*>(data->lpData), data->cbData);
            g_replied = true;
            return TRUE;
        }
        return FALSE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i) {
        const std::wstring w(argv[i]);
        args.push_back(U16ToUtf8(std::u16string(w.begin(), w.end())));
    }
    LocalFree(argv);
    return args;
}

}  // namespace

int main() {
    std::string error;
    const auto command = ParseMousesimArgs(Arguments(), error);
    if (!command) {
        fprintf(stderr, "mousesim: %s\n%s", error.c_str(), MousesimUsage().c_str());
        return 2;
    }
    HWND device = FindWindowExW(HWND_MESSAGE, nullptr, kSimControlClass, nullptr);
    if (device == nullptr) {
        fprintf(stderr, "mousesim: no virtual mouse is running (start the Monitor with the virtual devio.dll)\n");
        return 1;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ReplyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyClass;
    RegisterClassExW(&wc);
    HWND self = CreateWindowExW(0, kReplyClass, L"mousesim", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                nullptr);
    if (self == nullptr) {
        fprintf(stderr, "mousesim: cannot create its reply window\n");
        return 1;
    }
    std::string text = EncodeSimCommand(*command);
    COPYDATASTRUCT data{kSimCommandMagic, static_cast<DWORD>(text.size()), text.data()};
    DWORD_PTR result = 0;
    // The reply comes back as a sent message while this call waits.
    const LRESULT sent = SendMessageTimeoutW(device, WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &result);
    DestroyWindow(self);
    if (sent == 0 || !g_replied) {
        fprintf(stderr, "mousesim: the virtual mouse did not answer\n");
        return 1;
    }
    const bool ok = g_reply.rfind("ok\n", 0) == 0;
    const std::string detail = g_reply.substr(g_reply.find('\n') == std::string::npos ? g_reply.size()
                                                                                        : g_reply.find('\n') + 1);
    fputs(detail.c_str(), ok ? stdout : stderr);
    fflush(stdout);
    return ok ? 0 : 1;
}

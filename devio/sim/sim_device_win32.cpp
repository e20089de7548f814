#include "sim_device_win32.h"

#include <cstdio>
#include <memory>

#include "download_report.h"
#include "module_thread.h"
#include "sim_state_file.h"
#include "slot_decoder.h"
#include "text_codec.h"

namespace {

constexpr int kVendorId = 0x5A21;
constexpr int kProductId = 0x7C03;

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (n == 0 || n >= std::size(buffer)) return {};
    return std::wstring(buffer, n);
}

std::string Hex4(int value) {
    char text[8];
    snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}

// The bytes of a call, as far as a caller's length can be trusted.
std::string CallLine(const char* name, const unsigned char* bytes, int length, int expected) {
    std::string line = name;
    if (length != expected) line += " length " + std::to_string(length);
    if (bytes != nullptr && length > 0) {
        const int shown = length < 64 ? length : 64;
        line += " " + HexBytes(std::span<const uint8_t>(bytes, static_cast<size_t>(shown)));
    }
    return line;
}

}  // namespace

SimDevice& SimDevice::Instance() {
    static SimDevice device;
    return device;
}

SimDevice::SimDevice() {
    QueryPerformanceFrequency(&frequency_);
    module_ = ThisModule();
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(module_, path, static_cast<DWORD>(std::size(path)));
    if (n > 0 && n < std::size(path)) folder_ = std::filesystem::path(path).parent_path();
    attached_ = Environment(L"DEVIO_SIM_ATTACHED") != L"0";
    absoluteClock_ = Environment(L"DEVIO_SIM_TRACE_CLOCK") == L"qpc";
}

SimDevice::~SimDevice() = default;

std::filesystem::path SimDevice::PathFromEnvironment(const wchar_t* variable, const wchar_t* defaultName) const {
    const std::wstring value = Environment(variable);
    if (!value.empty()) return std::filesystem::path(value);
    return folder_ / defaultName;
}

bool SimDevice::Present() const {
    return attached_ && vendorId_ == kVendorId && productId_ == kProductId;
}

void SimDevice::Trace(const std::string& line) {
    if (!traceFile_) {
        const std::filesystem::path path = PathFromEnvironment(L"DEVIO_SIM_TRACE", L"devio-trace.txt");
        // Appended, and shared so tests can read and delete it while we write.
        traceFile_.Reset(CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!traceFile_) return;
    }
    long long ms = 0;
    std::string stamp;
    if (absoluteClock_) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        char buffer[32];
        snprintf(buffer, sizeof buffer, "%.3f", 1000.0 * static_cast<double>(now.QuadPart) /
                                                    static_cast<double>(frequency_.QuadPart));
        stamp = buffer;
    } else {
        if (started_) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            ms = (now.QuadPart - start_.QuadPart) * 1000 / frequency_.QuadPart;
        }
        stamp = std::to_string(ms);
    }
    const std::string text = stamp + " " + line + "\r\n";
    DWORD written = 0;
    // Unbuffered: each line is on disk when the call returns.
    WriteFile(traceFile_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void SimDevice::WriteState() {
    SimStatus status;
    status.attached = attached_;
    status.protocolErrors = emulator_.ProtocolErrors();
    status.downloads = emulator_.DownloadsCompleted();
    status.lastError = emulator_.LastError();
    std::string error;
    if (!WriteSimStateFile(PathFromEnvironment(L"DEVIO_SIM_STATE", L"devio-state.ini"), emulator_.Slot(), status,
                           &error))
        OutputDebugStringA(("devio sim: cannot write the state file: " + error + "\n").c_str());
}

int SimDevice::SetVidPid(int vendorId, int productId) {
    std::lock_guard lock(mutex_);
    vendorId_ = vendorId;
    productId_ = productId;
    Trace("Set_VIDPID " + Hex4(vendorId) + " " + Hex4(productId));
    return 1;
}

int SimDevice::OpenDevMonitor(HWND window, int eventMessage, int plugMessage) {
    {
        std::lock_guard lock(mutex_);
        target_ = window;
        eventMessage_ = static_cast<UINT>(eventMessage);
        plugMessage_ = static_cast<UINT>(plugMessage);
        QueryPerformanceCounter(&start_);
        started_ = true;
        Trace("Open_DevMonitor " + std::to_string(eventMessage) + " " + std::to_string(plugMessage));
    }
    return StartControlThread() ? 1 : 0;
}

int SimDevice::CloseDevMonitor() {
    StopControlThread();
    std::lock_guard lock(mutex_);
    Trace("Close_DevMonitor");
    target_ = nullptr;
    // The next session may name another trace file.
    traceFile_.Reset();
    return 1;
}

int SimDevice::OpenFeatureDevice() {
    std::lock_guard lock(mutex_);
    featureOpen_ = Present();
    Trace(featureOpen_ ? "Open_FeatureDevice" : "Open_FeatureDevice failed");
    return featureOpen_ ? 1 : 0;
}

int SimDevice::CloseFeatureDevice() {
    std::lock_guard lock(mutex_);
    featureOpen_ = false;
    Trace("Close_FeatureDevice");
    return 1;
}

int SimDevice::OpenReportDevice() {
    std::lock_guard lock(mutex_);
    reportOpen_ = Present();
    Trace(reportOpen_ ? "Open_ReportDevice" : "Open_ReportDevice failed");
    return reportOpen_ ? 1 : 0;
}

int SimDevice::CloseReportDevice() {
    std::lock_guard lock(mutex_);
    reportOpen_ = false;
    Trace("Close_ReportDevice");
    return 1;
}

int SimDevice::SetFeature(const unsigned char* bytes, int length) {
    std::lock_guard lock(mutex_);
    std::string line = CallLine("SetFeature", bytes, length, static_cast<int>(kFeatureCommandSize));
    if (!featureOpen_ || !Present()) {
        Trace(line + " failed");
        return 0;
    }
    const int errorsBefore = emulator_.ProtocolErrors();
    const auto result = emulator_.OnSetFeature(bytes, length);
    if (emulator_.ProtocolErrors() != errorsBefore) line += " # protocol error: " + emulator_.LastError();
    // The state is on disk before the end command shows in the trace.
    if (result == MouseEmulator::Result::kDownloadEnded) WriteState();
    Trace(line);
    return 1;
}

int SimDevice::WriteUSB(const unsigned char* bytes, int length) {
    std::lock_guard lock(mutex_);
    std::string line = CallLine("WriteUSB", bytes, length, static_cast<int>(kReportHalfSize));
    if (!reportOpen_ || !Present()) {
        Trace(line + " failed");
        return 0;
    }
    const int errorsBefore = emulator_.ProtocolErrors();
    emulator_.OnWriteUSB(bytes, length);
    if (emulator_.ProtocolErrors() != errorsBefore) line += " # protocol error: " + emulator_.LastError();
    Trace(line);
    return 1;
}

std::string SimDevice::StateReply() {
    std::string text = std::string(attached_ ? "attached" : "detached") + "\n";
    text += "protocol errors: " + std::to_string(emulator_.ProtocolErrors()) + "\n";
    text += "downloads: " + std::to_string(emulator_.DownloadsCompleted()) + "\n";
    text += SlotSummary(DecodeSlot(emulator_.Slot()));
    return text;
}

std::string SimDevice::Execute(const SimCommand& command) {
    std::lock_guard lock(mutex_);
    const std::string text = EncodeSimCommand(command);
    if (command.kind == SimCommand::Kind::kState) return "ok\n" + StateReply();
    if (target_ == nullptr || !IsWindow(target_)) return "error\nno program has opened the virtual mouse\n";
    switch (command.kind) {
    case SimCommand::Kind::kPlug:
        attached_ = true;
        Trace("mousesim plug");
        PostMessageW(target_, plugMessage_, 1, 0);
        WriteState();
        return "ok\nattached\n";
    case SimCommand::Kind::kUnplug:
        attached_ = false;
        featureOpen_ = reportOpen_ = false;  // the device is gone: its handles die with it
        emulator_.PowerCycle();
        Trace("mousesim unplug");
        PostMessageW(target_, plugMessage_, 0, 0);
        WriteState();
        return "ok\ndetached\n";
    case SimCommand::Kind::kEvent:
        if (!attached_) return "error\nthe virtual mouse is detached\n";
        Trace("mousesim event " + Hex4(command.code) + " " + Hex4(command.value));
        // The mouse holds its own choice before the program hears of it: what
        // the program sends back in answer lands on top of it, as on the real one.
        if (emulator_.OnOwnButton(DeviceEvent{command.code, command.value})) WriteState();
        PostMessageW(target_, eventMessage_, command.code, command.value);
        return "ok\nevent " + Hex4(command.code) + " " + Hex4(command.value) + " sent\n";
    case SimCommand::Kind::kState: break;
    }
    return "error\n" + text + "\n";
}

// The control window: a message-only window on a thread of the library's own.
bool SimDevice::StartControlThread() {
    if (controlThread_) return true;
    const KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    // The thread keeps the library loaded until it has left its code.
    KernelHandle thread = StartModuleThread([this, event = ready.get()] { RunControlWindow(event); });
    if (!thread) return false;
    controlThreadId_ = GetThreadId(thread.get());
    const HANDLE waitFor[2] = {ready.get(), thread.get()};
    WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    controlThread_ = std::move(thread);
    return true;
}

void SimDevice::StopControlThread() {
    if (!controlThread_) return;
    PostThreadMessageW(controlThreadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(controlThread_.get(), INFINITE);
    controlThread_.Reset();
    controlThreadId_ = 0;
}

void SimDevice::RunControlWindow(HANDLE ready) {
    HMODULE module = module_;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &SimDevice::ControlProc;
    wc.hInstance = module;
    wc.lpszClassName = kSimControlClass;
    const bool registered = RegisterClassExW(&wc) != 0;
    const std::wstring title = L"devio sim " + std::to_wstring(GetCurrentProcessId());
    HWND window = CreateWindowExW(0, kSimControlClass, title.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module,
                                  this);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    SetEvent(ready);  // the starter closes it once it has woken
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (window != nullptr) DestroyWindow(window);
    // A class stays registered after its DLL is unloaded; a reload would find the stale one.
    if (registered) UnregisterClassW(kSimControlClass, module);
}

LRESULT CALLBACK SimDevice::ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
    auto* device = reinterpret_cast<SimDevice*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (device == nullptr || data == nullptr || data->dwData != kSimCommandMagic || data->cbData > 256 ||
        (data->cbData > 0 && data->lpData == nullptr))
        return FALSE;
    const std::string text(static_cast<const char*>(data->lpData), data->cbData);
    std::string reply;
    try {
        const auto command = DecodeSimCommand(text);
        reply = command ? device->Execute(*command) : "error\nunknown command '" + text + "'\n";
    } catch (...) {
        reply = "error\ninternal failure\n";
    }
    HWND sender = reinterpret_cast<HWND>(wParam);  // not ours
    if (sender != nullptr && IsWindow(sender)) {
        COPYDATASTRUCT answer{kSimReplyMagic, static_cast<DWORD>(reply.size()), reply.data()};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(sender, WM_COPYDATA, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&answer),
                            SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    return TRUE;
}

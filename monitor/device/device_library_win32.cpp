#include "device_library_win32.h"

#include <windows.h>

#include <algorithm>

#include "devio_api.h"
#include "text_codec.h"

namespace {

constexpr const char* kExportNames[] = {DEVIO_EXPORT_NAMES};
static_assert(std::size(kExportNames) == 9);

void Debug(const std::string& text) { OutputDebugStringA(text.c_str()); }

}  // namespace

DeviceLibrary::~DeviceLibrary() { Unload(); }

bool DeviceLibrary::Load(const std::filesystem::path& folder, const std::wstring& fileName) {
    Unload();
    const std::filesystem::path full = folder / fileName;
    if (folder.empty() || !full.is_absolute()) {
        problem_ = "no program folder to load devio.dll from";
        Debug("DeviceLibrary: " + problem_ + "\n");
        return false;
    }
    // A full path and no search flags: only this file is loaded, never one found
    // elsewhere on the search path.
    ModuleHandle module(LoadLibraryExW(full.c_str(), nullptr, 0));
    if (!module) {
        problem_ = "cannot load " + U16ToUtf8(full.u16string()) + " (error " + std::to_string(GetLastError()) + ")";
        Debug("DeviceLibrary: " + problem_ + "\n");
        return false;
    }
    module_ = std::move(module);
    for (int i = 0; i < kExportCount; ++i) {
        entries_[i] = reinterpret_cast<void*>(GetProcAddress(module_.get(), kExportNames[i]));
        if (entries_[i] == nullptr) missing_.push_back(kExportNames[i]);
    }
    if (missing_.empty()) {
        problem_.clear();
    } else {
        problem_ = U16ToUtf8(full.u16string()) + " lacks the export";
        for (const std::string& name : missing_) problem_ += " " + name;
        Debug("DeviceLibrary: " + problem_ + "\n");
    }
    return true;
}

void DeviceLibrary::Unload() {
    entries_.fill(nullptr);
    missing_.clear();
    problem_ = "devio.dll is not loaded";
    module_.Reset();
}

bool DeviceLibrary::IsComplete() const {
    return module_ && std::all_of(entries_.begin(), entries_.end(), [](void* p) { return p != nullptr; });
}

int DeviceLibrary::SetVidPid(int vendorId, int productId) {
    const auto fn = Entry<PFN_Set_VIDPID>(kSetVidPid);
    return fn ? fn(vendorId, productId) : 0;
}

int DeviceLibrary::OpenDevMonitor(void* window, int eventMessage, int plugMessage) {
    const auto fn = Entry<PFN_Open_DevMonitor>(kOpenDevMonitor);
    return fn ? fn(window, eventMessage, plugMessage) : 0;
}

int DeviceLibrary::CloseDevMonitor() {
    const auto fn = Entry<PFN_Close_DevMonitor>(kCloseDevMonitor);
    return fn ? fn() : 0;
}

int DeviceLibrary::OpenFeatureDevice() {
    const auto fn = Entry<PFN_Open_FeatureDevice>(kOpenFeature);
    return fn ? fn() : 0;
}

int DeviceLibrary::CloseFeatureDevice() {
    const auto fn = Entry<PFN_Close_FeatureDevice>(kCloseFeature);
    return fn ? fn() : 0;
}

int DeviceLibrary::OpenReportDevice() {
    const auto fn = Entry<PFN_Open_ReportDevice>(kOpenReport);
    return fn ? fn() : 0;
}

int DeviceLibrary::CloseReportDevice() {
    const auto fn = Entry<PFN_Close_ReportDevice>(kCloseReport);
    return fn ? fn() : 0;
}

int DeviceLibrary::SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) {
    const auto fn = Entry<PFN_SetFeature>(kSetFeature);
    if (!fn) return 0;
    // The library takes a writable buffer; it gets a copy, never our command.
    std::array<unsigned char, kFeatureCommandSize> buffer{};
    std::copy(command.begin(), command.end(), buffer.begin());
    return fn(buffer.data(), static_cast<int>(buffer.size()));
}

int DeviceLibrary::WriteUSB(std::span<const uint8_t, kReportHalfSize> half) {
    const auto fn = Entry<PFN_WriteUSB>(kWriteUsb);
    if (!fn) return 0;
    std::array<unsigned char, kReportHalfSize> buffer{};
    std::copy(half.begin(), half.end(), buffer.begin());
    return fn(buffer.data(), static_cast<int>(buffer.size()));
}

#pragma once
// devio.dll bound by full path from the program folder, its nine exports
// resolved by name. Every call through a missing export is refused (returns 0)
// instead of jumping through a null pointer. Owned by the Monitor's main window:
// free it only after the download worker has stopped.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "device_link.h"
#include "module_handle.h"

class DeviceLibrary final : public IDeviceLibrary {
public:
    DeviceLibrary() = default;
    ~DeviceLibrary() override;
    DeviceLibrary(const DeviceLibrary&) = delete;
    DeviceLibrary& operator=(const DeviceLibrary&) = delete;

    // Loads `folder` + `fileName` (no search of other folders) and resolves the
    // exports. False when the file could not be loaded; a library that loaded but
    // lacks exports returns true and reports them through MissingExports().
    bool Load(const std::filesystem::path& folder, const std::wstring& fileName = L"devio.dll");
    // Frees the library. The caller has ended every thread that calls into it.
    void Unload();

    bool IsLoaded() const { return static_cast<bool>(module_); }
    const std::vector<std::string>& MissingExports() const { return missing_; }

    bool IsComplete() const override;
    std::string Problem() const override { return problem_; }

    int SetVidPid(int vendorId, int productId) override;
    int OpenDevMonitor(void* window, int eventMessage, int plugMessage) override;
    int CloseDevMonitor() override;
    int OpenFeatureDevice() override;
    int CloseFeatureDevice() override;
    int OpenReportDevice() override;
    int CloseReportDevice() override;
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> command) override;
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> half) override;

private:
    enum Export { kSetVidPid, kOpenDevMonitor, kCloseDevMonitor, kOpenFeature, kCloseFeature, kOpenReport,
                  kCloseReport, kSetFeature, kWriteUsb, kExportCount };
    template <typename Fn>
    Fn Entry(Export which) const {
        return reinterpret_cast<Fn>(entries_[which]);
    }

    ModuleHandle module_;
    std::array<void*, kExportCount> entries_{};
    std::vector<std::string> missing_;
    std::string problem_ = "devio.dll is not loaded";
};

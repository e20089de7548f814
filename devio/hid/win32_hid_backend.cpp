#include "win32_hid_backend.h"

#include <setupapi.h>

#include <vector>

#include "hid_api.h"
#include "win32_feature_channel.h"
#include "win32_report_channel.h"

namespace hidio {

namespace {

class DeviceInfoList {
public:
    explicit DeviceInfoList(HDEVINFO list) : list_(list) {}
    ~DeviceInfoList() {
        if (Valid()) SetupDiDestroyDeviceInfoList(list_);
    }
    DeviceInfoList(const DeviceInfoList&) = delete;
    DeviceInfoList& operator=(const DeviceInfoList&) = delete;
    bool Valid() const { return list_ != INVALID_HANDLE_VALUE && list_ != nullptr; }
    HDEVINFO get() const { return list_; }

private:
    HDEVINFO list_;
};

class PreparsedData {
public:
    explicit PreparsedData(HANDLE device) {
        if (!HidD_GetPreparsedData(device, &data_)) data_ = nullptr;
    }
    ~PreparsedData() {
        if (data_ != nullptr) HidD_FreePreparsedData(data_);
    }
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;
    PHIDP_PREPARSED_DATA get() const { return data_; }

private:
    PHIDP_PREPARSED_DATA data_ = nullptr;
};

std::wstring InterfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& data) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(list, &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return {};
    // Allocated as DWORDs for the alignment the detail structure needs.
    std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list, &data, detail, size, nullptr, nullptr)) return {};
    const size_t maxChars = (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    return std::wstring(detail->DevicePath, wcsnlen(detail->DevicePath, maxChars));
}

// Asks the interface about itself. Opened without access rights: that is allowed
// even for the collections Windows keeps for itself (the pointer and keyboard).
bool QueryInterface(const std::wstring& path, HidCollectionInfo* info) {
    KernelHandle device(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    0, nullptr));
    if (!device) return false;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(device.get(), &attributes)) return false;
    info->vendorId = attributes.VendorID;
    info->productId = attributes.ProductID;
    PreparsedData preparsed(device.get());
    if (preparsed.get() == nullptr) return true;  // identified, but no channel of ours
    HIDP_CAPS caps{};
    if (HidP_GetCaps(preparsed.get(), &caps) != HIDP_STATUS_SUCCESS) return true;
    info->usagePage = caps.UsagePage;
    info->usage = caps.Usage;
    info->inputReportLength = caps.InputReportByteLength;
    info->outputReportLength = caps.OutputReportByteLength;
    info->featureReportLength = caps.FeatureReportByteLength;
    return true;
}

KernelHandle OpenForIo(const std::wstring& path, DWORD flags) {
    return KernelHandle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace

GUID HidInterfaceClass() {
    GUID guid{};
    HidD_GetHidGuid(&guid);
    return guid;
}

std::vector<HidInterface> Win32HidBackend::EnumerateInterfaces() {
    std::vector<HidInterface> found;
    GUID hidClass = HidInterfaceClass();
    DeviceInfoList list(SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!list.Valid()) return found;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(list.get(), nullptr, &hidClass, index, &data)) break;
        HidInterface iface;
        iface.path = InterfacePath(list.get(), data);
        if (iface.path.empty() || !QueryInterface(iface.path, &iface.info)) continue;
        found.push_back(std::move(iface));
    }
    return found;
}

std::unique_ptr<IFeatureChannel> Win32HidBackend::OpenFeatureChannel(const HidInterface& iface) {
    KernelHandle device = OpenForIo(iface.path, 0);
    if (!device) return nullptr;
    return std::make_unique<Win32FeatureChannel>(std::move(device));
}

std::unique_ptr<IReportChannel> Win32HidBackend::OpenReportChannel(const HidInterface& iface) {
    KernelHandle device = OpenForIo(iface.path, FILE_FLAG_OVERLAPPED);
    if (!device) return nullptr;
    return std::make_unique<Win32ReportChannel>(std::move(device));
}

}  // namespace hidio

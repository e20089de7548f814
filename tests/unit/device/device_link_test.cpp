// The connection attempt, the plug rules and the shutdown order.
#include <gtest/gtest.h>

#include "device_link.h"

namespace {

// Records the library calls and the window-side effects in one log.
class FakeLibrary final : public IDeviceLibrary, public ILinkHost {
public:
    bool IsComplete() const override { return complete; }
    std::string Problem() const override { return complete ? "" : "missing export WriteUSB"; }
    int SetVidPid(int v, int p) override { return Log("Set_VIDPID " + std::to_string(v) + " " + std::to_string(p)); }
    int OpenDevMonitor(void* w, int e, int p) override {
        window = w;
        return Log("Open_DevMonitor " + std::to_string(e) + " " + std::to_string(p));
    }
    int CloseDevMonitor() override { return Log("Close_DevMonitor"); }
    int OpenFeatureDevice() override { return Log("Open_FeatureDevice"); }
    int CloseFeatureDevice() override { return Log("Close_FeatureDevice"); }
    int OpenReportDevice() override {
        Log("Open_ReportDevice");
        return present ? 1 : 0;
    }
    int CloseReportDevice() override { return Log("Close_ReportDevice"); }
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize>) override { return Log("SetFeature"); }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize>) override { return Log("WriteUSB"); }

    void WaitMs(int ms) override { Log("wait " + std::to_string(ms) + " state " + StateNow()); }
    void PostFullDownload() override { Log("post full download state " + StateNow()); }
    void ShowConnected() override { Log("show connected"); }
    void ShowUnplugged() override { Log("show unplugged"); }
    void CloseOptionWindow() override { Log("close Option"); }
    void DebugText(const std::string& text) override { debug.push_back(text); }

    std::string StateNow() const { return link ? std::to_string(int(link->State())) : "?"; }
    int Log(const std::string& s) {
        log.push_back(s);
        return 1;
    }
    std::vector<std::string> Take() { return std::exchange(log, {}); }

    bool complete = true;
    bool present = true;
    void* window = nullptr;
    const DeviceLink* link = nullptr;
    std::vector<std::string> log, debug;
};

using Log = std::vector<std::string>;

TEST(DeviceLinkTest, PlanTable) {
    using A = LinkAction;
    const std::vector<A> arrival = {A::kWaitArrivalDelay, A::kSetConnected,    A::kOpenFeatureDevice,
                                    A::kOpenReportDevice, A::kPostFullDownload, A::kShowConnected};
    const std::vector<A> removal = {A::kSetRemoved, A::kCloseFeatureDevice, A::kCloseReportDevice, A::kShowUnplugged,
                                    A::kCloseOptionWindow};
    EXPECT_EQ(PlanPlug(DeviceState::kNotPresent, 1), arrival);
    EXPECT_EQ(PlanPlug(DeviceState::kRemoved, 1), arrival);
    EXPECT_TRUE(PlanPlug(DeviceState::kConnected, 1).empty());
    EXPECT_EQ(PlanPlug(DeviceState::kNotPresent, 0), removal);
    EXPECT_EQ(PlanPlug(DeviceState::kConnected, 0), removal);
    EXPECT_TRUE(PlanPlug(DeviceState::kRemoved, 0).empty());
    for (uintptr_t w : {uintptr_t{2}, uintptr_t{5}, ~uintptr_t{0}})
        for (auto s : {DeviceState::kNotPresent, DeviceState::kConnected, DeviceState::kRemoved})
            EXPECT_TRUE(PlanPlug(s, w).empty());
}

TEST(DeviceLinkTest, ConnectionAttempt) {
    FakeLibrary lib;
    DeviceLink link(lib, lib);
    int window = 0;
    EXPECT_EQ(link.Connect(&window), DeviceState::kConnected);
    EXPECT_EQ(lib.Take(), (Log{"Set_VIDPID 23073 31747", "Open_DevMonitor 1325 1326", "Open_FeatureDevice",
                               "Open_ReportDevice"}));
    EXPECT_EQ(lib.window, &window);

    FakeLibrary absent;
    absent.present = false;
    DeviceLink link2(absent, absent);
    EXPECT_EQ(link2.Connect(&window), DeviceState::kNotPresent);
}

TEST(DeviceLinkTest, ArrivalAndRemoval) {
    FakeLibrary lib;
    lib.present = false;
    DeviceLink link(lib, lib);
    lib.link = &link;
    link.Connect(nullptr);
    lib.Take();

    link.OnDevicePlug(1);
    // The state turns connected only after the wait, before the download is posted.
    EXPECT_EQ(lib.Take(), (Log{"wait 1000 state 0", "Open_FeatureDevice", "Open_ReportDevice",
                               "post full download state 1", "show connected"}));
    link.OnDevicePlug(1);  // a second arrival changes nothing
    EXPECT_TRUE(lib.Take().empty());
    link.OnDevicePlug(5);
    EXPECT_TRUE(lib.Take().empty());
    EXPECT_EQ(link.State(), DeviceState::kConnected);

    link.OnDevicePlug(0);
    EXPECT_EQ(lib.Take(), (Log{"Close_FeatureDevice", "Close_ReportDevice", "show unplugged", "close Option"}));
    EXPECT_EQ(link.State(), DeviceState::kRemoved);
    link.OnDevicePlug(0);
    EXPECT_TRUE(lib.Take().empty());

    link.OnDevicePlug(1);
    EXPECT_EQ(lib.Take().size(), 5u);
    EXPECT_EQ(link.State(), DeviceState::kConnected);

    link.Shutdown();
    EXPECT_EQ(lib.Take(), (Log{"Close_FeatureDevice", "Close_ReportDevice", "Close_DevMonitor"}));
}

TEST(DeviceLinkTest, UnusableLibraryIsNeverCalled) {
    FakeLibrary lib;
    lib.complete = false;
    DeviceLink link(lib, lib);
    EXPECT_EQ(link.Connect(nullptr), DeviceState::kNotPresent);
    link.OnDevicePlug(1);
    link.OnDevicePlug(0);
    link.Shutdown();
    EXPECT_TRUE(lib.Take().empty());
    EXPECT_EQ(link.State(), DeviceState::kNotPresent);
    ASSERT_FALSE(lib.debug.empty());
    EXPECT_NE(lib.debug[0].find("WriteUSB"), std::string::npos);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "pointer_settings.h"
#include "profile_store.h"

namespace {

class FakeRegistry : public IPointerRegistry {
public:
    std::map<std::wstring, std::wstring> values;
    std::vector<std::pair<std::wstring, std::wstring>> writes;

    std::optional<std::wstring> ReadString(const wchar_t* name) override {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void WriteString(const wchar_t* name, std::wstring_view value) override {
        writes.emplace_back(name, std::wstring(value));
        values[name] = std::wstring(value);
    }
};

class FakeSystem : public ISystemPointer {
public:
    std::vector<std::array<int, 3>> parameters;
    std::vector<int> speeds;
    void SetMouseParameters(const std::array<int, 3>& triple) override { parameters.push_back(triple); }
    void SetPointerSpeed(int speed) override { speeds.push_back(speed); }
};

ProfileRecord Profile(int mouseSpeed, int accelerationFlag) {
    ProfileRecord p;
    std::memset(&p, 0, sizeof p);
    ResetProfile(p);
    p.MouseSpeed = mouseSpeed;
    p.AccelerationFlag = accelerationFlag;
    p.Acceleration = 10;
    return p;
}

void SetEnhancedPrecision(FakeRegistry& key) {
    key.values[L"MouseThreshold1"] = L"6";
    key.values[L"MouseThreshold2"] = L"10";
    key.values[L"MouseSpeed"] = L"1";
}

}  // namespace

TEST(PointerSettings, AccelerationOffZeroesRegistryInOrderAndSystem) {
    FakeRegistry key;
    SetEnhancedPrecision(key);
    FakeSystem system;
    ProfileRecord p = Profile(14, 0);

    const PointerApplyResult r = ApplyPointerSettings(p, &key, system);

    EXPECT_TRUE(r.accelerationSwitchedOff);
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"MouseSpeed", L"0"}, {L"MouseThreshold2", L"0"}, {L"MouseThreshold1", L"0"}};
    EXPECT_EQ(key.writes, expected);
    ASSERT_EQ(system.parameters.size(), 1u);
    EXPECT_EQ(system.parameters[0], (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(system.speeds, std::vector<int>{14});
    EXPECT_EQ(p.Acceleration, 0);
}

TEST(PointerSettings, AlreadyOffWritesNothingButStillCallsSystem) {
    FakeRegistry key;
    key.values = {{L"MouseThreshold1", L"0"}, {L"MouseThreshold2", L"0"}, {L"MouseSpeed", L"0"}};
    FakeSystem system;
    ProfileRecord p = Profile(10, 0);

    ApplyPointerSettings(p, &key, system);

    EXPECT_TRUE(key.writes.empty());
    EXPECT_EQ(system.parameters.size(), 1u);
    EXPECT_EQ(system.speeds, std::vector<int>{10});
    EXPECT_EQ(p.Acceleration, 10);  // only cleared when acceleration is actually switched off
}

TEST(PointerSettings, KeepAccelerationReappliesRegistryValuesAsTriple) {
    FakeRegistry key;
    SetEnhancedPrecision(key);
    FakeSystem system;
    ProfileRecord p = Profile(20, 1);

    ApplyPointerSettings(p, &key, system);

    EXPECT_TRUE(key.writes.empty());
    ASSERT_EQ(system.parameters.size(), 1u);
    // threshold 1, threshold 2, level
    EXPECT_EQ(system.parameters[0], (std::array<int, 3>{6, 10, 1}));
    EXPECT_EQ(system.speeds, std::vector<int>{20});
}

TEST(PointerSettings, AnyFlagOtherThanOneSwitchesOff) {
    for (int flag : {-1, 0, 2, 255}) {
        FakeRegistry key;
        SetEnhancedPrecision(key);
        FakeSystem system;
        ProfileRecord p = Profile(10, flag);
        EXPECT_TRUE(ApplyPointerSettings(p, &key, system).accelerationSwitchedOff) << flag;
        EXPECT_EQ(key.writes.size(), 3u) << flag;
    }
}

TEST(PointerSettings, MissingOrNonNumericValuesCountAsZero) {
    FakeRegistry key;
    key.values = {{L"MouseThreshold1", L"abc"}, {L"MouseThreshold2", L""}};  // MouseSpeed missing
    FakeSystem system;
    ProfileRecord p = Profile(10, 0);

    ApplyPointerSettings(p, &key, system);

    EXPECT_TRUE(key.writes.empty());  // all three counted as 0: nothing to switch off
    EXPECT_EQ(system.parameters[0], (std::array<int, 3>{0, 0, 0}));

    key.values = {{L"MouseThreshold1", L"abc"}, {L"MouseThreshold2", L"0"}, {L"MouseSpeed", L"2"}};
    ProfileRecord keep = Profile(10, 1);
    ApplyPointerSettings(keep, &key, system);
    EXPECT_EQ(system.parameters[1], (std::array<int, 3>{0, 0, 2}));
}

TEST(PointerSettings, WithoutKeyReadsZeroAndStillSetsSpeed) {
    FakeSystem system;
    ProfileRecord p = Profile(7, 0);
    const PointerApplyResult r = ApplyPointerSettings(p, nullptr, system);
    EXPECT_FALSE(r.accelerationSwitchedOff);
    EXPECT_EQ(system.parameters[0], (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(system.speeds, std::vector<int>{7});
}

TEST(PointerSettings, SpeedOutsideSystemRangeIsNotHandedOver) {
    for (int speed : {-1, 0, 21, 1000}) {
        FakeSystem system;
        ProfileRecord p = Profile(speed, 1);
        EXPECT_FALSE(ApplyPointerSettings(p, nullptr, system).speedApplied) << speed;
        EXPECT_TRUE(system.speeds.empty()) << speed;
        EXPECT_EQ(system.parameters.size(), 1u);  // the acceleration part still runs
    }
    for (int speed : {1, 20}) {
        FakeSystem system;
        ProfileRecord p = Profile(speed, 1);
        EXPECT_TRUE(ApplyPointerSettings(p, nullptr, system).speedApplied);
        EXPECT_EQ(system.speeds, std::vector<int>{speed});
    }
}

TEST(PointerSettings, RegistryNumbers) {
    EXPECT_EQ(ParseRegistryNumber(L"10"), 10);
    EXPECT_EQ(ParseRegistryNumber(L" 6 "), 6);
    EXPECT_EQ(ParseRegistryNumber(L"-3"), -3);
    EXPECT_EQ(ParseRegistryNumber(L"+4"), 4);
    EXPECT_EQ(ParseRegistryNumber(L""), 0);
    EXPECT_EQ(ParseRegistryNumber(L"-"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"12abc"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"0x10"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseRegistryNumber(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseRegistryNumber(L"2147483648"), 0);
    EXPECT_EQ(ParseRegistryNumber(L"99999999999999999999999"), 0);
}

#include "exchange_file.h"

#include <gtest/gtest.h>

#include "ini_file.h"
#include "test_support.h"

TEST(ExchangeFile, RoundTripsEveryCarriedFieldAndResetsTheOthers) {
    TempFolder dir;
    std::mt19937 rng(42);
    for (int round = 0; round < 20; ++round) {
        ProfileRecord original;
        FillRandomProfile(original, rng);
        const auto path = dir / ("p" + std::to_string(round) + ".gmp");
        ASSERT_TRUE(WriteExchangeSection(original, path));
        ProfileRecord back;
        std::memset(&back, 0xAB, sizeof back);
        ASSERT_TRUE(ReadExchangeSection(back, path));

        ProfileRecord expected = original;
        ProfileRecord defaults;
        InitNewProfile(defaults, u"");
        expected.MaxDPI = defaults.MaxDPI;
        expected.LightDir = defaults.LightDir;
        expected.LightSpeed = defaults.LightSpeed;
        std::copy(std::begin(defaults.DPIColor), std::end(defaults.DPIColor), expected.DPIColor);
        EXPECT_TRUE(SameRecord(back, expected)) << round;
    }
}

TEST(ExchangeFile, HoldsOneSectionWithoutTheDeviceOnlyKeys) {
    TempFolder dir;
    ProfileRecord r;
    InitNewProfile(r, u"Export me");
    const auto path = dir / "x.gmp";
    WriteBytes(path, "[Old]\r\nstale=1\r\n");
    ASSERT_TRUE(WriteExchangeSection(r, path));
    const CIniFile ini(path);
    EXPECT_EQ(ini.SectionNames(), std::vector<std::u16string>{u"Setting"});
    for (const char16_t* key : {u"MaxDPI", u"LightDir", u"LightSpeed", u"DPIColor0", u"DPIColor6"})
        EXPECT_FALSE(ini.HasKey(u"Setting", key));
    EXPECT_TRUE(ini.HasKey(u"Setting", u"MacroKeyInfo15"));
    EXPECT_TRUE(ini.HasKey(u"Setting", u"dpiIndicator4"));
}

TEST(ExchangeFile, AnyOtherFileReadsAsDefaultsAndAMissingOneFails) {
    TempFolder dir;
    const auto path = dir / "notes.txt";
    WriteBytes(path, "just some text\n");
    ProfileRecord r;
    ASSERT_TRUE(ReadExchangeSection(r, path));
    EXPECT_EQ(FieldText(r.ProFileName), u"");
    EXPECT_EQ(r.PollingRate, -1);
    EXPECT_EQ(r.dpiStepFlag[0], 255);
    EXPECT_EQ(r.MaxDPI, 5);
    ProfileRecord untouched;
    InitNewProfile(untouched, u"keep");
    EXPECT_FALSE(ReadExchangeSection(untouched, dir / "missing.gmp"));
    EXPECT_EQ(FieldText(untouched.ProFileName), u"keep");
}

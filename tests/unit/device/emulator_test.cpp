// The virtual mouse's firmware: framing rules, decoding, the state file, and
// random profiles sent through the real download code.
#include <gtest/gtest.h>

#include <filesystem>

#include "button_table.h"
#include "../settings/test_support.h"
#include "device_test_support.h"
#include "download_job.h"
#include "ini_file.h"
#include "mouse_emulator.h"
#include "random_profile.h"
#include "sim_control.h"
#include "sim_state_file.h"
#include "slot_decoder.h"

namespace {

class EmulatorChannel final : public IDeviceChannel, public ISleeper {
public:
    int SetFeature(std::span<const uint8_t, kFeatureCommandSize> c) override {
        return mouse.OnSetFeature(c.data(), int(c.size())) == MouseEmulator::Result::kRejected ? 0 : 1;
    }
    int WriteUSB(std::span<const uint8_t, kReportHalfSize> h) override {
        return mouse.OnWriteUSB(h.data(), int(h.size())) == MouseEmulator::Result::kRejected ? 0 : 1;
    }
    void SleepMs(int) override {}
    MouseEmulator mouse;
};

void Send(MouseEmulator& m, const FeatureCommand& c) { m.OnSetFeature(c.data(), int(c.size())); }
void Half(MouseEmulator& m, uint8_t fill) {
    ReportHalf h;
    h.fill(fill);
    m.OnWriteUSB(h.data(), int(h.size()));
}

TEST(EmulatorTest, RandomProfilesArriveIntact) {
    std::mt19937 rng(7741);
    auto profile = std::make_unique<ProfileRecord>();
    auto scratch = std::make_unique<ButtonTable>();
    for (int round = 0; round < 300; ++round) {
        device_test::RandomProfile(rng, *profile);
        EmulatorChannel dev;
        const PartFlags parts = round % 5 == 0 ? PartFlags{round % 2 == 0, true, round % 3 == 0, round % 4 == 0}
                                               : PartFlags::All();
        RunDownload(dev, dev, *profile, parts, *scratch);
        ASSERT_EQ(dev.mouse.ProtocolErrors(), 0) << dev.mouse.LastError();
        ASSERT_EQ(dev.mouse.DownloadsCompleted(), 1);
        const auto diff = device_test::CompareSlot(DecodeSlot(dev.mouse.Slot()), dev.mouse.Slot(), *profile, parts);
        ASSERT_TRUE(diff.empty()) << "round " << round << ": " << diff.front();
    }
}

TEST(EmulatorTest, FramingErrorsAreCountedAndNothingHalfIsApplied) {
    MouseEmulator m;
    const MouseSlot factory = m.Slot();
    Send(m, PollingRateCommand(8));  // outside a download
    EXPECT_EQ(m.ProtocolErrors(), 1);
    EXPECT_EQ(m.Slot().pollingRate, factory.pollingRate);

    Send(m, StartCommand());
    FeatureCommand bad = PollingRateCommand(8);
    bad[7] ^= 1;
    Send(m, bad);
    EXPECT_EQ(m.ProtocolErrors(), 2);
    EXPECT_EQ(m.Slot().pollingRate, factory.pollingRate);

    // One half, then the next command: the block is lost, not half-applied.
    Send(m, ButtonTableCommand());
    Half(m, 0x11);
    Send(m, EndCommand());
    EXPECT_EQ(m.ProtocolErrors(), 3);
    EXPECT_EQ(m.Slot().buttonTable, factory.buttonTable);
    EXPECT_EQ(m.DownloadsCompleted(), 1);

    Send(m, StartCommand());
    Send(m, AttributeBlockCommand());
    Half(m, 0x22);
    Half(m, 0x33);
    Half(m, 0x44);  // a third half has no command
    EXPECT_EQ(m.ProtocolErrors(), 4);
    EXPECT_EQ(m.Slot().attributes[0], 0x22);
    EXPECT_EQ(m.Slot().attributes[64], 0x33);

    const uint8_t shortReport[8] = {};
    Send(m, MacroBlockCommand(3));
    EXPECT_EQ(m.OnWriteUSB(shortReport, 8), MouseEmulator::Result::kRejected);
    Half(m, 0x55);  // the block was dropped with the short report
    EXPECT_EQ(m.Slot().macros[2], DeviceBlock{});
    EXPECT_EQ(m.ProtocolErrors(), 6);

    for (const FeatureCommand& c : {MacroBlockCommand(0), MacroBlockCommand(17), MakeFeatureCommand(0x05, 1, 0),
                                    MakeFeatureCommand(kCmdPollingRate, 2, 8), MakeFeatureCommand(0x0C, 1, 0x00),
                                    StartCommand()}) {
        const int before = m.ProtocolErrors();
        Send(m, c);
        EXPECT_EQ(m.ProtocolErrors(), before + 1) << int(c[0]) << " " << int(c[1]);
    }
    EXPECT_EQ(m.OnSetFeature(nullptr, 8), MouseEmulator::Result::kRejected);
    EXPECT_EQ(m.OnSetFeature(StartCommand().data(), 7), MouseEmulator::Result::kRejected);
}

TEST(EmulatorTest, UnplugLosesTheHalfBlockWithoutError) {
    MouseEmulator m;
    Send(m, StartCommand());
    Send(m, ButtonTableCommand());
    Half(m, 0x11);
    m.PowerCycle();
    EXPECT_FALSE(m.InDownload());
    EmulatorChannel dev;
    dev.mouse = m;
    auto scratch = std::make_unique<ButtonTable>();
    RunDownload(dev, dev, MonitorDefaultProfile(), PartFlags::All(), *scratch);
    EXPECT_EQ(dev.mouse.ProtocolErrors(), 0);
    EXPECT_EQ(dev.mouse.DownloadsCompleted(), 1);
}

TEST(EmulatorTest, OwnDpiAndRateButtonsSetTheSlotUntilTheHostSendsOtherwise) {
    MouseEmulator m;
    const MouseSlot factory = m.Slot();
    struct Press {
        DeviceEvent event;
        bool changes;
        uint8_t activeLevel, pollingRate;  // afterwards
    };
    const Press presses[] = {
        {{0x0700, 4}, true, 4, factory.pollingRate},
        {{0x07FF, 4}, false, 4, factory.pollingRate},  // already there
        {{0x0500, 8}, true, 4, 8},
        {{0x0500, 3}, true, 4, 3},  // held as chosen, valid or not: the host must answer it
        {{0x0700, 7}, true, 7, 3},
        {{0x0700, 0}, false, 7, 3},
        {{0x0700, 9}, false, 7, 3},
        {{0x000A, 1}, false, 7, 3},
        {{0x00A0, 2}, false, 7, 3},
    };
    for (const Press& p : presses) {
        EXPECT_EQ(m.OnOwnButton(p.event), p.changes) << std::hex << p.event.code << " " << p.event.value;
        EXPECT_EQ(m.Slot().activeLevel, p.activeLevel) << std::hex << p.event.code << " " << p.event.value;
        EXPECT_EQ(m.Slot().pollingRate, p.pollingRate) << std::hex << p.event.code << " " << p.event.value;
    }
    EXPECT_EQ(m.Slot().attributes, factory.attributes);
    EXPECT_EQ(m.Slot().buttonTable, factory.buttonTable);
    EXPECT_EQ(m.ProtocolErrors(), 0);

    Send(m, StartCommand());
    Send(m, DpiStepCommand(1));
    Send(m, PollingRateCommand(2));
    Send(m, EndCommand());
    EXPECT_EQ(m.Slot().activeLevel, 2);
    EXPECT_EQ(m.Slot().pollingRate, 2);
    EXPECT_EQ(DecodeSlot(m.Slot()).cpiStep, 1);
}

TEST(EmulatorTest, DecodesKnownFrames) {
    const DecodedLighting wave = DecodeLighting({0x03, 0x0C, 0x01});
    EXPECT_EQ(wave.lightSwitch, 3);
    EXPECT_EQ(wave.level, 1);
    EXPECT_EQ(wave.direction, 1);
    EXPECT_EQ(DecodeLighting({0x02, 0x01, 0x02}).lightSwitch, -1);
    EXPECT_EQ(DecodeLighting({0x01, 0x31, 0x05}).lightSwitch, -2);

    DeviceBlock block{};
    const auto frame = Bytes({0x00, 0x01, 0x05, 0x04, 0x81, 0x04, 0x28, 0x02});
    std::copy(frame.begin(), frame.end(), block.begin());
    const DecodedMacro m = DecodeMacroBlock(block);
    EXPECT_EQ(m.repeatHeader, 1);
    ASSERT_EQ(m.steps.size(), 2u);
    EXPECT_TRUE(m.steps[0].press);
    EXPECT_EQ(m.steps[0].delayMs, 50);
    EXPECT_FALSE(m.steps[1].press);
    EXPECT_TRUE(m.steps[1].longForm);
    EXPECT_EQ(m.steps[1].delayMs, 2000);
}

// The encoder's table and the virtual mouse's are written apart; each is held
// here to rows of the button-function table in the protocol description, bytes
// as printed there, so a wrong row is blamed on its own table.
TEST(FunctionTablesTest, RowsAsTheProtocolDescriptionPrintsThem) {
    struct Row {
        uint8_t code;
        int buttonIndex;
        ButtonEntry entry;
    };
    const Row rows[] = {
        {1, 0, {0x01, 0x00, 0xF0, 0x00}},   {5, 4, {0x01, 0x00, 0xF3, 0x00}},  {6, 0, {0x0A, 0xF0, 0x32, 0x02}},
        {11, 0, {0x0A, 0xF0, 0x10, 0x00}},  {15, 6, {0x07, 0x00, 0x02, 0x00}}, {17, 3, {0x06, 0x00, 0x0A, 4}},
        {22, 0, {0x0A, 0x01, 0x00, 0x00}},  {24, 0, {0x06, 0x00, 0xA0, 0x00}}, {25, 0, {0x03, 0x00, 0x83, 0x01}},
        {33, 0, {0x03, 0x00, 0x92, 0x01}},  {42, 0, {0x03, 0x00, 0x21, 0x02}}, {58, 9, {0x09, 0x00, 10, 0x04}},
        {65, 15, {0x06, 0x00, 0x0A, 16}},   {113, 0, {0x00, 0x08, 0x18, 0x00}}, {117, 0, {0x00, 0x04, 0x3D, 0x00}},
        {120, 0, {0x00, 0x01, 0x19, 0x00}},
    };
    for (const Row& row : rows) {
        ButtonAssignment record;
        ResetAssignmentState(record, row.buttonIndex);
        record.FunctionCode = row.code;
        EXPECT_EQ(MakeButtonEntry(record, row.buttonIndex), row.entry) << "encoder, code " << int(row.code);
        const std::vector<uint8_t> codes = CodesForEntry(row.entry, row.buttonIndex);
        EXPECT_NE(std::find(codes.begin(), codes.end(), row.code), codes.end()) << "decoder, code " << int(row.code);
    }
    // Codes between the rows go out as zeros and mean nothing to the mouse.
    for (const uint8_t gap : {21, 43, 61, 111, 121, 255}) {
        EXPECT_FALSE(FindDeviceFunction(gap)) << int(gap);
        EXPECT_FALSE(SlotKnowsFunction(gap)) << int(gap);
    }
    // Several codes share their bytes; the macro number must be the button's own.
    EXPECT_EQ(CodesForEntry({0x06, 0x00, 0x0A, 4}, 3), (std::vector<uint8_t>{17, 65}));
    EXPECT_EQ(CodesForEntry({0x03, 0x00, 0x94, 0x01}, 0), (std::vector<uint8_t>{39, 52}));
    EXPECT_EQ(CodesForEntry({0x09, 0x02, 10, 0x00}, 9), (std::vector<uint8_t>{16}));
    EXPECT_EQ(CodesForEntry({0x09, 0x00, 10, 0x00}, 3), (std::vector<uint8_t>{}));
    EXPECT_EQ(CodesForEntry({0x00, 0x01, 0x06, 0x00}, 0), (std::vector<uint8_t>{12, 119}));
    EXPECT_EQ(CodesForEntry({0x00, 0x00, 0x00, 0x00}, 0), (std::vector<uint8_t>{0, 12}));
}

// Every function code on every button, through the encoder, the virtual
// mouse and its decoder, back to the profile: a row missing, added or wrong
// in either table shows here.
TEST(FunctionTablesTest, EveryCodeOnEveryButtonArrivesAsItWasMeant) {
    auto profile = std::make_unique<ProfileRecord>();
    auto scratch = std::make_unique<ButtonTable>();
    for (int code = 0; code <= 255; ++code) {
        *profile = MonitorDefaultProfile();
        for (int i = 0; i < kButtonCount; ++i) {
            ButtonAssignment& b = profile->MacroKeyInfo[i];
            ResetAssignmentState(b, i);
            b.FunctionCode = static_cast<uint8_t>(code);
            b.setKey(static_cast<uint8_t>(0x04 + i), static_cast<uint8_t>(2 << (i % 7)));
            if (code == kCodeMacro) SetMacro(*profile, i, {{0x04, 1, 30}, {0x04, 2, 40}}, i % 4);
        }
        EmulatorChannel dev;
        RunDownload(dev, dev, *profile, PartFlags::All(), *scratch);
        ASSERT_EQ(dev.mouse.ProtocolErrors(), 0) << dev.mouse.LastError();
        const auto diff =
            device_test::CompareSlot(DecodeSlot(dev.mouse.Slot()), dev.mouse.Slot(), *profile, PartFlags::All());
        EXPECT_TRUE(diff.empty()) << "code " << code << ": " << diff.front();
    }
}

TEST(EmulatorTest, StateFileRoundTripAndKeys) {
    TempFolder dir;
    const auto path = dir / "devio-state.ini";
    EmulatorChannel dev;
    ProfileRecord p = MonitorDefaultProfile();
    SetMacro(p, 3, {{0x04, 1, 30}, {0xFF, 0, 20}, {0x04, 2, 2000}});
    auto scratch = std::make_unique<ButtonTable>();
    RunDownload(dev, dev, p, PartFlags::All(), *scratch);
    ASSERT_TRUE(WriteSimStateFile(path, dev.mouse.Slot(), {true, 0, 1, ""}));

    const CIniFile ini(path);
    EXPECT_EQ(ini.ReadInt(u"Device", u"ProtocolErrors", -1), 0);
    EXPECT_EQ(ini.ReadInt(u"Slot", u"CpiLevel_X4", -1), 50);
    EXPECT_EQ(ini.ReadInt(u"Slot", u"CpiStep", -1), 2);
    EXPECT_EQ(ini.ReadString(u"Slot", u"LightBytes", u""), u"03 0C 00");
    EXPECT_EQ(ini.ReadInt(u"Slot", u"DPIColor0", -1), 51 | 51 << 8);
    EXPECT_EQ(ini.ReadString(u"Buttons", u"Entry3", u""), u"09 00 04 00");
    EXPECT_EQ(ini.ReadString(u"Buttons", u"Codes0", u""), u"1");
    EXPECT_EQ(ini.ReadString(u"Macro4", u"Step1", u""), u"04 up 2000");
    EXPECT_FALSE(ini.HasSection(u"Macro1"));

    MouseSlot back;
    SimStatus status;
    ASSERT_TRUE(ReadSimStateFile(path, back, status));
    EXPECT_EQ(back.attributes, dev.mouse.Slot().attributes);
    EXPECT_EQ(back.buttonTable, dev.mouse.Slot().buttonTable);
    EXPECT_EQ(back.macros, dev.mouse.Slot().macros);
    EXPECT_EQ(status.downloads, 1);

    // A damaged block is refused as a whole.
    CIniFile edit(path);
    edit.WriteString(u"Buttons", u"ButtonTable", u"00FF");
    ASSERT_TRUE(edit.Commit());
    MouseSlot untouched;
    EXPECT_FALSE(ReadSimStateFile(path, untouched, status));
    EXPECT_FALSE(ReadSimStateFile(dir / "missing.ini", untouched, status));
}

TEST(SimControlTest, MousesimArguments) {
    using K = SimCommand::Kind;
    std::string error;
    const auto parse = [&](std::vector<std::string> a) { return ParseMousesimArgs(a, error); };
    EXPECT_EQ(parse({"plug"}), (SimCommand{K::kPlug}));
    EXPECT_EQ(parse({"unplug"}), (SimCommand{K::kUnplug}));
    EXPECT_EQ(parse({"state"}), (SimCommand{K::kState}));
    EXPECT_EQ(parse({"dpi-button", "3"}), (SimCommand{K::kEvent, 0x0700, 3}));
    EXPECT_EQ(parse({"rate-button", "0x8"}), (SimCommand{K::kEvent, 0x0500, 8}));
    EXPECT_EQ(parse({"launch-button", "16"}), (SimCommand{K::kEvent, 0x000A, 16}));
    EXPECT_EQ(parse({"config-button"}), (SimCommand{K::kEvent, 0x00A0, 0}));
    EXPECT_EQ(parse({"event", "0x07FF", "65535"}), (SimCommand{K::kEvent, 0x07FF, 0xFFFF}));
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {}, {"jump"}, {"dpi-button"}, {"dpi-button", "65536"}, {"dpi-button", "-1"}, {"dpi-button", "3x"},
             {"event", "1"}, {"plug", "1"}, {"event", "0x", "1"}, {"rate-button", ""}}) {
        EXPECT_FALSE(parse(bad)) << (bad.empty() ? "" : bad[0]);
        EXPECT_FALSE(error.empty());
    }
    for (const SimCommand& c : {SimCommand{K::kPlug}, SimCommand{K::kEvent, 0x0703, 2}, SimCommand{K::kState}})
        EXPECT_EQ(DecodeSimCommand(EncodeSimCommand(c)), c);
    EXPECT_FALSE(DecodeSimCommand("dpi-button 3"));
    EXPECT_FALSE(DecodeSimCommand("event 1 2 3"));
    EXPECT_FALSE(DecodeSimCommand(""));
}

}  // namespace

#include "lighting_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "profile_store.h"

using namespace lighting;

namespace {

ProfileRecord Fresh() {
    ProfileRecord record{};
    InitNewProfile(record, u"P");
    return record;
}

ProfileRecord InMode(int mode) {
    ProfileRecord record = Fresh();
    record.LightSwitch = mode;
    return record;
}

bool SameBytes(const ProfileRecord& a, const ProfileRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<unsigned> Texts(const MenuLook& menu) {
    std::vector<unsigned> texts;
    for (int i = 0; i < menu.count; ++i) texts.push_back(menu.choices[i].text);
    return texts;
}

}  // namespace

TEST(LightingCaptions, EachButtonShowsItsFieldAndTheFirstTextForValuesOutOfRange) {
    ProfileRecord r = Fresh();
    for (int mode = 0; mode < 4; ++mode) {
        r.LightSwitch = mode;
        EXPECT_EQ(ModeCaption(r), 126u + mode);
    }
    for (int bad : {-1, 4, 1000}) {
        r.LightSwitch = bad;
        EXPECT_EQ(ModeCaption(r), 126u) << bad;
        r.LightDir = bad;
        EXPECT_EQ(DirectionCaption(r), 132u) << bad;
    }
    for (int dir = 0; dir < 4; ++dir) {
        r.LightDir = dir;
        EXPECT_EQ(DirectionCaption(r), 132u + dir);
    }
}

TEST(LightingCaptions, TheLevelButtonShowsBrightnessInModeOneAndSpeedOtherwise) {
    ProfileRecord r = Fresh();
    r.LightIntensity = 0;
    r.LightSpeed = 2;
    r.LightSwitch = 1;
    EXPECT_EQ(LevelCaption(r), 136u);
    for (int mode : {0, 2, 3}) {
        r.LightSwitch = mode;
        EXPECT_EQ(LevelCaption(r), 141u) << mode;
    }
    r.LightSwitch = 1;
    r.LightIntensity = 3;
    EXPECT_EQ(LevelCaption(r), 136u) << "a text of another run for a hand-edited brightness";
    r.LightSwitch = 2;
    r.LightSpeed = -1;
    EXPECT_EQ(LevelCaption(r), 139u);
}

TEST(LightingEnableTable, TheModeDecidesWhatIsEnabledAndWhichCaptionsAreBlank) {
    struct Row {
        int mode;
        bool level, direction, swatches;
    };
    for (const Row row : {Row{0, false, false, false}, Row{1, true, false, true}, Row{2, true, false, true},
                          Row{3, true, true, false}}) {
        ProfileRecord r = InMode(row.mode);
        r.LightDir = 2;
        r.LightSpeed = 1;
        r.LightIntensity = 0;
        const PageLook look = LookOf(r);
        EXPECT_EQ(look.levelEnabled, row.level) << row.mode;
        EXPECT_EQ(look.directionEnabled, row.direction) << row.mode;
        EXPECT_EQ(look.swatchesEnabled, row.swatches) << row.mode;
        EXPECT_EQ(look.modeText, 126u + row.mode);
        EXPECT_EQ(look.levelText, row.level ? LevelCaption(r) : kNoText) << row.mode;
        EXPECT_EQ(look.directionText, row.direction ? 134u : kNoText) << row.mode;
    }
}

TEST(LightingEnableTable, AModeOutsideTheTableIsShownAsOff) {
    for (int bad : {-1, 4, 77}) {
        const ProfileRecord r = InMode(bad);
        EXPECT_EQ(ShownMode(r), kModeOff);
        const PageLook look = LookOf(r);
        EXPECT_FALSE(look.levelEnabled || look.directionEnabled || look.swatchesEnabled) << bad;
        EXPECT_EQ(look.levelText, kNoText);
        EXPECT_EQ(look.directionText, kNoText);
        const auto labels = LabelsOf(r);
        EXPECT_FALSE(labels[1].shown || labels[2].shown) << bad;
    }
}

TEST(LightingLabels, ModeLabelAlwaysLevelLabelUnlessOffColourLabelInModesOneAndTwo) {
    const bool shown[4][3] = {{true, false, false}, {true, true, true}, {true, true, true}, {true, true, false}};
    for (int mode = 0; mode < 4; ++mode) {
        const auto labels = LabelsOf(InMode(mode));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(labels[i].text, 23u + i);
            EXPECT_EQ(labels[i].shown, shown[mode][i]) << "mode " << mode << " label " << i;
        }
    }
}

TEST(LightingMenus, ChoosingAnyItemStoresOnlyItsFieldAndTheButtonThenShowsThatItem) {
    struct Case {
        Menu menu;
        int mode;
        unsigned (*caption)(const ProfileRecord&);
        int width;
        int lift;
    };
    for (const Case c : {Case{Menu::kMode, 2, &ModeCaption, 228, 0}, Case{Menu::kDirection, 3, &DirectionCaption, 102, 1},
                         Case{Menu::kLevel, 1, &LevelCaption, 102, 1}, Case{Menu::kLevel, 2, &LevelCaption, 102, 1},
                         Case{Menu::kLevel, 3, &LevelCaption, 102, 1}}) {
        // Fields that no item's number equals, so each store shows.
        ProfileRecord before = InMode(c.mode);
        before.LightDir = before.LightIntensity = before.LightSpeed = -1;
        const MenuLook look = MenuOf(c.menu, before);
        EXPECT_EQ(look.count, c.menu == Menu::kLevel ? 3 : 4);
        EXPECT_EQ(look.width, c.width);
        EXPECT_EQ(look.lift, c.lift);
        for (int i = 0; i < look.count; ++i) {
            ProfileRecord r = before;
            EXPECT_TRUE(IsMenuCommand(look.choices[i].command));
            EXPECT_NE(ApplyCommand(r, look.choices[i].command), Change::kNone);
            EXPECT_EQ(c.caption(r), look.choices[i].text) << "mode " << c.mode << " item " << i;
            // Exactly one lighting field took the item's number.
            ProfileRecord expected = before;
            int32_t* fields[] = {&expected.LightSwitch, &expected.LightDir, &expected.LightIntensity,
                                 &expected.LightSpeed};
            int changed = 0;
            for (int32_t* field : fields) {
                const int32_t kept = *field;
                *field = i;
                if (SameBytes(r, expected)) ++changed;
                *field = kept;
            }
            EXPECT_EQ(changed, 1) << "mode " << c.mode << " item " << i;
        }
    }
}

TEST(LightingMenus, TheLevelMenuListsBrightnessInModeOneAndSpeedInTheOthers) {
    EXPECT_EQ(Texts(MenuOf(Menu::kLevel, InMode(1))), (std::vector<unsigned>{136, 137, 138}));
    for (int mode : {2, 3})
        EXPECT_EQ(Texts(MenuOf(Menu::kLevel, InMode(mode))), (std::vector<unsigned>{139, 140, 141})) << mode;
    EXPECT_EQ(Texts(MenuOf(Menu::kMode, InMode(1))), (std::vector<unsigned>{126, 127, 128, 129}));
    EXPECT_EQ(Texts(MenuOf(Menu::kDirection, InMode(1))), (std::vector<unsigned>{132, 133, 134, 135}));
}

TEST(LightingCommands, TheLevelIsBrightnessInModeOneAndSpeedElseAndTheOtherKeepsItsValue) {
    ProfileRecord r = InMode(1);
    r.LightIntensity = 2;
    r.LightSpeed = 1;
    EXPECT_EQ(ApplyCommand(r, 3001), Change::kLevel);
    EXPECT_EQ(r.LightIntensity, 0);
    EXPECT_EQ(r.LightSpeed, 1);
    EXPECT_EQ(LevelCaption(r), 136u);

    // Mode 2: the same button now shows and changes the speed.
    EXPECT_EQ(ApplyCommand(r, 1003), Change::kMode);
    EXPECT_EQ(LevelCaption(r), 140u);
    EXPECT_EQ(ApplyCommand(r, 3003), Change::kLevel);
    EXPECT_EQ(r.LightSpeed, 2);
    EXPECT_EQ(r.LightIntensity, 0);
    EXPECT_EQ(LevelCaption(r), 141u);

    r.LightSwitch = 3;
    EXPECT_EQ(ApplyCommand(r, 3002), Change::kLevel);
    EXPECT_EQ(r.LightSpeed, 1);
    EXPECT_EQ(r.LightIntensity, 0);
}

TEST(LightingCommands, CommandsOfNoMenuChangeNothing) {
    const ProfileRecord before = InMode(2);
    for (unsigned command : {0u, 1u, 2u, 1000u, 1005u, 2000u, 2005u, 3000u, 3004u, 0xFFFFFFFFu}) {
        ProfileRecord r = before;
        EXPECT_FALSE(IsMenuCommand(command)) << command;
        EXPECT_EQ(ApplyCommand(r, command), Change::kNone) << command;
        EXPECT_TRUE(SameBytes(r, before)) << command;
    }
}

TEST(LightingColours, SwatchesShowAndStoreOnlyTheColourBytes) {
    ProfileRecord r = Fresh();
    EXPECT_EQ(SwatchColour(r, 0), 0x00FFFFu);  // the reset colour of level 1
    r.DPIColor[6] = -1;                        // a missing key
    EXPECT_EQ(SwatchColour(r, 6), 0xFFFFFFu);
    r.DPIColor[5] = static_cast<int32_t>(0x7F123456);
    EXPECT_EQ(SwatchColour(r, 5), 0x123456u);

    EXPECT_TRUE(SetSwatchColour(r, 3, 0xAB102030u));
    EXPECT_EQ(r.DPIColor[3], 0x102030);
    EXPECT_TRUE(SetSwatchColour(r, 6, 0x0000FF));
    EXPECT_EQ(r.DPIColor[6], 0xFF);
}

TEST(LightingColours, SwatchesThatDoNotExistAreRefused) {
    const ProfileRecord before = Fresh();
    ProfileRecord r = before;
    for (int bad : {-1, 7, 100}) {
        EXPECT_FALSE(SetSwatchColour(r, bad, 0x123456)) << bad;
        EXPECT_EQ(SwatchColour(r, bad), 0u) << bad;
        EXPECT_FALSE(SentToMouse(bad)) << bad;
        EXPECT_EQ(SwatchCaption(bad), u"") << bad;
    }
    EXPECT_TRUE(SameBytes(r, before));
}

TEST(LightingColours, TheFiveLevelColoursAreNumberedAndTheLastTwoOnlyStored) {
    const char16_t* captions[7] = {u"1", u"2", u"3", u"4", u"5", u"", u""};
    for (int i = 0; i < kSwatchCount; ++i) {
        EXPECT_EQ(SentToMouse(i), i < 5) << i;
        EXPECT_EQ(SwatchCaption(i), captions[i]) << i;
    }
}

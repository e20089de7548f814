#include "game_switch.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "../../support/monitor_port_doubles.h"

namespace {

using Kind = GameSwitchStep::Kind;

// Desktop (no game), Shooter, Racer, and a second profile for the shooter.
const std::vector<std::wstring> kGames = {L"", L"shooter.exe", L"racer.exe", L"shooter.exe"};

GameSwitchStep Decide(std::wstring_view foreground, int32_t current, int32_t home, bool enabled = true,
                      std::wstring_view declined = {}) {
    GameSwitchInput input;
    input.foreground = foreground;
    input.gameNames = kGames;
    input.current = current;
    input.home = home;
    input.enabled = enabled;
    input.declined = declined;
    return DecideGameSwitch(input);
}

}  // namespace

TEST(GameFileName, IsTheLastPathPartTrimmed) {
    EXPECT_EQ(GameFileName(u"C:\\Games\\Shooter\\Shooter.EXE"), u"Shooter.EXE");
    EXPECT_EQ(GameFileName(u"/opt/games/racer.exe "), u"racer.exe");
    EXPECT_EQ(GameFileName(u"racer.exe"), u"racer.exe");
    EXPECT_EQ(GameFileName(u"C:\\Games\\"), u"");
    EXPECT_EQ(GameFileName(u""), u"");
    // Folded as names are, beyond ASCII too; the suite's own programs in any spelling.
    EXPECT_EQ(FoldProgramName(L"Räcer.exe"), FoldProgramName(L"RÄCER.EXE"));
    EXPECT_NE(FoldProgramName(L"Straße.exe"), FoldProgramName(L"STRASSE.EXE"));
    EXPECT_TRUE(IsOwnProgram(FoldProgramName(L"Option.exe")));
    EXPECT_TRUE(IsOwnProgram(L"MONITOR.EXE"));
}

TEST(GameSwitch, AGameSwitchesToTheFirstProfileLinkedToIt) {
    GameSwitchStep step = Decide(L"shooter.exe", 0, -1);
    EXPECT_EQ(step.kind, Kind::kSwitchToGame);
    EXPECT_EQ(step.profile, 1);  // not 3: the first in list order wins
    EXPECT_EQ(step.home, 0);     // the profile it left is the way back

    step = Decide(L"shooter.exe", 1, 0);  // already there
    EXPECT_EQ(step.kind, Kind::kNothing);
    EXPECT_EQ(step.home, 0);
}

TEST(GameSwitch, GameToGameKeepsTheFirstHome) {
    const GameSwitchStep step = Decide(L"racer.exe", 1, 0);
    EXPECT_EQ(step.kind, Kind::kSwitchToGame);
    EXPECT_EQ(step.profile, 2);
    EXPECT_EQ(step.home, 0);
}

TEST(GameSwitch, LeavingTheGamesGoesHomeOnce) {
    GameSwitchStep step = Decide(L"notepad.exe", 2, 0);
    EXPECT_EQ(step.kind, Kind::kReturnHome);
    EXPECT_EQ(step.profile, 0);
    EXPECT_EQ(step.home, -1);

    step = Decide(L"notepad.exe", 0, -1);  // home already, nothing to go back to
    EXPECT_EQ(step.kind, Kind::kNothing);
    step = Decide(L"notepad.exe", 2, 2);  // the way back leads where it is: only forgotten
    EXPECT_EQ(step.kind, Kind::kNothing);
    EXPECT_EQ(step.home, -1);
    step = Decide(L"notepad.exe", 2, 9);  // a home past the list is no way back
    EXPECT_EQ(step.kind, Kind::kNothing);
    EXPECT_EQ(step.home, -1);
}

TEST(GameSwitch, OffUnknownOwnOrDeclinedChangeNothing) {
    for (const GameSwitchStep& step :
         {Decide(L"shooter.exe", 0, -1, false), Decide(L"notepad.exe", 2, 0, false), Decide(L"", 2, 0),
          Decide(L"option.exe", 2, 0), Decide(L"monitor.exe", 0, -1), Decide(L"shooter.exe", 2, -1, true, L"shooter.exe")}) {
        EXPECT_EQ(step.kind, Kind::kNothing);
    }
    EXPECT_EQ(Decide(L"option.exe", 2, 0).home, 0);  // Option in front keeps the way back
    // Declining one game does not decline another.
    EXPECT_EQ(Decide(L"racer.exe", 1, -1, true, L"shooter.exe").kind, Kind::kSwitchToGame);
}

TEST(GameSwitch, NoCurrentProfileLeavesNoHome) {
    const GameSwitchStep step = Decide(L"racer.exe", -1, -1);
    EXPECT_EQ(step.kind, Kind::kSwitchToGame);
    EXPECT_EQ(step.home, -1);
    EXPECT_EQ(ProfileForProgram(kGames, L""), -1);  // an empty name matches no unlinked profile
}

class ForegroundWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.programs = {{1, L"shooter.exe"}, {2, L"notepad.exe"}, {3, L"shooter.exe"}};
    }
    std::optional<std::wstring> LookAt(uintptr_t window) {
        platform_.window = window;
        return watch_.Look();
    }

    ScriptedForeground platform_;
    ForegroundWatch watch_{platform_};
};

TEST_F(ForegroundWatchTest, TheNameIsAskedForOnlyWhenAnotherWindowComesToTheFront) {
    EXPECT_EQ(LookAt(1), L"shooter.exe");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(LookAt(1), std::nullopt);
    EXPECT_EQ(platform_.programQueries, 1);

    EXPECT_EQ(LookAt(2), L"notepad.exe");
    EXPECT_EQ(LookAt(1), L"shooter.exe");
    // A second window of the same program is another window; which program
    // that means is the logic's business.
    EXPECT_EQ(LookAt(3), L"shooter.exe");
    EXPECT_EQ(platform_.programQueries, 4);

    // Nothing in front for a moment, then the same window again: no change.
    EXPECT_EQ(LookAt(0), std::nullopt);
    EXPECT_EQ(LookAt(3), std::nullopt);
    EXPECT_EQ(platform_.programQueries, 4);

    // Followed is the window the last look found, not one in front for a moment without a look.
    watch_.FollowProgramInFront();
    platform_.window = 2;
    watch_.FollowProgramInFront();
    EXPECT_EQ(platform_.followed, (std::vector<uintptr_t>{3, 3}));
}

TEST_F(ForegroundWatchTest, AWindowWithoutAReadableNameIsNotAskedAgain) {
    EXPECT_EQ(LookAt(9), std::nullopt);
    EXPECT_EQ(LookAt(9), std::nullopt);
    EXPECT_EQ(platform_.programQueries, 1);
    EXPECT_EQ(LookAt(2), L"notepad.exe");
}

// The Monitor following the program in front, on real store files: what it
// saves, what it downloads, what it tells Option, and what survives a restart.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "../../support/counting_lock.h"
#include "../../support/temp_folder.h"
#include "../../support/monitor_port_doubles.h"
#include "app_messages.h"
#include "download_job.h"
#include "monitor_logic.h"
#include "shared_lock.h"

namespace fs = std::filesystem;

namespace {

class GameProfilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.path();
        fs::create_directories(folder_ / "config");
        file_ = ProfileStorePath(folder_);
        // Desktop, Shooter and Racer, the games linked in different spellings.
        ProfileStore store;
        const char16_t* names[] = {u"Desktop", u"Shooter", u"Racer"};
        const char16_t* games[] = {u"", u"C:\\Games\\SHOOTER.EXE", u"D:/racing/racer.exe"};
        for (int i = 0; i < 3; ++i) {
            auto p = std::make_unique<ProfileRecord>();
            InitNewProfile(*p, names[i]);
            CopyToField(p->GameFile, games[i]);
            p->MouseSpeed = 5 + i;
            store.profiles.push_back(std::move(p));
        }
        store.values.ProfileID = 0;
        ClearAllParts(store.values);
        ASSERT_TRUE(SaveProfileStore(file_, store));
        Settle();
    }

    // As if saved a while ago, each save a second after the one before: a
    // file whose time the Monitor can trust, on a clock of whole seconds too.
    void Settle() {
        fs::last_write_time(file_, fs::file_time_type::clock::now() - std::chrono::hours(1) +
                                       std::chrono::seconds(++saves_));
    }

    // A Monitor that started and gave the mouse its current profile.
    std::unique_ptr<MonitorLogic> Start() {
        auto logic = std::make_unique<MonitorLogic>(file_, host_, pointer_);
        logic->SetStoreLock(&lock_);
        logic->LoadAtStartup();
        logic->QueueFullDownload();
        host_.jobs.clear();
        return logic;
    }
    ProfileStore Read() {
        ProfileStore store;
        LoadProfileStore(file_, store);
        return store;
    }
    // Another program saves the store (Option or gmconfig).
    template <typename Edit>
    void SaveElsewhere(Edit edit) {
        ProfileStore store = Read();
        edit(store);
        ASSERT_TRUE(SaveProfileStore(file_, store));
        Settle();
    }
    std::u16string LastJobName() const {
        return host_.jobs.empty() ? u"" : FieldText(host_.jobs.back()->profile.ProFileName);
    }

    TempFolder temp_;
    fs::path folder_;
    fs::path file_;
    RecordingHost host_;
    CountingSystem pointer_;
    CountingLock lock_;
    int saves_ = 0;
};

}  // namespace

TEST_F(GameProfilesTest, GamesSwitchGameToGameAndTheDesktopGoesHome) {
    auto logic = Start();
    EXPECT_EQ(host_.shown.back(), u"Desktop");

    logic->SetForegroundProgram(L"shooter.exe");
    ASSERT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(host_.jobs[0]->kind, DownloadKind::kEverything);
    EXPECT_EQ(LastJobName(), u"Shooter");
    EXPECT_EQ(Read().values.ProfileID, 1);
    EXPECT_EQ(Read().games.home, u"Desktop");
    EXPECT_EQ(host_.optionMessages, std::vector<unsigned>{WM_PROFILE_CHANGED});
    EXPECT_EQ(pointer_.speeds.back(), 6);
    EXPECT_EQ(host_.shown.back(), u"Shooter");

    logic->SetForegroundProgram(L"Racer.EXE");  // as the platform spells the file
    EXPECT_EQ(LastJobName(), u"Racer");
    EXPECT_EQ(Read().games.home, u"Desktop");

    logic->SetForegroundProgram(L"Option.exe");  // our own window changes nothing
    EXPECT_EQ(host_.jobs.size(), 2u);

    logic->SetForegroundProgram(L"notepad.exe");
    ASSERT_EQ(host_.jobs.size(), 3u);
    EXPECT_EQ(LastJobName(), u"Desktop");
    EXPECT_EQ(Read().values.ProfileID, 0);
    EXPECT_EQ(Read().games.home, u"");
    EXPECT_EQ(host_.optionMessages.size(), 3u);
    EXPECT_EQ(lock_.held, 0);
}

TEST_F(GameProfilesTest, NothingIsReadWhileNothingChanged) {
    auto logic = Start();
    const int locks = lock_.acquired;
    logic->SetForegroundProgram(L"notepad.exe");
    logic->SetForegroundProgram(L"explorer.exe");
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(lock_.acquired, locks);
    EXPECT_TRUE(host_.jobs.empty());

    // A game linked by Option without an apply request: the changed file is
    // read on the next change of program, and followed.
    SaveElsewhere([](ProfileStore& s) { CopyToField(s.profiles[2]->GameFile, u"C:\\x\\Notepad.exe"); });
    logic->SetForegroundProgram(L"notepad.exe");
    EXPECT_EQ(LastJobName(), u"Racer");
}

TEST_F(GameProfilesTest, ASaveOfTheSameSizeInTheSameWholeSecondIsStillSeen) {
    // Windows' C runtime gives file times in whole seconds: Option's save of a
    // link just after the Monitor's read looks like the file it read.
    const fs::file_time_type second = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now());
    fs::last_write_time(file_, second);
    const auto size = fs::file_size(file_);
    auto logic = Start();
    // As long as the path it replaces, so the file keeps its size.
    SaveElsewhere([](ProfileStore& s) { CopyToField(s.profiles[2]->GameFile, u"C:\\Game\\Notepad.exe"); });
    fs::last_write_time(file_, second);
    ASSERT_EQ(fs::file_size(file_), size);
    logic->SetForegroundProgram(L"notepad.exe");
    EXPECT_EQ(LastJobName(), u"Racer");
}

TEST_F(GameProfilesTest, AStoreFileDatedAheadOfTheClockIsReadOnce) {
    const auto ahead = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now()) + std::chrono::hours(1);
    fs::last_write_time(file_, ahead);
    auto logic = Start();
    EXPECT_TRUE(logic->WatchesForGames());
    const int locks = lock_.acquired;
    EXPECT_TRUE(logic->WatchesForGames());
    logic->SetForegroundProgram(L"notepad.exe");
    EXPECT_EQ(lock_.acquired, locks) << "the unchanged file was read again";
}

TEST_F(GameProfilesTest, TheForegroundMattersWhileAGameIsLinkedOrTheWayHomeWaits) {
    // Links taken away by another program: the file says so, the store in memory is left alone.
    const auto unlink = [](ProfileStore& s) {
        for (auto& p : s.profiles) CopyToField(p->GameFile, u"  ");
    };
    auto logic = Start();
    EXPECT_TRUE(logic->WatchesForGames());
    SaveElsewhere(unlink);
    EXPECT_FALSE(logic->WatchesForGames());
    EXPECT_EQ(FieldText(logic->store().profiles[1]->GameFile), u"C:\\Games\\SHOOTER.EXE");
    const int locks = lock_.acquired;
    EXPECT_FALSE(logic->WatchesForGames());
    EXPECT_EQ(lock_.acquired, locks) << "the unchanged file was read again";

    // Linked by Option without an apply request: seen on the next look.
    SaveElsewhere([](ProfileStore& s) { CopyToField(s.profiles[2]->GameFile, u"D:\\r\\racer.exe"); });
    EXPECT_TRUE(logic->WatchesForGames());

    // A game's profile waiting for the way home keeps it, whatever the links.
    logic->SetForegroundProgram(L"racer.exe");
    SaveElsewhere(unlink);
    EXPECT_TRUE(logic->WatchesForGames());

    // Game profiles turned off: nothing in front can matter.
    logic->SetGameProfilesEnabled(false);
    SaveElsewhere([](ProfileStore& s) { CopyToField(s.profiles[1]->GameFile, u"shooter.exe"); });
    EXPECT_FALSE(logic->WatchesForGames());
}

TEST_F(GameProfilesTest, WhileNoLinkedGameRunsTheForegroundCannotMatter) {
    ScriptedForeground platform;
    const MonitorLogic::RunningPrograms running = [&platform] { return platform.FollowedPrograms(); };
    auto logic = Start();
    EXPECT_TRUE(logic->WatchesForGames()) << "without the running programs every link counts";
    EXPECT_FALSE(logic->WatchesForGames(running));
    platform.running = {L"editor.exe"};
    EXPECT_FALSE(logic->WatchesForGames(running));
    // Linked as D:/racing/racer.exe: a running program matches by its file name, in any case.
    platform.running.push_back(L"Racer.EXE");
    EXPECT_TRUE(logic->WatchesForGames(running));

    // The game's profile waits for the way home after the game has ended.
    EXPECT_TRUE(logic->LinksGame(L"RACER.exe"));
    EXPECT_FALSE(logic->LinksGame(L"editor.exe"));
    logic->SetForegroundProgram(L"racer.exe");
    platform.running = {};
    EXPECT_TRUE(logic->WatchesForGames(running));
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(LastJobName(), u"Desktop");
    EXPECT_FALSE(logic->WatchesForGames(running));

    // Nothing followed runs: the store file is not read for its links.
    const int locks = lock_.acquired;
    SaveElsewhere([](ProfileStore& s) { CopyToField(s.profiles[1]->GameFile, u"explorer.exe"); });
    EXPECT_FALSE(logic->WatchesForGames(running));
    EXPECT_EQ(lock_.acquired, locks) << "the store was read with nothing followed";
    // A link made by another program while the program runs: read then.
    platform.running = {L"explorer.exe"};
    EXPECT_TRUE(logic->WatchesForGames(running));

    // Game profiles off: the running programs are not even asked for.
    const int asked = platform.runningQueries;
    logic->SetGameProfilesEnabled(false);
    EXPECT_FALSE(logic->WatchesForGames(running));
    EXPECT_EQ(platform.runningQueries, asked);
    EXPECT_FALSE(logic->LinksGame(L"explorer.exe"));
}

TEST_F(GameProfilesTest, ARestartedMonitorStillGoesHome) {
    Start()->SetForegroundProgram(L"shooter.exe");
    host_.jobs.clear();

    auto restarted = Start();
    restarted->SetForegroundProgram(L"shooter.exe");
    EXPECT_TRUE(host_.jobs.empty());
    restarted->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(LastJobName(), u"Desktop");
    EXPECT_EQ(Read().values.ProfileID, 0);
}

TEST_F(GameProfilesTest, TheUsersChoiceDuringAGameIsTheNewHome) {
    auto logic = Start();
    logic->SetForegroundProgram(L"shooter.exe");
    host_.jobs.clear();

    // Racer chosen in Option while the shooter is in front.
    SaveElsewhere([](ProfileStore& s) {
        s.values.ProfileID = 2;
        MarkAllParts(s.values);
    });
    logic->OnApplyAllSetting(true, 0);
    EXPECT_EQ(LastJobName(), u"Racer");
    EXPECT_EQ(Read().games.home, u"");

    // Option in front and back to the shooter: the choice stands.
    logic->SetForegroundProgram(L"option.exe");
    logic->SetForegroundProgram(L"shooter.exe");
    EXPECT_EQ(host_.jobs.size(), 1u);
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(Read().values.ProfileID, 2);

    // Once it was somewhere else, the shooter takes its profile again, and
    // leaving it goes to the user's Racer.
    logic->SetForegroundProgram(L"shooter.exe");
    EXPECT_EQ(LastJobName(), u"Shooter");
    EXPECT_EQ(Read().games.home, u"Racer");
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(LastJobName(), u"Racer");
}

TEST_F(GameProfilesTest, AnApplyForAnotherProfileThanTheMouseHoldsIsWhole) {
    auto logic = Start();
    logic->SetForegroundProgram(L"shooter.exe");
    host_.jobs.clear();

    // Option saved its older copy (Desktop current) with one part flagged.
    SaveElsewhere([](ProfileStore& s) {
        s.values.ProfileID = 0;
        ClearAllParts(s.values);
        s.values.PRateFlag = 1;
        s.profiles[0]->PollingRate = 8;
    });
    logic->OnApplyAllSetting(true, 5);
    ASSERT_EQ(host_.jobs.size(), 1u);
    EXPECT_EQ(host_.jobs[0]->kind, DownloadKind::kChangedParts);  // Option still gets its answer
    EXPECT_EQ(host_.jobs[0]->parts, PartFlags::All());
    EXPECT_EQ(LastJobName(), u"Desktop");

    // The same profile again: only the flagged parts.
    SaveElsewhere([](ProfileStore& s) { s.profiles[0]->PollingRate = 4; });
    logic->OnApplyAllSetting(true, 6);
    EXPECT_EQ(host_.jobs.back()->parts, (PartFlags{true, false, false, false}));
}

TEST_F(GameProfilesTest, MouseButtonsDuringAGameChangeTheGamesProfile) {
    auto logic = Start();
    logic->SetForegroundProgram(L"shooter.exe");
    logic->OnDeviceEvent(0x0701, 3);
    const ProfileStore stored = Read();
    EXPECT_EQ(stored.profiles[1]->CpiStep, 2);
    EXPECT_EQ(stored.profiles[0]->CpiStep, Read().profiles[2]->CpiStep);  // the others as they were
    EXPECT_EQ(stored.games.home, u"Desktop");
}

TEST_F(GameProfilesTest, TurnedOffStaysOffAcrossARestart) {
    auto logic = Start();
    logic->SetForegroundProgram(L"shooter.exe");
    logic->SetGameProfilesEnabled(false);
    EXPECT_FALSE(Read().games.enabled);
    EXPECT_EQ(Read().games.home, u"");  // the current profile stays, the way back is forgotten
    host_.jobs.clear();
    logic->SetForegroundProgram(L"notepad.exe");
    logic->SetForegroundProgram(L"racer.exe");
    EXPECT_TRUE(host_.jobs.empty());

    auto restarted = Start();
    EXPECT_FALSE(restarted->GameProfilesEnabled());
    restarted->SetForegroundProgram(L"racer.exe");
    EXPECT_TRUE(host_.jobs.empty());
    restarted->SetGameProfilesEnabled(true);  // the game in front is followed at once
    EXPECT_EQ(LastJobName(), u"Racer");
    EXPECT_TRUE(Read().games.enabled);
}

TEST_F(GameProfilesTest, DeletedProfilesBreakNothing) {
    auto logic = Start();
    logic->SetForegroundProgram(L"shooter.exe");
    // The active game's profile deleted in Option: the one after it is current.
    SaveElsewhere([](ProfileStore& s) {
        s.profiles.erase(s.profiles.begin() + 1);
        s.values.ProfileID = 1;
        MarkAllParts(s.values);
    });
    logic->OnApplyAllSetting(true, 0);
    EXPECT_EQ(LastJobName(), u"Racer");
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_EQ(LastJobName(), u"Desktop");

    // The way back deleted: leaving the game stays where it is.
    logic->SetForegroundProgram(L"racer.exe");
    SaveElsewhere([](ProfileStore& s) {
        s.profiles.erase(s.profiles.begin());
        s.values.ProfileID = 0;
    });
    host_.jobs.clear();
    logic->SetForegroundProgram(L"explorer.exe");
    EXPECT_TRUE(host_.jobs.empty());
    EXPECT_EQ(Read().values.ProfileID, 0);
    EXPECT_EQ(Read().games.home, u"");
}

TEST_F(GameProfilesTest, TurnedOnWithOurWindowInFrontFollowsTheGameBehindIt) {
    auto logic = Start();
    logic->SetGameProfilesEnabled(false);
    logic->SetForegroundProgram(L"racer.exe");
    logic->SetForegroundProgram(L"Monitor.exe");  // the icon's menu, where it is turned on
    logic->SetGameProfilesEnabled(true);
    EXPECT_EQ(LastJobName(), u"Racer");
    EXPECT_EQ(Read().games.home, u"Desktop");
}

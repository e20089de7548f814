"""End-to-end tests of automatic game profiles: the staged Monitor under Wine
and Xvfb with the virtual mouse, profiles Desktop, Shooter and Racer linked
with gmconfig, and stand-in games (one small window each) in front.

Without a window manager Wine moves its foreground for no X request (xdotool
windowactivate is refused for want of _NET_ACTIVE_WINDOW; windowfocus and
clicks change the X focus only), so a window is brought to the front the way
a program brings its own: `game.exe --activate TITLE` asks it to.

    /usr/bin/python3 games_e2e.py --build-dir build/win [unittest arguments]
"""
import shutil
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402

START = "SetFeature 01 08 00 00 00 00 00 F6"


class GameTest(unittest.TestCase):
    GAMES = ("shooter.exe", "racer.exe", "editor.exe")

    def setUp(self):
        self.folder = harness.ProgramFolder(suite.session(), self.id().split(".")[-1])
        for name in self.GAMES:
            shutil.copy(suite.session().helpers / "gm_game.exe", self.folder.path / name)
        self.folder.gmconfig("new", "Desktop")
        self.folder.gmconfig("new", "Shooter")
        self.folder.gmconfig("set", "GameFile=C:\\Games\\Shooter\\shooter.exe", "MouseSpeed=14", "PollingRate=4")
        self.folder.gmconfig("new", "Racer")
        self.folder.gmconfig("set", "GameFile=D:\\racing\\Racer.exe", "LightSwitch=1")
        self.folder.gmconfig("select", "0")
        self.monitor = None

    def tearDown(self):
        self.folder.cleanup()
        self.assertEqual(self.folder.processes(), [], "processes of the test were left running")

    # Helpers.
    def start_monitor(self, downloads=1):
        self.monitor = self.folder.start_monitor()
        self.assertTrue(self.folder.wait_downloads(downloads), "the start-up download did not arrive")
        return self.monitor

    def seen(self, program):
        # The line names the program as its file is spelt; case is not what it is followed by.
        return [line.lower() for line in self.monitor.debug_lines()].count(f"foreground program: {program.lower()}\n")

    def start_game(self, exe):
        before = self.seen(exe.lower())
        process = subprocess.Popen(self.folder.command(exe), cwd=self.folder.path, env=self.folder.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.children.append(process)
        self.assertTrue(wait_for(lambda: self.seen(exe.lower()) > before, 15), f"{exe} never came to the front")
        return process

    def activate(self, exe):
        before = self.seen(exe.lower())
        self.folder.run("editor.exe", "--activate", exe)
        self.assertTrue(wait_for(lambda: self.seen(exe.lower()) > before, 10), f"{exe} did not come to the front")

    def profile_id(self):
        return int(self.folder.store()["Config"]["ProfileID"])

    def expect_full_download_of(self, index, before, timeout=10):
        """The trace from `before` on is one whole download of profile `index`, now current."""
        done = lambda: sum(1 for op in self.folder.sends(before) if op == "SetFeature 02 01 00 00 00 00 00 FC")
        self.assertTrue(wait_for(lambda: done() >= 1, timeout), f"no download of profile {index}")
        time.sleep(0.3)  # nothing else may follow it
        self.assertEqual(self.profile_id(), index)
        self.assertEqual(self.folder.sends(before), self.folder.reports(full=True))

    def home(self):
        return self.folder.store()["Config"].get("GameHome", "")


class SwitchTest(GameTest):
    def test_games_switch_their_profiles_and_any_other_window_goes_home(self):
        self.start_monitor()
        self.start_game("editor.exe")

        before = len(self.folder.trace())
        self.start_game("shooter.exe")
        self.expect_full_download_of(1, before)
        self.assertEqual(self.home(), "Desktop")

        before = len(self.folder.trace())
        self.activate("editor.exe")
        self.expect_full_download_of(0, before)
        self.assertEqual(self.home(), "")

        # Game to game goes straight across and keeps the way home.
        before = len(self.folder.trace())
        self.start_game("racer.exe")
        self.expect_full_download_of(2, before)
        before = len(self.folder.trace())
        self.activate("shooter.exe")
        self.expect_full_download_of(1, before)
        self.assertEqual(self.home(), "Desktop")
        before = len(self.folder.trace())
        self.activate("editor.exe")
        self.expect_full_download_of(0, before)

        # Nothing changes while the same program stays in front.
        before = len(self.folder.trace())
        time.sleep(2.5)
        self.assertEqual(self.folder.sends(before), [])

    def test_an_upper_case_game_matches_and_the_mouse_buttons_change_its_profile(self):
        shutil.copy(suite.session().helpers / "gm_game.exe", self.folder.path / "SHOOTER.EXE")
        (self.folder.path / "shooter.exe").unlink()
        self.start_monitor()
        before = len(self.folder.trace())
        self.start_game("SHOOTER.EXE")
        self.expect_full_download_of(1, before)

        self.folder.mousesim("dpi-button", "2")
        store = wait_for(lambda: self.folder.store()["Profile1"]["CpiStep"] == "1" and self.folder.store(), 10)
        self.assertTrue(store, "the DPI button did not change the game's profile")
        self.assertEqual(store["Profile0"]["CpiStep"], "2")  # Desktop as it was
        self.assertEqual(store["Config"]["ProfileID"], "1")
        self.assertEqual(store["Config"]["GameHome"], "Desktop")


    def test_the_foreground_is_looked_at_quickly_only_while_a_linked_game_runs(self):
        for profile in ("1", "2"):
            self.folder.gmconfig("select", profile)
            self.folder.gmconfig("set", "GameFile=")
        self.folder.gmconfig("select", "0")
        monitor = self.start_monitor()
        paces = lambda: [line for line in monitor.debug_lines() if line.startswith("foreground looked at every")]
        self.assertTrue(wait_for(lambda: paces(), 10), "no pace reported")
        self.assertEqual(paces(), ["foreground looked at every 2000 ms\n"])
        # Linked by another program without a word to the Monitor: a link alone
        # brings nothing to the front, so the look stays slow.
        self.folder.gmconfig("select", "1")
        self.folder.gmconfig("set", "GameFile=C:\\Games\\Shooter\\shooter.exe")
        self.folder.gmconfig("select", "0")
        time.sleep(2.5)
        self.assertEqual(len(paces()), 1, f"a link alone made the look quick: {paces()}")
        # The game, started, is found by the slow look, which has read the link.
        before = len(self.folder.trace())
        shooter = self.start_game("shooter.exe")
        self.expect_full_download_of(1, before)
        self.assertTrue(wait_for(lambda: len(paces()) == 2, 10), f"the pace stayed: {paces()}")
        self.assertEqual(paces()[-1], "foreground looked at every 250 ms\n")
        # Behind another window the game may come back at any moment: still quick.
        before = len(self.folder.trace())
        self.start_game("editor.exe")
        self.expect_full_download_of(0, before)
        self.assertEqual(len(paces()), 2, f"the look slowed down while the game ran: {paces()}")
        # Once it has ended, nothing linked runs.
        shooter.terminate()
        shooter.wait(30)
        self.assertTrue(wait_for(lambda: len(paces()) == 3, 15), f"the pace stayed: {paces()}")
        self.assertEqual(paces()[-1], "foreground looked at every 2000 ms\n")


class ChoiceTest(GameTest):
    def test_option_hears_of_the_switch_and_its_changes_go_to_the_game(self):
        self.start_monitor()
        self.folder.start_client()  # the stand-in Option, ours: in front it changes nothing
        self.start_game("shooter.exe")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_PROFILE_CHANGED"), 10),
                        "Option was not told of the switch")
        self.assertTrue(self.folder.wait_downloads(2))

        # A change made in Option now belongs to the shooter's profile: only its parts go.
        before = len(self.folder.trace())
        self.folder.client("apply PollingRate=8 flags=0,0,0,1")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE"), 10))
        self.assertEqual(self.folder.store()["Profile1"]["PollingRate"], "8")
        self.assertEqual(self.folder.store()["Profile0"]["PollingRate"], "2")
        self.assertEqual(self.folder.sends(before), self.folder.reports())

    def test_a_profile_chosen_during_a_game_stays_and_becomes_home(self):
        self.start_monitor()
        self.start_game("editor.exe")
        self.start_game("shooter.exe")
        self.assertTrue(wait_for(lambda: self.profile_id() == 1, 10))
        self.assertTrue(self.folder.wait_downloads(2))

        before = len(self.folder.trace())
        self.folder.gmconfig("select", "2")  # Racer, the user's choice
        self.expect_full_download_of(2, before)
        self.assertEqual(self.home(), "")
        time.sleep(2.5)  # the shooter stays in front: its profile does not come back
        self.assertEqual(self.profile_id(), 2)

        before = len(self.folder.trace())
        self.activate("editor.exe")
        time.sleep(2.5)
        self.assertEqual(self.profile_id(), 2, "leaving the game undid the user's choice")
        self.assertEqual(self.folder.sends(before), [])

    def test_a_linked_games_profile_deleted_while_active_breaks_nothing(self):
        self.start_monitor()
        self.start_game("editor.exe")
        self.start_game("shooter.exe")
        self.assertTrue(wait_for(lambda: self.profile_id() == 1, 10))
        before = len(self.folder.trace())
        self.folder.gmconfig("delete", "1")
        self.assertTrue(wait_for(lambda: len(self.folder.sends(before)) > 0, 10))
        self.activate("editor.exe")
        self.assertTrue(wait_for(lambda: self.profile_id() == 0, 10))
        # Start-up, the shooter, the apply of the deletion and the way home.
        self.assertTrue(self.folder.wait_downloads(4))
        before = len(self.folder.trace())
        self.activate("shooter.exe")  # no profile names it any more
        time.sleep(2.5)
        self.assertEqual(self.folder.sends(before), [])
        self.assertTrue(self.monitor.alive())


class SwitchOffAndRestartTest(GameTest):
    def test_switched_off_stays_off_across_a_restart(self):
        self.start_monitor()
        self.folder.start_client()
        self.folder.client("monitor-command 6003")
        self.assertTrue(wait_for(lambda: self.folder.store()["Config"].get("GameProfiles") == "0", 10))
        before = len(self.folder.trace())
        self.start_game("shooter.exe")
        time.sleep(2.5)
        self.assertEqual(self.folder.sends(before), [])
        self.assertEqual(self.profile_id(), 0)

        self.folder.client("close-monitor")
        self.assertTrue(self.monitor.wait_exit(15))
        self.start_monitor(downloads=2)
        self.start_game("editor.exe")
        before = len(self.folder.trace())
        self.activate("shooter.exe")
        time.sleep(2.5)
        self.assertEqual(self.folder.sends(before), [], "switching came back on after a restart")

        self.folder.start_client()
        self.folder.client("monitor-command 6003")  # on again: the game in front is followed at once
        self.expect_full_download_of(1, before)

    def test_a_monitor_restarted_during_a_game_still_goes_home(self):
        self.start_monitor()
        self.start_game("editor.exe")
        self.start_game("shooter.exe")
        self.assertTrue(wait_for(lambda: self.profile_id() == 1, 10))
        self.assertTrue(self.folder.wait_downloads(2))
        self.monitor.kill()

        self.start_monitor(downloads=3)
        before = len(self.folder.trace())
        self.activate("editor.exe")
        self.expect_full_download_of(0, before)


if __name__ == "__main__":
    suite.main()

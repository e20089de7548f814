"""End-to-end tests of Monitor.exe: the staged program folder under Wine and Xvfb,
the virtual mouse as devio.dll, a store written by gmconfig, and a stand-in
for Option that logs what the Monitor sends it.

    /usr/bin/python3 monitor_e2e.py --build-dir build/win [unittest arguments]
"""
import os
import subprocess
import sys
import time
import unittest
from pathlib import Path

from PIL import ImageGrab

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, suite, tray  # noqa: E402
from lib.harness import wait_for  # noqa: E402

START = "SetFeature 01 08 00 00 00 00 00 F6"
END = "SetFeature 02 01 00 00 00 00 00 FC"


class MonitorTest(unittest.TestCase):
    devio = True
    uistr = True

    def setUp(self):
        self.folder = harness.ProgramFolder(suite.session(), self.id().split(".", 1)[-1], devio=self.devio,
                                            uistr=self.uistr)
        self.folder.gmconfig("new", "Gamer")

    def tearDown(self):
        self.folder.cleanup()
        self.assertEqual(self.folder.processes(), [], "processes of the test were left running")

    # Helpers.
    def start(self, *args, downloads=1):
        monitor = self.folder.start_monitor(*args)
        if downloads:
            self.assertTrue(self.folder.wait_downloads(downloads), "the start-up download did not arrive")
        else:
            self.assertTrue(wait_for(lambda: any("Open_DevMonitor" in op for _, op in self.folder.trace()), 10))
        return monitor

    def assertNoNewSends(self, before, seconds=1.0):
        time.sleep(seconds)
        self.assertEqual(self.folder.sends(before), [])

    def assertSlotHoldsStore(self):
        """The virtual mouse's slot is what a full download of the store's current profile leaves there."""
        expected, block = {}, None
        for line in self.folder.reports(full=True):
            kind, _, data = line.partition(" ")
            b = data.split()
            if kind == "WriteUSB":
                expected[block] += "".join(b)
            elif b[0] in ("03", "04"):
                expected["PollingRate" if b[0] == "03" else "ActiveLevel"] = int(b[2], 16)
            elif b[2] == "80":
                block = {"0C": "AttributeBlock", "0D": "ButtonTable"}.get(b[0], f"Macro{int(b[1], 16)}")
                expected[block] = ""
        state = self.folder.sim_state()
        held = {"PollingRate": int(state["Slot"]["PollingRate"]), "ActiveLevel": int(state["Slot"]["ActiveLevel"]),
                "AttributeBlock": state["Slot"]["AttributeBlock"], "ButtonTable": state["Buttons"]["ButtonTable"]}
        for key in expected:
            if key.startswith("Macro"):  # an all-zero block has no section
                held[key] = state[key]["Block"] if state.has_section(key) else "00" * 128
        self.assertEqual(held, expected, "the mouse holds something else than the store's current profile")


class StartupTest(MonitorTest):
    def test_full_download_after_start_matches_reports_and_profile(self):
        self.folder.gmconfig("set", "PollingRate=4", "CpiStep=1", "MaxDPI=4", "CpiLevel_X0=8", "LightSwitch=2",
                             "LightSpeed=0", "DPIColor1=0x00FF8040")
        self.folder.gmconfig("button", "3", "media", "31")
        expected = self.folder.reports(full=True)
        monitor = self.start()

        trace = self.folder.trace()
        opened = next(t for t, op in trace if op.startswith("Open_DevMonitor"))
        first = next(t for t, op in trace if op == START)
        self.assertGreaterEqual(first - opened, 150, "the first download came before its 200 ms timer")
        # Only an upper bound loose enough for a loaded machine: it tells the timer
        # from a download that never came, not how fast it was.
        self.assertLess(first - opened, 3000, "the first download came late")
        self.assertEqual(self.folder.sends(), expected)

        slot = self.folder.sim_state()
        self.assertEqual(slot["Device"]["ProtocolErrors"], "0")
        self.assertEqual(slot["Slot"]["PollingRate"], "4")
        self.assertEqual(slot["Slot"]["CpiStep"], "1")
        self.assertEqual(slot["Slot"]["MaxDPI"], "4")
        self.assertEqual(slot["Slot"]["CpiLevel_X0"], "8")
        self.assertEqual(slot["Slot"]["LightSwitch"], "2")
        self.assertIn("31", slot["Buttons"]["Codes3"].split())
        self.assertTrue(monitor.alive())

    def test_empty_store_downloads_monitor_reset_values(self):
        (self.folder.path / "config" / "Config.data").unlink()
        self.start()
        slot = self.folder.sim_state()["Slot"]
        self.assertEqual([slot[f"CpiLevel_X{i}"] for i in range(5)], ["4", "8", "16", "32", "50"])
        self.assertFalse((self.folder.path / "config" / "Config.data").exists(), "the Monitor wrote a store")


class ApplyTest(MonitorTest):
    def setUp(self):
        super().setUp()
        self.monitor = self.start()
        self.folder.start_client()

    def apply_and_wait(self, commands, answers):
        self.folder.client(commands)
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE", answers), 10),
                        "no WM_APPLY_DONE")

    def test_changed_parts_equal_reports_for_the_flags_written(self):
        before = len(self.folder.trace())
        self.apply_and_wait("apply PollingRate=8 CpiStep=3 flags=0,0,1,1", 1)
        self.assertEqual(self.folder.sends(before), self.folder.reports())
        self.assertEqual(self.folder.sends(before)[1], "SetFeature 03 01 08 00 00 00 00 F3")
        self.assertEqual(self.folder.sim_state()["Slot"]["PollingRate"], "8")

        before = len(self.folder.trace())
        self.apply_and_wait("apply LightSwitch=1 LightIntensity=0 button4=26 flags=1,1,0,0", 2)
        self.assertEqual(self.folder.sends(before), self.folder.reports())
        self.assertEqual(self.folder.sim_state()["Device"]["ProtocolErrors"], "0")

    def test_all_flags_zero_sends_only_start_and_end(self):
        before = len(self.folder.trace())
        self.apply_and_wait("apply MouseSpeed=12 flags=0,0,0,0", 1)
        self.assertEqual(self.folder.sends(before), [START, END])

    def test_two_quick_applies_give_two_downloads_and_two_answers_in_order(self):
        before = len(self.folder.trace())
        self.folder.client("apply CpiStep=1 flags=0,0,1,0; apply CpiStep=4 flags=0,0,1,0")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE", 2), 10))
        sends = self.folder.sends(before)
        # Each request reloads the store when it is handled, so the first may
        # already see the second save; the last download always sends the last value.
        self.assertEqual(len(sends), 6)
        self.assertEqual(sends[0::3], [START, START])
        self.assertEqual(sends[2::3], [END, END])
        self.assertIn(sends[1], ["SetFeature 04 01 02 00 00 00 00 F8", "SetFeature 04 01 05 00 00 00 00 F5"])
        self.assertEqual(sends[4], "SetFeature 04 01 05 00 00 00 00 F5")
        self.assertEqual(self.folder.sim_state()["Slot"]["CpiStep"], "4")
        # Each answer follows its own download: the first comes before the second download ends.
        posted = self.folder.client_times("apply-posted")
        answers = self.folder.client_times("WM_APPLY_DONE")
        self.assertEqual(len(posted), 2)
        self.assertGreater(answers[1] - answers[0], 40)

    def test_unplugged_mouse_answers_at_once_and_sends_nothing(self):
        self.folder.mousesim("unplug")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_CLOSE"), 10), "unplugging kept Option open")
        self.assertTrue(wait_for(lambda: not self.folder.client_window(), 10))
        self.folder.start_client()
        before = len(self.folder.trace())
        self.apply_and_wait("apply CpiStep=2 flags=1,1,1,1", 1)
        waited = self.folder.client_times("WM_APPLY_DONE")[0] - self.folder.client_times("apply-posted")[0]
        # A download, had one been waited for, takes 240 ms of protocol waits alone.
        self.assertLess(waited, 500, "the answer waited for a mouse that is not there")
        self.assertNoNewSends(before, 0.5)

    def test_close_from_option_waits_for_the_download(self):
        self.folder.client("apply button0=1 flags=1,1,1,1; close-monitor")
        self.assertTrue(self.monitor.wait_exit(10))
        ops = [op for _, op in self.folder.trace()]
        self.assertEqual(ops.count(END), 2, "the apply requested before the close was not downloaded")
        last_end = max(i for i, op in enumerate(ops) if op == END)
        first_close = min(i for i, op in enumerate(ops) if op.startswith("Close_"))
        self.assertLess(last_end, first_close, "the channels closed during a download")
        self.assertEqual(ops[-3:], ["Close_FeatureDevice", "Close_ReportDevice", "Close_DevMonitor"])
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_CLOSE"), 10), "Option was not closed")
        self.assertIn("Thread Send Enable OK/Apply Button\n", self.monitor.debug_lines())


class DeviceButtonTest(MonitorTest):
    def setUp(self):
        super().setUp()
        marker = harness.windows_path(self.folder.path / "marker.exe")
        self.folder.gmconfig("button", "4", "launch", marker)
        self.monitor = self.start()
        self.folder.start_client()

    def test_dpi_button_is_saved_and_option_told_without_download(self):
        before = len(self.folder.trace())
        self.folder.mousesim("dpi-button", "3")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_PROFILE_CHANGED"), 10))
        self.assertEqual(self.folder.current_profile()["CpiStep"], "2")
        self.assertIn("WM_PROFILE_CHANGED CpiStep=2", [e for _, e in self.folder.client_log()][-1])
        self.assertNoNewSends(before)

    def test_rate_button_is_saved_and_option_told_without_download(self):
        before = len(self.folder.trace())
        self.folder.mousesim("rate-button", "1")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_PROFILE_CHANGED"), 10))
        self.assertEqual(self.folder.current_profile()["PollingRate"], "1")
        self.assertNoNewSends(before)

    def test_buttons_leave_the_mouse_holding_the_stores_profile(self):
        downloads = self.folder.downloads_finished()
        self.folder.gmconfig("set", "MaxDPI=2", "CpiStep=0", "PollingRate=2")
        self.assertTrue(self.folder.wait_downloads(downloads + 1), "gmconfig's change was not downloaded")
        # Each press: what the store then holds, and whether the mouse must be given it back.
        presses = [("dpi-button", "2", "CpiStep", "1", False),
                   ("dpi-button", "0", "CpiStep", "1", False),  # no level at all: nothing happens
                   ("dpi-button", "5", "CpiStep", "1", True),   # past MaxDPI: the top level
                   ("rate-button", "8", "PollingRate", "8", False),
                   ("rate-button", "3", "PollingRate", "8", True)]  # no such rate: the stored one
        for verb, value, key, stored, corrected in presses:
            downloads = self.folder.downloads_finished()
            told = sum(1 for _, e in self.folder.client_log() if e.startswith("WM_PROFILE_CHANGED"))
            self.folder.mousesim(verb, value)
            if corrected:
                self.assertTrue(self.folder.wait_downloads(downloads + 1), f"{verb} {value}: the mouse was not corrected")
            elif value != "0":
                self.assertTrue(wait_for(lambda: self.folder.client_has("WM_PROFILE_CHANGED", told + 1), 10))
            self.assertEqual(self.folder.current_profile()[key], stored, f"{verb} {value}")
            self.assertEqual(self.folder.current_profile()["MaxDPI"], "2")
            self.assertSlotHoldsStore()
        self.assertEqual(self.folder.sim_state()["Device"]["ProtocolErrors"], "0")

    def test_launch_button_opens_its_program_only(self):
        marker = self.folder.path / "marker.ran"
        self.folder.mousesim("launch-button", "1")  # a mouse button, not a launch
        self.folder.mousesim("launch-button", "16")
        time.sleep(1.0)
        self.assertFalse(marker.exists(), "a button without a launch function started a program")
        self.folder.mousesim("launch-button", "5")
        self.assertTrue(wait_for(marker.exists, 15), "the launch button did not start its program")

    def test_config_button_activates_a_minimised_option(self):
        self.folder.client("minimize")
        self.folder.mousesim("config-button")
        self.assertTrue(wait_for(lambda: self.folder.client_has("restored"), 10))
        self.assertIn("CMonitorWnd OnCustomizer hWnd!=NULL\n", self.monitor.debug_lines())


class OptionStartTest(MonitorTest):
    def test_config_button_starts_option(self):
        monitor = self.start()
        self.folder.mousesim("config-button")
        self.assertTrue(wait_for(lambda: self.folder.client_has("started"), 20), "Option was not started")
        self.assertTrue(wait_for(self.folder.client_window, 10))
        lines = monitor.debug_lines()
        self.assertIn("CMonitorWnd OnCustomizer\n", lines)
        self.assertIn("CMonitorWnd OnCustomizer hWnd==NULL\n", lines)

    def test_second_monitor_ends_and_start_option_goes_to_the_first(self):
        first = self.start()
        second = self.folder.start_monitor()
        self.assertTrue(second.wait_exit(10), "a second Monitor kept running")
        self.assertTrue(first.alive())
        self.assertFalse(self.folder.client_has("started"))

        third = self.folder.start_monitor("1")
        self.assertTrue(third.wait_exit(10))
        self.assertTrue(wait_for(lambda: self.folder.client_has("started"), 20),
                        "the running Monitor did not open Option")
        self.assertTrue(wait_for(self.folder.client_window, 10))

        # With Option already open (and minimised), "1" brings it back instead of starting another.
        self.folder.client("minimize")
        fourth = self.folder.start_monitor("1")
        self.assertTrue(fourth.wait_exit(10))
        self.assertTrue(wait_for(lambda: self.folder.client_has("restored"), 10), "Option was not activated")
        self.assertFalse(self.folder.client_has("started", 2))
        self.assertEqual(self.folder.downloads_finished(), 1, "a second Monitor talked to the mouse")

    def test_store_lock_taken_by_another_program_ends_the_monitor(self):
        holder = subprocess.Popen(self.folder.command("Option.exe", "--own-store-lock", "30"), cwd=self.folder.path,
                                  env=self.folder.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.children.append(holder)
        self.assertTrue(wait_for(lambda: self.folder.client_has("owning-store-lock"), 20))
        monitor = self.folder.start_monitor()
        self.assertTrue(monitor.wait_exit(15), "the Monitor kept running beside another lock owner")
        self.assertIn("CMonitorWnd: the store lock already exists, the Monitor ends\n", monitor.debug_lines())
        self.assertEqual(self.folder.sends(), [])
        self.assertFalse(any(op.startswith("Open_") for _, op in self.folder.trace()))

    def test_start_option_with_mouse_absent_still_opens_option(self):
        # The Start menu's entry: a new user often starts the suite before the mouse is in.
        self.folder.attached = False
        monitor = self.start("1", downloads=0)
        self.assertTrue(wait_for(lambda: self.folder.client_has("started"), 20), "Option did not open")
        self.assertEqual(self.folder.sends(), [])
        self.assertTrue(monitor.alive())
        # Option asks whether the mouse is there: not yet, then it is.
        self.folder.client("query-mouse")
        self.assertTrue(wait_for(lambda: self.folder.client_has("mouse 0"), 10))
        self.folder.mousesim("plug")
        self.assertTrue(self.folder.wait_downloads(1, 10), "no download after the mouse came")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_MOUSE_STATE 1"), 10),
                        "Option was not told that the mouse arrived")
        self.folder.client("query-mouse")
        self.assertTrue(wait_for(lambda: self.folder.client_has("mouse 1"), 10))


class PlugTest(MonitorTest):
    def test_unplug_closes_option_and_plug_downloads_a_second_later(self):
        monitor = self.start()
        self.folder.start_client()
        self.folder.mousesim("unplug")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_CLOSE"), 10))
        self.folder.mousesim("unplug")  # a second removal changes nothing
        self.folder.mousesim("plug")
        self.assertTrue(self.folder.wait_downloads(2, 10), "no download after the mouse came back")
        trace = self.folder.trace()
        plugged = next(t for t, op in trace if op.startswith("mousesim plug"))
        reopened = [t for t, op in trace if op == "Open_ReportDevice"][-1]
        second = [t for t, op in trace if op == START][-1]
        self.assertGreaterEqual(reopened - plugged, 900, "the arrival was not given its second")
        self.assertLess(second - plugged, 5000)
        self.assertEqual(sum(1 for _, op in trace if op == "Close_FeatureDevice"), 1)
        self.assertEqual(self.folder.sends()[-len(self.folder.reports(full=True)):], self.folder.reports(full=True))
        self.assertFalse(self.folder.client_has("started", 2), "the arrival reopened Option")
        self.assertTrue(monitor.alive())

    def test_foreground_program_is_followed_only_while_connected(self):
        monitor = self.start()
        self.folder.start_client()
        self.assertTrue(wait_for(lambda: "foreground program: option.exe\n" in [line.lower() for line in monitor.debug_lines()], 10),
                        "the foreground timer did not see the Option window")
        self.folder.mousesim("unplug")
        # The unplug closes Option; one started again while the mouse is away
        # changes the foreground, and so does its minimising.
        self.assertTrue(wait_for(lambda: self.folder.client_has("ended"), 10), "the unplug did not close Option")
        seen = len(monitor.debug_lines())
        self.folder.start_client()
        self.folder.client("minimize")
        time.sleep(4.5)
        self.assertFalse(any(line.startswith("foreground program") for line in monitor.debug_lines()[seen:]),
                         "the foreground timer kept running without the mouse")

    def test_mouse_absent_at_start_then_plugged(self):
        self.folder.attached = False
        monitor = self.start(downloads=0)
        time.sleep(0.5)
        self.assertEqual(self.folder.sends(), [])
        self.folder.mousesim("plug")
        self.assertTrue(self.folder.wait_downloads(1, 10))
        self.assertTrue(monitor.alive())


class ExitTest(MonitorTest):
    def test_exit_command_ends_monitor_and_closes_option(self):
        monitor = self.start()
        self.folder.start_client()
        self.folder.client("monitor-command 6002")
        self.assertTrue(monitor.wait_exit(10), "command 6002 did not end the Monitor")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_CLOSE"), 10))
        ops = [op for _, op in self.folder.trace()]
        self.assertEqual(ops[-3:], ["Close_FeatureDevice", "Close_ReportDevice", "Close_DevMonitor"])


class PointerSettingsTest(MonitorTest):
    def test_start_and_apply_set_pointer_speed_and_acceleration(self):
        suite.session().set_pointer_registry(6, 10, 1)
        self.folder.gmconfig("set", "MouseSpeed=14", "AccelerationFlag=0")
        self.start()
        self.assertEqual(suite.session().pointer_registry(),
                         {"MouseThreshold1": "0", "MouseThreshold2": "0", "MouseSpeed": "0"})
        self.assertEqual(self.folder.run("Option.exe", "--query-pointer").strip(), "speed=14 mouse=0,0,0")

        # Keeping acceleration leaves the registry alone and applies it as it is.
        suite.session().set_pointer_registry(6, 10, 1)
        self.folder.start_client()
        self.folder.client("apply MouseSpeed=20 AccelerationFlag=1 flags=0,0,0,0")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE"), 10))
        self.assertEqual(suite.session().pointer_registry(),
                         {"MouseThreshold1": "6", "MouseThreshold2": "10", "MouseSpeed": "1"})
        self.assertEqual(self.folder.run("Option.exe", "--query-pointer").strip(), "speed=20 mouse=6,10,1")

        self.folder.client("apply MouseSpeed=10 AccelerationFlag=0 flags=0,0,0,0")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE", 2), 10))
        self.assertEqual(self.folder.run("Option.exe", "--query-pointer").strip(), "speed=10 mouse=0,0,0")
        self.assertEqual(suite.session().pointer_registry()["MouseThreshold1"], "0")

        # The pointer request alone applies the profile again without reading the store.
        suite.session().set_pointer_registry(6, 10, 1)
        self.folder.client("set MouseSpeed=3; pointer")  # saved without an apply request
        self.assertTrue(wait_for(lambda: suite.session().pointer_registry()["MouseThreshold1"] == "0", 10))
        self.assertEqual(self.folder.run("Option.exe", "--query-pointer").strip(), "speed=10 mouse=0,0,0")


class DamagedStoreTest(MonitorTest):
    def write_store(self, data):
        (self.folder.path / "config" / "Config.data").write_bytes(data)

    def assert_survives_and_applies(self, monitor):
        self.assertTrue(monitor.alive(), "the Monitor ended on a damaged store")
        self.folder.start_client()
        self.folder.client("post")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE"), 10))
        self.assertTrue(monitor.alive())
        self.assertEqual(self.folder.sim_state()["Device"]["ProtocolErrors"], "0")

    def test_truncated_store(self):
        self.folder.gmconfig("set", "CpiStep=3")
        data = self.folder.store_text()
        self.write_store(data[: len(data) * 2 // 3])
        expected = self.folder.reports(full=True)
        monitor = self.start()
        self.assertEqual(self.folder.sends(), expected)
        self.assert_survives_and_applies(monitor)

    def test_garbage_store(self):
        self.write_store(bytes((i * 37 + 11) % 256 for i in range(5000)))
        monitor = self.start()
        slot = self.folder.sim_state()["Slot"]
        self.assertEqual([slot[f"CpiLevel_X{i}"] for i in range(5)], ["4", "8", "16", "32", "50"])
        self.assert_survives_and_applies(monitor)

    def test_wrong_check_digits(self):
        self.folder.gmconfig("button", "1", "media", "30")
        text = self.folder.store_text().decode("latin-1")
        key = "MacroKeyInfo1="
        at = text.index(key) + len(key)
        end = text.index("\r\n", at) if "\r\n" in text[at:] else text.index("\n", at)
        value = text[at:end]
        broken = value[:-2] + ("00" if value[-2:] != "00" else "01")
        self.write_store((text[:at] + broken + text[end:]).encode("latin-1"))
        expected = self.folder.reports(full=True)
        monitor = self.start()
        self.assertEqual(self.folder.sends(), expected)
        # The damaged button goes back to its default (right click) instead of the media function.
        self.assertEqual(self.folder.sim_state()["Buttons"]["Entry1"], "01 00 F1 00")
        self.assert_survives_and_applies(monitor)

    def test_abandoned_lock_does_not_stop_loading(self):
        monitor = self.start()
        self.folder.start_client()
        self.folder.run("Option.exe", "--die-holding-lock")
        self.assertTrue(self.folder.client_has("holding-lock-and-dying"))
        before = len(self.folder.trace())
        self.folder.client("apply CpiStep=4 flags=0,0,1,0")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE"), 10))
        self.assertEqual(self.folder.sends(before), [START, "SetFeature 04 01 05 00 00 00 00 F5", END])
        self.folder.mousesim("dpi-button", "2")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_PROFILE_CHANGED"), 10))
        self.assertEqual(self.folder.current_profile()["CpiStep"], "1")
        self.assertTrue(monitor.alive())


class MissingDevioTest(MonitorTest):
    devio = False

    def test_runs_without_device(self):
        monitor = self.folder.start_monitor()
        time.sleep(1.5)
        self.assertTrue(monitor.alive())
        self.folder.start_client()
        self.folder.client("apply CpiStep=1 flags=1,1,1,1")
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_APPLY_DONE"), 10))
        self.assertFalse((self.folder.path / "devio-trace.txt").exists())
        self.folder.client("close-monitor")
        self.assertTrue(monitor.wait_exit(10))


class MissingUistrTest(MonitorTest):
    uistr = False

    def test_runs_without_texts(self):
        monitor = self.start()
        self.folder.mousesim("dpi-button", "2")
        self.assertTrue(wait_for(lambda: self.folder.current_profile()["CpiStep"] == "1", 10))
        self.assertTrue(monitor.alive())


class TrayIconTest(MonitorTest):
    """In a Wine virtual desktop, which has a task bar with a notification area,
    at the system DPI LOG_PIXELS."""

    WIDTH, HEIGHT = 1024, 768
    LOG_PIXELS = 96

    def setUp(self):
        super().setUp()
        self.setLogPixels(self.LOG_PIXELS)

    def tearDown(self):
        # The prefix is the suite's: the next test starts at 100 %.
        self.setLogPixels(96)
        super().tearDown()

    def setLogPixels(self, dpi):
        suite.session().reg("add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                            str(dpi), "/f")

    def shot(self, name):
        image = ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, self.WIDTH, self.HEIGHT)).convert("RGB")
        scale = f"-{self.LOG_PIXELS}dpi" if self.LOG_PIXELS != 96 else ""
        image.save(suite.session().build_dir / f"e2e-monitor-{name}{scale}.png")
        return image

    def click(self, x, y, button=1, repeat=1):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(repeat), "--delay", "90",
                        str(button)], env={**os.environ, "DISPLAY": suite.session().display}, check=True)

    def test_icon_follows_the_mouse_and_its_menu_works(self):
        monitor = self.folder.start_monitor(desktop=f"e2etray,{self.WIDTH}x{self.HEIGHT}")
        self.assertTrue(self.folder.wait_downloads(1, 20))
        # The shell is handed the small icon of the DPI, not a 16-pixel one it stretches.
        size = 16 * self.LOG_PIXELS // 96
        self.assertTrue(wait_for(lambda: any(l.startswith("notification-area icon: ") for l in monitor.debug_lines()),
                                 10), "the Monitor loaded no icon")
        loaded = [l for l in monitor.debug_lines() if l.startswith("notification-area icon: ")]
        self.assertEqual(loaded, [f"notification-area icon: {size} px at {self.LOG_PIXELS} dpi, per-monitor aware\n"])
        time.sleep(1.0)
        with_icon = self.shot("tray-with-icon")

        icon = tray.icon_box(with_icon, self.WIDTH, self.HEIGHT)
        self.assertIsNotNone(icon, "no icon in the notification area")
        self.assertLessEqual(icon[2] - icon[0], 40)

        # Each change of the icon is waited for, as long as a loaded machine needs.
        # Unplugged, the icon stays, in grey, and says once that the mouse went.
        self.folder.mousesim("unplug")
        self.assertTrue(wait_for(lambda: tray.changed_box(with_icon, self.shot("tray-unplugged"), icon), 10),
                        "unplugging did not change the icon")
        unplugged = self.shot("tray-unplugged")
        grey = tray.icon_box(unplugged, self.WIDTH, self.HEIGHT)
        self.assertIsNotNone(grey, "the icon left the notification area")
        colours = unplugged.crop(grey).getcolors(4096) or []
        self.assertTrue(all(max(c) - min(c) <= 8 for _, c in colours), "the unplugged icon is not grey")
        self.assertTrue(wait_for(lambda: "notification-area balloon: the mouse was unplugged\n"
                                 in monitor.debug_lines(), 10), "no balloon said that the mouse was unplugged")

        self.folder.mousesim("plug")
        self.assertTrue(self.folder.wait_downloads(2, 10))
        self.assertTrue(wait_for(lambda: not tray.changed_box(with_icon, self.shot("tray-plugged"), icon), 10),
                        "the icon did not come back")
        time.sleep(0.5)
        plugged = self.shot("tray-plugged")

        cx, cy = (icon[0] + icon[2]) // 2, (icon[1] + icon[3]) // 2
        self.click(cx, cy, button=3)
        time.sleep(1.0)
        menu_shot = self.shot("tray-menu")
        near_icon = (self.WIDTH - 420, self.HEIGHT - 220, self.WIDTH, self.HEIGHT)
        menu = tray.changed_box(plugged, menu_shot, near_icon)
        self.assertIsNotNone(menu, "a right click showed no menu")
        bands, lines = tray.menu_rows(menu_shot.crop(menu))
        # Open, automatic game profiles (checked), a separator, Exit.
        self.assertEqual(len(bands), 3, f"the menu should hold three items, rows {bands}")
        self.assertTrue(any(bands[1][1] < y < bands[2][0] for y in lines), "no separator before Exit")
        subprocess.run(["xdotool", "key", "Escape"], env={**os.environ, "DISPLAY": suite.session().display})
        time.sleep(0.5)

        # Wine's notification area gives the first click after a balloon to the
        # balloon; a single click does nothing of ours, so one goes first.
        self.click(cx, cy)
        time.sleep(1.0)
        self.assertFalse(self.folder.client_has("started"), "a single click opened Option")
        self.click(cx, cy, repeat=2)
        self.assertTrue(wait_for(lambda: self.folder.client_has("activated"), 20), "a double click did not open Option")

        # A shell that restarts has lost the icon; its broadcast brings ours back.
        time.sleep(0.5)
        with_option = self.shot("tray-with-option-open")
        # client() returns once the client has run the command.
        self.folder.client("forget-icon")
        self.assertTrue(self.folder.client_has("icon-forgotten"))
        self.assertTrue(wait_for(lambda: tray.changed_box(with_option, self.shot("tray-icon-lost"), icon), 10),
                        "the icon stayed after it was deleted")
        self.folder.client("shell-restarted")
        # The client notes the broadcast once it is sent; on a loaded machine
        # the note can come a moment after the command returns.
        self.assertTrue(wait_for(lambda: self.folder.client_has("taskbar-created"), 10))
        self.assertTrue(wait_for(lambda: "notification-area icon added again\n" in monitor.debug_lines(), 10),
                        "the Monitor did not answer the shell's restart")
        self.assertTrue(wait_for(lambda: not tray.changed_box(with_option, self.shot("tray-icon-back"), icon), 10),
                        "the icon did not come back after the shell restarted")

        # Exit from the menu: the Monitor ends, the icon goes and Option is closed.
        time.sleep(0.5)
        before_menu = self.shot("tray-with-option")
        self.click(cx, cy, button=3)
        time.sleep(1.0)
        menu_shot = self.shot("tray-menu-again")
        menu = tray.changed_box(before_menu, menu_shot, near_icon)
        self.assertIsNotNone(menu, "the second right click showed no menu")
        bands, _ = tray.menu_rows(menu_shot.crop(menu))
        self.assertEqual(len(bands), 3)
        self.click((menu[0] + menu[2]) // 2, menu[1] + (bands[2][0] + bands[2][1]) // 2)
        self.assertTrue(wait_for(lambda: self.folder.client_has("WM_CLOSE"), 10), "Exit did not close Option")
        self.assertTrue(wait_for(lambda: any(op == "Close_DevMonitor" for _, op in self.folder.trace()), 10),
                        "Exit did not end the Monitor")


class TrayIconAt200PercentTest(TrayIconTest):
    LOG_PIXELS = 192


if __name__ == "__main__":
    suite.main()

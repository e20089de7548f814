"""How exactly the recorder measures, and how quickly a macro edit reaches the mouse.

Under Wine, with the Monitor and the virtual mouse:
  - delay accuracy: key transitions sent by one xdotool process with known
    pauses (20-500 ms, no delay of xdotool's own), recorded with measured
    delays; recorded delay minus sent pause over every pause (target: median
    under 5 ms, 95th percentile under 20 ms);
  - store: a key edit in a 160-step macro that 15 buttons of the current
    profile play, in a store of 20 profiles, from the click that ends the
    edit to the first SetFeature in the trace (target: median under 20 ms).

Prints figures; never fails on them.

    /usr/bin/python3 bench_macros.py --build-dir build/win
"""
import random
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
from lib import harness, macro_library, option, suite  # noqa: E402
from lib.option import skin_entries  # noqa: E402

TAPS_PER_RECORDING = 25  # 50 key steps: under the 60 that end a recording
RECORDINGS = 2
EDITS = 15


class Page:
    """Option's macro page in a program folder, clicked at skin points."""

    def __init__(self, folder):
        self.folder = folder
        self.skin = skin_entries(folder.path / "skins" / "skin_Macros.ini")
        self.env = folder.env()

    def point(self, entry, dy=None):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        x, y, w, h = self.skin[entry]
        return left + ax + x + w // 2, top + ay + y + (h // 2 if dy is None else dy)

    def click(self, point, settle=0.5):
        self.folder.click(point, settle=settle)

    def focus(self):
        window = subprocess.run(["xdotool", "search", "--name", option.OPTION_TITLE], env=self.env,
                                capture_output=True, text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.env)

    def open(self):
        self.folder.start_option()
        harness.wait_for(lambda: self.folder.option_window() is not None, 30)
        time.sleep(1.0)
        self.click(self.folder.main_point(5), settle=1.0)


def delay_errors(session):
    folder = option.OptionFolder(session, "macro-bench-delays")
    try:
        folder.gmconfig("new", "Bench")
        folder.start_monitor()
        folder.wait_downloads(1, 30)
        page = Page(folder)
        page.open()
        page.click(page.point(8))  # measured delays
        rng = random.Random(7741)
        errors = []
        for _ in range(RECORDINGS):
            pauses = [rng.randint(20, 500) for _ in range(2 * TAPS_PER_RECORDING - 1)]
            page.click(page.point(11), settle=0.8)  # record
            page.focus()
            args = []
            for i in range(TAPS_PER_RECORDING):
                args += ["keydown", "--delay", "0", "a"]
                args += ["sleep", f"{pauses[2 * i] / 1000:.3f}"]
                args += ["keyup", "--delay", "0", "a"]
                if 2 * i + 1 < len(pauses):
                    args += ["sleep", f"{pauses[2 * i + 1] / 1000:.3f}"]
            subprocess.run(["xdotool"] + args, env=page.env, check=True)
            time.sleep(0.5)
            page.click(page.point(11), settle=1.0)  # stop: stored
            events = macro_library.read_library(folder.path / "config" / "sequence.dat")[0][1]
            recorded = [d for k, _, d in events if k == macro_library.DELAY]
            if len(recorded) != len(pauses):
                print(f"  a recording held {len(recorded)} delays for {len(pauses)} pauses; skipped")
                continue
            errors += [r - p for r, p in zip(recorded, pauses)]
        return errors
    finally:
        folder.cleanup()


def store_latencies(session):
    folder = option.OptionFolder(session, "macro-bench-store")
    folder.extra_env["DEVIO_SIM_TRACE_CLOCK"] = "qpc"
    xdotool = None
    try:
        steps = []
        for i in range(80):
            key = macro_library.KEY_A + i % 20
            steps += [(key, macro_library.PRESS, 0), (key, macro_library.RELEASE, 0)]
        macro_library.write_library(folder.path / "config" / "sequence.dat", [("Long", steps)])
        for n in range(20):
            folder.gmconfig("new", f"Bench{n + 1}")
        folder.gmconfig("select", "0")
        # Button 0 keeps the only left click (a store never loses it): every
        # other button plays the macro.
        for button in range(1, 16):
            folder.gmconfig("button", str(button), "macro", "0")
        folder.start_monitor()
        folder.wait_downloads(1, 30)
        page = Page(folder)
        page.open()
        xdotool = subprocess.Popen(["xdotool", "-"], stdin=subprocess.PIPE, env=page.env, text=True)
        edit = page.point(14)
        latencies = []
        for i in range(EDITS):
            page.click(page.point(18, dy=10), settle=0.3)  # the first step
            page.click(edit, settle=0.3)
            page.focus()
            subprocess.run(["xdotool", "key", "--delay", "0", "c" if i % 2 == 0 else "d"], env=page.env)
            time.sleep(0.3)
            subprocess.run(["xdotool", "mousemove", str(edit[0]), str(edit[1])], env=page.env)
            time.sleep(0.2)
            seen = len(folder.trace())
            clicked = 1000 * time.clock_gettime(time.CLOCK_MONOTONIC_RAW)
            xdotool.stdin.write("click 1\n")
            xdotool.stdin.flush()
            time.sleep(1.5)  # the download of 15 macro blocks ends before the next edit
            stamps = [stamp for stamp, op in folder.trace()[seen:] if op.startswith("SetFeature")]
            if stamps:
                latencies.append(stamps[0] - clicked)
        return latencies
    finally:
        if xdotool:
            xdotool.stdin.close()
            xdotool.wait(10)
        folder.cleanup()


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def main():
    suite.parse(known_only=False)
    session = suite.start_session(option.prepare_session)
    try:
        errors = delay_errors(session)
        if errors:
            absolute = [abs(e) for e in errors]
            print(f"delay accuracy over {len(errors)} pauses of 20-500 ms: recorded minus sent "
                  f"median {statistics.median(errors):+.1f} ms, |error| median {statistics.median(absolute):.1f} ms, "
                  f"95th percentile {percentile(absolute, 0.95):.1f} ms (targets 5 and 20)")
        else:
            print("delay accuracy: no recording could be measured")
        latencies = store_latencies(session)
        if latencies:
            print(f"key edit in a 160-step macro on 15 buttons (the 16th keeps the left click), 20 profiles: click to first SetFeature "
                  f"median {statistics.median(latencies):.1f} ms over {len(latencies)} edits "
                  f"(min {min(latencies):.1f}, max {max(latencies):.1f}; target under 20)")
        else:
            print("store: no edit reached the mouse")
    finally:
        suite.stop_session()


if __name__ == "__main__":
    main()

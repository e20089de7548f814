"""Automatic game profiles under Wine, through the virtual mouse:
  - reaction: from a game window's activation to the first SetFeature of its
    profile's download, median of 20 switches (games and a plain window taking
    turns), against the 2-second foreground timer; and how many of the changes
    the system's foreground event reported before the timer did;
  - idle: the Monitor's CPU over 60 s (BENCH_IDLE) with 200 profiles, 50 of
    them linked to games and none in front, against the same store with no
    game linked.

Prints figures and ratios; never fails on them.

    /usr/bin/python3 bench_games.py --build-dir build/win
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
from lib import harness  # noqa: E402
from lib.harness import wait_for  # noqa: E402

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "apply"))
from bench_apply import cpu_and_wakeups, monitor_pid  # noqa: E402

SWITCHES = 20
PROFILES = 200
LINKED = 50
IDLE_SECONDS = int(os.environ.get("BENCH_IDLE", "60"))
TIMER_PERIOD_MS = 2000.0
START = "SetFeature 01 08 00 00 00 00 00 F6"


def write_store(folder, linked):
    """200 profiles written through the store code itself (gmconfig import would take minutes)."""
    lines = ["[Config]", f"number={PROFILES}", "ProfileID=0", "KeysFlag=0", "AttributeFlag=0", "DPIStepFlag=0",
             "PRateFlag=0"]
    template = folder.gmconfig("show", "0", "--raw").splitlines()[1:]
    for i in range(PROFILES):
        lines.append(f"[Profile{i}]")
        for line in template:
            if line.startswith("ProFileName="):
                line = f"ProFileName=Bench{i}"
            elif line.startswith("GameFile="):
                line = f"GameFile=C:\\Games\\game{i}\\game{i}.exe" if 0 < i <= linked else "GameFile="
            lines.append(line)
    (folder.path / "config" / "Config.data").write_text("\r\n".join(lines) + "\r\n", encoding="latin-1")
    listed = folder.gmconfig("list").splitlines()
    assert len(listed) == PROFILES and sum("\tgame: " in l for l in listed) == linked, "the bench store did not load"


def reaction(session):
    folder = harness.ProgramFolder(session, "games-bench-reaction")
    folder.extra_env = {"DEVIO_SIM_TRACE_CLOCK": "qpc"}
    try:
        for name in ("shooter.exe", "racer.exe", "editor.exe"):
            shutil.copy(session.helpers / "gm_game.exe", folder.path / name)
        folder.gmconfig("new", "Desktop")
        folder.gmconfig("new", "Shooter")
        folder.gmconfig("set", "GameFile=C:\\Games\\shooter.exe")
        folder.gmconfig("new", "Racer")
        folder.gmconfig("set", "GameFile=C:\\Games\\racer.exe")
        folder.gmconfig("select", "0")
        monitor = folder.start_monitor()
        if not folder.wait_downloads(1, 20):
            raise RuntimeError("the Monitor did not download at start-up")
        for name in ("editor.exe", "racer.exe", "shooter.exe"):
            seen = monitor.debug_lines().count(f"foreground program: {name}\n")
            folder.children.append(subprocess.Popen(folder.command(name), cwd=folder.path, env=folder.env(),
                                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            wait_for(lambda: monitor.debug_lines().count(f"foreground program: {name}\n") > seen, 15)
        wait_for(lambda: folder.downloads_finished() >= 3, 20)
        time.sleep(1.0)

        order = ["editor.exe", "racer.exe", "editor.exe", "shooter.exe"]
        latencies = []
        for i in range(SWITCHES):
            target = order[i % len(order)]
            before = folder.downloads_finished()
            folder.run("editor.exe", "--activate", target)
            if not folder.wait_downloads(before + 1, 10):
                raise RuntimeError(f"no download after {target} came to the front")
            activated = float((folder.path / "activations.txt").read_text().split()[-1])
            first = next(t for t, op in folder.trace() if op == START and t >= activated)
            latencies.append(first - activated)
            time.sleep(0.3)
        by_event = monitor.debug_lines().count("foreground event\n")
        return latencies, by_event
    finally:
        folder.cleanup()


def idle(session, linked):
    folder = harness.ProgramFolder(session, f"games-bench-idle-{linked}")
    try:
        folder.gmconfig("new", "Bench")
        write_store(folder, linked)
        folder.start_monitor()
        if not folder.wait_downloads(1, 20):
            raise RuntimeError("the Monitor did not download at start-up")
        # A plain window in front, linked to nothing, the whole time.
        shutil.copy(session.helpers / "gm_game.exe", folder.path / "editor.exe")
        folder.children.append(subprocess.Popen(folder.command("editor.exe"), cwd=folder.path, env=folder.env(),
                                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(4.0)
        pid = monitor_pid(folder)
        cpu0, switches0, _ = cpu_and_wakeups(pid)
        time.sleep(IDLE_SECONDS)
        cpu1, switches1, _ = cpu_and_wakeups(pid)
        return cpu1 - cpu0, switches1 - switches0
    finally:
        folder.cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    session = harness.Session(args.build_dir)
    session.start()
    try:
        latencies, by_event = reaction(session)
        median = statistics.median(latencies)
        print(f"reaction, activation to the first SetFeature of the download, {SWITCHES} switches:")
        print(f"  median {median:.0f} ms, min {min(latencies):.0f} ms, max {max(latencies):.0f} ms")
        print(f"  median / foreground-timer period ({TIMER_PERIOD_MS:.0f} ms) = {median / TIMER_PERIOD_MS:.2f}")
        print(f"  changes reported by the foreground event first: {by_event} of {SWITCHES}")

        with_games = idle(session, LINKED)
        without = idle(session, 0)
        print(f"idle over {IDLE_SECONDS} s, {PROFILES} profiles, a window linked to no game in front:")
        print(f"  {LINKED} linked: CPU {1000 * with_games[0]:.0f} ms = {100 * with_games[0] / IDLE_SECONDS:.3f} % of one core,"
              f" {with_games[1]} wake-ups")
        print(f"  none linked: CPU {1000 * without[0]:.0f} ms = {100 * without[0] / IDLE_SECONDS:.3f} % of one core,"
              f" {without[1]} wake-ups")
        ratio = with_games[0] / without[0] if without[0] > 0 else float("nan")
        print(f"  CPU ratio linked / none = {ratio:.2f}")
    finally:
        session.stop()


if __name__ == "__main__":
    main()

"""Automatic game profiles under Wine, through the virtual mouse:
  - reaction: from a game window's activation to the first SetFeature of its
    profile's download, median and 95th percentile of 40 switches (games and a
    plain window taking turns, at times that do not follow the foreground
    timer's), against the targets of 250 and 400 ms; and how many of the
    changes the system's foreground event reported before the timer did;
  - idle: the Monitor's CPU and wake-ups over 60 s (BENCH_IDLE) with 200
    profiles, 50 of them linked to games and none running, side by side with
    the same Monitor looking at the foreground every 2 s (built for this
    benchmark alone), and with a store that links no game. CPU is the
    scheduler's run time in nanoseconds (the clock ticks of stat are 10 ms,
    as coarse as the allowance), of the Monitor and of the wineserver, which
    does the other half of each of the Monitor's server calls. The two are
    measured BENCH_IDLE_ROUNDS times (3), in turns, and compared per round:
    the median difference is printed with the lowest and highest. Once more
    with one linked game running behind the window in front (it came to the
    front first), where the Monitor looks four times a second.

Prints figures and ratios; never fails on them.

    /usr/bin/python3 bench_games.py --build-dir build/win
"""
import argparse
import math
import os
import random
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

SWITCHES = 40
PROFILES = 200
LINKED = 50
IDLE_SECONDS = int(os.environ.get("BENCH_IDLE", "60"))
IDLE_ROUNDS = max(1, int(os.environ.get("BENCH_IDLE_ROUNDS", "3")))
TARGET_MEDIAN_MS = 250.0
TARGET_P95_MS = 400.0
CPU_ALLOWANCE_MS = 10.0
OLD_TICK_MONITOR = Path("bench") / "games" / "gm_monitor_two_second_tick.exe"
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
        # Pauses of varying length, so that activations fall anywhere in the
        # timer's period rather than at one phase of it.
        pauses = random.Random(7741)
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
            time.sleep(pauses.uniform(0.3, 0.7))
        by_event = monitor.debug_lines().count("foreground event\n")
        return latencies, by_event
    finally:
        folder.cleanup()


def server_pid(session):
    """The wineserver of the session's prefix (the one started forks away from its parent)."""
    wanted = f"WINEPREFIX={session.prefix}".encode()
    for entry in Path("/proc").iterdir():
        try:
            if not entry.name.isdigit() or b"wineserver" not in (entry / "cmdline").read_bytes():
                continue
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                return int(entry.name)
        except OSError:
            continue
    return None


def server_cpu(session):
    """Run time of the session's wineserver in seconds, or None where it cannot be read."""
    pid = server_pid(session)
    try:
        return int(Path(f"/proc/{pid}/schedstat").read_text().split()[0]) / 1e9 if pid else None
    except (OSError, IndexError, ValueError):
        return None


def idle(session, linked, monitor_exe=None, round_=0, game_behind=False):
    """CPU seconds and wake-ups of the Monitor over IDLE_SECONDS, and the wineserver's
    CPU seconds over the same time (None where unreadable); `monitor_exe` replaces Monitor.exe.
    With `game_behind`, a linked game came to the front first and runs behind the window."""
    name = f"games-bench-idle-{linked}-{monitor_exe.stem if monitor_exe else 'monitor'}-{round_ + 1}"
    name += "-game" if game_behind else ""
    folder = harness.ProgramFolder(session, name)
    try:
        if monitor_exe:
            shutil.copy(monitor_exe, folder.path / "Monitor.exe")
        folder.gmconfig("new", "Bench")
        write_store(folder, linked)
        monitor = folder.start_monitor()
        if not folder.wait_downloads(1, 20):
            raise RuntimeError("the Monitor did not download at start-up")
        if game_behind:
            shutil.copy(session.helpers / "gm_game.exe", folder.path / "game1.exe")
            folder.children.append(subprocess.Popen(folder.command("game1.exe"), cwd=folder.path, env=folder.env(),
                                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            if not wait_for(lambda: "foreground program: game1.exe\n" in monitor.debug_lines(), 20):
                raise RuntimeError("the linked game did not come to the front")
        # A plain window in front, linked to nothing, the whole time.
        shutil.copy(session.helpers / "gm_game.exe", folder.path / "editor.exe")
        folder.children.append(subprocess.Popen(folder.command("editor.exe"), cwd=folder.path, env=folder.env(),
                                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(4.0)
        pid = monitor_pid(folder)
        server0 = server_cpu(session)
        cpu0, switches0, _ = cpu_and_wakeups(pid)
        time.sleep(IDLE_SECONDS)
        cpu1, switches1, _ = cpu_and_wakeups(pid)
        server1 = server_cpu(session)
        server = server1 - server0 if server0 is not None and server1 is not None else None
        return cpu1 - cpu0, switches1 - switches0, server
    finally:
        folder.cleanup()


def spread(values_ms):
    """Median with the lowest and highest, in ms."""
    return f"{statistics.median(values_ms):+.1f} ms (lowest {min(values_ms):+.1f}, highest {max(values_ms):+.1f})"


def percentile(values, fraction):
    """Nearest rank: the smallest value that `fraction` of them do not exceed."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(fraction * len(ordered)) - 1)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    session = harness.Session(args.build_dir)
    session.start()
    old_tick = Path(args.build_dir) / OLD_TICK_MONITOR
    if not old_tick.exists():
        parser.error(f"{old_tick} is missing: build the target gm_monitor_two_second_tick")
    try:
        latencies, by_event = reaction(session)
        median = statistics.median(latencies)
        p95 = percentile(latencies, 0.95)
        print(f"reaction, activation to the first SetFeature of the download, {SWITCHES} switches:")
        print(f"  median {median:.0f} ms, 95th percentile {p95:.0f} ms, min {min(latencies):.0f} ms,"
              f" max {max(latencies):.0f} ms")
        print(f"  median / target ({TARGET_MEDIAN_MS:.0f} ms) = {median / TARGET_MEDIAN_MS:.2f},"
              f" 95th percentile / target ({TARGET_P95_MS:.0f} ms) = {p95 / TARGET_P95_MS:.2f}")
        print(f"  changes reported by the foreground event first: {by_event} of {SWITCHES}")

        today, before = [], []
        for round_ in range(IDLE_ROUNDS):
            # In turns, so that a slow spell of the machine falls on both.
            if round_ % 2 == 0:
                today.append(idle(session, LINKED, round_=round_))
                before.append(idle(session, LINKED, old_tick, round_))
            else:
                before.append(idle(session, LINKED, old_tick, round_))
                today.append(idle(session, LINKED, round_=round_))
        without = idle(session, 0)
        behind = idle(session, LINKED, game_behind=True)
        precise = Path(f"/proc/{os.getpid()}/schedstat").exists()
        print(f"idle over {IDLE_SECONDS} s, {PROFILES} profiles, a window linked to no game in front,"
              f" {IDLE_ROUNDS} rounds; CPU from {'the scheduler (ns)' if precise else 'clock ticks (10 ms)'}:")

        def line(label, cpu, wakeups, server):
            served = f", wineserver {1000 * server:6.1f} ms" if server is not None else ""
            print(f"  {label:<30} CPU {1000 * cpu:6.1f} ms = {100 * cpu / IDLE_SECONDS:.3f} % of one core,"
                  f" {wakeups} wake-ups = {wakeups / IDLE_SECONDS:.1f} per s{served}")

        for round_ in range(IDLE_ROUNDS):
            line(f"Monitor.exe, 50 linked, #{round_ + 1}", *today[round_])
            line(f"2 s tick, 50 linked, #{round_ + 1}", *before[round_])
        line("Monitor.exe, none linked", *without)
        line("Monitor.exe, a game behind", *behind)
        differences = [1000 * (t[0] - b[0]) for t, b in zip(today, before)]
        print(f"  CPU Monitor.exe - 2 s tick, per round: median {spread(differences)};"
              f" allowed: {CPU_ALLOWANCE_MS:+.0f} ms")
        if all(t[2] is not None and b[2] is not None for t, b in zip(today, before)):
            with_server = [d + 1000 * (t[2] - b[2]) for d, t, b in zip(differences, today, before)]
            # The server serves every program of the prefix, so this one spreads widely.
            print(f"  the same with the wineserver's CPU: median {spread(with_server)}")
        ratios = [t[1] / b[1] for t, b in zip(today, before) if b[1]]
        if ratios:
            print(f"  wake-ups ratio Monitor.exe / 2 s tick: median {statistics.median(ratios):.2f}"
                  f" (lowest {min(ratios):.2f}, highest {max(ratios):.2f})")
        middle = statistics.median(t[0] for t in today)
        ratio = middle / without[0] if without[0] > 0 else float("nan")
        print(f"  CPU ratio linked (median) / none = {ratio:.2f}")
    finally:
        session.stop()


if __name__ == "__main__":
    main()

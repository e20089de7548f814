"""How quickly Option opens and applies, and what it holds in memory.

Under Wine, with the Monitor and the virtual mouse:
  - opening: from process start to the first painted main window, side by side
    with skingallery.exe (one skinned window) in the same run (target <= 2x);
  - instant apply: choosing a profile in the drop-down, from the click to the
    first SetFeature in the virtual mouse's trace, median of 30, with stores of
    20 and 200 profiles (target: under one 20 ms protocol wait). The figure
    includes X delivering the click to Wine;
  - slider release: from letting go of the DPI slider to the first report
    (target under one protocol wait) and to the last report of that download,
    against the waits the protocol mandates for it (target <= 1.15); and what
    a drag of 200 moves writes and sends before and after the release;
  - memory: private bytes of Option after start and after every page was shown
    (target <= 64 MiB).

Prints figures; never fails on them.

    /usr/bin/python3 bench_option.py --build-dir build/win
"""
import argparse
import ctypes
import os
import statistics
import struct
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
from lib import harness, option  # noqa: E402
from PIL import ImageGrab  # noqa: E402

CHOICES = 30
PROTOCOL_WAIT_MS = 20.0
OPENINGS = 5


def painted(display, x, y):
    """True once the pixel at (x, y) is no longer the bare black desktop."""
    pixel = ImageGrab.grab(bbox=(x, y, x + 1, y + 1), xdisplay=display).convert("RGB").getpixel((0, 0))
    return sum(pixel) > 30


def time_to_paint(folder, exe, args, title, point):
    """Seconds from starting `exe` to its window at `title` painted at `point`; the process is ended after."""
    start = time.monotonic()
    process = subprocess.Popen([harness.WINE, str(folder.path / exe)] + args, cwd=folder.path, env=folder.env(),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shown = harness.wait_for(lambda: painted(folder.session.display, *point), 30, 0.005)
    elapsed = time.monotonic() - start
    subprocess.run(["xdotool", "search", "--name", title, "windowclose"], env=folder.env(),
                   stderr=subprocess.DEVNULL)
    subprocess.run([harness.WINE, "taskkill", "/im", exe], env=folder.env(), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    try:
        process.wait(20)
    except subprocess.TimeoutExpired:
        process.kill()
    harness.wait_for(lambda: not painted(folder.session.display, *point), 10, 0.05)
    return elapsed if shown else float("nan")


def option_pid(folder):
    for pid in folder.processes():
        try:
            cmdline = Path(f"/proc/{pid}/cmdline").read_bytes().lower()
        except OSError:
            continue
        if b"option.exe" in cmdline:
            return pid
    return None


def private_mib(pid):
    total = 0
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
        if line.startswith(("Private_Dirty", "Private_Clean")):
            total += int(line.split()[1])
    return total / 1024


def apply_latencies(session, profiles):
    folder = option.OptionFolder(session, f"option-bench-{profiles}")
    # The virtual mouse stamps its trace with the performance counter, which
    # Wine reads from the host's raw monotonic clock: the latency is the
    # difference of two stamps, and nothing polls while Option and the Monitor
    # work on the two cores.
    folder.extra_env["DEVIO_SIM_TRACE_CLOCK"] = "qpc"
    xdotool = None
    try:
        for n in range(profiles):
            folder.gmconfig("new", f"Bench{n + 1}")
        folder.gmconfig("select", "0")
        folder.start_monitor()
        if not folder.wait_downloads(1, 30):
            raise RuntimeError("the Monitor did not download at start-up")
        folder.start_option()
        harness.wait_for(lambda: (folder.list_rows() or {}).get("count") == profiles, 60)
        # One xdotool reading commands: the click is not delayed by starting a process.
        xdotool = subprocess.Popen(["xdotool", "-"], stdin=subprocess.PIPE, env=folder.env(), text=True)
        latencies = []
        for i in range(CHOICES):
            folder.click(folder.config_point(5), settle=0.4)
            row = 1 - i % 2  # between the first two profiles, both in view at the top
            point = folder.config_point(13, dy=10 + 20 * row)
            subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1])], env=folder.env())
            time.sleep(0.1)
            seen = len(folder.trace())
            clicked = 1000 * time.clock_gettime(time.CLOCK_MONOTONIC_RAW)
            xdotool.stdin.write("click 1\n")
            xdotool.stdin.flush()
            time.sleep(0.8)  # the download ends before the next choice
            stamps = [stamp for stamp, op in folder.trace()[seen:] if op.startswith("SetFeature")]
            if stamps:
                latencies.append(stamps[0] - clicked)
        pid = option_pid(folder)
        return latencies, folder, pid
    except Exception:
        folder.cleanup()
        raise
    finally:
        if xdotool:
            xdotool.stdin.close()
            xdotool.wait(10)


class StoreWrites:
    """Counts the saves of a store: each is an atomic rename onto Config.data,
    which inotify reports as IN_MOVED_TO (or a close after writing in place)."""
    IN_CLOSE_WRITE = 0x008
    IN_MOVED_TO = 0x080

    def __init__(self, folder):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK)
        self.libc.inotify_add_watch(self.fd, str(folder).encode(), self.IN_CLOSE_WRITE | self.IN_MOVED_TO)

    def count(self):
        writes = 0
        while True:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                return writes
            offset = 0
            while offset < len(data):
                _, mask, _, length = struct.unpack_from("iIII", data, offset)
                name = data[offset + 16:offset + 16 + length].rstrip(b"\0")
                if name == b"Config.data" and mask & (self.IN_CLOSE_WRITE | self.IN_MOVED_TO):
                    writes += 1
                offset += 16 + length

    def close(self):
        os.close(self.fd)


def slider_figures(session, profiles=20):
    """Release of the DPI slider: latency to the first report, the download's
    length against its mandated waits, and what a long drag writes and sends."""
    folder = option.OptionFolder(session, "option-bench-slider")
    folder.extra_env["DEVIO_SIM_TRACE_CLOCK"] = "qpc"
    xdotool = None
    writes = None
    try:
        for n in range(profiles):
            folder.gmconfig("new", f"Bench{n + 1}")
        folder.start_monitor()
        if not folder.wait_downloads(1, 30):
            raise RuntimeError("the Monitor did not download at start-up")
        folder.start_option()
        harness.wait_for(lambda: (folder.list_rows() or {}).get("count") == profiles, 60)
        folder.click(folder.config_point(2), settle=0.5)  # the performance page
        rows = folder.tree()
        index = next(i for i, r in enumerate(rows) if r["id"] == 600 and r["visible"])
        track, thumb = rows[index]["rect"], rows[index + 1]["rect"]
        y = (thumb[1] + thumb[3]) // 2
        xdotool = subprocess.Popen(["xdotool", "-"], stdin=subprocess.PIPE, env=folder.env(), text=True)

        def send(command):
            xdotool.stdin.write(command + "\n")
            xdotool.stdin.flush()

        writes = StoreWrites(folder.path / "config")
        first, ratios, drag_figures = [], [], None
        x = (thumb[0] + thumb[2]) // 2
        for i in range(CHOICES + 1):
            # Alternately towards the two ends, 200 moves for the first drag and 20 after.
            moves = 200 if i == 0 else 20
            target = track[2] - 30 if i % 2 == 0 else track[0] + 30
            send(f"mousemove {x} {y}")
            time.sleep(0.3)
            writes.count()
            started = len(folder.trace())
            send("mousedown 1")
            for m in range(1, moves + 1):
                send(f"mousemove {x + (target - x) * m // moves} {y}")
                send("sleep 0.005")
            time.sleep(0.5)
            seen = len(folder.trace())
            written_before = writes.count()
            sent_during = [op for _, op in folder.trace()[started:] if op.startswith(("SetFeature", "WriteUSB"))]
            released = 1000 * time.clock_gettime(time.CLOCK_MONOTONIC_RAW)
            send("mouseup 1")
            time.sleep(1.0)
            stamps = [stamp for stamp, op in folder.trace()[seen:] if op.startswith(("SetFeature", "WriteUSB"))]
            waits = sum(int(line.split()[1]) for line in folder.gmconfig("reports").splitlines()
                        if line.startswith("Sleep"))
            if i == 0:
                drag_figures = (written_before, len(sent_during), writes.count())
            if stamps:
                first.append(stamps[0] - released)
                if waits:
                    ratios.append((stamps[-1] - released) / waits)
            x = target
        return first, ratios, drag_figures
    finally:
        if writes:
            writes.close()
        if xdotool:
            xdotool.stdin.close()
            xdotool.wait(10)
        folder.cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    session = harness.Session(args.build_dir)
    session.prefix = session.build_dir / "e2e-option-prefix"
    session.start()
    try:
        # Opening, side by side.
        folder = option.OptionFolder(session, "option-bench-open")
        folder.gmconfig("new", "Bench")
        main_skin = folder.main_skin
        logo = (main_skin[4][0] + 5, main_skin[4][1] + 5)  # the first tab: painted only by the window
        option_times, gallery_times = [], []
        for _ in range(OPENINGS):
            option_times.append(time_to_paint(folder, "Option.exe", [], option.OPTION_TITLE, logo))
            gallery_times.append(time_to_paint(folder, "skingallery.exe", [], "Skin Gallery", (60, 60)))
        folder.cleanup()
        option_ms = 1000 * statistics.median(option_times)
        gallery_ms = 1000 * statistics.median(gallery_times)
        print(f"opening, median of {OPENINGS}: Option {option_ms:.0f} ms, skingallery {gallery_ms:.0f} ms,"
              f" ratio {option_ms / gallery_ms:.2f}   (target <= 2.0)")

        for profiles in (20, 200):
            latencies, folder, pid = apply_latencies(session, profiles)
            try:
                median = statistics.median(latencies) if latencies else float("nan")
                print(f"instant apply, {len(latencies)} choices, {profiles} profiles: median {median:.1f} ms"
                      f" = {median / PROTOCOL_WAIT_MS:.2f} protocol waits (target < 1.0),"
                      f" min {min(latencies):.1f} ms, max {max(latencies):.1f} ms")
                if profiles == 20 and pid:
                    print(f"memory after start and {CHOICES} choices: {private_mib(pid):.1f} MiB private")
                    for tab in (2, 3, 1):
                        folder.click(folder.config_point(tab), settle=0.5)
                    folder.click(folder.main_point(5), settle=0.5)
                    folder.click(folder.main_point(4), settle=0.5)
                    print(f"memory after every page was shown: {private_mib(pid):.1f} MiB private"
                          f"   (target <= 64 MiB)")
            finally:
                folder.cleanup()
        first, ratios, drag = slider_figures(session)
        print(f"DPI slider release to the first report, {len(first)} releases: median"
              f" {statistics.median(first):.1f} ms = {statistics.median(first) / PROTOCOL_WAIT_MS:.2f} protocol waits"
              f" (target < 1.0)")
        print(f"DPI slider release to the download's last report, against its mandated waits: median ratio"
              f" {statistics.median(ratios):.2f}   (target <= 1.15)")
        print(f"a drag of 200 moves: {drag[0]} store writes and {drag[1]} reports before the release,"
              f" {drag[2]} write after it   (target 0, 0, 1)")
    finally:
        session.stop()


if __name__ == "__main__":
    main()

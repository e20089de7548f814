"""How quickly the Monitor turns an apply request into the first report to the
mouse, and what it costs while it waits.

Under Wine, through the virtual mouse, with a store of 20 profiles:
  - apply latency: from posting WM_APPLY_ALL_SETTING to the first SetFeature
    of the download (store reload, pointer settings, hand-over to the worker),
    median of 50 requests, as a ratio to one 20 ms protocol wait (target < 1.0);
  - idle: CPU time and wake-ups of the Monitor over 30 s with the mouse
    connected, against the 120 looks of its foreground poller (every 250 ms);
  - memory: private bytes of the Monitor.

Prints figures; never fails on them.

    /usr/bin/python3 bench_apply.py --build-dir build/win
"""
import argparse
import os
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "e2e"))
from lib import harness  # noqa: E402

PROFILES = 20
APPLIES = 50
IDLE_SECONDS = int(os.environ.get("BENCH_IDLE", "30"))
PROTOCOL_WAIT_MS = 20.0
TIMER_PERIOD_S = 0.25


def monitor_pid(folder):
    for pid in folder.processes():
        try:
            cmdline = Path(f"/proc/{pid}/cmdline").read_bytes().lower()
        except OSError:
            continue
        if b"monitor.exe" in cmdline and b"explorer" not in cmdline:
            return pid
    return None


def cpu_and_wakeups(pid):
    """CPU seconds (user + system) and context switches over every thread.

    The scheduler's own count in nanoseconds where the kernel keeps it: the
    clock ticks of stat are 10 ms, as coarse as the differences looked for."""
    ticks = os.sysconf("SC_CLK_TCK")
    cpu = 0.0
    switches = 0
    per_thread = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            try:
                cpu += int((task / "schedstat").read_text().split()[0]) / 1e9
            except (OSError, IndexError, ValueError):
                fields = (task / "stat").read_text().rsplit(")", 1)[1].split()
                cpu += (int(fields[11]) + int(fields[12])) / ticks
            count = 0
            for line in (task / "status").read_text().splitlines():
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    count += int(line.split()[1])
            switches += count
            per_thread[int(task.name)] = count
        except (OSError, IndexError, ValueError):
            continue
    return cpu, switches, per_thread


def private_kib(pid):
    try:
        for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
            if line.startswith("Private_Dirty"):
                dirty = int(line.split()[1])
            if line.startswith("Private_Clean"):
                clean = int(line.split()[1])
        return dirty + clean
    except (OSError, UnboundLocalError):
        return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()

    session = harness.Session(args.build_dir)
    session.start()
    folder = None
    try:
        folder = harness.ProgramFolder(session, "apply-bench")
        folder.extra_env = {"DEVIO_SIM_TRACE_CLOCK": "qpc"}
        for i in range(PROFILES):
            folder.gmconfig("new", f"Bench{i + 1}")
            folder.gmconfig("button", str(1 + i % 15), "media", "31")
        # The apply sends only the polling rate: the latency ends at the first report anyway.
        folder.gmconfig("select", "7")
        folder.start_monitor()
        if not folder.wait_downloads(1, 20):
            raise RuntimeError("the Monitor did not download at start-up")
        folder.start_client()
        folder.client("set PollingRate=4 flags=0,0,0,1")
        store_kib = (folder.path / "config" / "Config.data").stat().st_size / 1024

        folder.client(f"bench-apply {APPLIES}", timeout=300)
        posts = [float(entry.split()[1]) for _, entry in folder.client_log() if entry.startswith("bench-post")]
        starts = [t for t, op in folder.trace() if op == "SetFeature 01 08 00 00 00 00 00 F6"]
        latencies = []
        for posted in posts:
            following = [t for t in starts if t >= posted]
            if following:
                latencies.append(following[0] - posted)
        if len(latencies) != APPLIES:
            raise RuntimeError(f"{len(latencies)} of {APPLIES} applies reached the mouse")
        median = statistics.median(latencies)

        # The bare store reload, same file, same Wine, same moment: the part of the
        # latency that belongs to the store rather than to the Monitor.
        probe = harness.run_captured([harness.WINE, str(session.build_dir / "bench" / "apply" / "store_load_probe.exe"),
                                      harness.windows_path(folder.path), "20"], folder.env(), folder.path, 120)
        store_ms = float(probe.stdout.split()[0])

        pid = monitor_pid(folder)
        time.sleep(2.0)  # let the apply series settle
        cpu0, switches0, threads0 = cpu_and_wakeups(pid)
        time.sleep(IDLE_SECONDS)
        cpu1, switches1, threads1 = cpu_and_wakeups(pid)
        ticks = IDLE_SECONDS / TIMER_PERIOD_S
        folder.client("query-memory")
        memory = dict(field.split("=") for field in
                      [e for _, e in folder.client_log() if e.startswith("memory")][-1].split()[1:] if "=" in field)

        print(f"apply latency, {APPLIES} requests, store of {PROFILES} profiles ({store_kib:.0f} KiB):")
        print(f"  median {median:.2f} ms, min {min(latencies):.2f} ms, max {max(latencies):.2f} ms")
        print(f"  median / one protocol wait ({PROTOCOL_WAIT_MS:.0f} ms) = {median / PROTOCOL_WAIT_MS:.3f}"
              f"   (target < 1.0)")
        print(f"  the bare store reload alone (median of 20, same file and Wine): {store_ms:.2f} ms"
              f" = {store_ms / PROTOCOL_WAIT_MS:.3f} of one protocol wait")
        print(f"  load average during the run: {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores")
        print(f"idle over {IDLE_SECONDS} s with the mouse connected:")
        print(f"  CPU {1000 * (cpu1 - cpu0):.0f} ms = {100 * (cpu1 - cpu0) / IDLE_SECONDS:.2f} % of one core")
        print(f"  wake-ups {switches1 - switches0} (all threads) / {ticks:.0f} foreground looks"
              f" = {(switches1 - switches0) / ticks:.2f} per look")
        busy = sorted(((threads1.get(t, 0) - threads0.get(t, 0), t) for t in threads1), reverse=True)
        print("  wake-ups per thread: " + ", ".join(f"{'main' if t == pid else t}: {n}" for n, t in busy if n)
              + f"; {sum(1 for n, _ in busy if not n)} other threads never woke")
        kib = private_kib(pid)
        # Windows counts private bytes as the page-file usage; Wine fills that field only.
        private = int(memory.get("pagefile", "0")) or int(memory.get("private", "0"))
        print(f"memory: private bytes {private / 1048576:.1f} MiB, working set "
              f"{int(memory.get('working-set', '0')) / 1048576:.1f} MiB"
              + (f"; {kib / 1024:.1f} MiB private on the host" if kib is not None else ""))
    finally:
        if folder:
            folder.cleanup()
        session.stop()


if __name__ == "__main__":
    main()

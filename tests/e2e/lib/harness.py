"""Runs the staged Monitor under Wine and Xvfb and reads what it leaves behind.

One Session per test run: an X display (the caller's, or an Xvfb of our own),
a Wine prefix of its own under the build tree, and a persistent wineserver.
One ProgramFolder per test: a fresh copy of the staged program folder with the
virtual mouse, the stand-in Option window as Option.exe and a marker program.
"""
import configparser
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WINE = shutil.which("wine") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class Completed:
    def __init__(self, returncode, stdout, stderr):
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr


def run_captured(command, env, cwd=None, timeout=60):
    """Runs a Wine program and collects its output through files, not pipes:
    Wine's background processes inherit the handles and would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(command, cwd=cwd, env=env, stdout=out, stderr=err, stdin=subprocess.DEVNULL)
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        out.seek(0)
        err.seek(0)
        decode = lambda data: data.decode("utf-8", "replace").replace("\r\n", "\n")
        return Completed(process.returncode, decode(out.read()), decode(err.read()))


def stamped_lines(path, stamp_of):
    """(stamp, text) pairs of a log whose lines start with a time stamp; lines
    whose stamp does not read (a line still being written) are left out."""
    if not path.exists():
        return []
    entries = []
    for line in path.read_text(errors="replace").splitlines():
        stamp, _, rest = line.partition(" ")
        try:
            entries.append((stamp_of(stamp), rest))
        except ValueError:
            pass
    return entries


def wait_for(predicate, timeout=10.0, interval=0.05):
    """Polls until predicate() is truthy; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)


def start_xvfb(size="1280x1024"):
    """An Xvfb of our own on a display it picks itself (-displayfd), so suites started
    side by side never race for the same number. Returns (process, ":N")."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size}x24",
                                "-nolisten", "tcp", "-ac"], pass_fds=(write_end,),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        process.kill()
        process.wait()
        raise RuntimeError("Xvfb did not start")
    display = f":{number}"
    if not wait_for(lambda: display_works(display), 10):
        process.kill()
        process.wait()
        raise RuntimeError("Xvfb did not start")
    return process, display


def display_works(display):
    if not display:
        return False
    return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class Session:
    def __init__(self, build_dir, prefix=None, variant="", screen="1280x1024"):
        """`prefix`: the Wine prefix to use instead of one under the build tree.
        `variant` names runs of one suite with other settings (another display
        scale) apart, so that they can run side by side; `screen` is the size
        of the Xvfb the Session starts when it needs one."""
        self.build_dir = Path(build_dir).resolve()
        self.stage = self.build_dir / "stage"
        self.helpers = self.build_dir / "tests" / "e2e" / "monitor"
        # A prefix per suite: suites run side by side, each with its own wineserver.
        # Runs of one suite side by side (the long soak) name themselves apart.
        instance = os.environ.get("GM_E2E_INSTANCE", "")
        self.prefix = Path(prefix) if prefix else (
            self.build_dir / f"e2e-{Path(sys.argv[0]).stem}{'-' + variant if variant else ''}"
                             f"{'-' + instance if instance else ''}-prefix")
        self.xvfb = None
        self.server = None
        self.display = os.environ.get("DISPLAY", "")
        self.screen = screen
        self.root = Path(tempfile.mkdtemp(prefix="gm-monitor-e2e-"))

    def env(self, **extra):
        env = dict(os.environ)
        env.update(WINEPREFIX=str(self.prefix), WINEDEBUG="-all", DISPLAY=self.display,
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.update({k: str(v) for k, v in extra.items()})
        return env

    def start(self):
        if not display_works(self.display):
            self.xvfb, self.display = start_xvfb(self.screen)
        if not (self.prefix / "system.reg").exists():
            build_prefix = self.build_dir / "wineprefix"
            if (build_prefix / "system.reg").exists():
                # Copying the build's booted prefix is much faster than booting one.
                subprocess.run(["cp", "-a", str(build_prefix), str(self.prefix)], check=True)
            else:
                self.prefix.mkdir(parents=True, exist_ok=True)
                subprocess.run([WINE, "wineboot", "-i"], env=self.env(), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
                subprocess.run([WINESERVER, "-w"], env=self.env())
        # A persistent server: every wine start reuses it instead of booting one.
        subprocess.run([WINESERVER, "-k"], env=self.env(), stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env(), stderr=subprocess.DEVNULL)
        self.server = subprocess.Popen([WINESERVER, "-p"], env=self.env(), stderr=subprocess.DEVNULL)
        # Acceleration as Windows sets it for "enhanced pointer precision".
        self.set_pointer_registry(6, 10, 1)

    def wine_programs(self):
        """"pid name" of each Windows program running in this session's prefix, for failure messages."""
        wanted = f"WINEPREFIX={self.prefix}".encode()
        found = []
        for entry in Path("/proc").iterdir():
            try:
                if not entry.name.isdigit() or wanted not in (entry / "environ").read_bytes().split(b"\0"):
                    continue
                name = (entry / "comm").read_text().strip()
            except OSError:
                continue
            if name.lower().endswith(".exe") and name.lower() not in ("services.exe", "winedevice.exe",
                                                                     "plugplay.exe", "explorer.exe", "rpcss.exe"):
                found.append(f"{entry.name} {name}")
        return found

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env(), stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=self.env(), stderr=subprocess.DEVNULL)
        if self.server:
            self.server.wait(10)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(10)
            self.xvfb = None
        shutil.rmtree(self.root, ignore_errors=True)

    def reg(self, *args):
        return run_captured([WINE, "reg"] + list(args), env=self.env())

    def set_pointer_registry(self, threshold1, threshold2, level):
        for name, value in (("MouseThreshold1", threshold1), ("MouseThreshold2", threshold2),
                            ("MouseSpeed", level)):
            self.reg("add", "HKCU\\Control Panel\\Mouse", "/v", name, "/t", "REG_SZ", "/d", str(value), "/f")

    def pointer_registry(self):
        out = self.reg("query", "HKCU\\Control Panel\\Mouse").stdout
        values = {}
        for line in out.splitlines():
            parts = line.split()
            if len(parts) >= 3 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2]
        return {k: values.get(k) for k in ("MouseThreshold1", "MouseThreshold2", "MouseSpeed")}


class Monitor:
    """One Monitor.exe process and its debug output."""

    def __init__(self, folder, args, desktop=None):
        self.folder = folder
        self.debug_file = folder.path / f"monitor-debug-{time.monotonic_ns()}.txt"
        command = [WINE]
        if desktop:
            command += ["explorer", f"/desktop={desktop}", str(folder.path / "Monitor.exe")]
        else:
            command += [str(folder.path / "Monitor.exe")]
        command += list(args)
        self.stderr = open(self.debug_file, "wb")
        self.process = subprocess.Popen(command, cwd=folder.path, env=folder.env(WINEDEBUG="-all,+debugstr,warn+seh"),
                                        stdout=subprocess.DEVNULL, stderr=self.stderr)

    def alive(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=10):
        try:
            self.process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def debug_lines(self):
        """The texts the Monitor wrote with OutputDebugString, in order."""
        lines = []
        for raw in self.debug_file.read_bytes().decode("utf-8", "replace").splitlines():
            marker = 'OutputDebugStringA "'
            at = raw.find(marker)
            if at < 0:
                continue
            text = raw[at + len(marker):].rstrip()
            if text.endswith('"'):
                text = text[:-1]
            lines.append(text.replace("\\n", "\n").replace("\\\\", "\\"))
        return lines

    def kill(self):
        if self.alive():
            self.process.kill()
            self.process.wait(10)
        self.stderr.close()


def link_or_copy(source, target):
    """A hard link where the file system allows one, else a copy."""
    try:
        os.link(source, target)
    except OSError:
        shutil.copy2(source, target)


class ProgramFolder:
    def __init__(self, session, name, devio=True, uistr=True):
        self.session = session
        self.path = session.root / name
        # The skins (every scale's set, hundreds of megabytes) are only read, so
        # they are linked rather than copied; everything else is a copy of its own,
        # as the programs and tests write into their folder.
        shutil.copytree(session.stage, self.path, ignore=shutil.ignore_patterns("skins"))
        if (session.stage / "skins").is_dir():
            shutil.copytree(session.stage / "skins", self.path / "skins", copy_function=link_or_copy)
        shutil.copy(session.helpers / "gm_option_client.exe", self.path / "Option.exe")
        shutil.copy(session.helpers / "gm_marker.exe", self.path / "marker.exe")
        if not devio:
            (self.path / "devio.dll").unlink()
        if not uistr:
            (self.path / "uistr.dll").unlink()
        (self.path / "config").mkdir(exist_ok=True)
        self.attached = True
        self.desktop = None  # name of a Wine virtual desktop every program here runs in
        self.extra_env = {}
        self.monitors = []
        self.children = []

    def env(self, **extra):
        extra.setdefault("DEVIO_SIM_ATTACHED", "1" if self.attached else "0")
        return self.session.env(**{**self.extra_env, **extra})

    def command(self, exe, *args):
        if self.desktop:
            # Windows are found per desktop: helpers must run on the Monitor's.
            return [WINE, "explorer", f"/desktop={self.desktop}", str(self.path / exe)] + [str(a) for a in args]
        return [WINE, str(self.path / exe)] + [str(a) for a in args]

    def run(self, exe, *args, timeout=60, check=True):
        if self.desktop:
            self.run_on_desktop(exe, *args, timeout=timeout)
            return ""  # explorer hands back neither the program's output nor its exit code
        result = run_captured(self.command(exe, *args), self.env(), self.path, timeout)
        if result.returncode == 1 and not result.stdout and not result.stderr and not self.desktop:
            # Our tools print why they fail. A silent 1 is Wine failing to start
            # the process (seen rarely right after the previous test's programs
            # were killed): the program never ran, so one more start is safe.
            print(f"harness: {exe} did not start under Wine; starting it again", file=sys.stderr)
            time.sleep(0.5)
            result = run_captured(self.command(exe, *args), self.env(), self.path, timeout)
        if check and result.returncode != 0:
            raise AssertionError(f"{exe} {' '.join(map(str, args))} exited with {result.returncode}: "
                                 f"{result.stdout} {result.stderr}")
        return result.stdout

    def start(self, exe, *args):
        """Starts a program of this folder, such as a stand-in game; the cleanup ends it."""
        process = subprocess.Popen(self.command(exe, *args), cwd=self.path, env=self.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(process)
        return process

    # The store, through gmconfig.
    def gmconfig(self, *args, check=True):
        return self.run("gmconfig.exe", *args, check=check)

    def reports(self, full=False):
        args = ["reports", "--full"] if full else ["reports"]
        return [line for line in self.gmconfig(*args).splitlines()
                if line.strip() and not line.startswith("Sleep")]

    def store_text(self):
        path = self.path / "config" / "Config.data"
        return path.read_bytes() if path.exists() else b""

    def store(self):
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str
        parser.read_string(self.store_text().decode("latin-1"))
        return parser

    def current_profile(self):
        store = self.store()
        return store["Profile" + store["Config"]["ProfileID"]]

    # The Monitor.
    def start_monitor(self, *args, desktop=None):
        if desktop:
            self.desktop = desktop.split(",")[0]
        monitor = Monitor(self, args, desktop)
        self.monitors.append(monitor)
        return monitor

    def mousesim(self, *args):
        """Runs mousesim and waits until the virtual mouse has traced the command."""
        seen = sum(1 for _, op in self.trace() if op.startswith("mousesim"))
        out = self.run("mousesim.exe", *args)
        if not wait_for(lambda: sum(1 for _, op in self.trace() if op.startswith("mousesim")) > seen, 30):
            raise AssertionError(f"the virtual mouse did not take mousesim {' '.join(args)}")
        return out

    # The virtual mouse's files.
    def trace(self):
        """(milliseconds, operation) pairs of the virtual mouse's trace."""
        return stamped_lines(self.path / "devio-trace.txt", lambda stamp: int(stamp) if stamp.isdigit() else float(stamp))

    def sends(self, after=0):
        """SetFeature and WriteUSB lines, without times, from trace position `after` on."""
        return [op for _, op in self.trace()[after:] if op.startswith(("SetFeature", "WriteUSB"))]

    def downloads_finished(self):
        return sum(1 for _, op in self.trace() if op.startswith("SetFeature 02 01 00"))

    def wait_downloads(self, count, timeout=30):
        # Counted from before a Wine process starts: on a loaded machine its
        # start alone has taken several seconds. A download that never comes
        # still fails, only later.
        return wait_for(lambda: self.downloads_finished() >= count, timeout)

    def sim_state(self):
        parser = configparser.ConfigParser(interpolation=None, strict=False)
        parser.optionxform = str
        path = self.path / "devio-state.ini"
        if path.exists():
            parser.read_string(path.read_bytes().decode("utf-8", "replace").lstrip("\ufeff"))
        return parser

    # The stand-in Option window.
    def start_client(self):
        process = subprocess.Popen([WINE, str(self.path / "Option.exe")], cwd=self.path, env=self.env(),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.children.append(process)
        if not wait_for(lambda: self.client_has("started") and self.client_window(), 20):
            raise AssertionError("the test client did not start")
        return process

    def client_window(self):
        """True while the client window exists (--send exits 3 without it)."""
        return run_captured([WINE, str(self.path / "Option.exe"), "--send", " "], self.env(), self.path).returncode == 0

    def run_on_desktop(self, exe, *args, timeout=60):
        """On a desktop that exists, explorer only starts the program and returns at
        once: on a loaded machine the program may not even have begun by then. Waits
        until the program itself has ended."""
        run_captured(self.command(exe, *args), self.env(), self.path, timeout)
        if not wait_for(lambda: not self.processes(exe, *args), timeout):
            raise AssertionError(f"{exe} {' '.join(map(str, args))} did not end")

    def client(self, commands, timeout=60):
        """Runs commands in the client window; returns once it has run them."""
        if self.desktop:
            self.run_on_desktop("Option.exe", "--send", commands, timeout=timeout)
            return
        result = run_captured(self.command("Option.exe", "--send", commands), self.env(), self.path, timeout)
        if result.returncode != 0:
            raise AssertionError(f"client did not take {commands!r} (exit {result.returncode})")

    def client_log(self):
        return stamped_lines(self.path / "client-log.txt", float)

    def client_has(self, text, count=1):
        return sum(1 for _, entry in self.client_log() if entry.startswith(text)) >= count

    def client_times(self, text):
        return [t for t, entry in self.client_log() if entry.startswith(text)]

    def processes(self, exe=None, *args):
        """Pids of every process started from this folder; or of those running exe with args."""
        needles = [str(self.path).lower(), windows_path(self.path).lower()]
        words = [str(w).lower() for w in ((exe,) + args if exe else ())]
        found = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                cmdline = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("utf-8", "replace").lower()
            except OSError:
                continue
            if words and not all(w in cmdline for w in words):
                continue
            if any(n in cmdline for n in needles) and (words or "gmconfig" not in cmdline):
                found.append(int(entry.name))
        return found

    def cleanup(self):
        for monitor in self.monitors:
            monitor.kill()
        for pid in self.processes():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        wait_for(lambda: not self.processes(), 10)
        for child in self.children:
            if child.poll() is None:
                child.kill()
            child.wait(10)


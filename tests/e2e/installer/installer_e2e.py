"""End-to-end tests of the installer under Wine and Xvfb.

Every test gets a fresh Wine prefix (a copy of the build's booted one) and runs
the built installer there: silently for installs, upgrades and uninstalls, and
once through its pages with xdotool, keeping screenshots of them in
build/win/installer/screenshots/. Installed files are compared with the
installer's payload byte for byte; the registry is read with `wine reg`.

    /usr/bin/python3 installer_e2e.py --build-dir build/win --installer FILE --payload DIR
        --version X.Y.Z --probe gm_installer_probe.exe [unittest arguments]
"""
import getpass
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from PIL import ImageGrab

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import harness, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402

APP = "7741 Gaming Mouse"
UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\GamingMouse7741"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
RUN_VALUE = APP
MONITOR_TITLE = "7741 Gaming Mouse Monitor"
OPTION_TITLE = "7741 Gaming Mouse Option"
PROGRAMS = ("Monitor.exe", "Option.exe", "uistr.dll", "gmconfig.exe")
# Exit codes the installer documents.
EXIT_NOT_CLOSED = 3
EXIT_NOT_WRITABLE = 5
EXIT_ANOTHER_SETUP = 6

DISPLAY = None
XVFB = None
TEMPLATE = None  # the booted prefix every test's prefix is copied from
BOOTED_HERE = None


def add_arguments(parser):
    parser.add_argument("--installer", required=True)
    parser.add_argument("--payload", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--screenshots", help="folder for the pages' screenshots (default: BUILD/installer/screenshots)")


def setUpModule():
    global DISPLAY, XVFB, TEMPLATE, BOOTED_HERE, BUILD_DIR, INSTALLER, PAYLOAD, VERSION, PROBE, SCREENSHOTS
    args = suite.args()
    BUILD_DIR = args.build_dir
    INSTALLER = Path(args.installer).resolve()
    PAYLOAD = Path(args.payload).resolve()
    VERSION = args.version
    PROBE = Path(args.probe).resolve()
    SCREENSHOTS = Path(args.screenshots) if args.screenshots else BUILD_DIR / "installer" / "screenshots"
    DISPLAY = os.environ.get("DISPLAY", "")
    if not harness.display_works(DISPLAY):
        XVFB, DISPLAY = harness.start_xvfb()
    TEMPLATE = BUILD_DIR / "wineprefix"
    if not (TEMPLATE / "system.reg").exists():
        # Copying a booted prefix is much faster than booting one per test.
        BOOTED_HERE = Path(tempfile.mkdtemp(prefix="gm-installer-boot-"))
        TEMPLATE = BOOTED_HERE / "prefix"
        env = dict(os.environ, WINEPREFIX=str(TEMPLATE), WINEDEBUG="-all", DISPLAY=DISPLAY)
        subprocess.run([harness.WINE, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([harness.WINESERVER, "-w"], env=env)


def tearDownModule():
    if BOOTED_HERE:
        shutil.rmtree(BOOTED_HERE, ignore_errors=True)
    if XVFB:
        XVFB.terminate()
        XVFB.wait(10)


def tree_of(folder):
    """relative path -> bytes of every file under folder."""
    return {p.relative_to(folder).as_posix(): p.read_bytes() for p in sorted(folder.rglob("*")) if p.is_file()}


def digest(files):
    return {name: hashlib.sha256(data).hexdigest() for name, data in files.items()}


def fixed_file_version(path):
    """x.y.z of the FILEVERSION in a program's version resource."""
    data = path.read_bytes()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}"


def read_shortcut(path):
    """Target, arguments, working folder and icon of a shell link (.lnk) file."""
    data = path.read_bytes()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    icon_index = struct.unpack_from("<i", data, 0x38)[0]
    at = 0x4C
    if flags & 0x1:  # an item id list
        at += 2 + struct.unpack_from("<H", data, at)[0]
    target = None
    if flags & 0x2:  # link info: the local path of the target
        size, header, _, _, base = struct.unpack_from("<IIIII", data, at)
        end = data.index(b"\0", at + base)
        target = data[at + base:end].decode("mbcs" if os.name == "nt" else "latin-1")
        at += size
    strings = {}
    for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "workdir"), (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            at += 2
            if flags & 0x80:
                # Wine counts the terminating null in; Windows does not.
                strings[name] = data[at:at + 2 * count].decode("utf-16-le").rstrip("\0")
                at += 2 * count
            else:
                strings[name] = data[at:at + count].decode("latin-1").rstrip("\0")
                at += count
    return dict(target=target, icon_index=icon_index, **strings)


def macro_file(name, steps):
    """A .macro exchange file: one 748-byte record (name, reserved, step count, steps
    of key code, press flag and delay) as hex digits with the byte sum's low 8 bits."""
    record = name.encode("utf-16-le").ljust(100, b"\0") + struct.pack("<ii", 0, len(steps))
    record += b"".join(struct.pack("<BBH", *step) for step in steps)
    record = record.ljust(748, b"\0")
    text = record.hex().upper() + f"{sum(record) & 0xFF:02X}"
    return f"[Macros]\r\n0={text}\r\n".encode()


class Prefix:
    """A fresh Wine prefix with a persistent wineserver, and what runs in it."""

    def __init__(self, name):
        self.root = Path(tempfile.mkdtemp(prefix=f"gm-installer-{name}-"))
        self.path = self.root / "prefix"
        subprocess.run(["cp", "-a", str(TEMPLATE), str(self.path)], check=True)
        self.server = subprocess.Popen([harness.WINESERVER, "-p"], env=self.env(), stderr=subprocess.DEVNULL)
        self.children = []
        self.logs = []
        self.immutable = []
        self.user_dir = self.path / "drive_c" / "users" / getpass.getuser()
        self.install_dir = self.user_dir / "AppData" / "Local" / "Programs" / APP
        self.win_install_dir = f"C:\\users\\{getpass.getuser()}\\AppData\\Local\\Programs\\{APP}"
        self.shortcut = (self.user_dir / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
                         / f"{APP}.lnk")
        shutil.copy(PROBE, self.root / "probe.exe")

    def env(self, **extra):
        env = dict(os.environ)
        # No menu entries or file associations on the host from what is installed here.
        env.update(WINEPREFIX=str(self.path), WINEDEBUG="-all", DISPLAY=DISPLAY,
                   WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        env.update({k: str(v) for k, v in extra.items()})
        return env

    def wine(self, *args, timeout=120, **env):
        return harness.run_captured([harness.WINE] + [str(a) for a in args], self.env(**env), self.root, timeout)

    def start(self, *args, log=None, **env):
        """Starts a Wine program without waiting; its Wine debug output goes to `log`."""
        err = open(log, "wb") if log else subprocess.DEVNULL
        if log:
            self.logs.append(err)
        process = subprocess.Popen([harness.WINE] + [str(a) for a in args], cwd=self.root, env=self.env(**env),
                                   stdout=subprocess.DEVNULL, stderr=err)
        self.children.append(process)
        return process

    def probe(self, *args, timeout=120, **env):
        return self.wine(self.root / "probe.exe", *args, timeout=timeout, **env)

    def install(self, *args, timeout=180):
        """Runs the installer silently, as a user who is not elevated, and waits for it.
        The command line goes as it is: NSIS wants /D=DIR unquoted even with blanks."""
        line = " ".join([f'"{harness.windows_path(INSTALLER)}"', "/S"] + list(args))
        return self.probe("limited", line, timeout=timeout)

    def gmconfig(self, *args):
        result = self.wine(self.install_dir / "gmconfig.exe", *args)
        if result.returncode != 0:
            raise AssertionError(f"gmconfig {' '.join(args)}: {result.returncode} {result.stdout} {result.stderr}")
        return result.stdout

    def reg_values(self, key):
        """name -> data of the values of a registry key; None when the key does not exist."""
        result = self.wine("reg", "query", key)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            if not line.startswith("    "):
                continue
            for kind in ("REG_SZ", "REG_DWORD", "REG_EXPAND_SZ"):
                marker = f"    {kind}    "
                if marker in line:
                    name, data = line.strip().split(marker.strip(), 1)
                    values[name.strip()] = data.strip()
        return values

    def windows(self, prefix):
        """The top-level windows whose titles start with `prefix`, each as the probe's rows
        (dicts of depth, id, cls, visible, enabled, checked, rect, text), its own row first."""
        result = self.probe("tree", prefix, timeout=30)
        if result.returncode != 0:
            return []
        trees = []
        for line in result.stdout.splitlines():
            parts = line.split(" ", 10)
            if len(parts) < 10:
                continue
            row = dict(depth=int(parts[0]), id=int(parts[1]), cls=parts[2], visible=parts[3] == "1",
                       enabled=parts[4] == "1", checked=parts[5] == "1",
                       rect=tuple(int(p) for p in parts[6:10]), text=parts[10] if len(parts) > 10 else "")
            if row["depth"] == 0:
                trees.append([])
            if trees:
                trees[-1].append(row)
        return trees

    def window(self, title):
        """The rows of the top-level window named `title`, or [] without it."""
        return next((tree for tree in self.windows(title) if tree[0]["text"] == title), [])

    def read_only_drive(self, letter):
        """Maps drive `letter` (as "r:") to a folder nobody can write to, root included."""
        folder = self.root / f"read-only-{letter[0]}"
        folder.mkdir()
        if os.geteuid() == 0:
            if subprocess.run(["chattr", "+i", str(folder)], stderr=subprocess.DEVNULL).returncode != 0:
                return False
            self.immutable.append(folder)
        else:
            folder.chmod(0o555)
        (self.path / "dosdevices" / letter).symlink_to(folder)
        return True

    def processes(self, needle):
        """Pids of the processes whose command line holds `needle` (either case)."""
        needle = needle.lower()
        found = []
        for entry in Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                line = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode("utf-8", "replace").lower()
                environ = (entry / "environ").read_bytes()
            except OSError:
                continue
            if needle in line and f"WINEPREFIX={self.path}".encode() in environ:
                found.append(int(entry.name))
        return found

    def suite_processes(self):
        """Processes started from the install folder (its Windows or Unix path)."""
        return sorted(set(self.processes(self.win_install_dir)) | set(self.processes(str(self.install_dir))))

    def close(self):
        for process in self.children:
            if process.poll() is None:
                process.kill()
            process.wait(10)
        subprocess.run([harness.WINESERVER, "-k"], env=self.env(), stderr=subprocess.DEVNULL)
        subprocess.run([harness.WINESERVER, "-w"], env=self.env(), stderr=subprocess.DEVNULL)
        self.server.wait(10)
        for log in self.logs:
            log.close()
        for folder in self.immutable:
            subprocess.run(["chattr", "-i", str(folder)])
        shutil.rmtree(self.root, ignore_errors=True)


class InstallerTest(unittest.TestCase):
    def setUp(self):
        self.prefix = Prefix(self.id().split(".")[-1])

    def tearDown(self):
        self.prefix.close()

    # Helpers.
    def install(self, *args):
        result = self.prefix.install(*args)
        self.assertEqual(result.returncode, 0, f"the installer failed: {result.stdout} {result.stderr}")

    def assertInstalledFromPayload(self, virtual_mouse=False):
        folder = self.prefix.install_dir
        expected = {"Monitor.exe", "Option.exe", "uistr.dll", "gmconfig.exe", "devio.dll", "Uninstall.exe",
                    "config", "skins"}
        if virtual_mouse:
            expected.add("mousesim.exe")
        names = {p.name for p in folder.iterdir()}
        names -= {"devio-trace.txt", "devio-state.ini"} if virtual_mouse else set()
        self.assertEqual(names, expected)
        for name in PROGRAMS + (("mousesim.exe",) if virtual_mouse else ()):
            self.assertEqual((folder / name).read_bytes(), (PAYLOAD / name).read_bytes(), f"{name} differs")
        library = "devio-sim.dll" if virtual_mouse else "devio-hid.dll"
        self.assertEqual((folder / "devio.dll").read_bytes(), (PAYLOAD / library).read_bytes(),
                         f"devio.dll is not {library}")
        self.assertEqual(digest(tree_of(folder / "skins")), digest(tree_of(PAYLOAD / "skins")), "the skins differ")

    def write_profiles(self):
        """Profiles, a macro on a button and an exported profile in config\\, as a user leaves them."""
        macro = self.prefix.root / "burst.macro"
        macro.write_bytes(macro_file("Burst", [(0x04, 1, 40), (0x04, 2, 40)]))
        self.prefix.gmconfig("macro-import", harness.windows_path(macro))
        self.prefix.gmconfig("new", "Gamer")
        self.prefix.gmconfig("set", "PollingRate=2", "MaxDPI=3", "CpiLevel_X0=12", "LightSwitch=2")
        self.prefix.gmconfig("button", "3", "media", "31")
        self.prefix.gmconfig("button", "4", "macro", "0")
        self.prefix.gmconfig("new", "Work")
        self.prefix.gmconfig("export", "0", f"{self.prefix.win_install_dir}\\config\\gamer.gmp")
        config = tree_of(self.prefix.install_dir / "config")
        self.assertEqual(set(config), {"Config.data", "sequence.dat", "gamer.gmp"})
        return config

    def make_files_old(self):
        """Turns the installed programs into another build: same code, other bytes, older version."""
        for name in PROGRAMS + ("devio.dll",):
            with open(self.prefix.install_dir / name, "ab") as f:
                f.write(b"\0an older build of the suite\0")
        (self.prefix.install_dir / "skins" / "skin_retired.ini").write_bytes(b"[SCREEN]\r\n")
        self.prefix.wine("reg", "add", UNINSTALL_KEY, "/v", "DisplayVersion", "/t", "REG_SZ", "/d", "0.9.0", "/f")
        return tree_of(self.prefix.install_dir)

    def start_at_logon(self, log=None):
        """Starts the Monitor from the Run value's command line, as the shell does at logon."""
        env = {"WINEDEBUG": "-all,+debugstr,warn+seh"} if log else {}
        process = self.prefix.start(self.prefix.root / "probe.exe", "logon", RUN_VALUE, log=log, **env)
        self.assertEqual(process.wait(30), 0, "the Run value did not start")
        self.assertTrue(wait_for(lambda: self.prefix.window(MONITOR_TITLE), 30), "no Monitor window")

    def start_option(self):
        self.prefix.start(self.prefix.install_dir / "Option.exe")
        self.assertTrue(wait_for(lambda: self.prefix.window(OPTION_TITLE), 30), "no Option window")

    def wait_uninstaller(self):
        """The uninstaller runs from a copy in %TEMP% (~nsu*.tmp): waits for that copy to end."""
        self.assertTrue(wait_for(lambda: not self.prefix.processes("~nsu"), 90), "the uninstaller did not end")


class SilentInstall(InstallerTest):
    def test_installs_the_programs_shortcut_logon_start_and_uninstall_entry(self):
        self.install()
        self.assertInstalledFromPayload()
        self.assertEqual(list((self.prefix.install_dir / "config").iterdir()), [])
        for name in ("Monitor.exe", "Option.exe"):
            self.assertEqual(fixed_file_version(self.prefix.install_dir / name), VERSION, name)
        self.assertTrue(INSTALLER.name.endswith(f"-{VERSION}.exe"))

        link = read_shortcut(self.prefix.shortcut)
        self.assertEqual(link["target"], f"{self.prefix.win_install_dir}\\Monitor.exe")
        self.assertEqual(link["arguments"], "1")
        self.assertEqual(link["workdir"], self.prefix.win_install_dir)
        self.assertEqual(link["icon"], f"{self.prefix.win_install_dir}\\Option.exe")

        run = self.prefix.reg_values(RUN_KEY)
        self.assertEqual(run.get(RUN_VALUE), f'"{self.prefix.win_install_dir}\\Monitor.exe"')

        entry = self.prefix.reg_values(UNINSTALL_KEY)
        self.assertIsNotNone(entry, "no uninstall entry")
        uninstaller = f'"{self.prefix.win_install_dir}\\Uninstall.exe"'
        self.assertEqual(entry["DisplayName"], APP)
        self.assertEqual(entry["DisplayIcon"], f"{self.prefix.win_install_dir}\\Option.exe,0")
        self.assertEqual(entry["DisplayVersion"], VERSION)
        self.assertTrue(entry["Publisher"])
        self.assertEqual(entry["UninstallString"], uninstaller)
        self.assertEqual(entry["QuietUninstallString"], f"{uninstaller} /S")
        self.assertEqual(entry["InstallLocation"], self.prefix.win_install_dir)
        shipped = sum(p.stat().st_size for p in self.prefix.install_dir.rglob("*") if p.is_file())
        self.assertAlmostEqual(int(entry["EstimatedSize"], 16), shipped / 1024, delta=shipped / 1024 * 0.02 + 8)

    def test_needs_no_administrator_rights_and_writes_only_to_the_users_profile(self):
        manifest = INSTALLER.read_bytes()
        self.assertIn(b'requestedExecutionLevel level="asInvoker"', manifest)
        for level in (b"requireAdministrator", b"highestAvailable"):
            self.assertNotIn(level, manifest)

        def machine_files():
            drive = self.prefix.path / "drive_c"
            return {p.relative_to(drive).as_posix(): (p.stat().st_size, p.stat().st_mtime_ns)
                    for p in drive.rglob("*") if self.prefix.user_dir not in p.parents and p.is_file()}

        def machine_registry():
            out = self.prefix.root / "hklm.reg"
            # Wine's reg.exe now and then fails to start on a busy machine
            # (exit 1, nothing written): ask again before calling it a failure.
            for attempt in range(3):
                result = self.prefix.wine("reg", "export", "HKLM\\Software", out, "/y")
                if result.returncode == 0:
                    return out.read_bytes()
                time.sleep(1.0)
            self.fail(f"reg export failed three times: {result.stdout}{result.stderr}")

        files, registry = machine_files(), machine_registry()
        # install() runs it with the user's limited token, as a user who is not an
        # administrator, or who has not confirmed elevation, does.
        result = self.prefix.install()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("elevation 3 0", result.stdout, "the installer ran elevated")
        self.assertInstalledFromPayload()
        self.assertIsNotNone(self.prefix.reg_values(UNINSTALL_KEY))
        self.assertEqual(machine_files(), files, "files outside the user's profile changed")
        self.assertEqual(machine_registry(), registry, "HKLM\\Software changed")

    def test_a_second_setup_while_one_runs_is_refused(self):
        first = self.prefix.start(INSTALLER)
        self.assertTrue(wait_for(lambda: self.prefix.windows(f"{APP} {VERSION} Setup"), 30), "no first Setup")
        self.assertEqual(self.prefix.install().returncode, EXIT_ANOTHER_SETUP)
        self.assertIsNone(first.poll(), "the first Setup ended")
        self.assertFalse(self.prefix.install_dir.exists())
        self.assertIsNone(self.prefix.reg_values(UNINSTALL_KEY))

    def test_a_folder_that_cannot_be_written_is_refused_before_anything_changes(self):
        # Under a file NSIS itself finds the folder unusable; on a read-only disk
        # only the attempt to write shows it.
        (self.prefix.path / "drive_c" / "blocker").write_bytes(b"a file where the folder would go")
        folders = [f"C:\\blocker\\{APP}"]
        if self.prefix.read_only_drive("r:"):
            folders.append(f"R:\\{APP}")
        else:
            print("no read-only drive here (chattr +i refused): that case is left out", file=sys.stderr)
        for folder in folders:
            result = self.prefix.install(f"/D={folder}")
            self.assertEqual(result.returncode, EXIT_NOT_WRITABLE, folder)
            self.assertIsNone(self.prefix.reg_values(UNINSTALL_KEY))
            self.assertNotIn(RUN_VALUE, self.prefix.reg_values(RUN_KEY) or {})
            self.assertFalse(self.prefix.shortcut.exists())
            self.assertFalse(self.prefix.install_dir.exists(), "installed in the default folder instead")


class LogonStart(InstallerTest):
    def test_the_run_value_starts_the_monitor_which_stays_up_without_a_mouse(self):
        self.install()
        log = self.prefix.root / "monitor-debug.txt"
        self.start_at_logon(log)
        time.sleep(3)  # the first downloads and timers would have run by now
        self.assertTrue(self.prefix.window(MONITOR_TITLE), "the Monitor ended")
        pids = self.prefix.suite_processes()
        self.assertEqual(len(pids), 1, "exactly the Monitor runs from the install folder")
        self.assertFalse(self.prefix.window(OPTION_TITLE), "the logon start opened the settings")
        text = log.read_bytes().decode("utf-8", "replace")
        # The real library found no mouse: the Monitor's connection attempt left it not present.
        self.assertIn("devio: no report collection of 5A21:7C03 present", text)
        self.assertNotIn("devio.dll could not be loaded", text)
        self.assertNotIn("devio.dll cannot be used", text)
        for crash in ("code=c0000005", "code=c0000409", "code=c0000374", "code=80000003", "Unhandled exception"):
            self.assertNotIn(crash, text)


class StartMenu(InstallerTest):
    def test_the_entry_opens_option_without_the_mouse_and_the_arrival_brings_the_profile(self):
        # A new user starts the suite from the Start menu before plugging the mouse in.
        self.install("/VIRTUALMOUSE=1")
        self.prefix.start("start", "/unix", self.prefix.shortcut, DEVIO_SIM_ATTACHED=0)
        self.assertTrue(wait_for(lambda: self.prefix.window(OPTION_TITLE), 30), "the Start-menu entry opened nothing")
        self.assertTrue(self.prefix.window(MONITOR_TITLE), "no Monitor runs")

        def badge():
            return next(((r["visible"], r["text"]) for r in self.prefix.window(OPTION_TITLE)
                         if r["depth"] == 1 and r["id"] == 8), None)
        self.assertTrue(wait_for(lambda: badge() == (True, "Mouse not connected"), 10), f"no badge: {badge()}")

        self.assertEqual(self.prefix.wine(self.prefix.install_dir / "mousesim.exe", "plug").returncode, 0)
        self.assertTrue(wait_for(lambda: badge() == (False, "Mouse not connected"), 20),
                        "the badge stayed after the mouse arrived")
        slot_check = lambda: self.prefix.wine(self.prefix.install_dir / "gmconfig.exe", "slot-check").returncode
        self.assertTrue(wait_for(lambda: slot_check() == 0, 20, 1.0),
                        "the mouse does not hold the store's current profile")


class Upgrade(InstallerTest):
    def test_upgrade_closes_the_running_suite_replaces_the_programs_and_keeps_config(self):
        self.install()
        config = self.write_profiles()
        old = self.make_files_old()
        self.start_at_logon()
        self.start_option()
        before = self.prefix.suite_processes()
        self.assertEqual(len(before), 2)

        self.install()
        self.assertFalse(set(before) & set(self.prefix.suite_processes()), "the Monitor or Option still runs")
        self.assertFalse(self.prefix.window(OPTION_TITLE))
        self.assertInstalledFromPayload()
        self.assertNotEqual(tree_of(self.prefix.install_dir)["Monitor.exe"], old["Monitor.exe"])
        self.assertEqual(digest(tree_of(self.prefix.install_dir / "config")), digest(config))
        self.assertEqual(self.prefix.reg_values(UNINSTALL_KEY)["DisplayVersion"], VERSION)
        # The Monitor that ran is back, the new one, and reads the kept store.
        self.assertTrue(wait_for(lambda: self.prefix.window(MONITOR_TITLE), 30), "the Monitor was not started again")
        self.assertEqual(len(self.prefix.suite_processes()), 1)
        self.assertIn("Gamer", self.prefix.gmconfig("list"))

    def test_a_suite_that_does_not_close_stops_the_upgrade_before_any_file_changes(self):
        self.install()
        config = self.write_profiles()
        old = self.make_files_old()
        holder = self.prefix.start(self.prefix.root / "probe.exe", "hold", MONITOR_TITLE, 120)
        self.assertTrue(wait_for(lambda: self.prefix.window(MONITOR_TITLE), 30))

        started = time.monotonic()
        result = self.prefix.install()
        self.assertEqual(result.returncode, EXIT_NOT_CLOSED)
        self.assertGreater(time.monotonic() - started, 10, "the installer gave up without waiting")
        self.assertIsNone(holder.poll())
        self.assertEqual(digest(tree_of(self.prefix.install_dir)), digest(old), "files changed")
        self.assertEqual(digest(tree_of(self.prefix.install_dir / "config")), digest(config))
        self.assertEqual(self.prefix.reg_values(UNINSTALL_KEY)["DisplayVersion"], "0.9.0")

        # The uninstaller too; run in place (_?=) so that its exit code is its own.
        folder = self.prefix.win_install_dir
        result = self.prefix.probe("limited", f'"{folder}\\Uninstall.exe" /S _?={folder}\\')
        self.assertEqual(result.returncode, EXIT_NOT_CLOSED)
        self.assertEqual(digest(tree_of(self.prefix.install_dir)), digest(old), "the uninstaller removed files")
        self.assertIsNotNone(self.prefix.reg_values(UNINSTALL_KEY))
        self.assertTrue(self.prefix.shortcut.exists())

    def test_the_virtual_mouse_and_the_logon_choice_carry_over_to_an_upgrade(self):
        self.install("/VIRTUALMOUSE=1")
        self.assertInstalledFromPayload(virtual_mouse=True)
        self.assertEqual(self.prefix.reg_values(UNINSTALL_KEY)["VirtualMouse"], "0x1")
        # The demo works: the Monitor finds the virtual mouse and downloads to it.
        self.start_at_logon()
        trace = self.prefix.install_dir / "devio-trace.txt"
        self.assertTrue(wait_for(lambda: trace.exists() and b"SetFeature 02 01 00" in trace.read_bytes(), 20),
                        "the Monitor did not download to the virtual mouse")

        # The user turned the logon start off; an upgrade keeps both choices.
        self.prefix.wine("reg", "delete", RUN_KEY, "/v", RUN_VALUE, "/f")
        self.install()
        self.assertInstalledFromPayload(virtual_mouse=True)
        self.assertNotIn(RUN_VALUE, self.prefix.reg_values(RUN_KEY) or {})

        # Back to the real mouse: the demo's tool and files go.
        self.install("/VIRTUALMOUSE=0")
        self.assertInstalledFromPayload()
        for name in ("mousesim.exe", "devio-trace.txt", "devio-state.ini"):
            self.assertFalse((self.prefix.install_dir / name).exists(), name)
        self.assertEqual(self.prefix.reg_values(UNINSTALL_KEY)["VirtualMouse"], "0x0")


class Uninstall(InstallerTest):
    def test_silent_uninstall_removes_the_suite_keeps_config_and_a_new_install_uses_it(self):
        self.install()
        config = self.write_profiles()
        self.start_at_logon()

        quiet = self.prefix.reg_values(UNINSTALL_KEY)["QuietUninstallString"]
        result = self.prefix.probe("limited", quiet)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.wait_uninstaller()

        self.assertEqual(self.prefix.suite_processes(), [], "the Monitor still runs")
        self.assertEqual([p.name for p in self.prefix.install_dir.iterdir()], ["config"])
        self.assertEqual(digest(tree_of(self.prefix.install_dir / "config")), digest(config))
        self.assertFalse(self.prefix.shortcut.exists())
        self.assertNotIn(RUN_VALUE, self.prefix.reg_values(RUN_KEY) or {})
        self.assertIsNone(self.prefix.reg_values(UNINSTALL_KEY))

        self.install()
        self.assertEqual(digest(tree_of(self.prefix.install_dir / "config")), digest(config))
        self.assertEqual([line.split(" ", 3)[-1] for line in self.prefix.gmconfig("list").splitlines()],
                         ["Gamer", "Work"])
        self.assertIn("Burst", self.prefix.gmconfig("macros"))


class Pages(InstallerTest):
    """The installer and the uninstaller with their windows, driven with xdotool."""

    def setUp(self):
        super().setUp()
        self.setup_title = f"{APP} {VERSION} Setup"
        self.uninstall_title = f"{APP} {VERSION} Uninstall"
        # Keys reach Wine's windows without a window manager.
        self.prefix.wine("reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/t", "REG_SZ",
                         "/d", "N", "/f")
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)

    # The windows. Pages add to the window's title, and a message box has it too.
    def wizard(self, title):
        trees = [t for t in self.prefix.windows(title) if t[0]["visible"] and not self.is_message_box(t)]
        return trees[0] if trees else []

    def message_box(self, title):
        trees = [t for t in self.prefix.windows(title) if t[0]["visible"] and self.is_message_box(t)]
        return trees[0] if trees else []

    @staticmethod
    def is_message_box(tree):
        return any(row["id"] == 65535 and row["cls"] == "Static" for row in tree)

    @staticmethod
    def heading(tree):
        """The page's title: the header's, or the big one of the welcome and finish pages."""
        for row in tree:
            if row["visible"] and row["id"] in (1037, 1201) and row["text"]:
                return row["text"]
        return None

    @staticmethod
    def row(tree, control_id, depth=None):
        return next(r for r in tree if r["id"] == control_id and r["visible"] and (depth is None or r["depth"] == depth))

    def wait_page(self, title, heading, timeout=30):
        tree = wait_for(lambda: (lambda t: t if self.heading(t) == heading else None)(self.wizard(title)), timeout)
        self.assertTrue(tree, f"no page {heading!r}; seen {self.heading(self.wizard(title))!r}")
        time.sleep(0.5)  # painted
        return self.wizard(title)

    def shoot(self, name, tree):
        image = ImageGrab.grab(bbox=tree[0]["rect"], xdisplay=DISPLAY)
        image.save(SCREENSHOTS / f"installer-{name}.png")
        return image

    def keys(self, title, *keys):
        window = subprocess.run(["xdotool", "search", "--name", title], env=self.prefix.env(),
                                capture_output=True, text=True).stdout.split()
        if window:
            subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.prefix.env())
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), env=self.prefix.env(), check=True)
        time.sleep(0.5)

    def click(self, row):
        left, top, right, bottom = row["rect"]
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2), "click", "1"],
                       env=self.prefix.env(), check=True)
        time.sleep(0.5)

    def set_text(self, row, text):
        left, top, right, bottom = row["rect"]
        subprocess.run(["xdotool", "mousemove", str((left + right) // 2), str((top + bottom) // 2),
                        "click", "--repeat", "3", "1"], env=self.prefix.env(), check=True)
        subprocess.run(["xdotool", "key", "Home", "shift+End"], env=self.prefix.env(), check=True)
        subprocess.run(["xdotool", "type", "--delay", "30", text], env=self.prefix.env(), check=True)
        time.sleep(0.5)

    def assertBranded(self, image, tree, control_id):
        """The suite's dark purple picture is where the page shows its picture."""
        left, top = tree[0]["rect"][:2]
        x0, y0, x1, y1 = self.row(tree, control_id)["rect"]
        picture = image.crop((x0 - left, y0 - top, x1 - left, y1 - top)).convert("RGB")
        pixels = list(picture.getdata())
        r, g, b = (sum(p[i] for p in pixels) / len(pixels) for i in range(3))
        self.assertLess(r + g + b, 3 * 100, "the picture is not dark")
        self.assertGreater(b, g + 8, "the picture is not purple")
        self.assertGreater(r, g + 8, "the picture is not purple")

    def test_pages_from_welcome_to_finish_with_the_logon_choice(self):
        title = self.setup_title
        setup = self.prefix.start(INSTALLER)
        tree = self.wait_page(title, f"Welcome to {APP} Setup")
        self.assertBranded(self.shoot("1-welcome", tree), tree, 1200)

        self.keys(title, "Return")
        tree = self.wait_page(title, "Choose Components")
        self.assertBranded(self.shoot("2-components", tree), tree, 1046)

        self.keys(title, "Return")
        tree = self.wait_page(title, "Choose Install Location")
        self.shoot("3-folder", tree)
        folder = self.row(tree, 1019)
        self.assertEqual(folder["text"], self.prefix.win_install_dir)

        # A folder that cannot be written: refused on leaving the page.
        if self.prefix.read_only_drive("r:"):
            self.set_text(folder, f"R:\\{APP}")
            self.keys(title, "Return")
            box = wait_for(lambda: self.message_box(title), 10)
            self.assertTrue(box, "no refusal of a folder that cannot be written")
            self.assertIn("You cannot write to this folder", " ".join(r["text"] for r in box))
            self.shoot("4-folder-refused", box)
            self.click(self.row(box, 1, depth=1))
            self.assertTrue(wait_for(lambda: not self.message_box(title), 10))
            tree = self.wait_page(title, "Choose Install Location")
            self.assertEqual(list((self.prefix.root / "read-only-r").iterdir()), [])
            self.set_text(self.row(tree, 1019), self.prefix.win_install_dir)
        else:
            print("no read-only drive here (chattr +i refused): the refusal is left out", file=sys.stderr)

        self.keys(title, "Return")
        tree = self.wait_page(title, f"Completing {APP} Setup", timeout=90)
        self.shoot("5-finish", tree)
        start_now, logon = self.row(tree, 1203), self.row(tree, 1204)
        self.assertEqual((start_now["text"], start_now["checked"]), (f"Start {APP} now", True))
        self.assertEqual((logon["text"], logon["checked"]), ("Start the Monitor when I log on", True))
        self.click(logon)
        self.assertFalse(self.row(self.wizard(title), 1204)["checked"])

        self.keys(title, "Return")
        self.assertEqual(setup.wait(30), 0)
        self.assertInstalledFromPayload()
        self.assertNotIn(RUN_VALUE, self.prefix.reg_values(RUN_KEY) or {}, "the logon choice was not taken")
        # "Start now" runs the Start menu's command: the Monitor, asked to open the settings.
        self.assertTrue(wait_for(lambda: self.prefix.window(MONITOR_TITLE), 30), "the suite did not start")
        self.assertTrue(any(line.rstrip().endswith("Monitor.exe 1") for line in self.command_lines()))

    def command_lines(self):
        lines = []
        for pid in self.prefix.suite_processes():
            try:
                lines.append(Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ").decode())
            except OSError:
                pass
        return lines

    def test_the_uninstaller_asks_about_the_profiles_and_can_delete_them(self):
        self.install()
        self.write_profiles()
        title = self.uninstall_title
        self.prefix.start(self.prefix.install_dir / "Uninstall.exe")
        tree = self.wait_page(title, f"Uninstall {APP}")
        self.assertBranded(self.shoot("6-uninstall", tree), tree, 1046)
        self.keys(title, "Return")
        box = wait_for(lambda: self.message_box(title), 30)
        self.assertTrue(box, "the uninstaller did not ask about the profiles")
        self.assertIn("Keep your profiles and macros?", " ".join(r["text"] for r in box))
        time.sleep(0.5)
        self.shoot("7-uninstall-question", box)
        self.click(next(r for r in box if r["cls"] == "Button" and r["text"] == "&No"))
        self.wait_page(title, "Uninstallation Complete")
        self.keys(title, "Return")
        self.wait_uninstaller()
        self.assertFalse(self.prefix.install_dir.exists(), "the folder or the profiles are left")
        self.assertIsNone(self.prefix.reg_values(UNINSTALL_KEY))
        self.assertFalse(self.prefix.shortcut.exists())


if __name__ == "__main__":
    suite.main(add_arguments, with_session=False)

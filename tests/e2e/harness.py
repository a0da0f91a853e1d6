"""Runs the real dist/Wordlark.exe under Wine on a private Xvfb display.

One session per run: our own Xvfb, the project's Wine prefix and one wineserver
kept up throughout, so that Wine is not booted again between tests. Each test
runs a fresh copy of dist/ in a program folder of its own. A lock beside the
prefix makes two runs on one prefix (one wineserver, one set of named objects)
take turns. dist/ is copied once it has stopped changing, so that a build
writing it meanwhile cannot hand a test a half-written program.
"""

import atexit
import configparser
from collections import Counter
import fcntl
import functools
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
# WLK_E2E_DIST runs the tests against another build's output folder.
DIST = Path(os.environ.get("WLK_E2E_DIST") or REPO / "dist")
EXE_NAME = "Wordlark.exe"
# WLK_E2E_PREFIX runs the tests in another Wine prefix (run.sh passes it on).
PREFIX = Path(os.environ.get("WLK_E2E_PREFIX") or REPO / "build" / "wineprefix")
SESSION_LOCK = PREFIX.with_name(PREFIX.name + ".e2e-lock")
LOCK_WAIT = 900
ARTIFACTS = REPO / "build" / "e2e-artifacts"
# Program folders live on the prefix's C: drive, a fixed drive, so that the
# program keeps its settings and log beside itself as on a normal install.
FOLDERS_ROOT = PREFIX / "drive_c" / "wlk-e2e"
FOLDERS_ROOT_WIN = "C:\\wlk-e2e"
# The session's copy of dist/, from which every program folder is made.
DIST_COPY = FOLDERS_ROOT / "_dist"

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Wordlark"

# Files a run of the program leaves in its folder; never copied from dist/.
RUN_STATE_FILES = {"settings.ini", "logreport.txt"}

UTF16_BOM = b"\xff\xfe"
SCREEN = (1024, 768)

# The other application that writes the clipboard (tests/wine/clip_writer.cpp),
# built with the Wine tests; WLK_CLIP_WRITER names another one.
CLIP_WRITERS = [Path(p) for p in (os.environ.get("WLK_CLIP_WRITER"),
                                  REPO / "build" / "windows-debug" / "wlk_clip_writer.exe",
                                  REPO / "build" / "windows" / "wlk_clip_writer.exe") if p]

START_BANNER = "===Start Wordlark "
END_LINE = "===End Word Lark==="
# Wine needs a few seconds for a process's first window, more on a busy machine.
START_TIMEOUT = 30
EXIT_OTHER_INSTANCE = 1


class HarnessError(RuntimeError):
    pass


class StillRunning(AssertionError):
    """The program did not end in time: a failure of the program, not of the harness."""


def program_version():
    """The version the exe carries in its version resource (from CMakeLists.txt)."""
    text = (REPO / "CMakeLists.txt").read_text()
    match = re.search(r"project\s*\(\s*Wordlark\s+VERSION\s+([0-9.]+)", text)
    if not match:
        raise HarnessError("no project VERSION in CMakeLists.txt")
    return match.group(1)


def wait_until(predicate, timeout, interval=0.1):
    """Polls predicate until it returns a true value or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(interval)
    return value


class Session:
    """Our Xvfb, our Wine environment and the wineserver of our prefix."""

    def __init__(self):
        self.display = None
        self.xvfb = None
        self.env = None
        self.lock = None

    def start(self):
        if not (DIST / EXE_NAME).is_file():
            raise HarnessError(f"{DIST / EXE_NAME} is missing: build the Wordlark target first")
        self._take_lock()
        self._start_xvfb()
        self.env = dict(os.environ)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(PREFIX),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        self._ensure_prefix()
        # A persistent server: without it the server ends 3 s after the last
        # process, and the next test would pay for a new Wine session.
        subprocess.run(["wineserver", "-p"], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Program folders left by a run that was killed before its clean-up.
        shutil.rmtree(FOLDERS_ROOT, ignore_errors=True)
        FOLDERS_ROOT.mkdir(parents=True, exist_ok=True)
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        _copy_dist(DIST_COPY)
        self.remove_test_run_value()

    def stop(self):
        if self.env is not None:
            try:
                self.remove_test_run_value()
            finally:
                # Ends our prefix's server and everything still running in it.
                subprocess.run(["wineserver", "-k"], env=self.env, check=False,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=30,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                self.env = None
        if self.xvfb is not None:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None
        if self.lock is not None:
            shutil.rmtree(FOLDERS_ROOT, ignore_errors=True)
            self.lock.close()  # releases the lock
            self.lock = None

    def _take_lock(self):
        PREFIX.parent.mkdir(parents=True, exist_ok=True)
        self.lock = open(SESSION_LOCK, "a+")

        def taken():
            try:
                fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
                return True
            except BlockingIOError:
                return False

        if taken():
            return
        print(f"waiting for another end-to-end run on {PREFIX} to end", flush=True)
        if not wait_until(taken, LOCK_WAIT, 0.5):
            self.lock.close()
            self.lock = None
            raise HarnessError(f"another end-to-end run held {SESSION_LOCK} for {LOCK_WAIT} s")

    def _start_xvfb(self):
        # Xvfb picks a free display number itself and writes it once it takes connections.
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp"], pass_fds=(write,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip() if select.select([pipe], [], [], 10)[0] else ""
        if not number:
            raise HarnessError("Xvfb did not start")
        self.display = f":{number}"

    def _ensure_prefix(self):
        marker = PREFIX / ".wlk-ready"
        if marker.is_file():
            return
        shutil.rmtree(PREFIX, ignore_errors=True)
        PREFIX.mkdir(parents=True)
        subprocess.run(["wineboot", "-i"], env=self.env, check=False, timeout=180,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=180)
        marker.touch()

    # --- Registry ---------------------------------------------------------

    def _reg(self, *args):
        # Output into files, not pipes: the Wine session's own processes
        # inherit them and would keep a pipe open long after reg has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(["wine", "reg", *args], env=self.env, stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=err, timeout=30, check=False).returncode
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(args, code, out.read(), err.read())

    def query_run_value(self):
        """The data of the "Start with Windows" value, or None when it is absent."""
        result = self._reg("query", RUN_KEY, "/v", RUN_VALUE)
        if result.returncode != 0:
            return None
        for line in result.stdout.decode("utf-8", "replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0] == RUN_VALUE and parts[1] == "REG_SZ":
                return parts[2] if len(parts) == 3 else ""
        raise HarnessError("unexpected reg query output: " + result.stdout.decode("utf-8", "replace"))

    def add_run_value(self, data):
        result = self._reg("add", RUN_KEY, "/v", RUN_VALUE, "/t", "REG_SZ", "/d", data, "/f")
        if result.returncode != 0:
            raise HarnessError("reg add failed: " + result.stderr.decode("utf-8", "replace"))

    def remove_test_run_value(self):
        # Wine runs the Run key's entries when it boots; a value left pointing
        # at a test folder would start the program on its own.
        data = self.query_run_value()
        if data is not None and FOLDERS_ROOT_WIN.lower() in data.lower():
            self._reg("delete", RUN_KEY, "/v", RUN_VALUE, "/f")

    # --- Clipboard --------------------------------------------------------

    def write_clipboard(self, *args, timeout=120):
        """Runs wlk_clip_writer.exe with args to its end; returns its result line."""
        writer = next((p for p in CLIP_WRITERS if p.is_file()), None)
        if writer is None:
            raise HarnessError("wlk_clip_writer.exe is missing: build the wlk_clip_writer target "
                               "(scripts/run-wine-tests.sh builds it)")
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(["wine", str(writer), *args], env=self.env,
                                  stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.DEVNULL, timeout=timeout,
                                  check=False).returncode
            out.seek(0)
            text = out.read().decode("utf-8", "replace").strip()
        if code != 0:
            raise HarnessError(f"wlk_clip_writer.exe {' '.join(args)} ended with {code}: {text}")
        return text

    # --- Screen -----------------------------------------------------------

    def press_key(self, window, key):
        """Gives window the X input focus (there is no window manager) and types key."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], env=self.env,
                       timeout=10, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "key", key], env=self.env, timeout=10, check=True)

    def windows(self, name_regex=""):
        """{X window id: (x, y, width, height)} of every mapped window whose name
        matches name_regex, in one xdotool call so that a window shown for a
        moment is not missed. A window gone meanwhile is an X error: list again."""
        listing = wait_until(lambda: self._list_windows(name_regex), 10, 0.02)
        if listing is None:
            raise HarnessError("xdotool could not list the windows for 10 s")
        return listing[0]

    def _list_windows(self, name_regex):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_regex,
                                 "getwindowgeometry", "--shell", "%@"],
                                env=self.env, capture_output=True, text=True, timeout=10,
                                check=False)
        if result.returncode != 0:
            # Exit code 1 without a message: no window at all.
            return None if result.stderr.strip() else ({},)
        windows = {}
        values = {}
        for line in result.stdout.split():
            key, _, value = line.partition("=")
            values[key] = value
            if key == "SCREEN":  # the last of each window's lines
                windows[int(values["WINDOW"])] = (int(values["X"]), int(values["Y"]),
                                                  int(values["WIDTH"]), int(values["HEIGHT"]))
        return (windows,)

    def move_mouse(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=self.env,
                       timeout=10, check=True)

    def type_text(self, window, text):
        """Types text into window, given the X input focus first."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], env=self.env,
                       timeout=10, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["xdotool", "type", "--delay", "30", text], env=self.env, timeout=60,
                       check=True)

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        subprocess.run(["xdotool", "click", str(button)], env=self.env, timeout=10, check=True)

    def keys(self, *keys, delay_ms=60):
        """Types keys into whatever has the keyboard (without a window manager: the
        window under the pointer, or the window last given the focus)."""
        subprocess.run(["xdotool", "key", "--delay", str(delay_ms), *keys], env=self.env,
                       timeout=30, check=True)

    def grab(self, x, y, width, height):
        """The pixels of a screen rectangle, clipped to the screen, as an Image."""
        left, top = max(x, 0), max(y, 0)
        width, height = min(x + width, SCREEN[0]) - left, min(y + height, SCREEN[1]) - top
        command = ["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}",
                   "+repage", "-depth", "8", "rgb:-"]
        result = subprocess.run(command, env=self.env, capture_output=True, timeout=30,
                                check=True)
        if width <= 0 or height <= 0 or len(result.stdout) != width * height * 3:
            raise HarnessError(f"no {width}x{height} pixels grabbed at {left},{top}")
        return Image(width, height, result.stdout)

    def screenshot(self, name):
        """Saves the whole screen as build/e2e-artifacts/<name>; returns the path."""
        path = ARTIFACTS / name
        subprocess.run(["import", "-window", "root", str(path)], env=self.env,
                       capture_output=True, timeout=30, check=True)
        return path


def _copy_dist(target, settle=2.0, timeout=300):
    """Copies dist/ into target once no file of it has changed for settle seconds."""
    def state():
        try:
            return sorted((e.name, e.stat().st_size, e.stat().st_mtime_ns)
                          for e in DIST.rglob("*") if e.is_file())
        except FileNotFoundError:  # a file replaced while we looked
            return None

    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        before = state()
        if before is None or not any(name == EXE_NAME for name, _, _ in before):
            time.sleep(0.5)
            continue
        newest = max(mtime for _, _, mtime in before) / 1e9
        if time.time() - newest < settle:
            # Written a moment ago: a build may still be at it.
            time.sleep(settle)
            if state() != before:
                continue
        shutil.rmtree(target, ignore_errors=True)
        try:
            shutil.copytree(DIST, target)
        except (OSError, shutil.Error):
            continue
        if state() == before:
            return
    raise HarnessError(f"{DIST} kept changing for {timeout} s")


class Image:
    """RGB pixels of a screen rectangle."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self.data = data

    def rgb(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.data[at:at + 3])

    def pixels(self):
        """((x, y), (r, g, b)) for every pixel."""
        return (((x, y), self.rgb(x, y)) for y in range(self.height) for x in range(self.width))

    def background(self):
        """The most frequent colour."""
        colours = Counter(self.data[at:at + 3] for at in range(0, len(self.data), 3))
        return tuple(colours.most_common(1)[0][0])


def near(colour, target, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, target))


_session = None


def session():
    """The running session; start_session() must have been called."""
    if _session is None:
        raise HarnessError("the e2e session is not started")
    return _session


def start_session():
    global _session
    if _session is None:
        _session = Session()
        atexit.register(stop_session)
        try:
            _session.start()
        except BaseException:
            stop_session()
            raise
    return _session


def stop_session():
    global _session
    if _session is not None:
        s, _session = _session, None
        s.stop()


def _stop_on_signal(signum, _frame):
    stop_session()
    raise SystemExit(128 + signum)


signal.signal(signal.SIGTERM, _stop_on_signal)


class Instance:
    """A Wordlark.exe (or another Wine program) started in the background."""

    def __init__(self, process):
        self.process = process

    def alive(self):
        return self.process.poll() is None

    def wait(self, timeout):
        """Waits for the process to end; returns its exit code, None on time-out."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.alive():
            self.process.kill()
            self.process.wait()


class ProgramFolder:
    """A fresh copy of dist/ in which one test runs the program."""

    def __init__(self, label):
        self.session = session()
        safe = re.sub(r"[^A-Za-z0-9_]+", "_", label.rsplit(".", 1)[-1])[:40]
        self.path = Path(tempfile.mkdtemp(prefix=safe + "_", dir=FOLDERS_ROOT))
        self.win_path = FOLDERS_ROOT_WIN + "\\" + self.path.name
        shutil.copytree(DIST_COPY, self.path, dirs_exist_ok=True, ignore=lambda _, names: [
            name for name in names if name.lower() in RUN_STATE_FILES])
        self.instances = []
        self.exe = self.win_path + "\\" + EXE_NAME  # as the program sees itself
        self.log_path = self.path / "LogReport.txt"

    def run(self, args=(), timeout=30):
        """Runs the program to its end; returns the exit code, or fails the test."""
        instance = self.start(args)
        code = instance.wait(timeout)
        if code is None:
            instance.kill()
            raise StillRunning(f"Wordlark.exe {' '.join(args)} still ran after {timeout} s")
        return code

    def start(self, args=()):
        """Starts the program in the background; returns its Instance."""
        with open(self.path / "wine-stderr.txt", "ab") as stderr:
            process = subprocess.Popen(["wine", self.exe, *args], env=self.session.env,
                                       cwd=self.path, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=stderr)
        instance = Instance(process)
        self.instances.append(instance)
        return instance

    def cleanup(self):
        """Ends every instance this folder started, then removes the folder."""
        if any(i.alive() for i in self.instances):
            try:
                self.run(["/exit"], timeout=20)
            except StillRunning:
                pass
            for instance in self.instances:
                if instance.wait(10) is None:
                    instance.kill()
        shutil.rmtree(self.path, ignore_errors=True)

    # --- Settings and log ---------------------------------------------------

    def write_settings(self, values):
        """Writes Settings.ini as UTF-16 LE with BOM, as the program's own file."""
        text = "".join(f"{line}\r\n" for line in
                       ["[Settings]"] + [f"{key}={value}" for key, value in values.items()])
        (self.path / "Settings.ini").write_bytes(UTF16_BOM + text.encode("utf-16-le"))

    def log_bytes(self):
        try:
            return self.log_path.read_bytes()
        except FileNotFoundError:
            return None

    def read_log(self):
        """The log's text ('' when there is no log yet)."""
        return _utf16_text(self.log_bytes() or b"")

    def read_ini(self, name):
        """A UTF-16 INI file beside the program, as {section: {key: value}} (case kept)."""
        parser = configparser.RawConfigParser(strict=False, delimiters=("=",),
                                              comment_prefixes=(";",), allow_no_value=True)
        parser.optionxform = str
        parser.read_string(_utf16_text((self.path / name).read_bytes()).replace("\x00", ""))
        return {section: dict(parser.items(section)) for section in parser.sections()}

    def setting(self, key, section="Settings"):
        """A value of Settings.ini, None when it is not there."""
        return self.read_ini("Settings.ini").get(section, {}).get(key)

    def log_lines(self):
        return self.read_log().replace("\r\n", "\n").split("\n")

    def wait_for_log(self, needle, timeout=15):
        """Polls the log until a line contains needle; returns that line or None."""
        def find():
            for line in self.log_lines():
                if needle in line:
                    return line
            return None
        return wait_until(find, timeout)


def _utf16_text(data):
    """UTF-16 LE text without its BOM; a writer may be half way through a character."""
    data = data[2:] if data.startswith(UTF16_BOM) else data
    return data[: len(data) - len(data) % 2].decode("utf-16-le", "replace")


def _keeping_artifacts(method):
    """Runs a test method; when it fails, first keeps what the screen and the log show."""
    @functools.wraps(method)
    def run(case, *args, **kwargs):
        try:
            return method(case, *args, **kwargs)
        except unittest.SkipTest:
            raise
        except BaseException:
            case.keep_artifacts()
            raise
    return run


class ProgramCase(unittest.TestCase):
    """A test in a program folder of its own; a failing one leaves a screenshot
    and the log in build/e2e-artifacts/, taken before its clean-up."""

    def __init_subclass__(cls, **kwargs):
        super().__init_subclass__(**kwargs)
        for name, member in list(vars(cls).items()):
            if name.startswith("test") and callable(member):
                setattr(cls, name, _keeping_artifacts(member))

    def setUp(self):
        self.session = session()
        self.program = ProgramFolder(self.id())
        self.addCleanup(self.program.cleanup)

    def keep_artifacts(self):
        name = re.sub(r"[^A-Za-z0-9_.]+", "_", self.id().split(".", 1)[-1])
        try:
            self.session.screenshot(name + ".png")
        except (OSError, subprocess.SubprocessError) as error:
            print(f"no screenshot of {self.id()}: {error}", flush=True)
        log = self.program.log_bytes()
        if log is not None:
            (ARTIFACTS / (name + ".LogReport.txt")).write_bytes(log)

    def start_instance(self, args=()):
        """Starts the program and waits until it runs as the instance."""
        instance = self.program.start(args)
        banner = self.program.wait_for_log(START_BANNER, START_TIMEOUT)
        if banner is None:
            # Exit code 1 here means another instance runs in the same Wine session.
            self.fail(f"no start banner (exit code: {instance.wait(0)}); log:\n"
                      + self.program.read_log())
        self.assertTrue(instance.alive(), "the instance ended after its start banner")
        return instance

    def exit_instance(self, instance):
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assert_ends_with(instance, 0)

    def assert_ends_with(self, instance, code, timeout=20):
        self.assertEqual(instance.wait(timeout), code, "log:\n" + self.program.read_log())

    def lines_with(self, needle):
        return [line for line in self.program.log_lines() if needle in line]

    def start_notepad(self):
        """Wine's notepad with the keyboard focus; returns its X window."""
        before = set(self.session.windows("Notepad"))
        process = subprocess.Popen(["wine", "notepad"], env=self.session.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        notepad = Instance(process)
        windows = wait_until(
            lambda: [w for w in self.session.windows("Notepad") if w not in before],
            START_TIMEOUT)

        def end():
            notepad.kill()
            # It covers the tray: later tests look at the tray's pixels.
            wait_until(lambda: not set(windows) & set(self.session.windows("Notepad")), 10)
        self.addCleanup(end)
        self.assertTrue(windows, "notepad did not show its window")
        return windows[0]

    def count(self, needle):
        return len(self.lines_with(needle))

    def wait_line(self, needle, timeout=20):
        line = self.program.wait_for_log(needle, timeout)
        self.assertIsNotNone(line, f"no log line with {needle!r}; log:\n" + self.program.read_log())
        return line

    def wait_count(self, needle, at_least, timeout=20):
        got = wait_until(lambda: self.count(needle) >= at_least, timeout)
        self.assertTrue(got, f"fewer than {at_least} log lines with {needle!r}; log:\n"
                        + self.program.read_log())

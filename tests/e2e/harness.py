"""Runs the real dist/Wordlark.exe under Wine on a private Xvfb display.

One session per run keeps our Xvfb and one persistent wineserver of the prefix,
so Wine boots once. Each test gets a fresh copy of dist/ in a folder of its own.
A lock beside the prefix makes two runs on one prefix take turns.
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
from xml.sax.saxutils import escape

REPO = Path(__file__).resolve().parents[2]
DIST = Path(os.environ.get("WLK_E2E_DIST") or REPO / "dist")
EXE_NAME = "Wordlark.exe"
PREFIX = Path(os.environ.get("WLK_E2E_PREFIX") or REPO / "build" / "wineprefix")
SESSION_LOCK = PREFIX.with_name(PREFIX.name + ".e2e-lock")
LOCK_WAIT = 900
ARTIFACTS = REPO / "build" / "e2e-artifacts"
# On a fixed drive the program keeps its settings and log beside itself, as installed.
FOLDERS_ROOT = PREFIX / "drive_c" / "wlk-e2e"
FOLDERS_ROOT_WIN = "C:\\wlk-e2e"
DIST_COPY = FOLDERS_ROOT / "_dist"

RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "Wordlark"
# Left by a run of the program; never copied from dist/.
RUN_STATE_FILES = {"settings.ini", "logreport.txt"}

UTF16_BOM = b"\xff\xfe"
SCREEN = (1024, 768)

START_BANNER = "===Start Wordlark "
END_LINE = "===End Word Lark==="
# Wine needs a few seconds for a process's first window, more on a busy machine.
START_TIMEOUT = 30
EXIT_OTHER_INSTANCE = 1

HOTKEY = "ctrl+alt+Return"
MENU_WAIT_MS = 30000
# Logged once the clipboard spy listens for changes (the listener method).
SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
COUNT = "Event OnClipboardHistoryChanged, Count="
PHRASES_LOADED = "Phrases loaded from ["


class HarnessError(RuntimeError):
    pass


class StillRunning(AssertionError):
    """The program did not end in time: its failure, not the harness's."""


def program_version():
    match = re.search(r"project\s*\(\s*Wordlark\s+VERSION\s+([0-9.]+)",
                      (REPO / "CMakeLists.txt").read_text())
    if not match:
        raise HarnessError("no project VERSION in CMakeLists.txt")
    return match.group(1)


def wait_until(predicate, timeout, interval=0.1):
    """Polls predicate until it returns a true value or timeout seconds pass."""
    deadline = time.monotonic() + timeout
    while not (value := predicate()) and time.monotonic() < deadline:
        time.sleep(interval)
    return value


def clip_writer():
    """Another application writing the clipboard (tests/wine/clip_writer.cpp)."""
    writer = next((Path(p) for p in (os.environ.get("WLK_CLIP_WRITER"),
                                     REPO / "build" / "windows-debug" / "wlk_clip_writer.exe",
                                     REPO / "build" / "windows" / "wlk_clip_writer.exe")
                   if p and Path(p).is_file()), None)
    if writer is None:
        raise HarnessError("wlk_clip_writer.exe is missing: build the wlk_clip_writer target "
                           "(scripts/run-wine-tests.sh builds it)")
    return writer


def _quiet(command, env, timeout=None):
    subprocess.run(command, env=env, check=False, timeout=timeout,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class Session:
    """Our Xvfb, our Wine environment and the wineserver of our prefix."""

    def __init__(self, display=None):
        """With display (an X display such as ":0"), runs there instead of on a
        private Xvfb."""
        self.display, self.xvfb, self.env, self.lock = display, None, None, None

    def start(self):
        if not (DIST / EXE_NAME).is_file():
            raise HarnessError(f"{DIST / EXE_NAME} is missing: build the Wordlark target first")
        self._take_lock()
        if self.display is None:
            self._start_xvfb()
        self.env = dict(os.environ, DISPLAY=self.display, WINEPREFIX=str(PREFIX),
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self._ensure_prefix()
        # Persistent: otherwise the server ends 3 s after the last process and
        # the next test pays for a new Wine session.
        _quiet(["wineserver", "-p"], self.env)
        shutil.rmtree(FOLDERS_ROOT, ignore_errors=True)  # left by a killed run
        FOLDERS_ROOT.mkdir(parents=True, exist_ok=True)
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        _copy_dist(DIST_COPY)
        self.remove_test_run_value()

    def stop(self):
        if self.env is not None:
            try:
                self.remove_test_run_value()
            finally:
                _quiet(["wineserver", "-k"], self.env)
                _quiet(["wineserver", "-w"], self.env, 30)
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

        if not taken():
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
            number = pipe.readline().strip() if select.select([pipe], [], [], 30)[0] else ""
        if not number:
            raise HarnessError("Xvfb did not start")
        self.display = f":{number}"

    def _ensure_prefix(self):
        marker = PREFIX / ".wlk-ready"
        if marker.is_file():
            return
        shutil.rmtree(PREFIX, ignore_errors=True)
        PREFIX.mkdir(parents=True)
        _quiet(["wineboot", "-i"], self.env, 180)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=180)
        marker.touch()

    def _wine(self, *args, timeout=30):
        """Runs a Wine program to its end: (exit code, stdout, stderr). Output goes
        to files, not pipes: the session's processes inherit them and would keep
        a pipe open long after this program has ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(["wine", *args], env=self.env, stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=err, timeout=timeout, check=False).returncode
            out.seek(0)
            err.seek(0)
            return (code, *(f.read().decode("utf-8", "replace") for f in (out, err)))

    def _tool(self, *args, timeout=30):
        """_wine for reg and the clipboard writer, which say something whenever
        they end by themselves: a silent failure is Wine not starting them,
        seen now and then under load, and they are run once more."""
        result = self._wine(*args, timeout=timeout)
        if result[0] != 0 and not (result[1] or result[2]):
            result = self._wine(*args, timeout=timeout)
        return result

    # --- Registry ---------------------------------------------------------

    def query_run_value(self):
        """The data of the "Start with Windows" value, or None when it is absent."""
        code, out, _ = self._tool("reg", "query", RUN_KEY, "/v", RUN_VALUE)
        if code != 0:
            return None
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0] == RUN_VALUE and parts[1] == "REG_SZ":
                return parts[2] if len(parts) == 3 else ""
        raise HarnessError("unexpected reg query output: " + out)

    def add_run_value(self, data):
        code, _, err = self._wine("reg", "add", RUN_KEY, "/v", RUN_VALUE, "/t", "REG_SZ",
                                  "/d", data, "/f")
        if code != 0:
            raise HarnessError("reg add failed: " + err)

    def remove_test_run_value(self):
        # Wine runs the Run key's entries when it boots: one left pointing at a
        # test folder would start the program on its own.
        data = self.query_run_value()
        if data is not None and FOLDERS_ROOT_WIN.lower() in data.lower():
            self._wine("reg", "delete", RUN_KEY, "/v", RUN_VALUE, "/f")

    def write_clipboard(self, *args, timeout=120):
        """Runs wlk_clip_writer.exe with args to its end; returns its result line."""
        code, out, err = self._tool(str(clip_writer()), *args, timeout=timeout)
        if code != 0:
            raise HarnessError(f"wlk_clip_writer.exe {' '.join(args)} ended with {code}: "
                               f"{out}{err[-2000:]}")
        return out.strip()

    def edit_text(self, window_class):
        """The text of the edit control of the top-level window of window_class."""
        line = self.write_clipboard("edit", window_class)
        if not (line.startswith("edit [") and line.endswith("]")):
            raise HarnessError("unexpected edit output: " + line)
        return line[len("edit ["):-1].replace("\r\n", "\n")

    def dialog(self, title):
        """The texts of the open dialog titled title, None without one."""
        code, out, _ = self._wine(str(clip_writer()), "dialog", title)
        return out.strip() if code == 0 else None

    def clipboard_text(self):
        """The text on the clipboard, as another application reads it."""
        line = self.write_clipboard("read")
        if not (line.startswith("read [") and line.endswith("]")):
            raise HarnessError("unexpected read output: " + line)
        return line[len("read ["):-1]

    def menus(self, wait_ms=0):
        """([(x, y, width, height)] of the shown popup menu windows, the time in
        seconds since 1970 the first was seen), waiting up to wait_ms for one."""
        line = self.write_clipboard("menu", str(wait_ms), timeout=wait_ms / 1000 + 60)
        match = re.fullmatch(r"menu \[(.*)\] at (\d+)", line)
        if not match:
            raise HarnessError("unexpected menu output: " + line)
        rects = [tuple(map(int, r.split())) for r in match.group(1).split("|") if r]
        return rects, int(match.group(2)) / 1000

    # --- Screen -----------------------------------------------------------

    def _xdotool(self, *args, timeout=10):
        subprocess.run(["xdotool", *args], env=self.env, timeout=timeout, check=True)

    def focus(self, window):
        """Gives window the X input focus (there is no window manager)."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], env=self.env,
                       timeout=10, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def type_text(self, window, text):
        self.focus(window)
        self._xdotool("type", "--delay", "30", text, timeout=60)

    def keys(self, *keys, window=None, delay_ms=60):
        """Types keys into window, else into whatever has the keyboard: without a
        window manager the window under the pointer, or the one last given the focus."""
        if window is not None:
            self.focus(window)
        self._xdotool("key", "--delay", str(delay_ms), *keys, timeout=30)

    def hotkey(self, window=None):
        """Presses the hotkey as one quick chord. Held for xdotool's usual delay,
        Ctrl and Alt were still down when the phrase menu took the focus, and
        Wine then read the menu's next Return as the hotkey again."""
        self.keys(HOTKEY, window=window, delay_ms=0)

    def move_mouse(self, x, y):
        self._xdotool("mousemove", str(x), str(y))

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        self._xdotool("click", str(button))

    def windows(self, name_regex=""):
        """{X window id: (x, y, width, height)} of every mapped window whose name
        matches, listed in one call so that a window shown for a moment is not
        missed. A window gone meanwhile is an X error: list again."""
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
        windows, values = {}, {}
        for line in result.stdout.split():
            key, _, value = line.partition("=")
            values[key] = value
            if key == "SCREEN":  # the last of each window's lines
                windows[int(values["WINDOW"])] = tuple(int(values[k]) for k in
                                                       ("X", "Y", "WIDTH", "HEIGHT"))
        return (windows,)

    def grab(self, x, y, width, height):
        """The pixels of a screen rectangle, clipped to the screen, as an Image."""
        left, top = max(x, 0), max(y, 0)
        width, height = min(x + width, SCREEN[0]) - left, min(y + height, SCREEN[1]) - top
        command = ["import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}",
                   "+repage", "-depth", "8", "rgb:-"]
        data = subprocess.run(command, env=self.env, capture_output=True, timeout=30,
                              check=True).stdout
        if width <= 0 or height <= 0 or len(data) != width * height * 3:
            raise HarnessError(f"no {width}x{height} pixels grabbed at {left},{top}")
        return Image(width, height, data)

    def screenshot(self, name):
        """The whole screen into name, a path below build/e2e-artifacts/ unless absolute."""
        subprocess.run(["import", "-window", "root", str(ARTIFACTS / name)], env=self.env,
                       capture_output=True, timeout=30, check=True)


def _copy_dist(target, settle=2.0, timeout=300):
    """Copies dist/ once no file of it has changed for settle seconds, so that a
    build writing it meanwhile cannot hand a test a half-written program."""
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
        if time.time() - max(mtime for _, _, mtime in before) / 1e9 < settle:
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
        self.width, self.height, self.data = width, height, data

    def rgb(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.data[at:at + 3])

    def background(self):
        """The most frequent colour."""
        colours = Counter(self.data[at:at + 3] for at in range(0, len(self.data), 3))
        return tuple(colours.most_common(1)[0][0])


_session = None


def start_session(display=None):
    """The running session, started on first use (on display when given)."""
    global _session
    if _session is None:
        _session = Session(display)
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
    """A program started in the background."""

    def __init__(self, process):
        self.process = process

    def alive(self):
        return self.process.poll() is None

    def wait(self, timeout):
        """The exit code, None when still running after timeout seconds."""
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
        self.session = start_session()
        safe = re.sub(r"[^A-Za-z0-9_]+", "_", label.rsplit(".", 1)[-1])[:40]
        self.path = Path(tempfile.mkdtemp(prefix=safe + "_", dir=FOLDERS_ROOT))
        self.win_path = FOLDERS_ROOT_WIN + "\\" + self.path.name
        shutil.copytree(DIST_COPY, self.path, dirs_exist_ok=True, ignore=lambda _, names: [
            name for name in names if name.lower() in RUN_STATE_FILES])
        self.instances = []
        self.exe = self.win_path + "\\" + EXE_NAME  # as the program sees itself
        self.log_path = self.path / "LogReport.txt"

    def run(self, args=(), timeout=30):
        """Runs the program to its end; returns the exit code."""
        instance = self.start(args)
        code = instance.wait(timeout)
        if code is None:
            instance.kill()
            raise StillRunning(f"Wordlark.exe {' '.join(args)} still ran after {timeout} s")
        return code

    def start(self, args=()):
        with open(self.path / "wine-stderr.txt", "ab") as stderr:
            process = subprocess.Popen(["wine", self.exe, *args], env=self.session.env,
                                       cwd=self.path, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=stderr)
        self.instances.append(Instance(process))
        return self.instances[-1]

    def cleanup(self):
        if any(i.alive() for i in self.instances):
            try:
                self.run(["/exit"], timeout=20)
            except StillRunning:
                pass
            for instance in self.instances:
                if instance.wait(10) is None:
                    instance.kill()
        shutil.rmtree(self.path, ignore_errors=True)

    def write_settings(self, values, places=None):
        """Settings.ini in UTF-16 LE with BOM, as the program writes it, with the
        places of its windows ("Settings_Agent") when given. The history pane
        stays closed at start unless the values open it."""
        sections = {"Settings": {"ShowHistoryPaneOnStart": 0, **values}}
        if places:
            sections["Settings_Agent"] = places
        text = "".join(f"{line}\r\n" for name, keys in sections.items() for line in
                       [f"[{name}]"] + [f"{key}={value}" for key, value in keys.items()])
        (self.path / "Settings.ini").write_bytes(UTF16_BOM + text.encode("utf-16-le"))

    def write_phrases(self, phrases):
        """UserPhrases holding only phrases, [(MenuName, Cmd[, DataType])]; their
        command ids follow the order given, as Wine lists a folder by name."""
        folder = self.path / "UserPhrases"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir()
        for number, phrase in enumerate(phrases):
            (folder / f"p{number:02d}.wordlark").write_bytes(phrase_xml(*phrase))

    def log_bytes(self):
        try:
            return self.log_path.read_bytes()
        except FileNotFoundError:
            return None

    def read_log(self):
        return _utf16_text(self.log_bytes() or b"")

    def log_lines(self):
        return self.read_log().replace("\r\n", "\n").split("\n")

    def read_ini(self, name):
        """An INI file below the program folder (UTF-16 with BOM, else 8-bit) as
        {section: {key: value}}, case kept."""
        parser = configparser.RawConfigParser(strict=False, delimiters=("=",),
                                              comment_prefixes=(";",), allow_no_value=True)
        parser.optionxform = str
        raw = (self.path / name).read_bytes()
        text = _utf16_text(raw) if raw.startswith(UTF16_BOM) else raw.decode("latin-1")
        parser.read_string(text.replace("\x00", ""))
        return {section: dict(parser.items(section)) for section in parser.sections()}

    def setting(self, key):
        return self.read_ini("Settings.ini").get("Settings", {}).get(key)

    def wait_for_log(self, needle, timeout=15):
        """The first log line that contains needle, None when none came in time."""
        return wait_until(lambda: next((l for l in self.log_lines() if needle in l), None),
                          timeout)


def phrase_xml(menu_name, cmd, data_type="TEXT"):
    """A phrase document as the phrase editor writes it (UTF-8, CR LF, four blanks)."""
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>',
             '<WLKCommand UsageCount="3" DisabledIsNoHasSelection="0" UseTitleOnly="0" '
             'FlagsMenu="0">', f"    <MenuName>{escape(menu_name)}</MenuName>",
             f"    <DataType>{data_type}</DataType>", f"    <Cmd>{escape(cmd)}</Cmd>",
             "</WLKCommand>"]
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def launch_notepad(session):
    """Starts Wine's notepad: (its Instance, the X windows it showed within
    START_TIMEOUT, empty when none)."""
    before = set(session.windows("Notepad"))
    notepad = Instance(subprocess.Popen(["wine", "notepad"], env=session.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL))
    windows = wait_until(
        lambda: [w for w in session.windows("Notepad") if w not in before], START_TIMEOUT)
    return notepad, windows or []


def _utf16_text(data):
    """UTF-16 LE text without its BOM; a writer may be half way through a character."""
    data = data[2:] if data.startswith(UTF16_BOM) else data
    return data[: len(data) - len(data) % 2].decode("utf-16-le", "replace")


def _keeping_artifacts(method):
    """A failing test keeps what the screen and the log show, before its clean-up."""
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
    and the log in build/e2e-artifacts/."""

    def __init_subclass__(cls, **kwargs):
        super().__init_subclass__(**kwargs)
        for name, member in list(vars(cls).items()):
            if name.startswith("test") and callable(member):
                setattr(cls, name, _keeping_artifacts(member))

    # Each test class runs in a session of its own: what one leaves on the
    # screen or in the wineserver does not meet the next.
    @classmethod
    def setUpClass(cls):
        start_session()

    @classmethod
    def tearDownClass(cls):
        stop_session()

    def setUp(self):
        self.session = start_session()
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
        if self.program.wait_for_log(START_BANNER, START_TIMEOUT) is None:
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

    def copy(self, text):
        """A copy by another application, once the history has counted it."""
        counted = self.count(COUNT)
        self.session.write_clipboard("text", text)
        self.wait_count(COUNT, counted + 1)

    def open_phrase_menu(self, window):
        """Presses the hotkey in window; the rectangles of the menu windows shown."""
        self.session.hotkey(window)
        rects, _ = self.session.menus(MENU_WAIT_MS)
        self.assertTrue(rects, f"no phrase menu after {HOTKEY}; log:\n" + self.program.read_log())
        return rects

    def assert_notepad_shows(self, expected):
        shown = wait_until(lambda: self.session.edit_text("Notepad") == expected, 20, 0.3)
        self.assertTrue(shown, f"notepad shows {self.session.edit_text('Notepad')!r}, "
                        f"not {expected!r}")

    def start_notepad(self):
        """Wine's notepad with the keyboard focus; returns its X window."""
        notepad, windows = launch_notepad(self.session)

        def end():
            notepad.kill()
            # It covers the tray: later tests look at the tray's pixels.
            wait_until(lambda: not set(windows) & set(self.session.windows("Notepad")), 10)
        self.addCleanup(end)
        self.assertTrue(windows, "notepad did not show its window")
        return windows[0]

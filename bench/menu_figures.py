#!/usr/bin/env python3
"""Figures of the phrase menu, run by hand:
  - hotkey to menu: Ctrl+Alt+Enter pressed in Wine's notepad with xdotool, the
    time until the menu window ("#32768") is shown, as another process polling
    every millisecond sees it; the median of PRESSES presses, first with the
    sample library, then with the large one below, each against the least
    program that shows a menu on the same hotkey (bench/least_menu.cpp), in
    alternating rounds, as a ratio. The log's "Target context
    ready N ms after the request" is the part spent learning the target's facts,
    reported apart.
  - memory: Wordlark.exe with 1,999 phrase nodes (40 groups, 1,959 phrases
    whose labels preview the clipboard and the date) and 1,000 history items
    (ClipboardHistoryMax=1000, copies by wlk_clip_writer.exe), against the same
    program with the sample library and no history: VmRSS, RssAnon and the
    thread count of its Wine process from /proc/PID/status, also idle after
    the start.

  python3 bench/menu_figures.py [PRESSES] [idle]   (idle: the idle figures only)

Needs dist/Wordlark.exe and wlk_clip_writer.exe; runs in the end-to-end harness.
"""

import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

PRESSES = next((int(a) for a in sys.argv[1:] if a.isdigit()), 20)
HOTKEY = "ctrl+alt+Return"
GROUPS, PHRASES, HISTORY = 40, 1959, 1000
CONTEXT_READY = re.compile(r"Target context ready (\d+) ms after the request")
MENU_LINE = re.compile(r"menu \[(.+)\] at (\d+)")
COUNT = "Event OnClipboardHistoryChanged, Count="
WAIT = 60
IDLE_SETTLE = 5
ROUNDS = 2
IDLE_ONLY = "idle" in sys.argv[1:]


def fail(message):
    raise harness.HarnessError(message)


# The body of each phrase of the large library: its label previews two macros.
BODY = ("Dear %CLIPBOARD_TEXT%,\r\n\r\nthank you for your message of %DATE%. We appreciate it "
        "and will answer within two working days.\r\n\r\nKind regards,\r\n%CURSOR_POS%")


def write_large_library(root):
    shutil.rmtree(root, ignore_errors=True)
    phrase = 0
    for g in range(GROUPS):
        group = root / f"Group {g}"
        group.mkdir(parents=True)
        (group / "FOLDER_SELF.wordlark").write_text(
            '<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>\r\n'
            f'<WLKCommand UsageCount="0" DisabledIsNoHasSelection="0" UseTitleOnly="0" '
            f'SortID="{g % 5}" FlagsMenu="0" />\r\n', encoding="utf-8", newline="")
        for _ in range(PHRASES // GROUPS + (g < PHRASES % GROUPS)):
            (group / f"Reply_{phrase}.wordlark").write_bytes(
                harness.phrase_xml(f"Reply {phrase} & thanks", BODY))
            phrase += 1


class Program:
    def __init__(self, session, label, settings, large):
        self.session = session
        self.folder = harness.ProgramFolder(label)
        if large:
            write_large_library(self.folder.path / "UserPhrases")
        self.folder.write_settings({"WriteLog": 1, **settings})
        self.folder.start()
        loaded = self.folder.wait_for_log("Phrases loaded from [", WAIT)
        if loaded is None or self.folder.wait_for_log(
                "ReInstall entity IS NOT NEED", WAIT) is None:
            fail("the program did not start:\n" + self.folder.read_log())
        self.loaded = loaded.split("]: ", 1)[-1]

    def pid(self):
        """The Linux process that runs this folder's Wordlark.exe."""
        needle = (self.folder.win_path + "\\" + harness.EXE_NAME).lower().encode()
        for proc in Path("/proc").iterdir():
            try:
                if proc.name.isdigit() and needle in (proc / "cmdline").read_bytes().lower():
                    return int(proc.name)
            except OSError:
                continue
        fail("no process runs " + needle.decode())

    def memory_kb(self):
        """VmRSS, RssAnon and RssFile in kB, and the number of threads."""
        status = (Path("/proc") / str(self.pid()) / "status").read_text()
        figures = {key: int(re.search(rf"^{key}:\s+(\d+) kB", status, re.M).group(1))
                   for key in ("VmRSS", "RssAnon", "RssFile")}
        figures["Threads"] = int(re.search(r"^Threads:\s+(\d+)", status, re.M).group(1))
        return figures

    def history_count(self):
        counts = re.findall(re.escape(COUNT) + r"(\d+)", self.folder.read_log())
        return int(counts[-1]) if counts else 0

    def fill_history(self, items):
        """Copies until the history holds `items`: a copy that comes while the
        previous one is still read may be taken as one change."""
        for round_ in range(10):
            missing = items - self.history_count()
            if missing <= 0:
                return
            self.session.write_clipboard("burst", str(missing), "40",
                                         f"history item {round_}:", timeout=600)
            harness.wait_until(lambda: self.history_count() >= items, 60, 1)
        fail(f"the history holds {self.history_count()} items, not {items}")


def time_presses(session, read_log, notepad, presses):
    """Milliseconds from each hotkey press to the menu window, and the log's
    target-context times of those presses."""
    with tempfile.NamedTemporaryFile("w+") as out:
        watcher = subprocess.Popen(
            ["wine", str(harness.clip_writer()), "menu", str(presses * WAIT * 1000), str(presses)],
            env=session.env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        try:
            lines = lambda: open(out.name).read().splitlines()  # noqa: E731
            if not harness.wait_until(lambda: "watching" in lines(), WAIT):
                fail("the menu watcher did not start")
            contexts_before = len(CONTEXT_READY.findall(read_log()))
            times = []
            for i in range(presses):
                session.focus(notepad)
                pressed = time.time()
                session.keys(HOTKEY)
                shown = harness.wait_until(
                    lambda: [m for m in map(MENU_LINE.fullmatch, lines()) if m][i:], WAIT)
                if not shown:
                    fail(f"press {i + 1}: no menu within {WAIT} s")
                times.append(int(shown[0].group(2)) - pressed * 1000)
                session.keys("Escape")
                if not harness.wait_until(lambda: not session.menus()[0], WAIT, 0.1):
                    fail(f"press {i + 1}: the menu did not close")
            contexts = [int(n) for n in CONTEXT_READY.findall(read_log())]
            return times, contexts[contexts_before:]
        finally:
            watcher.kill()
            watcher.wait()


class LeastProgram:
    """bench/least_menu.cpp: a popup menu of a dozen items on the same hotkey."""

    def __init__(self, session, notepad):
        self.process = subprocess.Popen(
            ["wine", str(harness.REPO / "build" / "windows" / "wlk_least_menu.exe")],
            env=session.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        # Ready once a press shows its menu; that press is not timed.
        for _ in range(15):
            session.focus(notepad)
            session.keys(HOTKEY)
            if session.menus(2000)[0]:
                session.keys("Escape")
                if harness.wait_until(lambda: not session.menus()[0], 10, 0.1):
                    return
        fail("the least program showed no menu")

    def stop(self):
        self.process.kill()
        self.process.wait()


def report(label, times, contexts):
    line = (f"{label}: hotkey to menu window median {statistics.median(times):.0f} ms "
            f"(best {min(times):.0f}, worst {max(times):.0f}, {len(times)} presses)")
    if contexts:
        line += (f"; of which the target's facts (log) median {statistics.median(contexts):.0f} "
                 f"ms over {len(contexts)} presses")
    print(line, flush=True)


def main():
    session = harness.start_session()
    programs, notepad = [], None
    try:
        notepad, windows = harness.launch_notepad(session)
        if not windows:
            fail("notepad did not show its window")
        # Rounds of the least program and Wordlark alternate, as they share
        # the hotkey, so that a change in the machine's load meets both.
        least_times, small_times, contexts = [], [], []
        for round_ in range(ROUNDS):
            least = LeastProgram(session, windows[0])
            least_times += time_presses(session, lambda: "", windows[0], PRESSES // ROUNDS)[0]
            least.stop()
            small = Program(session, "menu figures sample", {}, large=False)
            programs.append(small)
            if round_ == 0:
                # Idle: the start's own workers (the history's load, the first
                # run's "Start with Windows", the tray icon's retry) have ended.
                time.sleep(IDLE_SETTLE)
                idle = small.memory_kb()
                print("idle with the sample library: "
                      + ", ".join(f"{k} {v}" for k, v in idle.items()), flush=True)
                if IDLE_ONLY:
                    return
            times, ready = time_presses(session, small.folder.read_log, windows[0],
                                        PRESSES // ROUNDS)
            small_times += times
            contexts += ready
            base = small.memory_kb()
            small.folder.cleanup()
            programs.remove(small)
        least_median = statistics.median(least_times)
        report("least program", least_times, [])
        report(f"sample library ({small.loaded})", small_times, contexts)
        print(f"ratio to the least program: {statistics.median(small_times) / least_median:.2f}",
              flush=True)

        large = Program(session, "menu figures large", {"ClipboardHistoryMax": HISTORY},
                        large=True)
        programs.append(large)
        large.fill_history(HISTORY)
        times, ready = time_presses(session, large.folder.read_log, windows[0],
                                    max(PRESSES // 4, 1))
        report(f"{GROUPS + PHRASES} nodes, {HISTORY} history items ({large.loaded})", times, ready)
        print(f"ratio to the least program: {statistics.median(times) / least_median:.2f}",
              flush=True)
        loaded = large.memory_kb()
        print("memory (kB) and threads of the Wine process of Wordlark.exe: "
              + ", ".join(f"{k} {base[k]} -> {loaded[k]} (+{loaded[k] - base[k]})"
                          for k in base), flush=True)
        print("RssAnon is the resident anonymous memory (heaps, stacks, Wine's own data): the "
              "nearest Linux figure to the private bytes Windows would show; RssFile is mapped "
              "files (the executable, Wine's DLLs), shared with other processes. The difference "
              "is what the library and the history cost once loaded and the menu was shown.",
              flush=True)
    finally:
        if notepad:
            notepad.kill()
        for program in programs:
            program.folder.cleanup()
        harness.stop_session()


if __name__ == "__main__":
    main()

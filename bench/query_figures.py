#!/usr/bin/env python3
"""Figures of the road from the hotkey to the target's facts, run by hand:
the time from the tray window's WM_HOTKEY to the context reaching its handler,
as the program logs it ("Target context ready N ms after the request"),
median and worst of 20 presses each:
  - the hook road: Wine's notepad with a selection, answered by the hook;
  - the direct road: a window whose loop never lets the hook see the request
    (wlk_clip_writer.exe deaf), so the program waits 300 ms, then copies the
    selection itself, which includes the fixed 400 ms wait for the copy.

  python3 bench/query_figures.py [PRESSES]

Needs dist/Wordlark.exe, dist/Wordlark.dll and wlk_clip_writer.exe; runs in the
end-to-end harness.
"""

import re
import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

HOTKEY = "ctrl+alt+Return"
MENU_CLOSED = "CWLKTrayWnd::OnWmCommandFromSelf"
READY = re.compile(r"Target context ready (\d+) ms after the request")
PRESSES = next((int(a) for a in sys.argv[1:] if a.isdigit()), 20)


def delays(folder):
    return [int(m.group(1)) for m in map(READY.search, folder.log_lines()) if m]


def closed(folder):
    return sum(MENU_CLOSED in line for line in folder.log_lines())


def start_window(session, command, title):
    process = subprocess.Popen(command, env=session.env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = harness.wait_until(lambda: next(iter(session.windows(title)), None), 30)
    if window is None:
        process.kill()
        raise harness.HarnessError(f"no window {title}")
    return process, window


def measure(session, label, command, title, keys_first):
    folder = harness.ProgramFolder(label)
    folder.write_settings({"WriteLog": 1})
    folder.start()
    process = None
    try:
        if folder.wait_for_log("WTS_Notify", 60) is None:
            raise harness.HarnessError("the program did not start:\n" + folder.read_log())
        process, window = start_window(session, command, title)
        if keys_first:
            session.keys(*keys_first, window=window)
        for press in range(1, PRESSES + 1):
            session.keys(HOTKEY, window=window)
            if not harness.wait_until(lambda: len(delays(folder)) >= press, 20):
                raise harness.HarnessError(f"press {press} got no context:\n" + folder.read_log())
            # Each press opens the phrase menu; Escape closes it for the next.
            if not session.menus(20000)[0]:
                raise harness.HarnessError(f"press {press} showed no menu:\n" + folder.read_log())
            session.keys("Escape")
            if not harness.wait_until(lambda: closed(folder) >= press, 20):
                raise harness.HarnessError(f"menu {press} did not close:\n" + folder.read_log())
        got = delays(folder)
        print(f"{label}: hotkey -> context median {statistics.median(got):.0f} ms, "
              f"worst {max(got)} ms, best {min(got)} ms, {len(got)} presses", flush=True)
    finally:
        if process:
            process.kill()
        folder.cleanup()


def main():
    session = harness.start_session()
    try:
        measure(session, "hook road", ["wine", "notepad"], "Notepad",
                ["W", "o", "r", "d", "l", "a", "r", "k", "ctrl+a"])
        measure(session, "direct road", ["wine", str(harness.clip_writer()), "deaf", "600000",
                                         "selected in a silent window"],
                "wlk_deaf_target", [])
    finally:
        harness.stop_session()


if __name__ == "__main__":
    main()

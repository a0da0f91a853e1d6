#!/usr/bin/env python3
"""Figures of the history pane's copy-and-insert, run by hand: another process
presses Return in the pane's search field (wlk_clip_writer.exe paneinsert) and
watches Wine's notepad from that moment until the first row's text is there,
against the pane's fixed waits (100 ms before the copy, 100 ms before the
paste keys), which are no time of our own. Every round checks that notepad
holds the exact text and that the history got no new item.

  python3 bench/pane_figures.py [ROUNDS]

Needs dist/Wordlark.exe and wlk_clip_writer.exe; runs in the end-to-end harness.
"""

import re
import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

ROUNDS = next((int(a) for a in sys.argv[1:] if a.isdigit()), 10)
FIXED_WAITS_MS = 100 + 100
TEXT = "Wordlark pane inserts forty characters.."
COUNT = "Event OnClipboardHistoryChanged, Count="
ARRIVED = re.compile(r"paneinsert arrived after (-?\d+) ms")
assert len(TEXT) == 40


def main():
    session = harness.start_session()
    folder = notepad = None
    writer = lambda *args: session.write_clipboard(*args, timeout=60)  # noqa: E731
    try:
        folder = harness.ProgramFolder("pane figures")
        folder.write_settings({"WriteLog": 1})
        folder.start()
        if folder.wait_for_log("N-o-o-o-, ReInstall entity IS NOT NEED", 60) is None:
            raise harness.HarnessError("the program did not start:\n" + folder.read_log())
        notepad = subprocess.Popen(["wine", "notepad"], env=session.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        window = harness.wait_until(lambda: next(iter(session.windows("Notepad")), None), 30)
        if window is None:
            raise harness.HarnessError("notepad did not show its window")
        writer("text", TEXT)
        harness.wait_until(lambda: COUNT + "1" in folder.read_log(), 20)
        session.focus(window)
        writer("post", "0x111", "32792", "0")
        harness.wait_until(lambda: writer("pane").startswith("pane 1"), 20)
        arrived = []
        for _ in range(ROUNDS):
            session.keys("ctrl+a", "BackSpace", window=window)
            if not harness.wait_until(lambda: session.edit_text("Notepad") == "", 20, 0.2):
                raise harness.HarnessError("notepad could not be emptied")
            match = ARRIVED.search(writer("paneinsert", "Notepad", str(len(TEXT))))
            if not match or int(match.group(1)) < 0:
                raise harness.HarnessError("the row's text did not arrive in notepad")
            if session.edit_text("Notepad") != TEXT:
                raise harness.HarnessError("notepad holds another text than the row's")
            arrived.append(int(match.group(1)))
        if COUNT + "2" in folder.read_log():
            raise harness.HarnessError("the pane's own copies entered the history")
        median = statistics.median(arrived)
        print(f"pane copy-and-insert: text in notepad median {median:.0f} ms (best "
              f"{min(arrived)}, worst {max(arrived)}) in {ROUNDS} rounds; our own time beyond "
              f"the fixed {FIXED_WAITS_MS} ms: {median - FIXED_WAITS_MS:.0f} ms; nothing lost, "
              f"no new history item", flush=True)
    finally:
        if notepad:
            notepad.kill()
        if folder:
            folder.cleanup()
        harness.stop_session()


if __name__ == "__main__":
    main()

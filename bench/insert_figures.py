#!/usr/bin/env python3
"""Figures of inserting a phrase into Wine's notepad, run by hand. Another
process sends the tray window the phrase's command (WM_COPYDATA) and watches
notepad's edit control from the moment it sends, in the same process:
  - pasted: a 40-character phrase; the time until it is in notepad, and until
    the command returns, against the fixed waits of the paste (400 ms before
    the keys, 100 ms after them) that are no time of our own;
  - typed: a 1,000-character phrase, as a ratio to a bare SendInput of the
    same 1,000 characters (wlk_clip_writer.exe type) into notepad in the same run.
Every round checks that notepad holds the exact text: nothing lost.

  python3 bench/insert_figures.py [ROUNDS]

Needs dist/Wordlark.exe and wlk_clip_writer.exe; runs in the end-to-end harness.
"""

import re
import shutil
import statistics
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402
from harness import phrase_xml  # noqa: E402

ROUNDS = next((int(a) for a in sys.argv[1:] if a.isdigit()), 5)
PASTE_WAITS_MS = 400 + 100
PASTED = "Wordlark pasted forty characters here..."
TYPED = "".join(f"{i:04d}abcdefghijklmnopqrstuvwxyzABCDEFGHIJ" for i in range(25))
COMMAND = re.compile(r"command arrived after (-?\d+) ms, returned after (\d+) ms")
TYPE = re.compile(r"type arrived after (-?\d+) ms")
assert len(PASTED) == 40 and len(TYPED) == 1000


class Run:
    def __init__(self, session, folder):
        self.session, self.folder = session, folder
        self.notepad = None

    def writer(self, *args):
        return self.session.write_clipboard(*args, timeout=60)

    def notepad_text(self):
        line = self.writer("edit", "Notepad")
        return line[len("edit ["):-1]

    def clear(self):
        self.session.keys("ctrl+a", "BackSpace", window=self.notepad)
        if not harness.wait_until(lambda: self.notepad_text() == "", 20, 0.2):
            raise harness.HarnessError("notepad could not be emptied")

    def checked(self, expected, label):
        text = self.notepad_text()
        if text != expected:
            raise harness.HarnessError(f"{label}: notepad holds {len(text)} characters, "
                                       f"not the {len(expected)} sent")

    def command(self, phrase_id, expected):
        self.clear()
        out = self.writer("command", str(phrase_id), "fg", "Notepad", str(len(expected)))
        match = COMMAND.search(out)
        if not match or int(match.group(1)) < 0:
            raise harness.HarnessError("the command's text did not arrive: " + out)
        self.checked(expected, f"command {phrase_id}")
        return int(match.group(1)), int(match.group(2))

    def bare_typing(self, file_win):
        self.clear()
        match = TYPE.search(self.writer("type", file_win, "Notepad"))
        if not match or int(match.group(1)) < 0:
            raise harness.HarnessError("the bare typing did not arrive")
        self.checked(TYPED, "bare SendInput")
        return int(match.group(1))


def start(session):
    folder = harness.ProgramFolder("insert figures")
    phrases = folder.path / "UserPhrases"
    shutil.rmtree(phrases, ignore_errors=True)
    phrases.mkdir()
    # Ids follow the folder's listing, which Wine gives sorted by name.
    (phrases / "p00.wordlark").write_bytes(phrase_xml("Pasted", PASTED))
    (phrases / "p01.wordlark").write_bytes(phrase_xml("Typed", TYPED))
    (folder.path / "typed.txt").write_text(TYPED, encoding="utf-8")
    folder.write_settings({"WriteLog": 1, "TextPasteMethod_v150": 1})
    folder.start()
    if folder.wait_for_log("Phrases loaded from [", 60) is None:
        raise harness.HarnessError("the program did not start:\n" + folder.read_log())
    return folder


def report(label, values):
    return f"{label} median {statistics.median(values):.0f} ms (best {min(values)}, worst {max(values)})"


def main():
    session = harness.start_session()
    folder = notepad = None
    try:
        folder = start(session)
        notepad = subprocess.Popen(["wine", "notepad"], env=session.env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        run = Run(session, folder)
        run.notepad = harness.wait_until(lambda: next(iter(session.windows("Notepad")), None), 30)
        if run.notepad is None:
            raise harness.HarnessError("notepad did not show its window")
        pasted, returned, typed, bare = [], [], [], []
        for _ in range(ROUNDS):
            arrived, back = run.command(1, PASTED)
            pasted.append(arrived)
            returned.append(back)
        set_method(run, folder, 0)
        for _ in range(ROUNDS):
            typed.append(run.command(2, TYPED)[0])
            bare.append(run.bare_typing(folder.win_path + "\\typed.txt"))
        print(report("paste: text in notepad", pasted) + "; " + report("command returned", returned)
              + f"; our own time beyond the fixed {PASTE_WAITS_MS} ms: "
              f"{statistics.median(returned) - PASTE_WAITS_MS:.0f} ms", flush=True)
        print(report("typed 1,000 characters", typed) + "; " + report("bare SendInput", bare)
              + f"; ratio {statistics.median(typed) / max(statistics.median(bare), 1):.2f}; "
              f"nothing lost in {2 * ROUNDS} rounds", flush=True)
    finally:
        if notepad:
            notepad.kill()
        if folder:
            folder.cleanup()
        harness.stop_session()


def set_method(run, folder, method):
    """Rewrites the paste method and lets the running program reread its settings."""
    folder.write_settings({"WriteLog": 1, "TextPasteMethod_v150": method})
    rereads = folder.read_log().count("Detected event: PhraseEditor closed")
    run.writer("signal", "Local\\Wordlark_Event_PhraseEditorAgentCoop_Ended")
    if not harness.wait_until(lambda: folder.read_log().count(
            "Detected event: PhraseEditor closed") > rereads, 20):
        raise harness.HarnessError("the settings were not reread")


if __name__ == "__main__":
    main()

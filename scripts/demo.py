#!/usr/bin/env python3
"""Shows the phrase menu at work: starts Wine's notepad and a fresh copy of the
built dist/ folder (Wordlark.exe with the sample phrases), presses
Ctrl+Alt+Enter in notepad, keeps a screenshot of the open menu, chooses the
first sample phrase with the keyboard and prints what notepad then holds.

  python3 scripts/demo.py        (./run demo builds first, then calls this)

Runs on DISPLAY when one is set, else on a private Xvfb; uses the end-to-end
harness (build/wineprefix, wlk_clip_writer.exe to read notepad and find the menu).
Screenshots: build/demo-menu.png (the open menu), build/demo-notepad.png (after).
"""

import os
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

MENU_SHOT = harness.REPO / "build" / "demo-menu.png"
NOTEPAD_SHOT = harness.REPO / "build" / "demo-notepad.png"
HOTKEY = "ctrl+alt+Return"
# The first item of the menu: with no phrase used yet, the library's first
# top-level phrase.
CHOOSE_FIRST = ("Home", "Return")
WAIT = 30


def fail(message):
    raise harness.HarnessError(message)


def start_program(session):
    folder = harness.ProgramFolder("demo")
    folder.write_settings({"WriteLog": 1})
    folder.start()
    if folder.wait_for_log("Phrases loaded from [", WAIT) is None:
        fail("Wordlark did not load its phrases; its log:\n" + folder.read_log())
    return folder


def show_menu_and_choose(session, folder, notepad):
    session.keys(HOTKEY, window=notepad)
    rects, _ = session.menus(WAIT * 1000)
    if not rects:
        fail(f"no phrase menu within {WAIT} s of {HOTKEY}")
    session.screenshot(MENU_SHOT)
    session.keys(*CHOOSE_FIRST)
    # The text is typed key by key: read it once the program says it is done.
    if folder.wait_for_log("Menu command ", WAIT) is None:
        fail(f"no phrase inserted {WAIT} s after the choice; its log:\n" + folder.read_log())
    # The keys sent may still be on their way to notepad: read until it settles.
    reads = [None]

    def settled():
        reads.append(session.edit_text("Notepad"))
        return reads[-1] if reads[-1] and reads[-1] == reads[-2] else None
    text = harness.wait_until(settled, WAIT, 0.5)
    if not text:
        fail(f"notepad still empty {WAIT} s after the choice")
    session.screenshot(NOTEPAD_SHOT)
    return text


def main():
    session = harness.start_session(os.environ.get("DISPLAY") or None)
    folder = notepad = None
    try:
        folder = start_program(session)
        notepad, windows = harness.launch_notepad(session)
        if not windows:
            fail("notepad did not show its window")
        text = show_menu_and_choose(session, folder, windows[0])
        print(f"notepad holds: {text}")
        print(f"screenshots: {MENU_SHOT} (the menu), {NOTEPAD_SHOT} (after the choice)")
    except harness.HarnessError as error:
        print(f"demo failed: {error}", file=sys.stderr)
        return 1
    finally:
        if notepad:
            notepad.kill()
        if folder:
            folder.cleanup()
        harness.stop_session()
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""Phrase-menu commands carried out by dist/Wordlark.exe under Wine: another
process sends the tray window a command for the window in front (notepad), and
the phrase or history item arrives there, pasted or typed (a long text whole),
or its command line runs; none of it enters the clipboard history. Prompts and
the caret of a chosen phrase are checked through the menu itself (test_daily_use,
test_phrase_menu)."""

import datetime
import shutil
import subprocess

import harness
from test_library_and_history import phrase_xml

SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
COUNT = "Event OnClipboardHistoryChanged, Count="
PHRASES_LOADED = "Phrases loaded from ["
SETTINGS_REREAD = "Detected event: PhraseEditor closed"
EDITOR_ENDED_EVENT = "Local\\Wordlark_Event_PhraseEditorAgentCoop_Ended"
TYPED = "DoPrint: "
PASTE, TYPE = 1, 0
FIRST_HISTORY_ITEM = 2000

LONG = "".join(f"{i:04d}abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"[:40]
               for i in range(25))
assert len(LONG) == 1000

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class InsertionTest(harness.ProgramCase):

    def start(self, phrases, paste_method):
        """The program with `phrases` ([(MenuName, Cmd, DataType)]) as its only
        library; returns their command ids, in the order given."""
        folder = self.program.path / "UserPhrases"
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir()
        # Ids follow the folder's listing, which Wine gives sorted by name.
        for number, (name, cmd, data_type) in enumerate(phrases):
            (folder / f"p{number:02d}.wordlark").write_bytes(
                phrase_xml(name, cmd, data_type=data_type))
        self.set_paste_method(paste_method, reread=False)
        self.start_instance()
        self.wait_line(SPY_LISTENING)
        loaded = self.wait_line(PHRASES_LOADED)
        self.assertIn(f": {len(phrases)} nodes", loaded)
        return list(range(1, len(phrases) + 1))

    def set_paste_method(self, method, reread=True):
        self.program.write_settings({"WriteLog": 1, "TextPasteMethod_v150": method})
        if reread:
            rereads = self.count(SETTINGS_REREAD)
            self.session.write_clipboard("signal", EDITOR_ENDED_EVENT)
            self.wait_count(SETTINGS_REREAD, rereads + 1)

    def command(self, command, argument="fg"):
        """Sends the command and waits until the tray window has carried it out."""
        self.assertEqual(self.session.write_clipboard("command", str(command), argument)
                         .split(" at ")[0], "command written")

    def command_in_background(self, command):
        # No target window: the one in front may be a console on its way out.
        process = subprocess.Popen(["wine", str(harness.clip_writer()), "command", str(command),
                                    "0"], env=self.session.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.kill)
        return process

    def notepad_text(self):
        line = self.session.write_clipboard("edit", "Notepad")
        self.assertTrue(line.startswith("edit [") and line.endswith("]"), line)
        return line[len("edit ["):-1].replace("\r\n", "\n")

    def assert_notepad_shows(self, expected, timeout=20):
        shown = harness.wait_until(lambda: self.notepad_text() == expected, timeout, 0.3)
        self.assertTrue(shown, f"notepad shows {self.notepad_text()!r}, not {expected!r}")

    def clear_notepad(self, notepad):
        self.session.keys("ctrl+a", "BackSpace", window=notepad)
        self.assert_notepad_shows("")

    def wait_window(self, name_regex):
        found = harness.wait_until(lambda: next(iter(self.session.windows(name_regex)), None), 20)
        self.assertIsNotNone(found, f"no window named {name_regex!r}")
        return found

    def test_phrases_and_history_items_reach_notepad_pasted_and_typed(self):
        caret, long_text = self.start([
            ("Caret", "left%CURSOR_POS%right", "TEXT"),
            ("Long", LONG, "TEXT")], PASTE)
        self.session.write_clipboard("text", "older item")
        self.wait_line(COUNT + "1")
        self.session.write_clipboard("text", "newer item")
        self.wait_line(COUNT + "2")
        notepad = self.start_notepad()
        self.session.focus(notepad)

        def inserted(command, expected):
            self.clear_notepad(notepad)
            self.command(command)
            self.assert_notepad_shows(expected)

        inserted(caret, "leftright")
        self.session.type_text(notepad, "|")
        self.assert_notepad_shows("left|right")
        # 2000 is the newest item.
        inserted(FIRST_HISTORY_ITEM + 1, "older item")
        self.assertEqual(self.count(TYPED), 0, "pasting typed")

        self.set_paste_method(TYPE)
        inserted(long_text, LONG)
        self.assertEqual(self.count(TYPED), 1, "typing pasted")

        # Nothing inserted entered the history (a chosen history item only
        # moves to the top): the next copy is its third item.
        self.session.write_clipboard("text", "copied at the end")
        self.wait_line(COUNT + "3")
        counts = [int(line.split(COUNT, 1)[1]) for line in self.lines_with(COUNT)]
        self.assertEqual(counts[-1], 3, self.program.read_log())
        self.assertEqual(max(counts[:-1]), 2, self.program.read_log())

    def test_exec_phrases_run_their_command_line_or_say_why_not(self):
        shutil.copy(harness.clip_writer(), self.program.path / "wlk_clip_writer.exe")
        args_file = self.program.path / "exec_args.txt"
        win = self.program.win_path
        # The shell opens the expanded command line as one file: a batch file
        # named by the day of the month, which records the name it was run by.
        days = {f"{d.day:02d}" for d in (datetime.date.today(),
                                         datetime.date.today() + datetime.timedelta(days=1))}
        for day in days:
            (self.program.path / f"exec_{day}.bat").write_text(
                f'@"{win}\\wlk_clip_writer.exe" args "{win}\\exec_args.txt" %~nx0\r\n')
        run, missing = self.start([
            ("Run", f"{win}\\exec_%DAY2%.bat", "EXEC"),
            ("Missing", f"{win}\\no_such_program.exe", "EXEC")], PASTE)

        self.command(run, "0")
        written = harness.wait_until(lambda: args_file.is_file() and args_file.read_text(), 20)
        self.assertIn(written, {f"exec_{day}.bat\n" for day in days})

        sending = self.command_in_background(missing)
        box = self.wait_window("^Wordlark$")
        # The writer's output has its line breaks widened once more.
        report = self.session.write_clipboard("dialog", "Wordlark").replace("\r\n", "\n")
        self.assertIn(f"\n\nCommand: {win}\\no_such_program.exe\n\n"
                      f"Source Command: {win}\\no_such_program.exe]", report)
        self.session.keys("Return", window=box)
        if not harness.wait_until(lambda: not self.session.windows("^Wordlark$"), 10, 0.3):
            # Without a window manager the key can reach another window first:
            # the box is closed as its close button would.
            self.session.write_clipboard("post", "0x10", "0", "0", "#32770")
        self.assertEqual(sending.wait(30), 0)

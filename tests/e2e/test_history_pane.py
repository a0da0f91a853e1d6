"""The clipboard history pane of dist/Wordlark.exe under Wine: opened from the
tray window's command, it lists every item, takes a new copy at once, filters
as the user types, puts a row back into notepad with Return without a new
history item, saves an UPPERCASE row to disk, deletes and undoes, and keeps its
place in Settings.ini."""

import re

import harness

SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
COUNT = "Event OnClipboardHistoryChanged, Count="
PANE_CLASS = "WordlarkFloatPane_5C2E9A41"
PANE_TITLE = "Wordlark : Clipboard History"
WM_COMMAND = "0x111"
CMD_PANE = "32792"
CMD_UPPERCASE = "32799"
CMD_DELETE = "32796"
CMD_UNDO = "32838"
CMD_CLOSE = "57665"
CMD_CLEAR = "32789"
CMD_KEEP = "32786"
PANE_LINE = re.compile(r"pane (\d) (-?\d+) (-?\d+) (\d+) (\d+) rows (-?\d+) \[(.*)\]")

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class HistoryPaneTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        # A copy left on the clipboard would be taken by the next start.
        self.addCleanup(self.session.write_clipboard, "empty")
        self.session.write_clipboard("empty")

    def start(self):
        self.program.write_settings({"WriteLog": 1})
        self.instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        self.notepad_process, windows = harness.launch_notepad(self.session)
        self.addCleanup(self.notepad_process.kill)
        self.assertTrue(windows, "notepad did not show its window")
        self.notepad = windows[0]

    def kill_notepad(self):
        self.notepad_process.kill()
        harness.wait_until(lambda: self.notepad not in self.session.windows("Notepad"), 10)

    def copy(self, text):
        counted = self.count(COUNT)
        self.session.write_clipboard("text", text)
        self.wait_count(COUNT, counted + 1)

    def post(self, command, window_class=""):
        args = ["post", WM_COMMAND, command, "0"] + ([window_class] if window_class else [])
        self.assertTrue(self.session.write_clipboard(*args).startswith("post written"))

    def pane(self):
        """(shown, x, y, width, height, rows, caption) of the pane, None without one."""
        match = PANE_LINE.match(self.session.write_clipboard("pane"))
        return None if match is None else (*map(int, match.groups()[:6]), match.group(7))

    def wait_rows(self, rows):
        got = harness.wait_until(lambda: (self.pane() or (0,) * 6)[5] == rows, 20, 0.2)
        self.assertTrue(got, f"the pane does not list {rows} rows: {self.pane()}")

    def notepad_text(self):
        return self.session.edit_text("Notepad")

    def saved_texts(self):
        """The UTF-16 texts of the history's data files on disk."""
        folder = self.program.path / "ClipboardHistory"
        texts = []
        for path in folder.glob("*.*"):
            data = path.read_bytes()
            if path.suffix != ".info" and len(data) % 2 == 0:
                texts.append(data.decode("utf-16-le", "replace"))
        return texts

    def test_lists_filters_inserts_transforms_and_keeps_its_place(self):
        self.start()
        for text in ("alpha one", "beta two", "gamma three"):
            self.copy(text)
        self.session.focus(self.notepad)  # the window the pane inserts into

        self.post(CMD_PANE)
        self.wait_rows(3)
        self.assertEqual(self.pane()[6], PANE_TITLE)
        self.copy("delta four")
        self.wait_rows(4)
        pane_window = next(iter(self.session.windows(PANE_TITLE)))
        self.session.screenshot("history_pane.png")

        self.session.type_text(pane_window, "TWO")
        self.wait_rows(1)
        self.session.keys("Escape", window=pane_window)
        self.wait_rows(4)

        # Return in the search field puts the first row shown into notepad.
        counted = self.count(COUNT)
        self.session.type_text(pane_window, "beta")
        self.wait_rows(1)
        self.session.keys("Return")
        self.assertTrue(harness.wait_until(lambda: self.notepad_text() == "beta two", 20, 0.3),
                        f"notepad shows {self.notepad_text()!r}; log:\n" + self.program.read_log())
        self.assertEqual(self.count("Cannot activate other window from float pane"), 0)
        self.assertFalse(any(COUNT + str(n) in self.program.read_log() for n in (5, 6)),
                         "the pane's own copy entered the history")

        # The newest item now is "beta two": UPPERCASE it and find it on disk.
        self.post(CMD_PANE)
        self.session.keys("Escape", window=next(iter(self.session.windows(PANE_TITLE))))
        self.wait_rows(4)
        self.post(CMD_UPPERCASE, PANE_CLASS)
        self.assertTrue(harness.wait_until(
            lambda: any("BETA TWO" in text for text in self.saved_texts()), 20, 0.3),
            f"no upper-cased item on disk: {self.saved_texts()}")

        self.post(CMD_DELETE, PANE_CLASS)
        self.wait_rows(3)
        self.post(CMD_UNDO, PANE_CLASS)
        self.wait_rows(4)

        _, x, y, *_ = self.pane()
        self.post(CMD_CLOSE, PANE_CLASS)
        self.assertTrue(harness.wait_until(lambda: self.pane() is None, 20, 0.2))
        place = self.program.read_ini("Settings.ini").get("Settings_Agent", {})
        self.assertEqual((place.get("FloatPaneRect_TOPLEFT_x"), place.get("FloatPaneRect_TOPLEFT_y")),
                         (str(x), str(y)))

    def test_empty_cleared_and_unwatched_histories_and_a_closed_target(self):
        self.start()
        self.post(CMD_PANE)
        self.wait_rows(0)
        pane_window = next(iter(self.session.windows(PANE_TITLE)))
        self.session.type_text(pane_window, "x")
        self.session.keys("Return", "Escape")  # no row: nothing to insert

        self.copy("one")
        self.copy("two")
        self.wait_rows(2)
        self.post(CMD_CLEAR)
        self.wait_rows(0)
        self.copy("three")
        self.wait_rows(1)
        # Keep off: the watcher goes, the items it recorded stay listed.
        self.post(CMD_KEEP)
        self.assertTrue(harness.wait_until(
            lambda: self.program.setting("ClipboardHistory") == "0", 20, 0.2))
        self.post(CMD_PANE)
        self.wait_rows(1)

        # The window worked in before is gone when the row is put back.
        self.session.focus(self.notepad)
        self.post(CMD_PANE)
        harness.wait_until(lambda: self.pane()[0] == 1, 20)
        self.kill_notepad()
        self.session.keys("Escape", "Return", window=next(iter(self.session.windows(PANE_TITLE))))
        self.wait_line("Cannot activate other window from float pane")
        self.assertEqual(self.pane()[5], 1)
        self.exit_instance(self.instance)


if __name__ == "__main__":
    harness.unittest.main()

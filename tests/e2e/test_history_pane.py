"""The clipboard history pane of dist/Wordlark.exe under Wine: opened from the
tray window's command, it lists every item, takes a new copy at once, filters
as the user types, puts a row back into notepad with Return without a new
history item, saves an UPPERCASE row to disk, deletes and undoes, folds away
while another program has the focus, and keeps its place in Settings.ini. (Its
place brought back onto the screen, the rows' tooltips, clearing and a target
gone meanwhile are the pane model's and the insertion tests'.)"""

import collections
import re

import harness
from harness import COUNT, SPY_LISTENING

PANE_CLASS = "WordlarkFloatPane_5C2E9A41"
PANE_TITLE = "Wordlark : Clipboard History"
WM_COMMAND = "0x111"
CMD_PANE = "32792"
CMD_UPPERCASE = "32799"
CMD_DELETE = "32796"
CMD_UNDO = "32838"
CMD_CLOSE = "57665"
PANE_LINE = re.compile(r"pane (\d) (-?\d+) (-?\d+) (\d+) (\d+) rows (-?\d+) "
                       r"list (-?\d+) (-?\d+) (\d+) (\d+) \[(.*)\]")
Pane = collections.namedtuple("Pane", "shown x y width height rows list caption")


class HistoryPaneTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        # A copy left on the clipboard would be taken by the next start.
        self.addCleanup(self.session.write_clipboard, "empty")
        self.session.write_clipboard("empty")

    def post(self, command, window_class=""):
        args = ["post", WM_COMMAND, command, "0"] + ([window_class] if window_class else [])
        self.assertTrue(self.session.write_clipboard(*args).startswith("post written"))

    def pane(self):
        """The pane as a Pane, None without one."""
        match = PANE_LINE.match(self.session.write_clipboard("pane"))
        if match is None:
            return None
        numbers = list(map(int, match.groups()[:10]))
        return Pane(*numbers[:6], tuple(numbers[6:]), match.group(11))

    def wait_rows(self, rows):
        got = harness.wait_until(lambda: getattr(self.pane(), "rows", None) == rows, 20, 0.2)
        self.assertTrue(got, f"the pane does not list {rows} rows: {self.pane()}")

    def pane_window(self):
        return next(iter(self.session.windows(PANE_TITLE)))

    def saved_texts(self):
        """The UTF-16 texts of the history's data files on disk."""
        folder = self.program.path / "ClipboardHistory"
        texts = []
        for path in folder.glob("*.*"):
            data = path.read_bytes()
            if path.suffix != ".info" and len(data) % 2 == 0:
                texts.append(data.decode("utf-16-le", "replace"))
        return texts

    def test_lists_filters_inserts_transforms_folds_and_keeps_its_place(self):
        self.program.write_settings({"WriteLog": 1})
        instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        notepad = self.start_notepad()
        for text in ("alpha one", "beta two", "gamma three"):
            self.copy(text)
        self.session.focus(notepad)  # the window the pane inserts into

        self.post(CMD_PANE)
        self.wait_rows(3)
        self.assertEqual(self.pane().caption, PANE_TITLE)
        self.copy("delta four")
        self.wait_rows(4)
        pane_window = self.pane_window()
        self.session.screenshot("history_pane.png")

        self.session.type_text(pane_window, "TWO")
        self.wait_rows(1)
        self.session.keys("Escape", window=pane_window)
        self.wait_rows(4)

        # Return in the search field puts the first row shown into notepad.
        self.session.type_text(pane_window, "beta")
        self.wait_rows(1)
        self.session.keys("Return")
        self.assert_notepad_shows("beta two")
        self.assertEqual(self.count("Cannot activate other window from float pane"), 0)
        self.assertFalse(any(COUNT + str(n) in self.program.read_log() for n in (5, 6)),
                         "the pane's own copy entered the history")

        # The newest item now is "beta two": UPPERCASE it and find it on disk.
        self.post(CMD_PANE)
        self.session.keys("Escape", window=self.pane_window())
        self.wait_rows(4)
        self.post(CMD_UPPERCASE, PANE_CLASS)
        self.assertTrue(harness.wait_until(
            lambda: any("BETA TWO" in text for text in self.saved_texts()), 20, 0.3),
            f"no upper-cased item on disk: {self.saved_texts()}")

        self.post(CMD_DELETE, PANE_CLASS)
        self.wait_rows(3)
        self.post(CMD_UNDO, PANE_CLASS)
        self.wait_rows(4)

        # Folded when another program takes the focus; the mouse over its
        # toolbar opens it for a while.
        pane = self.pane()
        x, y, _, height = self.session.windows("Notepad")[notepad]
        self.session.click(x + 50, y + height // 2)
        harness.wait_until(lambda: self.pane().height < pane.height, 20, 0.2)
        folded = self.pane()
        self.assertLess(folded.height, pane.height // 2)
        self.session.move_mouse(folded.x + folded.width // 2, folded.y + folded.height - 10)
        self.assertTrue(harness.wait_until(lambda: self.pane().height == pane.height, 20, 0.2))
        self.session.move_mouse(0, 0)
        self.assertTrue(harness.wait_until(lambda: self.pane().height == folded.height, 20, 0.2))

        self.post(CMD_CLOSE, PANE_CLASS)
        self.assertTrue(harness.wait_until(lambda: self.pane() is None, 20, 0.2))
        place = self.program.read_ini("Settings.ini").get("Settings_Agent", {})
        self.assertEqual((place.get("FloatPaneRect_TOPLEFT_x"), place.get("FloatPaneRect_TOPLEFT_y")),
                         (str(pane.x), str(pane.y)))
        self.exit_instance(instance)

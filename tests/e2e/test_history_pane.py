"""The clipboard history pane of dist/Wordlark.exe under Wine: opened from the
tray window's command, it lists every item, takes a new copy at once, filters
as the user types, puts a row back into notepad with Return without a new
history item, saves an UPPERCASE row to disk, deletes and undoes, and keeps its
place in Settings.ini."""

import collections
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
WM_APP_TRAY_ICON, WM_LBUTTONUP, WM_CANCELMODE = "0x8002", "514", "0x1F"
PANE_LINE = re.compile(r"pane (\d) (-?\d+) (-?\d+) (\d+) (\d+) rows (-?\d+) "
                       r"list (-?\d+) (-?\d+) (\d+) (\d+) \[(.*)\]")
Pane = collections.namedtuple("Pane", "shown x y width height rows list caption")

HUGE_CHARS = 8 * 1024 * 1024 - 2  # 16 MiB on disk with the byte-order mark and the NUL


def html_format(fragment):
    """An "HTML Format" block with its offsets, NUL-terminated."""
    head = "Version:0.9\r\nStartHTML:{:010d}\r\nEndHTML:{:010d}\r\n" \
           "StartFragment:{:010d}\r\nEndFragment:{:010d}\r\n"
    start = len(head.format(0, 0, 0, 0))
    before, after = "<html><body><!--StartFragment-->", "<!--EndFragment--></body></html>"
    end = start + len(before) + len(fragment) + len(after)
    offsets = (start, end, start + len(before), start + len(before) + len(fragment))
    return (head.format(*offsets) + before + fragment + after).encode() + b"\0"


def one_bit_bmp(width, height):
    """A black-and-white BMP file striped every eight pixels."""
    stride = (width + 31) // 32 * 4
    bits = bytes([0xFF, 0x00]) * (stride // 2) * height
    header = b"BM" + (62 + len(bits)).to_bytes(4, "little") + bytes(4) + (62).to_bytes(4, "little")
    info = b"".join(v.to_bytes(n, "little") for v, n in (
        (40, 4), (width, 4), (height, 4), (1, 2), (1, 2), (0, 4), (len(bits), 4),
        (2835, 4), (2835, 4), (2, 4), (0, 4)))
    return header + info + bytes(4) + b"\xff\xff\xff\0" + bits


def write_history(folder, notes):
    """A history folder as the program leaves it: notes small texts, then one
    16 MiB text, an item of HTML only and a picture of 8000 x 8000."""
    folder.mkdir()
    files = [(f"Unicode_clipboard_history{n}.txt", f"note {n:05d}") for n in range(1, notes + 1)]
    files += [("Unicode_clipboard_history0.txt", "huge " + "x" * (HUGE_CHARS - 5)),
              ("clipboard_history1.html", html_format("<p>Quarterly <b>webpage</b> figures</p>")),
              ("clipboard_history1.bmp", one_bit_bmp(8000, 8000))]
    for n, (name, data) in enumerate(files):
        if isinstance(data, str):
            data = b"\xff\xfe" + (data + "\0").encode("utf-16-le")
        (folder / name).write_bytes(data)
        (folder / f"wordlark_cb{n + 1}.info").write_bytes(
            f"[Files]\r\nProtected=0\r\nFile0={name}\r\n".encode())


setUpModule = harness.start_session
tearDownModule = harness.stop_session


class HistoryPaneTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        # A copy left on the clipboard would be taken by the next start.
        self.addCleanup(self.session.write_clipboard, "empty")
        self.session.write_clipboard("empty")

    def start(self, places=None, **settings):
        self.program.write_settings({"WriteLog": 1, **settings}, places)
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

    def post(self, command, window_class="", message=WM_COMMAND, lparam="0"):
        args = ["post", message, command, lparam] + ([window_class] if window_class else [])
        self.assertTrue(self.session.write_clipboard(*args).startswith("post written"))

    def click_tray_icon(self):
        """Opens the tray menu as a click on the icon does, and closes it."""
        closed = self.count("bPOPUP=0")
        self.post("0", message=WM_APP_TRAY_ICON, lparam=WM_LBUTTONUP)
        self.wait_count("CWLKTrayWnd::OnInitMenuPopup", closed + 1)
        self.post("0", message=WM_CANCELMODE)  # the menu ends without a command
        self.wait_count("bPOPUP=0", closed + 1)

    def pane(self):
        """The pane as a Pane, None without one."""
        match = PANE_LINE.match(self.session.write_clipboard("pane"))
        if match is None:
            return None
        numbers = list(map(int, match.groups()[:10]))
        return Pane(*numbers[:6], tuple(numbers[6:]), match.group(11))

    def wait_rows(self, rows, timeout=20):
        got = harness.wait_until(lambda: getattr(self.pane(), "rows", None) == rows, timeout, 0.2)
        self.assertTrue(got, f"the pane does not list {rows} rows: {self.pane()}")

    def pane_window(self):
        return next(iter(self.session.windows(PANE_TITLE)))

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

        pane = self.pane()
        self.post(CMD_CLOSE, PANE_CLASS)
        self.assertTrue(harness.wait_until(lambda: self.pane() is None, 20, 0.2))
        place = self.program.read_ini("Settings.ini").get("Settings_Agent", {})
        self.assertEqual((place.get("FloatPaneRect_TOPLEFT_x"), place.get("FloatPaneRect_TOPLEFT_y")),
                         (str(pane.x), str(pane.y)))

    def test_empty_cleared_and_unwatched_histories_and_a_closed_target(self):
        self.start()
        self.post(CMD_PANE)
        self.wait_rows(0)
        self.session.type_text(self.pane_window(), "x")
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
        harness.wait_until(lambda: self.pane().shown, 20)
        self.kill_notepad()
        self.session.keys("Escape", "Return", window=self.pane_window())
        self.wait_line("Cannot activate other window from float pane")
        self.assertEqual(self.pane().rows, 1)
        self.exit_instance(self.instance)

    def test_ten_thousand_items_huge_ones_and_a_pane_off_the_screen(self):
        write_history(self.program.path / "ClipboardHistory", 9997)
        self.start(places={"FloatPaneRect_TOPLEFT_x": 5000, "FloatPaneRect_TOPLEFT_y": -40},
                   ClipboardHistoryMax=10000)
        self.post(CMD_PANE)
        self.wait_rows(10000, timeout=180)

        # The pane opens where it was left, beyond the screen's edges; the tray
        # menu brings it back.
        self.click_tray_icon()
        line = self.program.wait_for_log("Correct pos float pane from menu updating")
        self.assertIsNotNone(line, "no correction; log:\n" + self.program.read_log())
        self.assertEqual(self.count("Float pane: right large SM_SXSCREEN"), 1)
        self.assertEqual(self.count("Float pane: top < 0"), 1)
        screen_width = int(re.search(r"SM_CXVIRTUALSCREEN=(\d+)", line).group(1))
        self.assertIn(" left=5000 top=-40 ", line)
        pane = self.pane()
        self.assertEqual(pane.x, screen_width - pane.width - 5)
        self.click_tray_icon()
        self.wait_line("Well,well, float pane pos is correctly")

        # A click on the caption brings the keys back to the search field.
        self.session.click(pane.x + 40, pane.y + 10)
        window = self.pane_window()
        for query, tip in (("huge", f"Text Length: {HUGE_CHARS}"),
                           ("webpage", "Data Format: HTML Format | Text Length: 25 | Time: "),
                           ("bitmap", "Data Format: Bitmap | Time: ")):
            self.session.type_text(window, query)
            self.wait_rows(1)
            # The tooltip of the one row left, drawn for the item it shows.
            left, top, *_ = self.pane().list
            self.session.move_mouse(left + 60, top + 8)
            shown = harness.wait_until(lambda: tip in self.session.write_clipboard("tip"), 20, 0.3)
            self.assertTrue(shown, f"no tooltip with {tip!r} over {query!r}: "
                            + self.session.write_clipboard("tip"))
            self.session.move_mouse(0, 0)
            self.session.keys("Escape", window=window)
            self.wait_rows(10000)
        self.session.keys("Down", "End", window=window)  # the oldest rows drawn too

        # Collapsed when another program takes the focus; the mouse over its
        # toolbar opens it for a while.
        x, y, _, height = self.session.windows("Notepad")[self.notepad]
        self.session.click(x + 50, y + height // 2)
        harness.wait_until(lambda: self.pane().height < pane.height, 20, 0.2)
        collapsed = self.pane()
        self.assertLess(collapsed.height, pane.height // 2)
        self.session.move_mouse(collapsed.x + collapsed.width // 2,
                                collapsed.y + collapsed.height - 10)
        self.assertTrue(harness.wait_until(lambda: self.pane().height == pane.height, 20, 0.2))
        self.session.move_mouse(0, 0)
        self.assertTrue(harness.wait_until(
            lambda: self.pane().height == collapsed.height, 20, 0.2))
        self.exit_instance(self.instance)


if __name__ == "__main__":
    harness.unittest.main()

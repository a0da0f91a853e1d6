"""The clipboard history of dist/Wordlark.exe under Wine: copies made in notepad
and by another program are recorded on disk and counted; private and marked
ones are not; a recorded copy outlives a killed process."""

import configparser
import os
import signal
import time

import harness
from harness import COUNT, SPY_LISTENING

OWN_COPY = "My copy process detected"
HISTORY_LOADED = "History loaded: "
CHT_TEXT_UNICODE = 1
CHT_RTF = 2
KILL_AFTER_COPY = 1.0  # seconds: the item is written within a second


class ClipboardHistoryTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        # A copy left on the clipboard would be taken by the next start.
        self.addCleanup(self.session.write_clipboard, "empty")
        self.session.write_clipboard("empty")

    def start(self):
        self.program.write_settings({"WriteLog": 1})
        instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        return instance

    def items(self):
        """[(DataType, [bytes of each data file])] of the items on disk."""
        found = []
        for info in sorted((self.program.path / "ClipboardHistory").glob("wordlark_cb*.info")):
            try:
                keys = self.program.read_ini(f"ClipboardHistory/{info.name}")["Files"]
                files = [(info.parent / keys[f"File{i}"]).read_bytes()
                         for i in range(len(keys)) if f"File{i}" in keys]
                found.append((int(keys["DataType"]), files))
            except (configparser.Error, KeyError, ValueError, OSError):
                continue  # a save is writing it
        return found

    def wait_item(self, data_type, *needles):
        """The data files of the item of data_type on disk that hold every needle."""
        def match():
            return next((files for kind, files in self.items() if kind == data_type
                         and all(any(n in f for f in files) for n in needles)), None)
        files = harness.wait_until(match, 30)
        self.assertIsNotNone(files, f"no item of type {data_type} with {needles}: "
                             f"{self.items()}; log:\n" + self.program.read_log())
        return files

    def test_copies_recorded_counted_filtered_and_kept_through_a_kill(self):
        instance = self.start()
        typed = "Wordlark copies from notepad"
        self.session.type_text(self.start_notepad(), typed)
        self.session.keys("ctrl+a", "ctrl+c")
        self.wait_item(CHT_TEXT_UNICODE, typed.encode("utf-16-le"))
        self.wait_line(COUNT + "1")

        url = "https://example.org/wren/page.html"
        self.session.write_clipboard("web", "Wren on a page", url)
        files = self.wait_item(CHT_RTF, b"{\\rtf1", b"Wren on a page")
        self.assertTrue(any(b"SourceURL:" + url.encode() + b"\r\n" in f for f in files),
                        f"the page address is not kept: {files}")
        self.wait_line(COUNT + "2")

        for kind, text in (("private", "a private password"), ("marked", "a marked paste"),
                           ("text", "kept through a crash")):
            self.session.write_clipboard(kind, text)
        # The plain copy, made last, is the sign that the others were looked at.
        self.wait_line(COUNT + "3")
        time.sleep(KILL_AFTER_COPY)
        self.assertTrue(instance.alive(), "the program ended on the copies it passes over")
        os.kill(instance.process.pid, signal.SIGKILL)
        self.assertIsNotNone(instance.wait(20))
        self.assertEqual(self.count(OWN_COPY), 1, self.program.read_log())
        self.assertEqual(self.count(COUNT), 3, self.program.read_log())

        self.session.write_clipboard("empty")
        self.program.log_path.rename(self.program.path / "LogReport-killed.txt")
        instance = self.start()
        # The last copy before the kill is the third item.
        self.assertEqual(self.wait_line(HISTORY_LOADED).split(HISTORY_LOADED)[1], "3 items")
        self.exit_instance(instance)


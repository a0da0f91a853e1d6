"""The clipboard history of dist/Wordlark.exe under Wine: copies made in Wine's
notepad and by another program are recorded on disk and counted by the tray
window; private, marked and oversized copies are not; a recorded copy outlives
a killed process."""

import configparser
import os
import signal
import time

import harness

# Logged once the spy listens for changes (the listener method).
SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
COUNT = "Event OnClipboardHistoryChanged, Count="
OWN_COPY = "My copy process detected"
HISTORY_LOADED = "History loaded: "

CHT_TEXT_UNICODE = 1
CHT_RTF = 2
# The item is written within a second: the kill comes after that.
KILL_AFTER_COPY = 1.0

setUpModule = harness.start_session
tearDownModule = harness.stop_session


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
        folder = self.program.path / "ClipboardHistory"
        found = []
        for info in sorted(folder.glob("wordlark_cb*.info")):
            raw = info.read_bytes()
            text = harness._utf16_text(raw) if raw.startswith(harness.UTF16_BOM) else raw.decode(
                "latin-1")
            parser = configparser.RawConfigParser(strict=False)
            parser.optionxform = str
            try:
                parser.read_string(text.replace("\x00", ""))
                keys = dict(parser.items("Files"))
                files = [(folder / keys[f"File{i}"]).read_bytes()
                         for i in range(len(keys)) if f"File{i}" in keys]
                found.append((int(keys["DataType"]), files))
            except (configparser.Error, KeyError, ValueError, OSError):
                continue  # a save is writing it
        return found

    def wait_item(self, data_type, *needles):
        """The item on disk of data_type whose data files hold every needle (bytes)."""
        def match():
            for kind, files in self.items():
                if kind == data_type and all(any(n in f for f in files) for n in needles):
                    return files
            return None
        files = harness.wait_until(match, 30)
        self.assertIsNotNone(files, f"no item of type {data_type} with {needles}: "
                             f"{self.items()}; log:\n" + self.program.read_log())
        return files

    def test_copies_in_notepad_and_of_a_web_page_are_recorded_and_counted(self):
        instance = self.start()
        notepad = self.start_notepad()
        typed = "Wordlark copies from notepad"
        self.session.type_text(notepad, typed)
        self.session.keys("ctrl+a", "ctrl+c")
        self.wait_item(CHT_TEXT_UNICODE, typed.encode("utf-16-le"))
        self.wait_line(COUNT + "1")

        url = "https://example.org/wren/page.html"
        self.session.write_clipboard("web", "Wren on a page", url)
        files = self.wait_item(CHT_RTF, b"{\\rtf1", b"Wren on a page")
        self.assertTrue(any(b"SourceURL:" + url.encode() + b"\r\n" in f for f in files),
                        f"the page address is not kept: {files}")
        self.wait_line(COUNT + "2")
        self.assertEqual(len(self.items()), 2, self.items())
        self.exit_instance(instance)

    def test_private_marked_and_oversized_copies_are_not_recorded(self):
        instance = self.start()
        self.session.write_clipboard("private", "a private password")
        self.session.write_clipboard("marked", "a marked paste")
        self.session.write_clipboard("big", "64")
        self.session.write_clipboard("text", "a plain copy")
        # The plain copy, made last, is the sign that the others were looked at.
        self.wait_item(CHT_TEXT_UNICODE, "a plain copy".encode("utf-16-le"))
        self.wait_line(COUNT + "1")
        self.assertEqual(len(self.items()), 1, self.items())
        self.assertEqual(self.count(OWN_COPY), 1, self.program.read_log())
        self.assertEqual(self.count(COUNT), 1, self.program.read_log())
        self.assertTrue(instance.alive())
        self.exit_instance(instance)

    def test_a_copy_outlives_a_kill_soon_after_it(self):
        instance = self.start()
        self.session.write_clipboard("text", "kept through a crash")
        self.wait_line(COUNT + "1")
        time.sleep(KILL_AFTER_COPY)
        os.kill(instance.process.pid, signal.SIGKILL)
        self.assertIsNotNone(instance.wait(20))
        self.session.write_clipboard("empty")
        self.program.log_path.rename(self.program.path / "LogReport-killed.txt")

        instance = self.start()
        self.assertEqual(self.wait_line(HISTORY_LOADED).split(HISTORY_LOADED)[1], "1 items")
        self.wait_item(CHT_TEXT_UNICODE, "kept through a crash".encode("utf-16-le"))
        self.exit_instance(instance)


if __name__ == "__main__":
    harness.unittest.main()

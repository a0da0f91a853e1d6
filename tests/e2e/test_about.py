"""The About window of dist/Wordlark.exe under Wine: the versions it shows,
its copy button putting the environment report into the clipboard as the
program's own copy, and the problem report saved through the save dialog as
a ZIP that tests whole and holds the log, the settings and the report."""

import zipfile

import harness

TITLE = "Wordlark - About Wordlark"
SAVE_TITLE = "Save Problem Report"
WM_COMMAND = "0x111"
WM_CLOSE = "0x10"
CMD_ABOUT = "57664"
COPY_BUTTON = "1129"
SAVE_BUTTON = "1130"


class AboutTest(harness.ProgramCase):

    def open_about(self):
        self.session.write_clipboard("post", WM_COMMAND, CMD_ABOUT, "0")
        texts = harness.wait_until(lambda: self.session.dialog(TITLE), 30, 0.3)
        self.assertTrue(texts, "no About window; log:\n" + self.program.read_log())
        return texts

    def press(self, button):
        self.session.write_clipboard("post", WM_COMMAND, button, "0", "#32770")

    def test_versions_the_copied_report_and_a_saved_problem_report(self):
        version = harness.program_version()
        self.program.write_settings({"WriteLog": 1, "SoundOnEventsV094": 0,
                                     "DirectoryForSave": "C:\\Clients\\Acme"})
        instance = self.start_instance()
        texts = self.open_about()
        self.session.screenshot("about.png")
        self.assertIn(f"Wordlark  Version {version}", texts)
        self.assertIn(f"Hook component (Wordlark.dll)|{version}|", texts)
        self.assertIn(f"Phrase editor (WordlarkEditor.exe)|{version}|", texts)
        self.assertIn(f"|{self.program.win_path}\\|", texts)
        self.assertIn(f"|{self.program.win_path}\\UserPhrases\\|", texts)
        # A second About brings the same window forward.
        self.session.write_clipboard("post", WM_COMMAND, CMD_ABOUT, "0")
        self.press(COPY_BUTTON)
        self.assertTrue(harness.wait_until(
            lambda: "Copied into the clipboard" in (self.session.dialog(TITLE) or ""), 20, 0.3))
        # Both posts reached the one thread in order: the second About came first.
        self.assertEqual(len(self.session.windows("^" + TITLE + "$")), 1)
        report = self.session.clipboard_text().replace("\r", "")
        lines = report.split("\n")
        self.assertEqual(lines[0], f"Wordlark {version}")
        self.assertIn(f"Hook component (Wordlark.dll): {version}", lines)
        self.assertIn(f"Settings file: {self.program.win_path}\\Settings.ini", lines)
        self.assertIn(f"Phrases folder: {self.program.win_path}\\UserPhrases\\", lines)
        self.assertIn("WriteLog=1", lines)
        self.assertNotIn("Acme", report)
        # The report was the program's own copy: the next copy is the first in the history.
        self.session.write_clipboard("text", "copied after the report")
        self.wait_line("Event OnClipboardHistoryChanged, Count=1")

        # The save dialog, answered as a user would: a file name and Enter.
        target = self.program.path / "report.zip"
        self.press(SAVE_BUTTON)
        dialogs = harness.wait_until(lambda: self.session.windows("^" + SAVE_TITLE + "$"), 30, 0.3)
        self.assertTrue(dialogs, "no save dialog")
        self.session.keys("ctrl+a", window=next(iter(dialogs)))
        self.session.type_text(next(iter(dialogs)), self.program.win_path + "\\report.zip")
        self.session.keys("Return")
        self.assertTrue(harness.wait_until(target.exists, 30, 0.3), "no report written")
        self.wait_line("Problem report saved to " + self.program.win_path + "\\report.zip")
        with zipfile.ZipFile(target) as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(sorted(archive.namelist()),
                             ["Environment.txt", "LogReport.txt", "Settings.ini"])
            self.assertTrue(archive.read("LogReport.txt").startswith(harness.UTF16_BOM))
            environment = archive.read("Environment.txt").decode("utf-8-sig")
            self.assertTrue(environment.startswith(f"Wordlark {version}\r\n"))
        self.session.write_clipboard("post", WM_CLOSE, "0", "0", "#32770")
        self.assertTrue(harness.wait_until(lambda: not self.session.dialog(TITLE), 20, 0.3))
        self.exit_instance(instance)


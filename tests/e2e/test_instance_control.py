"""Start-up, command-line keys (after the program's path, as Windows hands them
over), the running instance reached through named events from other processes,
exit codes, the Run key and the log file, in real runs of dist/Wordlark.exe
under Wine; messages other programs post with pointers of their own are
signals at most. Which start sets which event is the start-up tests' matter."""

import datetime
import re

import harness
from harness import END_LINE, EXIT_OTHER_INSTANCE, SPY_LISTENING, START_BANNER, START_TIMEOUT

STAMP = r"\d\d/\d\d/\d\d \d\d:\d\d:\d\d"
STAMP_FORMAT = "%m/%d/%y %H:%M:%S"
WAITING = "Starting waiting for automode..."
STARTUP_NOTE = "{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}"
CAPTION = str(0x8000 + 7)


def stamp_of(line):
    match = re.search(rf"\[({STAMP})\]", line)
    return datetime.datetime.strptime(match.group(1), STAMP_FORMAT) if match else None


class InstanceControlTest(harness.ProgramCase):

    def assert_log_format(self):
        """One BOM, the project's version in the banner, the end line last.
        (The lines' stamps and breaks are the start-up and log tests' matter.)"""
        data = self.program.log_bytes()
        self.assertEqual(data[:2], harness.UTF16_BOM)
        self.assertNotIn(harness.UTF16_BOM, data[2:], "a second byte order mark inside the log")
        lines = [line for line in self.program.log_lines() if line.strip()]
        self.assertTrue(any(line.startswith(f"===Start Wordlark {harness.program_version()} on ")
                            for line in lines), "no start banner with the project's version")
        self.assertEqual([line for line in lines if END_LINE in line], lines[-1:])

    def test_logon_start_waits_out_its_delay_then_help_and_ua_are_answered(self):
        # No Settings.ini: no log; with no instance running, /exit ends with 1.
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assertIsNone(self.program.log_bytes(), "log written with WriteLog off")

        self.session.add_run_value(self.program.exe + " /autoload")
        self.addCleanup(self.session.remove_test_run_value)
        self.program.write_settings({"WriteLog": 1, "DelayAutoLoadSeconds_NextRelease": 3})
        logon = self.program.start(["/autoload"])
        waiting = self.wait_line(WAITING, START_TIMEOUT)
        expired = self.wait_line("INFO: automode expired WAIT_TIMEOUT")
        # The program's own stamps, whole seconds: no pause of this test shortens them.
        self.assertGreaterEqual((stamp_of(expired) - stamp_of(waiting)).total_seconds(), 2,
                                "the delay was not waited out")
        self.wait_line(START_BANNER)
        self.wait_line(SPY_LISTENING)

        # Messages posted with a pointer of the sender's are never followed.
        for message in (STARTUP_NOTE, CAPTION):
            self.assertTrue(self.session.write_clipboard("post", message, "0", "16")
                            .startswith("post written"))
        self.wait_line("Start-up note message ignored: lParam=16")
        self.wait_line("WM_APP+7: no caption is written to lParam=16")
        self.assertTrue(logon.alive(), "log:\n" + self.program.read_log())

        # The key help is a message box, nine keys each on a line of its own:
        # a tall box, which the start waits for.
        shown = self.program.start(["/?"])
        boxes = harness.wait_until(lambda: self.session.windows("^Wordlark$"), START_TIMEOUT)
        self.assertEqual(len(boxes), 1, "no key help box on the screen")
        box, (_, _, width, height) = boxes.popitem()
        self.assertGreater(height, 200)
        self.assertGreater(width, 250)
        self.assertTrue(shown.alive(), "the program did not wait for the box")
        self.session.keys("Return", window=box)
        self.assertEqual(shown.wait(20), 0)

        # /ua removes "Start with Windows" and ends the running instance.
        self.assertEqual(self.program.run(["/ua"]), EXIT_OTHER_INSTANCE)
        self.assertIsNone(self.session.query_run_value())
        self.assert_ends_with(logon, 0)
        self.assert_log_format()


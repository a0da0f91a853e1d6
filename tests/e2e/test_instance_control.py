"""Start-up, command-line keys (after the program's path, as Windows hands them
over), the running instance reached through named events from other processes,
exit codes, the Run key and the log file, in real runs of dist/Wordlark.exe
under Wine. Which start sets which event is the start-up tests' matter."""

import datetime
import re
import unittest

import harness
from harness import END_LINE, EXIT_OTHER_INSTANCE, START_BANNER, START_TIMEOUT

STAMP = r"\d\d/\d\d/\d\d \d\d:\d\d:\d\d"
STAMP_FORMAT = "%m/%d/%y %H:%M:%S"
WAITING = "Starting waiting for automode..."

setUpModule = harness.start_session
tearDownModule = harness.stop_session


def stamp_of(line):
    match = re.search(rf"\[({STAMP})\]", line)
    return datetime.datetime.strptime(match.group(1), STAMP_FORMAT) if match else None


class InstanceControlTest(harness.ProgramCase):

    def assert_log_format(self):
        """One BOM, the project's version in the banner, the end line last, stamped now."""
        data = self.program.log_bytes()
        self.assertEqual(data[:2], harness.UTF16_BOM)
        self.assertNotIn(harness.UTF16_BOM, data[2:], "a second byte order mark inside the log")
        lines = self.program.log_lines()
        self.assertTrue(any(line.startswith(f"===Start Wordlark {harness.program_version()} on ")
                            for line in lines), "no start banner with the project's version")
        end = [line for line in lines if END_LINE in line]
        self.assertEqual(len(end), 1, lines)
        self.assertEqual(end[0], [line for line in lines if line.strip()][-1])
        match = re.fullmatch(rf"EXE_Agent: \[({STAMP})\] {END_LINE} ({STAMP})", end[0])
        self.assertIsNotNone(match, end[0])
        # month/day/two-digit year, 24-hour clock, in the local time of now.
        stamped = datetime.datetime.strptime(match.group(2), STAMP_FORMAT)
        self.assertLess(abs((datetime.datetime.now() - stamped).total_seconds()), 300)
        # Lines that the program breaks itself end in CR LF.
        self.assertIn(f"=== {match.group(2)}\r\n".encode("utf-16-le"), data)

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
        self.assertTrue(logon.alive())

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


if __name__ == "__main__":
    unittest.main()

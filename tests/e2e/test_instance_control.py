"""Start-up, command-line keys, the one running instance and its log, each a
real run of dist/Wordlark.exe under Wine."""

import datetime
import re
import time
import unittest

import harness

START_BANNER = "===Start Wordlark "
END_LINE = "===End Word Lark==="
STAMP = r"\d\d/\d\d/\d\d \d\d:\d\d:\d\d"

EXIT_OTHER_INSTANCE = 1
EXIT_AUTOMODE_RELEASED = 12

# Wine needs a few seconds for a process's first window.
START_TIMEOUT = 20


def setUpModule():
    harness.start_session()


def tearDownModule():
    harness.stop_session()


class InstanceControlTest(unittest.TestCase):

    def setUp(self):
        self.session = harness.session()
        self.program = harness.ProgramFolder(self.id())
        self.addCleanup(self.program.cleanup)

    def start_instance(self, args=()):
        """Starts the program and waits until it runs as the instance."""
        instance = self.program.start(args)
        banner = self.program.wait_for_log(START_BANNER, START_TIMEOUT)
        self.assertIsNotNone(banner, f"no start banner in the log (process alive: {instance.alive()}); "
                             "log:\n" + self.program.read_log())
        self.assertTrue(instance.alive(), "the instance ended after its start banner")
        return instance

    def assert_ends_with(self, instance, code, timeout=15):
        self.assertEqual(instance.wait(timeout), code,
                         "log:\n" + self.program.read_log())

    def test_exit_without_running_instance(self):
        # Without WriteLog the program must not create a log anywhere beside it.
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assertEqual(self.program.run(["-EXIT"]), EXIT_OTHER_INSTANCE)
        self.assertIsNone(self.program.log_bytes(), "log written with WriteLog off")
        # Neither start stayed behind as the running instance.
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)

    def test_second_start_is_refused_and_exit_ends_the_first(self):
        self.program.write_settings({"WriteLog": 1})
        first = self.start_instance()

        self.assertEqual(self.program.run([]), EXIT_OTHER_INSTANCE)
        self.assertIsNotNone(self.program.wait_for_log("Already works", 5),
                             "the running instance did not log the second start")
        self.assertTrue(first.alive(), "the first instance ended on a second start")

        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assert_ends_with(first, 0)
        last = [line for line in self.program.log_lines() if line.strip()][-1]
        self.assertIn(END_LINE, last)

    def test_exit_key_spellings(self):
        self.program.write_settings({"WriteLog": 1})
        first = self.start_instance()

        # A key counts only when white space or the end follows it: this is a
        # plain second start, not an exit request.
        self.assertEqual(self.program.run(["/exitnow"]), EXIT_OTHER_INSTANCE)
        self.assertIsNotNone(self.program.wait_for_log("Already works", 5))
        time.sleep(1)  # an exit request would end the instance within ~0.5 s
        self.assertTrue(first.alive(), "/exitnow was taken for /exit")

        # The dash form, in capitals, is the exit key too.
        self.assertEqual(self.program.run(["-EXIT"]), EXIT_OTHER_INSTANCE)
        self.assert_ends_with(first, 0)
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)

    def test_manual_start_releases_a_waiting_logon_start(self):
        self.program.write_settings({"WriteLog": 1, "DelayAutoLoadSeconds_NextRelease": 20})
        waiting = self.program.start(["/autoload"])
        self.assertIsNotNone(self.program.wait_for_log("Starting waiting for automode...",
                                                       START_TIMEOUT),
                             "log:\n" + self.program.read_log())

        self.assertEqual(self.program.run([]), EXIT_AUTOMODE_RELEASED)
        self.assertIsNotNone(self.program.wait_for_log("INFO: automode disabled WAIT_OBJECT_0", 3),
                             "log:\n" + self.program.read_log())
        # Released, the logon start goes on to become the running instance.
        self.assertIsNotNone(self.program.wait_for_log(START_BANNER, 10))
        self.assertTrue(waiting.alive())
        self.assertNotIn("WAIT_TIMEOUT", self.program.read_log())

        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assert_ends_with(waiting, 0)

    def test_logon_start_waits_out_its_delay(self):
        self.program.write_settings({"WriteLog": 1, "DelayAutoLoadSeconds_NextRelease": 3})
        waiting = self.program.start(["/autoload"])
        self.assertIsNotNone(self.program.wait_for_log("Starting waiting for automode...",
                                                       START_TIMEOUT))
        began = time.monotonic()
        self.assertIsNotNone(self.program.wait_for_log("INFO: automode expired WAIT_TIMEOUT", 10),
                             "log:\n" + self.program.read_log())
        waited = time.monotonic() - began
        self.assertGreater(waited, 2.0, "the delay was not waited out")
        self.assertIsNotNone(self.program.wait_for_log(START_BANNER, 10))
        self.assertTrue(waiting.alive())

    def test_log_file_format(self):
        version = harness.program_version()
        self.program.write_settings({"WriteLog": 1})
        first = self.start_instance()
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)
        self.assert_ends_with(first, 0)

        data = self.program.log_bytes()
        self.assertEqual(data[:2], b"\xff\xfe")
        self.assertNotIn(b"\xff\xfe", data[2:], "a second byte order mark inside the log")
        lines = self.program.log_lines()

        rule = lines.index("=============================")
        self.assertRegex(lines[rule - 2], rf"^TEMP PREFIX TEXT: \[{STAMP}\] $")
        self.assertEqual(lines[rule - 1], "")
        self.assertRegex(lines[rule + 1],
                         rf"^===Start Wordlark {re.escape(version)} on .+=== {STAMP}$")

        end = [line for line in lines if END_LINE in line]
        self.assertEqual(len(end), 1, lines)
        match = re.fullmatch(rf"EXE_Agent: \[({STAMP})\] {END_LINE} ({STAMP})", end[0])
        self.assertIsNotNone(match, end[0])
        # month/day/two-digit year, 24-hour clock, in the local time of now.
        stamped = datetime.datetime.strptime(match.group(2), "%m/%d/%y %H:%M:%S")
        self.assertLess(abs((datetime.datetime.now() - stamped).total_seconds()), 120)
        # Lines that the program breaks itself end in CR LF.
        self.assertIn(f"=== {match.group(2)}\r\n".encode("utf-16-le"), data)

    def test_ua_removes_start_with_windows(self):
        self.session.add_run_value(self.program.exe + " /autoload")
        self.assertEqual(self.session.query_run_value(), self.program.exe + " /autoload")

        self.assertEqual(self.program.run(["/ua"]), EXIT_OTHER_INSTANCE)
        self.assertIsNone(self.session.query_run_value())

    def test_key_help_shows_a_message_box(self):
        shown = self.program.start(["/?"])
        boxes = harness.wait_until(lambda: self.session.visible_windows("^Wordlark$"),
                                   START_TIMEOUT)
        self.assertEqual(len(boxes), 1, "no key help box on the screen")
        self.session.screenshot("key-help.png")
        # Nine keys, each on a line of its own, make a tall box.
        _, _, width, height = self.session.window_geometry(boxes[0])
        self.assertGreater(height, 200)
        self.assertGreater(width, 250)
        self.assertTrue(shown.alive(), "the program did not wait for the box")

        self.session.press_key(boxes[0], "Return")
        self.assertEqual(shown.wait(10), 0)
        # The help did not start a running instance.
        self.assertEqual(self.program.run(["/exit"]), EXIT_OTHER_INSTANCE)


if __name__ == "__main__":
    unittest.main()

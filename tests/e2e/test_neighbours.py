"""Other programs of the user's session as neighbours of dist/Wordlark.exe
under Wine: messages they post with pointers of their own are signals at
most, a query no press asked for opens nothing, a password box in front is
never read, and an interchange area they created first is refused while the
hotkey goes on working."""

import harness

HOTKEY = "ctrl+alt+Return"
SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
MENU_CLOSED = "CWLKTrayWnd::OnWmCommandFromSelf"
STARTUP_NOTE = "{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}"
CAPTION = str(0x8000 + 7)

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class NeighboursTest(harness.ProgramCase):

    def start_logging(self):
        self.program.write_settings({"WriteLog": 1})
        instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        return instance

    def start_writer(self, *args, ready):
        writer = self.session.start_writer(*args, ready=ready)
        self.addCleanup(writer.kill)
        return writer

    def press_and_close_the_menu(self, window=None):
        self.session.keys(HOTKEY, window=window)
        self.assertTrue(self.session.menus(30000)[0], "no phrase menu on the screen")
        self.session.keys("Escape")
        self.wait_line(MENU_CLOSED)

    def test_posted_pointers_are_never_followed(self):
        instance = self.start_logging()
        for message in (STARTUP_NOTE, CAPTION):
            self.assertTrue(self.session.write_clipboard("post", message, "0", "16")
                            .startswith("post written"))
        self.wait_line("Start-up note message ignored: lParam=16")
        self.wait_line("WM_APP+7: no caption is written to lParam=16")
        self.assertTrue(instance.alive(), "log:\n" + self.program.read_log())
        self.exit_instance(instance)

    def test_a_query_no_press_asked_for_opens_nothing(self):
        self.start_logging()
        self.assertTrue(self.session.write_clipboard(
            "query", "<?xml version=\"1.0\" ?><LKQuery><AppPath>neighbour.exe</AppPath>"
            "<HWND>65552</HWND><POINT_X>5</POINT_X><POINT_Y>5</POINT_Y></LKQuery>")
            .startswith("query written"))
        self.wait_line("Unasked query dropped: no press of the hotkey waits for it")
        self.assertEqual(self.session.menus()[0], [])
        self.assertEqual(self.count("neighbour.exe"), 1, "only the query's own log block")

    def test_a_password_box_is_never_read(self):
        secret = "hunter2-of-the-neighbour"
        self.start_logging()
        self.session.write_clipboard("text", "copied before")
        self.wait_line("Event OnClipboardHistoryChanged, Count=1")
        self.start_writer("password", "120000", secret, ready="ready")
        box = harness.wait_until(lambda: next(iter(self.session.windows("wlk_password_target")),
                                              None), 20)
        self.assertIsNotNone(box, "no password box on the screen")
        self.press_and_close_the_menu(window=box)
        self.wait_line("SelText State: [Not read: the target window holds a password]")
        self.assertNotIn(secret, self.program.read_log())
        area = self.session.write_clipboard("area")
        self.assertTrue(area.startswith("area [<?xml"), area)
        self.assertNotIn(secret, area)
        self.assertEqual(self.session.write_clipboard("read"), "read [copied before]")

    def test_a_squatted_interchange_area_is_refused_and_the_hotkey_still_works(self):
        self.start_writer("squat", "4096", "120000", ready="squatting")
        self.start_logging()
        self.wait_line("ERROR: Interchange area refused: another program created "
                       "\"Local\\$WORDLARK_INTERCHANGE_AREA$\" first")
        notepad = self.start_notepad()
        self.press_and_close_the_menu(window=notepad)
        self.wait_line("Target context filled directly: no interchange area of our own")
        self.assertEqual(self.count("Received query:"), 0)


if __name__ == "__main__":
    import unittest
    unittest.main()

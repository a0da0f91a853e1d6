"""Another program of the user's session as a neighbour of dist/Wordlark.exe
under Wine: messages it posts to the tray window with pointers of its own
are signals at most, and the program runs on."""

import harness

SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
STARTUP_NOTE = "{C4629BDD-5FE3-47de-863B-E8D10BB7E2EB}"
CAPTION = str(0x8000 + 7)

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class NeighboursTest(harness.ProgramCase):

    def test_posted_pointers_are_never_followed(self):
        self.program.write_settings({"WriteLog": 1})
        instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        for message in (STARTUP_NOTE, CAPTION):
            self.assertTrue(self.session.write_clipboard("post", message, "0", "16")
                            .startswith("post written"))
        self.wait_line("Start-up note message ignored: lParam=16")
        self.wait_line("WM_APP+7: no caption is written to lParam=16")
        self.assertTrue(instance.alive(), "log:\n" + self.program.read_log())
        self.exit_instance(instance)


if __name__ == "__main__":
    import unittest
    unittest.main()

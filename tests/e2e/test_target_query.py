"""The target's facts reach dist/Wordlark.exe under Wine: a hotkey press in
notepad is answered by the hook component inside notepad with the executable,
the window class, the keyboard layout and the selected text. (A target whose
hook never answers is the target requests' and the simulated copy's tests'.)"""

import re

import harness

HOTKEY = "ctrl+alt+Return"
RECEIVED = "Received query:"
MENU_CLOSED = "CWLKTrayWnd::OnWmCommandFromSelf"
COUNT = "Event OnClipboardHistoryChanged, Count="
SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class TargetQueryTest(harness.ProgramCase):

    def first_query(self):
        """The first "Received query" block as {field: value}, once it is logged."""
        log = harness.wait_until(lambda: RECEIVED in self.program.read_log() and
                                 self.program.read_log(), 20)
        self.assertTrue(log, "no query; log:\n" + self.program.read_log())
        block = log.split(RECEIVED)[1].split("\r\n[", 1)[0]
        return dict(re.findall(r"\r\n\t([A-Za-z ]+): ([^\r\n]*)", block))

    def test_hook_in_notepad_reports_its_facts_and_selection(self):
        self.program.write_settings({"WriteLog": 1})
        self.start_instance()
        self.wait_line(SPY_LISTENING)
        notepad = self.start_notepad()
        typed = "Wordlark reads this selection"
        self.session.type_text(notepad, typed)
        # The hotkey reaches the program at once, the keys before it reach
        # notepad when it gets to them: the press waits for the selection.
        self.session.keys("ctrl+a", window=notepad)
        selected = harness.wait_until(
            lambda: self.session.edit_selection("Notepad") == (0, len(typed)), 20, 0.2)
        self.assertTrue(selected, f"notepad selects {self.session.edit_selection('Notepad')}")
        self.session.keys(HOTKEY, window=notepad)
        first = self.first_query()
        self.assertRegex(first["Exe"].lower(), r"\\notepad\.exe$")
        self.assertNotEqual(int(first["HKL"]), 0)
        self.assertEqual((first["ClassName"], first["SelText"], first["SelText State"]),
                         ("Edit", f"[{typed}]", "[Wax! Text extracted by agent]"))
        # Escape closes the phrase menu the press opened, once it is on the screen.
        self.assertTrue(self.session.menus(30000)[0], "no phrase menu on the screen")
        self.session.keys("Escape")
        self.wait_line(MENU_CLOSED)
        self.assertEqual(self.count(COUNT), 0, "a query made a copy")

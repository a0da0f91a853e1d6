"""The target's facts reach dist/Wordlark.exe under Wine: a hotkey press in
notepad is answered by the hook component inside notepad with the executable,
the window class, the keyboard layout and the selected text; a target whose
hook never answers is described by the program itself, whose simulated copy
reads the selection and leaves the clipboard and the history as they were."""

import re
import select
import subprocess

import harness

HOTKEY = "ctrl+alt+Return"
RECEIVED = "Received query:"
CONTEXT = "Target context ready "
MENU_CLOSED = "CWLKTrayWnd::OnWmCommandFromSelf"
COUNT = "Event OnClipboardHistoryChanged, Count="
SPY_LISTENING = "N-o-o-o-, ReInstall entity IS NOT NEED, use newest method CSPM_VISTA"
UNLOCKED = "WM_DELAY_UNLOCK received bIsMyCopy=1"

setUpModule = harness.start_session
tearDownModule = harness.stop_session


class TargetQueryTest(harness.ProgramCase):

    def start(self):
        self.program.write_settings({"WriteLog": 1})
        self.start_instance()
        self.wait_line(SPY_LISTENING)

    def close_menu(self):
        """Escape closes the phrase menu a press opened once it is on the screen."""
        self.assertTrue(self.session.menus(30000)[0], "no phrase menu on the screen")
        self.session.keys("Escape")
        self.wait_line(MENU_CLOSED)

    def query_blocks(self):
        """Each "Received query" block as {field: value}."""
        blocks = []
        for block in self.program.read_log().split(RECEIVED)[1:]:
            fields = dict(re.findall(r"\r\n\t([A-Za-z ]+): ([^\r\n]*)", block.split("\r\n[", 1)[0]))
            blocks.append(fields)
        return blocks

    def first_block(self):
        got = harness.wait_until(self.query_blocks, 20)
        self.assertTrue(got, "no query; log:\n" + self.program.read_log())
        return got[0]

    def test_hook_in_notepad_reports_its_facts_and_selection(self):
        self.start()
        notepad = self.start_notepad()
        typed = "Wordlark reads this selection"
        self.session.type_text(notepad, typed)
        self.session.keys("ctrl+a", HOTKEY, window=notepad)
        first = self.first_block()
        self.assertRegex(first["Exe"].lower(), r"\\notepad\.exe$")
        self.assertNotEqual(int(first["HKL"]), 0)
        self.assertEqual((first["ClassName"], first["SelText"], first["SelText State"]),
                         ("Edit", f"[{typed}]", "[Wax! Text extracted by agent]"))
        self.close_menu()
        self.assertEqual(self.count(COUNT), 0, "a query made a copy")

    def test_silent_target_is_described_directly_and_the_clipboard_kept(self):
        self.start()
        self.session.write_clipboard("text", "kept on the clipboard")
        self.wait_line(COUNT + "1")
        deaf = subprocess.Popen(["wine", str(harness.clip_writer()), "deaf", "30000",
                                 "selected in a silent window"],
                                env=self.session.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(deaf.kill)
        readable, _, _ = select.select([deaf.stdout], [], [], 30)
        self.assertTrue(readable, "the silent window did not start")
        self.assertEqual(deaf.stdout.readline().strip(), "ready")
        window = harness.wait_until(lambda: next(iter(self.session.windows("wlk_deaf_target")),
                                                  None), 20)
        self.assertIsNotNone(window, "the silent window is not shown")
        self.session.keys(HOTKEY, window=window)

        self.wait_line("No query from the hook component within 300 ms")
        line = self.wait_line(CONTEXT)
        self.assertRegex(line, r"\[Edit\] of \[wlk_clip_writer\.exe\], selection state 2")
        self.assertEqual(self.query_blocks(), [], "the silent target answered")
        self.close_menu()
        self.assertEqual(self.session.write_clipboard("read"), "read [kept on the clipboard]")
        # The put back copy is the program's own: once its block is over, a new
        # copy is the history's second item.
        self.wait_line(UNLOCKED)
        self.session.write_clipboard("text", "copied after the query")
        self.wait_line(COUNT + "2")
        self.assertEqual(self.count(COUNT), 2, self.program.read_log())

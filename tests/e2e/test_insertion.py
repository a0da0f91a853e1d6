"""Phrase-menu commands carried out by dist/Wordlark.exe under Wine: another
process sends the tray window a command for the window in front (notepad), and
the phrase or history item arrives there, pasted or typed (a long text whole);
none of it enters the clipboard history. Prompts and the caret of a chosen
phrase are checked through the menu itself (test_daily_use, test_phrase_menu);
what a command line phrase runs is the insertion and shell action tests'."""

import harness
from harness import COUNT, PHRASES_LOADED, SPY_LISTENING

SETTINGS_REREAD = "Detected event: PhraseEditor closed"
EDITOR_ENDED_EVENT = "Local\\Wordlark_Event_PhraseEditorAgentCoop_Ended"
TYPED = "DoPrint: "
PASTE, TYPE = 1, 0
FIRST_HISTORY_ITEM = 2000

LONG = "".join(f"{i:04d}abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"[:40]
               for i in range(25))
assert len(LONG) == 1000


class InsertionTest(harness.ProgramCase):

    def set_paste_method(self, method, reread=True):
        self.program.write_settings({"WriteLog": 1, "TextPasteMethod_v150": method})
        if reread:
            rereads = self.count(SETTINGS_REREAD)
            self.session.write_clipboard("signal", EDITOR_ENDED_EVENT)
            self.wait_count(SETTINGS_REREAD, rereads + 1)

    def command(self, command):
        """Sends the command and waits until the tray window has carried it out."""
        self.assertEqual(self.session.write_clipboard("command", str(command), "fg")
                         .split(" at ")[0], "command written")

    def test_phrases_and_history_items_reach_notepad_pasted_and_typed(self):
        caret, long_text = 1, 2
        self.program.write_phrases([("Caret", "left%CURSOR_POS%right"), ("Long", LONG)])
        self.set_paste_method(PASTE, reread=False)
        self.start_instance()
        self.wait_line(SPY_LISTENING)
        self.assertIn(": 2 nodes", self.wait_line(PHRASES_LOADED))
        self.session.write_clipboard("text", "older item")
        self.wait_line(COUNT + "1")
        self.session.write_clipboard("text", "newer item")
        self.wait_line(COUNT + "2")
        notepad = self.start_notepad()
        self.session.focus(notepad)

        def inserted(command, expected):
            self.session.keys("ctrl+a", "BackSpace", window=notepad)
            self.assert_notepad_shows("")
            self.command(command)
            self.assert_notepad_shows(expected)

        inserted(caret, "leftright")
        self.session.type_text(notepad, "|")
        self.assert_notepad_shows("left|right")
        # 2000 is the newest item.
        inserted(FIRST_HISTORY_ITEM + 1, "older item")
        self.assertEqual(self.count(TYPED), 0, "pasting typed")

        self.set_paste_method(TYPE)
        inserted(long_text, LONG)
        self.assertEqual(self.count(TYPED), 1, "typing pasted")

        # Nothing inserted entered the history (a chosen history item only
        # moves to the top): the next copy is its third item.
        self.session.write_clipboard("text", "copied at the end")
        self.wait_line(COUNT + "3")
        counts = [int(line.split(COUNT, 1)[1]) for line in self.lines_with(COUNT)]
        self.assertEqual(counts[-1], 3, self.program.read_log())
        self.assertEqual(max(counts[:-1]), 2, self.program.read_log())

"""The phrase menu off its happy path, in real runs of dist/Wordlark.exe under
Wine: the program ends whatever is open when it is told to (the exit command
of a later start, the tray menu's Exit while a prompt waits), keeping its
history; a menu left open long after the target answered still inserts its
choice."""

import time

import harness
from harness import PHRASES_LOADED, SPY_LISTENING

HISTORY_SAVED = "History saved: "
HISTORY_LOADED = "History loaded: "
EXIT_WAITS = "Exit: closing the open menus and dialogs first"
EXIT_FORCED = "Exit forced"
# The waiting thread gives up its send to the tray window after 2000 ms.
LONGER_THAN_THE_SEND = 6
PHRASES = [("First", "the first phrase"), ("Greeting", "Dear %PROMPT_TEXT={name}%, welcome")]


class DailyUseTest(harness.ProgramCase):

    def start(self):
        self.program.write_phrases(PHRASES)
        self.program.write_settings({"WriteLog": 1, "TextPasteMethod_v150": 1})
        instance = self.start_instance()
        self.wait_line(SPY_LISTENING)
        self.wait_line(PHRASES_LOADED)
        return instance

    def open_prompt(self, notepad):
        """Chooses the phrase that asks for a name; the prompt's window."""
        self.open_phrase_menu(notepad)
        self.session.keys("Home", "Down", "Return")
        prompt = harness.wait_until(lambda: self.session.windows("^Wordlark"), 20)
        self.assertTrue(prompt, "no prompt dialog; log:\n" + self.program.read_log())
        return prompt

    def assert_ended_in_time(self, instance):
        self.assert_ends_with(instance, 0)
        self.assertEqual(self.lines_with(EXIT_FORCED), [], "a loop did not close by itself")
        self.assertEqual(self.count(HISTORY_SAVED), 1, "the history was not saved at the exit")

    def test_exit_closes_an_open_menu_or_prompt_and_keeps_the_history(self):
        instance = self.start()
        notepad = self.start_notepad()
        self.copy("copied before the exit")

        # A later start's exit command while the phrase menu is open.
        self.open_phrase_menu(notepad)
        self.assertEqual(self.program.run(["/exit"]), harness.EXIT_OTHER_INSTANCE)
        self.assert_ended_in_time(instance)
        self.assertEqual(self.count(EXIT_WAITS), 1)

        # The tray menu's Exit while a prompt of the chosen phrase waits.
        self.program.log_path.unlink()
        instance = self.start()
        self.wait_line(HISTORY_LOADED)
        prompt = next(iter(self.open_prompt(notepad)))
        self.program.start(["/showmenu"])
        rects, _ = self.session.menus(30000)
        self.assertTrue(rects, "no tray menu; log:\n" + self.program.read_log())
        # The keys go where the prompt has put the focus: "Exit" is the last item.
        self.session.keys("Up", "Return", window=prompt)
        self.assert_ended_in_time(instance)
        self.assertEqual(self.session.windows("^Wordlark"), {}, "the prompt stayed")

    def test_a_menu_open_longer_than_the_query_thread_waits_still_inserts(self):
        self.start()
        notepad = self.start_notepad()
        self.open_phrase_menu(notepad)
        time.sleep(LONGER_THAN_THE_SEND)  # the user reads the menu
        self.session.keys("Home", "Return")
        self.assert_notepad_shows("the first phrase")
        # A second press while a prompt waits opens no second menu.
        self.session.keys("ctrl+a", "BackSpace", window=notepad)
        prompt = next(iter(self.open_prompt(notepad)))
        self.session.hotkey()
        self.wait_line("Phrase menu not called: a menu, prompt or message of the program is open")
        self.session.type_text(prompt, "Ann")
        self.session.keys("Return", window=prompt)
        self.assert_notepad_shows("Dear Ann, welcome")


"""The phrase menu of dist/Wordlark.exe under Wine, opened with Ctrl+Alt+Enter
in Wine's notepad and driven with the keyboard and the mouse: the hook
component inside notepad answers the press, the shipped sample library loads
whole, a chosen phrase or history item arrives in notepad, Escape leaves the
clipboard as it was, the last choice comes first next time, and a history
item's command menu copies it. (The facts the hook reports are the hook
library's tests'.)"""

import harness
from harness import PHRASES_LOADED, SPY_LISTENING

# No extra commands: the menu then ends with the clipboard history.
NO_EXTRAS = {"ExtMenuCommand__EditSetting": 0, "ExtMenuCommand__SaveSelAsPhrase": 0,
             "ExtMenuCommand__SUPPORT": 0}


class PhraseMenuTest(harness.ProgramCase):

    def start(self, settings):
        self.program.write_settings({"WriteLog": 1, **settings})
        self.start_instance()
        self.wait_line(SPY_LISTENING)
        self.notepad = self.start_notepad()

    def assert_menu_closes(self):
        closed = harness.wait_until(lambda: not self.session.menus()[0], 20, 0.2)
        self.assertTrue(closed, "the menu stayed open")

    def clear_notepad(self):
        self.session.keys("ctrl+a", "BackSpace", window=self.notepad)
        self.assert_notepad_shows("")

    def choose(self, *keys, expected):
        """Opens the menu in an empty notepad, presses keys in it; expected arrives."""
        self.clear_notepad()
        self.open_phrase_menu(self.notepad)
        self.session.keys(*keys)
        self.assert_menu_closes()
        self.assert_notepad_shows(expected)

    def test_sample_library_hotkey_choice_cancel_and_last_used(self):
        self.start({})
        library = self.program.path / "UserPhrases"
        groups = [p for p in library.rglob("*") if p.is_dir()]
        phrases = [p for p in library.rglob("*.wordlark") if p.name != "FOLDER_SELF.wordlark"]
        self.assertTrue(groups and phrases, "no sample library in dist/UserPhrases")
        nodes = len(groups) + len(phrases)
        self.assertTrue(self.wait_line(PHRASES_LOADED).endswith(
            f"]: {nodes} nodes, {nodes} shown, 0 files skipped"))
        self.copy("held before the menu")

        rects = self.open_phrase_menu(self.notepad)
        self.session.screenshot(self.id().rsplit(".", 1)[-1] + ".menu.png")
        for x, y, width, height in rects:
            self.assertTrue(0 <= x and 0 <= y and x + width <= harness.SCREEN[0]
                            and y + height <= harness.SCREEN[1],
                            f"menu at {x},{y} {width}x{height} leaves the screen")
        # The press was answered by the hook component inside notepad.
        self.assertTrue(self.wait_line("\tExe: ").lower().endswith("\\notepad.exe"),
                        self.program.read_log())
        self.assertEqual(self.wait_line("\tClassName: "), "\tClassName: Edit")
        # The second top-level phrase: its caret falls between the marks.
        self.session.keys("Home", "Down", "Return")
        self.assert_menu_closes()
        self.assert_notepad_shows("\u201c\u201d")
        self.session.type_text(self.notepad, "x")
        self.assert_notepad_shows("\u201cx\u201d")

        self.copy("held while the menu is open")
        self.open_phrase_menu(self.notepad)
        self.session.keys("Escape")
        self.assert_menu_closes()
        seen = []
        self.assertTrue(harness.wait_until(
            lambda: seen.append(self.session.clipboard_text()) or
            seen[-1] == "held while the menu is open", 10, 0.3),
            f"the clipboard holds {seen[-1]!r}; log:\n{self.program.read_log()}")
        self.assert_notepad_shows("\u201cx\u201d")

        # The last choice is now the menu's first item.
        self.choose("Home", "Return", expected="\u201c\u201d")

    def test_history_items_chosen_by_digits_and_copied_by_their_menu(self):
        self.start({**NO_EXTRAS, "MenuToolTips_V0_94_A22": 0})
        self.copy("older item")
        self.copy("newer item")

        # The item command menu of the last item, "2. older item", at the menu's bottom.
        self.clear_notepad()
        (x, y, width, height), *_ = self.open_phrase_menu(self.notepad)
        self.session.click(x + width // 2, y + height - 10, button=3)
        item_menus = harness.wait_until(
            lambda: [r for r in self.session.menus()[0] if r[:2] != (x, y)], 20, 0.2)
        self.assertTrue(item_menus, "no item command menu after the right click")
        left, top, item_width, _ = item_menus[0]
        self.session.click(left + item_width // 2, top + 10)  # "Copy", its first command
        self.assertTrue(harness.wait_until(
            lambda: self.session.clipboard_text() == "older item", 10, 0.3),
            f"the clipboard holds {self.session.clipboard_text()!r}")
        self.session.keys("Escape")
        self.assert_menu_closes()
        self.assert_notepad_shows("")

        # The digit drawn before an item chooses it.
        self.copy("third item")
        self.choose("1", expected="third item")

"""The phrase editor beside dist/Wordlark.exe under Wine: started from the tray
window's "Save Phrase From Clipboard", it makes a phrase of the clipboard's
text, Ctrl+S writes it in the program's own format, a file it cannot read
stays byte for byte, and when the editor closes Wordlark reloads and its
hotkey menu inserts the new phrase into notepad. One editor serves two starts,
closing asks about unsaved changes, and a file changed on disk meanwhile is
offered again or kept. (A hotkey set on its settings page reaching the running
program is the editor settings' tests' matter.)"""

import re

import harness

EDITOR_TITLE = "^Wordlark Phrase Editor$"
EDITOR_CLASS = "WordlarkPhraseEditor_3F1A7C22"
WM_COMMAND, WM_CLOSE = "0x111", "0x10"
CMD_EDIT_PHRASES, CMD_PHRASE_FROM_CLIPBOARD = "32772", "32785"
CLOSED = "Detected event: PhraseEditor closed"
LOADED = re.compile(r"Phrases loaded from \[.*\]: (\d+) nodes, (\d+) shown, (\d+) files skipped")
# The menu ends with the top-level phrases: no history, no extra commands.
MENU_SETTINGS = {"InsertCHIntoMenu": 0, "ExtMenuCommand__EditSetting": 0,
                 "ExtMenuCommand__SaveSelAsPhrase": 0, "ExtMenuCommand__SUPPORT": 0}
BROKEN = b'<?xml version="1.0"?>\r\n<WLKCommand MenuName="half'


class PhraseEditorTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        # One editor runs at a time: one left open would take the next test's starts.
        self.addCleanup(self.close_editor)

    def close_editor(self):
        if not self.session.windows(EDITOR_TITLE):
            return
        self.post(WM_CLOSE, "0", EDITOR_CLASS)
        if harness.wait_until(self.question, 3, 0.3):
            self.session.keys("n")  # changes a test left unsaved are not kept
        harness.wait_until(lambda: not self.session.windows(EDITOR_TITLE), 20)

    def loads(self):
        """(nodes, shown, skipped) of each library load logged so far."""
        return [tuple(map(int, m.groups())) for line in self.program.log_lines()
                if (m := LOADED.search(line))]

    def post(self, message, wparam, window_class=""):
        args = ["post", message, wparam, "0"] + ([window_class] if window_class else [])
        self.assertTrue(self.session.write_clipboard(*args).startswith("post written"))

    def tree_count(self):
        line = self.session.write_clipboard("tree", EDITOR_CLASS)
        return None if line == "tree none" else int(line.split()[1])

    def wait_editor(self):
        editor = harness.wait_until(lambda: next(iter(self.session.windows(EDITOR_TITLE)), None),
                                    30)
        self.assertIsNotNone(editor, "no editor window; log:\n" + self.program.read_log())
        return editor

    def new_phrase_files(self, before):
        library = self.program.path / "UserPhrases"
        return [p for p in library.glob("*.wordlark") if p.name not in before]

    def test_a_phrase_from_the_clipboard_is_saved_and_reaches_the_menu(self):
        library = self.program.path / "UserPhrases"
        (library / "broken.wordlark").write_bytes(BROKEN)
        before = {p.name for p in library.glob("*.wordlark")}
        self.program.write_settings({"WriteLog": 1, **MENU_SETTINGS})
        self.start_instance()
        harness.wait_until(self.loads, 20)
        nodes, shown, skipped = self.loads()[0]
        self.assertEqual(skipped, 1, self.program.read_log())

        self.session.write_clipboard("text", "Kind regards,\r\nAnn")
        self.post(WM_COMMAND, CMD_PHRASE_FROM_CLIPBOARD)
        self.wait_editor()
        self.session.screenshot("phrase_editor.png")
        self.session.keys("ctrl+s")
        saved = harness.wait_until(lambda: self.new_phrase_files(before), 20, 0.3)
        self.assertTrue(saved, "Ctrl+S wrote no phrase file")
        document = saved[0].read_bytes().decode("utf-8")
        self.assertTrue(document.startswith('<?xml version="1.0" encoding="UTF-8"'), document)
        for line in ("<MenuName>Kind regards,</MenuName>", "<DataType>TEXT</DataType>",
                     "<Cmd>Kind regards,&#x0D;&#x0A;Ann</Cmd>"):
            self.assertIn(f"\r\n    {line}\r\n", document)

        self.post(WM_CLOSE, "0", EDITOR_CLASS)
        self.wait_line(CLOSED)
        self.assertTrue(harness.wait_until(lambda: len(self.loads()) >= 2, 20),
                        "no reload after the editor closed; log:\n" + self.program.read_log())
        self.assertEqual(self.loads()[-1], (nodes + 1, shown + 1, 1))
        self.assertEqual((library / "broken.wordlark").read_bytes(), BROKEN)

        # The new phrase is the last phrase of the menu, above the top-level groups.
        groups = sum(path.is_dir() for path in library.iterdir())
        notepad = self.start_notepad()
        self.open_phrase_menu(notepad)
        self.session.keys("End", *["Up"] * groups, "Return")
        self.assert_notepad_shows("Kind regards,\r\nAnn")

    def test_one_editor_for_two_starts_and_closing_without_saving(self):
        library = self.program.path / "UserPhrases"
        nodes = sum(1 for p in library.rglob("*") if p.name != "FOLDER_SELF.wordlark")
        files = sorted(library.rglob("*"))
        self.program.write_settings({"WriteLog": 1})
        self.start_instance()
        self.assertTrue(harness.wait_until(self.loads, 20), "the library never loaded")
        self.assertEqual(self.loads()[0][0], nodes)

        self.post(WM_COMMAND, CMD_EDIT_PHRASES)
        self.wait_editor()
        self.assertTrue(harness.wait_until(lambda: self.tree_count() == nodes, 30, 0.3),
                        f"the tree holds {self.tree_count()} items, not {nodes}")
        # A second start hands its option to the first editor and ends.
        self.session.write_clipboard("text", "Second start")
        self.post(WM_COMMAND, CMD_PHRASE_FROM_CLIPBOARD)
        self.assertTrue(harness.wait_until(lambda: self.tree_count() == nodes + 1, 30, 0.3),
                        f"the tree holds {self.tree_count()} items, not {nodes + 1}")
        self.assertEqual(len(self.session.windows(EDITOR_TITLE)), 1)

        # Closing asks about the unsaved phrase; "No" closes and writes nothing.
        self.post(WM_CLOSE, "0", EDITOR_CLASS)
        question = harness.wait_until(self.question, 20, 0.3)
        self.assertIn("Save the changes to your phrases?", question)
        self.session.keys("n")
        self.wait_line(CLOSED)
        self.assertEqual(sorted(library.rglob("*")), files)

    def test_a_file_changed_on_disk_while_open_is_offered_again_or_kept(self):
        phrase = self.program.path / "UserPhrases" / "Thank_you.wordlark"
        self.program.write_settings({"WriteLog": 1})
        self.start_instance()
        harness.wait_until(self.loads, 20)
        self.post(WM_COMMAND, CMD_EDIT_PHRASES)
        x, y, width, height = self.wait_editor_geometry()

        # Another program changes the file while the user works elsewhere.
        notepad = self.start_notepad()
        covered = harness.wait_until(lambda: self.session.windows("Notepad").get(notepad), 10)
        self.assertIsNotNone(covered, "notepad's window went away")
        nx, ny, nwidth, nheight = covered
        outside = phrase.read_bytes().replace(b"Thank you for", b"Thanks for")
        phrase.write_bytes(outside)
        # Back in the editor, on a part of it notepad leaves uncovered.
        uncovered = [(px, py) for px, py in ((x + width - 20, y + height // 2),
                                             (x + width // 2, y + height - 6))
                     if not (nx <= px < nx + nwidth and ny <= py < ny + nheight)]
        self.assertTrue(uncovered, "notepad covers the whole editor")
        self.session.click(*uncovered[0])
        question = harness.wait_until(lambda: self.question(), 20, 0.3)
        self.assertIn("These files changed on disk while they were open here:", question or "")
        self.assertIn("Thank_you.wordlark", question)
        # Keeping the editor's version: Ctrl+S writes it back over the outside change.
        self.session.keys("n")
        harness.wait_until(lambda: not self.question(), 10, 0.3)
        self.session.keys("ctrl+s")
        self.assertTrue(harness.wait_until(
            lambda: b"Thank you for" in phrase.read_bytes(), 20, 0.3), phrase.read_bytes())

    def wait_editor_geometry(self):
        self.wait_editor()
        return next(iter(self.session.windows(EDITOR_TITLE).values()))

    def question(self):
        """The texts of the editor's open question, None without one."""
        return self.session.dialog("Wordlark Phrase Editor")


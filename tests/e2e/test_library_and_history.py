"""The phrase library and the clipboard history as dist/Wordlark.exe finds them
on disk at start, each a real run under Wine: which phrase files it takes,
which it passes over, and which history entries it loads and keeps."""

import hashlib
import random
import re
import shutil
import tempfile
import unittest
from pathlib import Path
from xml.sax.saxutils import escape

import harness

PHRASES_LOADED = "Phrases loaded from ["
PHRASE_SKIPPED = "Phrase file skipped, it "
HISTORY_LOADED = "History loaded: "
HISTORY_SAVED = "History saved: "
HISTORY_SKIPPED = "Clipboard history: skipped "

CHT_TEXT_ANSI = 0
CHT_TEXT_UNICODE = 1
CHT_RTF = 2


setUpModule = harness.start_session
tearDownModule = harness.stop_session


# --- Phrase files -----------------------------------------------------------------

def xml_escape(text):
    return escape(text, {'"': "&quot;"})


def phrase_xml(menu_name=None, cmd="", excluded=None, sort_id=None, extra_attributes="",
               root="WLKCommand", hint=None, data_type="TEXT"):
    """A phrase document as the phrase editor writes it (UTF-8, CR LF, four blanks)."""
    attributes = ""
    if excluded is not None:
        attributes += f' Excluded="{excluded}"'
    attributes += ' UsageCount="3" DisabledIsNoHasSelection="0" UseTitleOnly="0"'
    if sort_id is not None:
        attributes += f' SortID="{sort_id}"'
    attributes += ' FlagsMenu="0"' + extra_attributes
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>',
             f"<{root}{attributes}>"]
    if menu_name is not None:
        lines.append(f"    <MenuName>{xml_escape(menu_name)}</MenuName>")
        lines.append(f"    <DataType>{data_type}</DataType>")
        lines.append(f"    <Cmd>{xml_escape(cmd)}</Cmd>")
        if hint is not None:
            lines.append(f"    <Hint>{xml_escape(hint)}</Hint>")
    lines.append(f"</{root}>")
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def snapshot(folder):
    """Relative path -> (sha256, read-only) of every file below folder; None for a folder."""
    return {path.relative_to(folder).as_posix(): None if path.is_dir() else
            (hashlib.sha256(path.read_bytes()).hexdigest(), not path.stat().st_mode & 0o200)
            for path in Path(folder).rglob("*")}


class PhraseLibrary:
    """A phrases folder written file by file, with the counts the loader must report.

    Every node (group or phrase) counts once; a phrase is shown unless it carries
    Excluded, a group is shown when a phrase anywhere below it is shown."""

    def __init__(self, root):
        self.root = Path(root)
        self.root.mkdir(parents=True, exist_ok=True)
        self.broken = {}   # relative Windows path -> the reason the log gives

    def write(self, relative, data):
        path = self.root / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        return path

    def broken_file(self, relative, data, reason):
        self.write(relative, data)
        self.broken[relative.replace("/", "\\")] = reason


def build_main_library(root):
    """Three levels, descriptors, files the loader must ignore and broken phrase files.

    Returns the library and its (nodes, shown, skipped) counts."""
    lib = PhraseLibrary(root)
    # Top level: three phrases, one excluded; the extension in capitals counts too.
    lib.write("alpha.wordlark", phrase_xml("Alpha", "alpha text", sort_id=5))
    lib.write("Beta.WORDLARK", phrase_xml("Beta", "beta\r\n  two lines  ", sort_id=1,
                                          hint="a <hint>"))
    lib.write("gamma.wordlark", phrase_xml("Gamma", "gamma", excluded=1))
    # Not phrase files at all: neither loaded nor reported as skipped.
    lib.write("readme.txt", b"not a phrase")
    lib.write("alpha.wordlark.bak", phrase_xml("Backup", "old"))
    lib.write("wordlark", phrase_xml("No extension", "x"))

    # Letters: a group whose descriptor is excluded (that has no effect on a group)
    # and carries a MenuName, which must still not make it a phrase of its own.
    lib.write("Letters/FOLDER_SELF.wordlark",
              phrase_xml("Descriptor title", "descriptor body", excluded=1, sort_id=2))
    lib.write("Letters/dear.wordlark", phrase_xml("Dear", "Dear Sir or Madam,", sort_id=2))
    lib.write("Letters/regards.wordlark", phrase_xml("Regards", "Kind regards", excluded=1))
    # Letters/Formal: nested group, descriptor name in another letter case.
    lib.write("Letters/Formal/Folder_Self.Wordlark", phrase_xml(sort_id=9))
    lib.write("Letters/Formal/sir.wordlark", phrase_xml("Sir", "Dear Sir,", data_type="exec"))
    # Hidden: every phrase excluded, so the group is not shown.
    lib.write("Hidden/FOLDER_SELF.wordlark", phrase_xml(sort_id=1))
    lib.write("Hidden/secret.wordlark", phrase_xml("Secret", "s", excluded=1))
    # Empty: a group with nothing below it is a node that is never shown.
    (lib.root / "Empty").mkdir()

    # Files the loader must take although they are unusual: one written in the
    # ANSI code page, one of 10 MB, one with thousands of elements side by side.
    lib.write("ansi.wordlark", phrase_xml("Caf\u00e9", "ansi").decode("utf-8").encode("cp1252"))
    lib.write("huge.wordlark", phrase_xml("Huge", "x" * (10 * 1024 * 1024)))
    many = phrase_xml("Many", "many")
    lib.write("many.wordlark", many.replace(b"</WLKCommand>", b"<x/>" * 5000 + b"</WLKCommand>"))

    nodes = 3 + (1 + 2 + 1 + 1) + (1 + 1) + 1 + 3
    shown = 2 + (1 + 1 + 1 + 1) + 0 + 0 + 3

    good = phrase_xml("Cut", "this phrase file was cut off in the middle")
    lib.broken_file("truncated.wordlark", good[: len(good) // 2], "is not XML")
    junk = random.Random(4).randbytes(4096)
    lib.broken_file("junk.wordlark", b"\x89PNG\r\n\x1a\n" + junk, "is not XML")
    lib.broken_file("empty.wordlark", b"", "is empty")
    lib.broken_file("wrongroot.wordlark", phrase_xml("Wrong root", "x", root="Phrase"),
                    "has no WLKCommand element")
    utf16 = phrase_xml("Wide", "wide text").decode("utf-8").replace("UTF-8", "UTF-16")
    lib.broken_file("utf16.wordlark", b"\xff\xfe" + utf16.encode("utf-16-le"), "is not XML")
    lib.broken_file("noname.wordlark", phrase_xml("", "a body but an empty title"),
                    "has no MenuName")
    lib.broken_file("Letters/cut.wordlark", good[:-30], "is not XML")
    lib.broken_file("Letters/Formal/nested.wordlark",
                    b"<WLKCommand>" + b"<a>" * 5000 + b"</a>" * 5000 + b"</WLKCommand>",
                    "is nested too deeply")
    return lib, nodes, shown, len(lib.broken)


class PhraseLibraryTest(harness.ProgramCase):

    def assert_loaded(self, folder_win, nodes, shown, skipped):
        line = self.wait_line(PHRASES_LOADED)
        match = re.search(r"Phrases loaded from \[(.*)\]: (-?\d+) nodes, (-?\d+) shown, "
                          r"(-?\d+) files skipped$", line)
        self.assertIsNotNone(match, line)
        self.assertEqual(match.group(1).lower(), folder_win.lower(), line)
        self.assertEqual((int(match.group(2)), int(match.group(3)), int(match.group(4))),
                         (nodes, shown, skipped), "nodes, shown, skipped; log:\n"
                         + self.program.read_log())
        self.assertEqual(len(self.lines_with(PHRASES_LOADED)), 1, "the library was loaded twice")

    def assert_skip_lines(self, lib, folder_win):
        """Each broken file reported once with its reason; no other file reported."""
        seen = [line[line.index(PHRASE_SKIPPED):].lower()
                for line in self.lines_with(PHRASE_SKIPPED)]
        expected = [f"{PHRASE_SKIPPED}{reason}: [{folder_win}{relative}]".lower()
                    for relative, reason in lib.broken.items()]
        self.assertEqual(sorted(seen), sorted(expected))

    def test_default_folder_with_groups_descriptors_and_broken_files(self):
        self.program.write_settings({"WriteLog": 1, "SaveClipboardHistory_v198": 0})
        shutil.rmtree(self.program.path / "UserPhrases", ignore_errors=True)
        lib, nodes, shown, skipped = build_main_library(self.program.path / "UserPhrases")
        before = snapshot(lib.root)

        instance = self.start_instance()
        folder_win = self.program.win_path + "\\UserPhrases\\"
        self.assert_loaded(folder_win, nodes, shown, skipped)
        self.assert_skip_lines(lib, folder_win)
        self.assertTrue(instance.alive(), "the program ended after loading the phrases")
        self.exit_instance(instance)

        # Loading writes nothing: broken files, good files and descriptors stay as they were.
        self.assertEqual(snapshot(lib.root), before)

    def test_phrases_directory_setting_points_elsewhere(self):
        # The default folder holds a library too; the setting must win over it.
        default = PhraseLibrary(self.program.path / "UserPhrases")
        default.write("one.wordlark", phrase_xml("One", "1"))

        other = Path(tempfile.mkdtemp(prefix="library_", dir=harness.FOLDERS_ROOT))
        self.addCleanup(shutil.rmtree, other, True)
        other_win = harness.FOLDERS_ROOT_WIN + "\\" + other.name + "\\Team Phrases\\"
        lib = PhraseLibrary(other / "Team Phrases")
        lib.write("Greetings/hi.wordlark", phrase_xml("Hi", "Hi there"))
        lib.write("Greetings/Old/bye.wordlark", phrase_xml("Bye", "bye", excluded=1))
        lib.broken_file("bin.wordlark", b"\x00\x01\x02\xff" * 64, "is not XML")
        before = snapshot(lib.root)
        # With the history switched off, a history folder beside the program stays unread.
        history, _ = write_valid_history(self.program.path / "ClipboardHistory")
        history_before = snapshot(history.root)

        self.program.write_settings({"WriteLog": 1, "SaveClipboardHistory_v198": 0,
                                     "PhrasesDirectory": other_win.rstrip("\\")})
        instance = self.start_instance()
        # Greetings, hi, Old, bye; Old is hidden with its only phrase.
        self.assert_loaded(other_win, 4, 2, 1)
        self.assert_skip_lines(lib, other_win)
        self.exit_instance(instance)
        self.assertEqual(snapshot(lib.root), before)
        self.assertEqual(self.lines_with(HISTORY_LOADED), [], "history loaded while switched off")
        self.assertEqual(snapshot(history.root), history_before)


# --- History folder ---------------------------------------------------------------

def unicode_file(text):
    return b"\xff\xfe" + (text + "\0").encode("utf-16-le")


def ansi_file(text):
    return text.encode("cp1252") + b"\0"


def info_text(data_type, protected, files, wide=False):
    lines = ["[Files]", f"DataType={data_type}", f"Protected={protected}"]
    lines += [f"File{i}={name}" for i, name in enumerate(files)]
    text = "\r\n".join(lines) + "\r\n"
    return b"\xff\xfe" + text.encode("utf-16-le") if wide else text.encode("ascii")


class HistoryFolder:
    """A ClipboardHistory folder written the way the program writes its own."""

    def __init__(self, root):
        self.root = Path(root)
        self.root.mkdir(parents=True, exist_ok=True)

    def write(self, name, data):
        (self.root / name).write_bytes(data)

    def item(self, info_name, data_type, files, protected=0, wide_info=False):
        """files: (name, bytes) pairs, the first being the primary format; bytes of
        None names a file that is not written. A protected item's files are
        read-only, as the program leaves them."""
        written = [info_name]
        for name, data in files:
            if data is not None:
                self.write(name, data)
                written.append(name)
        self.write(info_name, info_text(data_type, protected, [n for n, _ in files], wide_info))
        if protected:
            for name in written:
                (self.root / name).chmod(0o444)


def write_valid_history(root):
    """Four text items, one with a further format, one protected with read-only files."""
    history = HistoryFolder(root)
    history.item("wordlark_cb1.info", CHT_TEXT_UNICODE,
                 [("Unicode_clipboard_history1.txt", unicode_file("first item"))])
    history.item("wordlark_cb2.info", CHT_TEXT_ANSI,
                 [("clipboard_history1.txt", ansi_file("second item, 8-bit"))])
    history.item("wordlark_cb3.info", CHT_TEXT_UNICODE,
                 [("Unicode_clipboard_history2.txt", unicode_file("third \u00e9t\u00e9 \u2014 item")),
                  ("clipboard_history1.rtf", ansi_file(r"{\rtf1\ansi third item\par}"))],
                 wide_info=True)
    history.item("wordlark_cb4.info", CHT_TEXT_UNICODE,
                 [("Unicode_clipboard_history3.txt", unicode_file("fourth, protected\r\nline 2"))],
                 protected=1)
    return history, 4


class HistoryFolderTest(harness.ProgramCase):

    def history_root(self):
        return self.program.path / "ClipboardHistory"

    def logged_count(self, needle):
        """The number of items in the one log line with needle."""
        line = self.wait_line(needle)
        self.assertEqual(self.count(needle), 1, "log:\n" + self.program.read_log())
        match = re.search(re.escape(needle) + r"(-?\d+) items$", line)
        self.assertIsNotNone(match, line)
        return int(match.group(1))

    def test_damaged_entries_are_skipped_and_two_runs_keep_every_file(self):
        history, count = write_valid_history(self.history_root())
        # An info file whose data file is missing.
        history.item("wordlark_cb5.info", CHT_TEXT_UNICODE,
                     [("Unicode_clipboard_history4.txt", None)])
        # Data files shorter than written: the terminating NUL and more cut off.
        history.item("wordlark_cb6.info", CHT_TEXT_UNICODE,
                     [("Unicode_clipboard_history5.txt",
                       unicode_file("a longer text that was cut short")[:41])])
        history.item("wordlark_cb7.info", CHT_TEXT_ANSI,
                     [("clipboard_history2.txt", ansi_file("8-bit text cut short")[:-4])])
        # An empty data file.
        history.item("wordlark_cb8.info", CHT_RTF, [("clipboard_history2.rtf", b"")])
        # An info file that names no data file under "File0".
        history.write("wordlark_cb9.info", b"[Files]\r\nDataType=1\r\nProtected=0\r\n"
                                           b"File1=Unicode_clipboard_history1.txt\r\n")
        damaged = ["wordlark_cb5.info", "wordlark_cb6.info", "wordlark_cb7.info",
                   "wordlark_cb8.info", "wordlark_cb9.info"]
        before = snapshot(history.root)

        # The second run may keep fewer items than the folder holds.
        for run, maximum, loaded in ((1, 30, count), (2, 2, 2)):
            with self.subTest(run=run):
                self.program.write_settings({"WriteLog": 1, "ClipboardHistoryMax": maximum})
                instance = self.start_instance()
                self.assertEqual(self.logged_count(HISTORY_LOADED), loaded)
                # Each damaged entry reported once, and nothing else.
                skipped = [line.split(HISTORY_SKIPPED)[1].split(":")[0]
                           for line in self.lines_with(HISTORY_SKIPPED)]
                self.assertEqual(sorted(skipped), damaged, "log:\n" + self.program.read_log())
                self.exit_instance(instance)
                # Loaded items are on disk already: nothing is written again, and
                # neither damaged entries nor items beyond the maximum lose their files.
                self.assertEqual(self.logged_count(HISTORY_SAVED), 0)
                self.assertEqual(snapshot(history.root), before)
                # The next run writes a log of its own.
                self.program.log_path.rename(self.program.path / f"LogReport-run{run}.txt")


if __name__ == "__main__":
    unittest.main()

"""The phrase library and the clipboard history as dist/Wordlark.exe finds them
on disk at start: which phrase files it takes and which it passes over, which
history entries it loads and keeps."""

import hashlib
import re
import shutil
import tempfile
import unittest
from pathlib import Path
from xml.sax.saxutils import escape

import harness

PHRASES_LOADED = "Phrases loaded from ["
HISTORY_LOADED = "History loaded: "
HISTORY_SAVED = "History saved: "
HISTORY_SKIPPED = "Clipboard history: skipped "
CHT_TEXT_ANSI = 0
CHT_TEXT_UNICODE = 1

setUpModule = harness.start_session
tearDownModule = harness.stop_session


def phrase_xml(menu_name=None, cmd="", excluded=None, sort_id=None, root="WLKCommand",
               hint=None, data_type="TEXT"):
    """A phrase document as the phrase editor writes it (UTF-8, CR LF, four blanks)."""
    attributes = f' Excluded="{excluded}"' if excluded is not None else ""
    attributes += ' UsageCount="3" DisabledIsNoHasSelection="0" UseTitleOnly="0"'
    attributes += (f' SortID="{sort_id}"' if sort_id is not None else "") + ' FlagsMenu="0"'
    lines = ['<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>', f"<{root}{attributes}>"]
    if menu_name is not None:
        lines += [f"    <MenuName>{escape(menu_name)}</MenuName>",
                  f"    <DataType>{data_type}</DataType>", f"    <Cmd>{escape(cmd)}</Cmd>"]
        if hint is not None:
            lines.append(f"    <Hint>{escape(hint)}</Hint>")
    lines.append(f"</{root}>")
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def snapshot(folder):
    """Relative path -> (sha256, read-only) of every file below folder; None for a folder."""
    return {path.relative_to(folder).as_posix(): None if path.is_dir() else
            (hashlib.sha256(path.read_bytes()).hexdigest(), not path.stat().st_mode & 0o200)
            for path in Path(folder).rglob("*")}


def write_files(root, files):
    """files: {path relative to root: bytes}."""
    for relative, data in files.items():
        path = Path(root) / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)


def build_main_library(root):
    """A group with its descriptor, an excluded phrase, a file the loader must
    ignore and two broken phrase files, one in a group (how each kind of file is
    taken and reported is the phrase file and phrase tree tests' matter). Returns
    the (nodes, shown, skipped files) the load must report."""
    good = phrase_xml("Cut", "this phrase file was cut off in the middle")
    write_files(root, {
        "alpha.wordlark": phrase_xml("Alpha", "alpha text", sort_id=5),
        "Beta.WORDLARK": phrase_xml("Beta", "beta", excluded=1),
        "readme.txt": b"not a phrase",
        "Letters/FOLDER_SELF.wordlark": phrase_xml("Descriptor title", "body", sort_id=2),
        "Letters/dear.wordlark": phrase_xml("Dear", "Dear Sir or Madam,"),
        "Letters/cut.wordlark": good[: len(good) // 2],
        "noname.wordlark": phrase_xml("", "a body but an empty title"),
    })
    return 4, 3, 2


def unicode_file(text):
    return b"\xff\xfe" + (text + "\0").encode("utf-16-le")


def ansi_file(text):
    return text.encode("cp1252") + b"\0"


def history_item(root, number, data_type, data_name, data, protected=0):
    """wordlark_cb<number>.info and its one data file, as the program writes them
    (data of None: the file is not written). A protected item's files are
    read-only, as the program leaves them."""
    info = f"[Files]\r\nDataType={data_type}\r\nProtected={protected}\r\nFile0={data_name}\r\n"
    files = [(f"wordlark_cb{number}.info", info.encode("ascii"))]
    files += [(data_name, data)] if data is not None else []
    for name, data in files:
        (root / name).write_bytes(data)
        if protected:
            (root / name).chmod(0o444)


def write_history(root):
    """Three good text items, one protected; then two damaged entries,
    wordlark_cb4.info and wordlark_cb5.info (other layouts and damages are the
    history files' and the history store's tests')."""
    root.mkdir(parents=True, exist_ok=True)
    history_item(root, 1, CHT_TEXT_UNICODE, "Unicode_clipboard_history1.txt",
                 unicode_file("first item"))
    history_item(root, 2, CHT_TEXT_ANSI, "clipboard_history1.txt",
                 ansi_file("second item, 8-bit"))
    history_item(root, 3, CHT_TEXT_UNICODE, "Unicode_clipboard_history2.txt",
                 unicode_file("third, protected\r\nline 2"), protected=1)
    history_item(root, 4, CHT_TEXT_UNICODE, "Unicode_clipboard_history3.txt", None)  # missing
    # A data file shorter than written: the terminating NUL and more cut off.
    history_item(root, 5, CHT_TEXT_UNICODE, "Unicode_clipboard_history4.txt",
                 unicode_file("a longer text that was cut short")[:41])


class LibraryAndHistoryTest(harness.ProgramCase):

    def assert_loaded(self, folder_win, figures):
        """The one load line: its folder and its (nodes, shown, skipped files)."""
        line = self.wait_line(PHRASES_LOADED)
        match = re.search(r"Phrases loaded from \[(.*)\]: (-?\d+) nodes, (-?\d+) shown, "
                          r"(-?\d+) files skipped$", line)
        self.assertIsNotNone(match, line)
        self.assertEqual((match.group(1).lower(), *map(int, match.groups()[1:])),
                         (folder_win.lower(), *figures), line)
        self.assertEqual(self.count(PHRASES_LOADED), 1, "the library was loaded twice")

    def logged_count(self, needle):
        """The number of items in the one log line with needle."""
        line = self.wait_line(needle)
        self.assertEqual(self.count(needle), 1, "log:\n" + self.program.read_log())
        match = re.search(re.escape(needle) + r"(-?\d+) items$", line)
        self.assertIsNotNone(match, line)
        return int(match.group(1))

    def test_library_and_history_found_on_disk_over_three_runs(self):
        phrases = self.program.path / "UserPhrases"
        shutil.rmtree(phrases, ignore_errors=True)
        figures = build_main_library(phrases)
        history = self.program.path / "ClipboardHistory"
        write_history(history)
        before = (snapshot(phrases), snapshot(history))

        # The second run may keep fewer items than the folder holds.
        for run, maximum, loaded in ((1, 30, 3), (2, 2, 2)):
            with self.subTest(run=run):
                self.program.write_settings({"WriteLog": 1, "ClipboardHistoryMax": maximum})
                instance = self.start_instance()
                self.assert_loaded(self.program.win_path + "\\UserPhrases\\", figures)
                self.assertEqual(self.logged_count(HISTORY_LOADED), loaded)
                skipped = [line.split(HISTORY_SKIPPED)[1].split(":")[0]
                           for line in self.lines_with(HISTORY_SKIPPED)]
                self.assertEqual(sorted(skipped), ["wordlark_cb4.info", "wordlark_cb5.info"],
                                 "log:\n" + self.program.read_log())
                self.assertTrue(instance.alive(), "the program ended after loading")
                self.exit_instance(instance)
                # Loaded items are on disk already: nothing is written again, no
                # damaged entry nor item beyond the maximum loses its files, and
                # loading phrases writes nothing.
                self.assertEqual(self.logged_count(HISTORY_SAVED), 0)
                self.assertEqual((snapshot(phrases), snapshot(history)), before)
                self.program.log_path.rename(self.program.path / f"LogReport-run{run}.txt")

        # The third run takes its phrases from a folder set elsewhere, over the
        # default one, and with the history switched off leaves its folder unread.
        other = Path(tempfile.mkdtemp(prefix="library_", dir=harness.FOLDERS_ROOT))
        self.addCleanup(shutil.rmtree, other, True)
        other_win = harness.FOLDERS_ROOT_WIN + "\\" + other.name + "\\Team Phrases\\"
        team = other / "Team Phrases"
        write_files(team, {"Greetings/hi.wordlark": phrase_xml("Hi", "Hi there"),
                           "Greetings/Old/bye.wordlark": phrase_xml("Bye", "bye", excluded=1),
                           "bin.wordlark": b"\x00\x01\x02\xff" * 64})
        team_before = snapshot(team)
        self.program.write_settings({"WriteLog": 1, "SaveClipboardHistory_v198": 0,
                                     "PhrasesDirectory": other_win.rstrip("\\")})
        instance = self.start_instance()
        # Greetings, hi, Old, bye; Old is hidden with its only phrase.
        self.assert_loaded(other_win, (4, 2, 1))
        self.exit_instance(instance)
        self.assertEqual(snapshot(team), team_before)
        self.assertEqual(self.lines_with(HISTORY_LOADED) + self.lines_with(HISTORY_SKIPPED), [],
                         "history read while switched off")
        self.assertEqual(snapshot(history), before[1])


if __name__ == "__main__":
    unittest.main()

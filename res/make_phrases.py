#!/usr/bin/env python3
"""Writes the sample phrase library a new user finds beside the program, in
the form the phrase editor writes: one UTF-8 XML file a phrase, a folder a
group with its FOLDER_SELF.wordlark, CR LF line breaks, four blanks a level.

usage: make_phrases.py OUTPUT_FOLDER    writes the library there
       make_phrases.py --list           prints the relative paths it writes
"""
import sys
from pathlib import Path

# (group or None for the top level, group's SortID, [(MenuName, DataType, Cmd, Hint)])
LIBRARY = [
    (None, 0, [
        ("Thank you", "TEXT", "Thank you for your message of %DATE%.",
         "A reply that names today's date"),
        ("Quotation marks", "TEXT", "\u201c%CURSOR_POS%\u201d",
         "Leaves the caret between the marks"),
        ("Larks on Wikipedia", "EXEC", "https://en.wikipedia.org/wiki/Lark",
         "Opens a web page in the browser"),
    ]),
    ("Greetings", 1, [
        ("Hello", "TEXT", "Hello, ", None),
        ("Good morning", "TEXT", "Good morning!\r\n", None),
        ("Dear ...", "TEXT", "Dear %PROMPT_TEXT={Name}%,\r\n\r\n%CURSOR_POS%\r\n\r\nKind regards",
         "Asks for the name, then leaves the caret in the empty line"),
    ]),
    ("Dates", 2, [
        ("Today", "TEXT", "%DATE%", None),
        ("Now", "TEXT", "%DATE_EX_WD% %TIME%", None),
        ("Month and year", "TEXT", "%MONTHNAME% %YEAR%", None),
        ("Short date", "TEXT", "%DAY2%.%MONTHNUMBER2%.%YEAR2%", None),
    ]),
]

DECLARATION = '<?xml version="1.0" encoding="UTF-8" standalone="yes" ?>'
COMMON_ATTRIBUTES = 'UsageCount="0" DisabledIsNoHasSelection="0" UseTitleOnly="0"'


def escape(text):
    """Element text as the editor stores it: line breaks as character
    references, so that no reader folds them."""
    text = text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return text.replace("\r", "&#x0D;").replace("\n", "&#x0A;")


def document(lines):
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def phrase(sort_id, name, data_type, cmd, hint):
    lines = [DECLARATION,
             f'<WLKCommand {COMMON_ATTRIBUTES} SortID="{sort_id}" FlagsMenu="0">',
             f"    <MenuName>{escape(name)}</MenuName>",
             f"    <DataType>{data_type}</DataType>",
             f"    <Cmd>{escape(cmd)}</Cmd>"]
    if hint:
        lines.append(f"    <Hint>{escape(hint)}</Hint>")
    return document(lines + ["</WLKCommand>"])


def descriptor(sort_id):
    return document([DECLARATION,
                     f'<WLKCommand {COMMON_ATTRIBUTES} SortID="{sort_id}" FlagsMenu="0" />'])


def file_title(name):
    kept = "".join(c if c.isalnum() else "_" for c in name)
    return "_".join(part for part in kept.split("_") if part) + ".wordlark"


def files():
    """{relative path: bytes} of the whole library."""
    out = {}
    for group, group_sort, phrases in LIBRARY:
        folder = Path(group) if group else Path()
        if group:
            out[folder / "FOLDER_SELF.wordlark"] = descriptor(group_sort)
        for sort_id, (name, data_type, cmd, hint) in enumerate(phrases, 1):
            out[folder / file_title(name)] = phrase(sort_id, name, data_type, cmd, hint)
    return out


def main(argv):
    if argv[1:] == ["--list"]:
        print(";".join(path.as_posix() for path in files()))
        return
    if len(argv) != 2:
        sys.exit(__doc__)
    root = Path(argv[1])
    for relative, data in files().items():
        target = root / relative
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)


if __name__ == "__main__":
    main(sys.argv)

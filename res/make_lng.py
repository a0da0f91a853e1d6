#!/usr/bin/env python3
"""Writes a language file as the program reads it: UTF-16 LE with a byte order
mark and CR LF line ends, from the UTF-8 text kept in the repository.

Checks on the way that every "Strings" key is a string the program has, so a
typo never ships as a translation nobody sees. "Menu" keys that match no item
of the resource script's menus are only reported: the menus change elsewhere.

usage: make_lng.py SOURCE.lng OUTPUT.lng ENGLISH_STRINGS.inc [RESOURCE.rc]
"""
import re
import sys


def string_ids(inc_path):
    with open(inc_path, encoding="utf-8") as f:
        return {int(m.group(1)) for m in re.finditer(r"^WLK_STRING\((\d+),", f.read(), re.M)}


def menu_keys(rc_path):
    """The keys the program looks menu texts up under (see language/menu_key.cpp)."""
    with open(rc_path, encoding="utf-8") as f:
        text = f.read()
    keys = set()
    for m in re.finditer(r'^\s*(?:MENUITEM|POPUP)\s+L?"((?:[^"\\]|\\.|"")*)"', text, re.M):
        item = re.sub(r"\\x([0-9A-Fa-f]{4})", lambda h: chr(int(h.group(1), 16)), m.group(1))
        item = item.replace("\\\\", "\\").replace('""', '"')
        item = item.split("\\t", 1)[0].split("\t", 1)[0].replace("&", "")
        key = item.replace("\u2026", "").replace(" ", "_").rstrip(".\u2026")
        keys.add(key)
    return keys


def main(argv):
    if len(argv) not in (4, 5):
        sys.exit(__doc__)
    source, output, inc = argv[1:4]
    with open(source, encoding="utf-8-sig") as f:
        lines = f.read().splitlines()

    known = string_ids(inc)
    menus = menu_keys(argv[4]) if len(argv) == 5 else None
    section = None
    errors = []
    for number, line in enumerate(lines, 1):
        if line.startswith("[") and line.rstrip().endswith("]"):
            section = line.strip()[1:-1]
        elif "=" in line and not line.startswith(";"):
            key = line.split("=", 1)[0]
            if section == "Strings" and (not key.isdigit() or int(key) not in known):
                errors.append(f"{source}:{number}: no interface string {key}")
            if section == "Menu" and menus is not None and key not in menus:
                print(f"{source}:{number}: note: no menu item has the key {key}")
    if errors:
        sys.exit("\n".join(errors))

    with open(output, "wb") as f:
        # Notes for whoever edits the source stay out of the shipped file.
        shipped = [line for line in lines if not line.startswith(";")]
        f.write(b"\xff\xfe" + "\r\n".join(shipped + [""]).encode("utf-16-le"))


if __name__ == "__main__":
    main(sys.argv)

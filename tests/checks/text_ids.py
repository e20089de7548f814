#!/usr/bin/env python3
"""Every text number of uistr.dll names one text in each language.

A number written twice in one table (directly, or through a name of
uistr/text_ids.h) leaves one of the two texts shown for the other's purpose;
a German text whose number the English table lacks has nothing to fall back
on in other languages and is most likely a mistyped number. Lists each such
number with its lines and fails when there is one.

    text_ids.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

DEFINE = re.compile(r"^\s*#define\s+(\w+)\s+(\d+)\b")
ENTRY = re.compile(r"^\s*(\d+|k\w+)\s*,\s*\"")


TABLES = ("strings.rc", "strings_de.rc")


def numbers(rc_text, header_text):
    """Text number -> lines of the table's entries; -1 for names text_ids.h lacks."""
    names = {m.group(1): int(m.group(2)) for m in map(DEFINE.match, header_text.splitlines()) if m}
    seen = {}
    for number, line in enumerate(rc_text.splitlines(), 1):
        m = ENTRY.match(line)
        if not m:
            continue
        key = m.group(1)
        value = int(key) if key.isdigit() else names.get(key)
        if value is None:
            print(f"line {number}: {key} is not defined in text_ids.h")
            seen.setdefault(-1, []).append(number)
            continue
        seen.setdefault(value, []).append(number)
    return seen


def main():
    root = Path(sys.argv[1])
    header = (root / "uistr" / "text_ids.h").read_text(encoding="utf-8", errors="replace")
    failed = False
    tables = {}
    for name in TABLES:
        seen = numbers((root / "uistr" / name).read_text(encoding="utf-8", errors="replace"), header)
        tables[name] = seen
        for value, lines in sorted(seen.items()):
            if value == -1:
                failed = True
            elif len(lines) > 1:
                print(f"text {value} is written on lines {', '.join(map(str, lines))} of uistr/{name}")
                failed = True
    english, german = tables[TABLES[0]], tables[TABLES[1]]
    for value, lines in sorted(german.items()):
        if value >= 0 and value not in english:
            print(f"text {value} (uistr/{TABLES[1]} line {lines[0]}) has no English text")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())

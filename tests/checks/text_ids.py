#!/usr/bin/env python3
"""Every text number of uistr.dll names one text.

A number written twice in uistr/strings.rc (directly, or through a name of
uistr/text_ids.h) leaves one of the two texts shown for the other's purpose.
Lists each such number with its lines and fails when there is one.

    text_ids.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

DEFINE = re.compile(r"^\s*#define\s+(\w+)\s+(\d+)\b")
ENTRY = re.compile(r"^\s*(\d+|k\w+)\s*,\s*\"")


def duplicates(rc_text, header_text):
    names = {m.group(1): int(m.group(2)) for m in map(DEFINE.match, header_text.splitlines()) if m}
    seen = {}
    for number, line in enumerate(rc_text.splitlines(), 1):
        m = ENTRY.match(line)
        if not m:
            continue
        key = m.group(1)
        value = int(key) if key.isdigit() else names.get(key)
        if value is None:
            print(f"strings.rc:{number}: {key} is not defined in text_ids.h")
            seen.setdefault(-1, []).append(number)
            continue
        seen.setdefault(value, []).append(number)
    return {k: v for k, v in seen.items() if len(v) > 1 or k == -1}


def main():
    root = Path(sys.argv[1])
    found = duplicates((root / "uistr" / "strings.rc").read_text(encoding="utf-8", errors="replace"),
                       (root / "uistr" / "text_ids.h").read_text(encoding="utf-8", errors="replace"))
    for value, lines in sorted(found.items()):
        if value >= 0:
            print(f"text {value} is written on lines {', '.join(map(str, lines))} of uistr/strings.rc")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())

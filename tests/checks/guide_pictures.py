#!/usr/bin/env python3
"""The user guide shows every page and dialog, and its pictures read anywhere.

Fails when docs/user-guide.md has no picture of one of the pages and dialogs
below, when a picture it names is missing or is no PNG, or when the pictures
are too large to keep in the repository (80 KB each, 1 MB in all).

    guide_pictures.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

# What the guide must show: picture under docs/pictures/ -> the page or dialog.
REQUIRED = {
    "buttons.png": "the settings tab with the button page",
    "assignment.png": "the assignment dialog",
    "performance.png": "the performance page",
    "dpi-levels.png": "the DPI levels dialog",
    "lighting.png": "the lighting page",
    "macros-recording.png": "the macro page with the recorder",
    "insert-panel.png": "the insert panel",
    "import-question.png": "the import question",
    "no-mouse.png": "Option without the mouse",
}
MAX_EACH = 80 * 1024
MAX_ALL = 1024 * 1024
PNG = b"\x89PNG\r\n\x1a\n"
IMAGE = re.compile(r"!\[[^\]]*\]\(([^)\s]+)\)")


def problems(root):
    guide = root / "docs" / "user-guide.md"
    if not guide.exists():
        return [f"{guide} is missing"]
    found = []
    referenced = [guide.parent / ref for ref in IMAGE.findall(guide.read_text(encoding="utf-8"))]
    names = {path.name for path in referenced}
    for name, what in REQUIRED.items():
        if name not in names:
            found.append(f"the guide has no picture of {what} ({name})")
    for path in referenced:
        if not path.is_file():
            found.append(f"the guide names {path}, which does not exist")
        elif path.read_bytes()[:8] != PNG:
            found.append(f"{path} is not a PNG")
        elif path.stat().st_size > MAX_EACH:
            found.append(f"{path} has {path.stat().st_size} bytes, more than {MAX_EACH}")
    pictures = root / "docs" / "pictures"
    total = sum(p.stat().st_size for p in pictures.glob("*.png")) if pictures.is_dir() else 0
    if total > MAX_ALL:
        found.append(f"the pictures under {pictures} have {total} bytes, more than {MAX_ALL}")
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = problems(Path(sys.argv[1]))
    for problem in found:
        print(problem)
    print(f"guide pictures: {len(REQUIRED)} pages and dialogs required, {len(found)} problems")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()

"""Checks the skin sets as the build wrote them.

The 100 % set (the skins folder itself) and Option's 100 % resource pictures
must stay byte for byte what they were before the scaled sets were added: that
is the set every installed copy and every screenshot of the guide was made
with, and drawing the scales must not move a pixel of it. The manifest holds
their SHA-256. A deliberate change of the artwork renews it:

    { (cd SKINS && sha256sum *.ini *.bmp | sed 's#  #  skins/#')
      (cd OPTION && sha256sum * | sed 's#  #  option/#'); }

(keeping the two comment lines at its top).

Each scale folder (125, 150, 200) must hold every file of the 100 % set and
Option's resource pictures, so that Option finds a whole set in any of them.

usage: check_skin_sets.py MANIFEST SKINS_DIR OPTION_RESOURCES_DIR
"""
import hashlib
import sys
from pathlib import Path

SCALES = ("125", "150", "200")


def main() -> int:
    manifest, skins, option = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    folders = {"skins": skins, "option": option}
    failures = []
    expected = {}
    for line in manifest.read_text().splitlines():
        if not line.strip() or line.startswith("#"):
            continue
        digest, name = line.split(None, 1)
        expected[name.strip()] = digest
    for name, digest in sorted(expected.items()):
        kind, file = name.split("/", 1)
        path = folders[kind] / file
        if not path.is_file():
            failures.append(f"{name}: missing")
        elif hashlib.sha256(path.read_bytes()).hexdigest() != digest:
            failures.append(f"{name}: its bytes changed")
    listed = {n.split("/", 1)[1] for n in expected if n.startswith("skins/")}
    # The native tree's skins folder is also the build folder of skins/: only
    # descriptions and pictures belong to the set.
    for path in sorted(skins.iterdir()):
        if path.is_file() and path.suffix.lower() in (".ini", ".bmp") and path.name not in listed:
            failures.append(f"skins/{path.name}: not in the manifest")

    wanted = sorted(listed | {p.name for p in option.iterdir() if p.is_file()})
    for scale in SCALES:
        folder = skins / scale
        for file in wanted:
            if not (folder / file).is_file():
                failures.append(f"skins/{scale}/{file}: missing")

    for f in failures:
        print(f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Every handle the programs free goes through its owner class.

Lists each use of CloseHandle, DestroyMenu, DestroyIcon, DeleteObject or
DeleteDC in the tracked C++ sources outside the owner headers, as FILE:LINE,
and fails when there is one. Comments and string literals do not count.

    handle_owners.py SOURCE_DIR     check a tree (git's tracked files, or every file)
    handle_owners.py --self-test    check the checker on files of its own
"""
import os
import re
import subprocess
import sys
import tempfile

FREEING_CALLS = ("CloseHandle", "DestroyMenu", "DestroyIcon", "DeleteObject", "DeleteDC")
OWNER_HEADERS = {"common/win32/kernel_handle.h", "common/winui/gdi.h", "common/winui/user_handles.h"}
SOURCE_ENDINGS = (".cpp", ".h")
CALL = re.compile(r"\b(" + "|".join(FREEING_CALLS) + r")\b")


def source_files(root):
    """The tracked sources below root; every source file where git has none."""
    try:
        listed = subprocess.run(["git", "-C", root, "ls-files", "-z", "--", "*.cpp", "*.h"],
                                capture_output=True, check=True).stdout.decode("utf-8")
        return sorted(f for f in listed.split("\0") if f)
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, subfolders, files in os.walk(root):
            subfolders[:] = [d for d in subfolders if not d.startswith(".") and d != "build"]
            for name in files:
                if name.endswith(SOURCE_ENDINGS):
                    found.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
        return sorted(found)


def code_only(text):
    """The text with comments and string and character literals blanked out;
    line breaks stay where they are, so line numbers still hold."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c == '"' and re.search(r"(?:^|[^A-Za-z0-9_])(?:u8|u|U|L)?R$", text[max(0, i - 3):i]):
            delimiter = text[i + 1:text.find("(", i)]
            end = text.find(")" + delimiter + '"', i)
            end = n if end < 0 else end + len(delimiter) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(" " * (min(j + 1, n) - i))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def offenders(root):
    found = []
    for name in source_files(root):
        if name in OWNER_HEADERS:
            continue
        try:
            with open(os.path.join(root, name), encoding="utf-8", errors="replace") as f:
                text = f.read()
        except OSError:
            continue  # listed by git but gone from the working tree
        original = text.split("\n")
        for number, line in enumerate(code_only(text).split("\n"), start=1):
            match = CALL.search(line)
            if match:
                found.append(f"{name}:{number}: {match.group(1)} outside its owner: {original[number - 1].strip()}")
    return found


def self_test():
    samples = {
        "app/leaky.cpp": "void F(HANDLE h) {\n\n    CloseHandle(h);\n}\n",
        "app/menus.h": "/* DestroyMenu in a comment\n   DeleteDC too */\nvoid G(HMENU m) { ::DestroyMenu(m); }\n",
        "app/quiet.cpp": ('// CloseHandle(h) here is only a comment\n'
                          'const char* kText = "DeleteObject failed";\n'
                          'const wchar_t* kRaw = LR"x(DestroyIcon(")x";\n'
                          "void MyCloseHandle();\n"),
        "app/after_raw.cpp": 'auto s = R"(one\ntwo)"; DeleteObject(b);\n',
        "common/win32/kernel_handle.h": "void Close(HANDLE h) { CloseHandle(h); }\n",
        "app/notes.txt": "CloseHandle\n",
    }
    with tempfile.TemporaryDirectory() as root:
        for name, text in samples.items():
            os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
            with open(os.path.join(root, name), "w", encoding="utf-8") as f:
                f.write(text)
        got = [line.split(": ")[0] + " " + line.split(": ")[1].split()[0] for line in offenders(root)]
    want = ["app/after_raw.cpp:2 DeleteObject", "app/leaky.cpp:3 CloseHandle", "app/menus.h:3 DestroyMenu"]
    if got != want:
        print("self-test: expected", want, "got", got)
        return 1
    print("self-test: 3 offenders found, 4 harmless mentions passed over")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    found = offenders(argv[1])
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} handle(s) freed by hand; use KernelHandle, GdiObject/MemoryDC or MenuHandle/IconHandle")
        return 1
    print("every handle is freed by its owner")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

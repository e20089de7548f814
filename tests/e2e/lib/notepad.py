"""Wine's Notepad beside Option: another program, to see where keys go."""
import subprocess
import time

from . import harness, suite
from .harness import wait_for
from .option import scaled

NOTEPAD_TITLE = "Untitled - Notepad"


class Notepad:
    """Another program, to see where keys go (needs self.folder and self.env)."""

    def start_notepad(self):
        # Beside Option, not over it, at any scale: Wine's Notepad opens where it was last.
        # Option may be gone (killed by the test): then beside where its window was.
        window = self.folder.option_window(patience=2)
        right = window["rect"][2] if window else scaled(680)
        for name, value in (("iWindowPosX", right + 20), ("iWindowPosY", 0), ("iWindowPosDX", 560),
                            ("iWindowPosDY", 400)):
            suite.session().reg("add", "HKCU\\Software\\Microsoft\\Notepad", "/v", name, "/t", "REG_DWORD",
                                 "/d", str(value), "/f")
        process = subprocess.Popen([harness.WINE, "notepad"], env=self.env, cwd=self.folder.path,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.children.append(process)
        self.assertTrue(wait_for(lambda: self.folder.tree(NOTEPAD_TITLE), 30), "notepad did not open")
        time.sleep(0.5)
        return process

    def notepad_text(self):
        return "".join(r["text"] for r in self.folder.tree(NOTEPAD_TITLE) if r["cls"].lower() == "edit")

    def type_into_notepad(self, text):
        window = subprocess.run(["xdotool", "search", "--name", NOTEPAD_TITLE], env=self.env, capture_output=True,
                                text=True).stdout.split()
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], env=self.env)
        # A click makes it Wine's active window too, as a user's would.
        edit = next((r["rect"] for r in self.folder.tree(NOTEPAD_TITLE) if r["cls"].lower() == "edit"), None)
        if edit:
            self.xdotool("mousemove", (edit[0] + edit[2]) // 2, (edit[1] + edit[3]) // 2, "click", "1")
            time.sleep(0.3)
        self.xdotool("type", "--delay", "60", text)
        return wait_for(lambda: text in self.notepad_text(), 5)

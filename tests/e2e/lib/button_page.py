"""Option's button page and the assignment dialog of a button: points from the
staged skins, the dialog's pages and menus, and the button's stored record."""
import subprocess
import time

from . import suite
from .harness import wait_for
from .macro_library import KEY_A, write_library
from .notepad import Notepad
from .option import OPTION_TITLE, OptionTest, scaled, scaled_name, skin_entries

# The skinned menus: 23-pixel items under a 1-pixel frame, opened at the
# bottom-left corner of their button.
MENU_ITEM, MENU_FRAME = 23, 1
NUMBERS = {0: 1, 1: 2, 2: 3, 3: 9, 4: 8, 5: 4, 6: 5, 14: 6, 15: 7}
DEFAULT_CODES = {0: 1, 1: 2, 2: 3, 3: 5, 4: 4, 5: 14, 6: 15, 14: 7, 15: 8}
PAGE_SKINS = {1: "skin_SetDefault.ini", 2: "skin_setKey.ini", 3: "skin_setMouse.ini", 4: "skin_setDPI.ini",
              5: "skin_setMacro.ini", 6: "skin_setLaunch.ini", 7: "skin_setMedia.ini", 8: "skin_setShortcut.ini",
              9: "skin_SetBlock.ini"}


def stored_assignment(folder, index):
    """The current profile's stored record of button `index`, read raw: its function and what it names."""
    raw = folder.gmconfig("show", "--raw")
    line = next(line for line in raw.splitlines() if line.startswith(f"MacroKeyInfo{index}="))
    data = bytes.fromhex(line.split("=", 1)[1].strip()[:-2])
    program = data[710:1232].decode("utf-16-le").split("\0")[0]
    return dict(code=data[1], cls=data[8], key=data[70], index=int.from_bytes(data[4:8], "little", signed=True),
                count=int.from_bytes(data[60:64], "little"), mode=int.from_bytes(data[64:68], "little"),
                events=int.from_bytes(data[68:70], "little"), program=program,
                name=data[10:58].decode("utf-16-le").split("\0")[0])


class ButtonTest(Notepad, OptionTest):
    profiles = ("Gamer",)
    library = [("Reload", [(KEY_A, 1, 0), (KEY_A, 2, 0)]), ("Spray", [])]

    def prepare(self):
        write_library(self.folder.path / "config" / "sequence.dat", self.library)

    def setUp(self):
        super().setUp()
        skins = self.folder.skins
        self.page_skin = skin_entries(skins / "skin_button_page.ini")
        self.view_skins = [skin_entries(skins / "skin_Mouse.ini"), skin_entries(skins / "skin_MousSide.ini")]
        self.setup_skin = skin_entries(skins / "skin_Setup.ini")
        self.page_skins = {cls: skin_entries(skins / name) for cls, name in PAGE_SKINS.items()}
        self.env = self.folder.env()
        self.view = 0

    # Points from the skins.
    def page_origin(self):
        return self.folder.sub_page_origin()

    def centre(self, origin, rect):
        x, y, w, h = rect
        return origin[0] + x + w // 2, origin[1] + y + h // 2

    def view_point(self, entry, view=None):
        px, py = self.page_origin()
        vx, vy = self.page_skin[3][:2]
        return self.centre((px + vx, py + vy), self.view_skins[self.view if view is None else view][entry])

    def show_view(self, view):
        self.folder.click(self.centre(self.page_origin(), self.page_skin[1 + view]), settle=0.5)
        self.view = view

    def shows(self, index, view):
        return index + 17 in self.view_skins[view]

    def view_of(self, index):
        return 0 if self.shows(index, 0) else 1

    def open_dialog(self, index, caption=False):
        view = self.view_of(index)
        if view != self.view:
            self.show_view(view)
        self.folder.click(self.view_point(index + (1 if caption else 17)), settle=0.8)
        title = f"G{NUMBERS[index]}"
        self.assertTrue(wait_for(lambda: self.folder.tree(title), 10), f"the dialog {title} did not open")
        self.title = title
        time.sleep(0.3)

    def dialog_origin(self):
        return self.folder.tree(self.title)[0]["rect"][:2]

    def dialog_point(self, entry):
        return self.centre(self.dialog_origin(), self.setup_skin[entry])

    def page_point(self, cls, entry, dy=None):
        dx, dy0 = self.dialog_origin()
        ax, ay = self.setup_skin[6][:2]
        x, y, w, h = self.page_skins[cls][entry]
        return dx + ax + x + w // 2, dy0 + ay + y + (h // 2 if dy is None else dy)

    def keys(self, *keys):
        self.folder.keys(*keys, title=f"^{self.title}$")

    def dialog_rect(self, entry):
        dx, dy = self.dialog_origin()
        x, y, w, h = self.setup_skin[entry]
        return dx + x, dy + y, w, h

    def page_rect(self, cls, entry):
        dx, dy = self.dialog_origin()
        ax, ay = self.setup_skin[6][:2]
        x, y, w, h = self.page_skins[cls][entry]
        return dx + ax + x, dy + ay + y, w, h

    def pick(self, button, position):
        """Opens the menu of the button at screen rect `button` and clicks item `position` (1-based).
        Clicks, not keys: on the key page every key goes to the key box."""
        x, y, w, h = button
        self.folder.click((x + w // 2, y + h // 2), settle=1.0)
        # On a loaded machine the menu may come later than the pause: an item
        # clicked before it shows hits the dialog behind.
        self.assertTrue(wait_for(self.folder.menu_shown, 10), "the button opened no menu")
        item = scaled(MENU_ITEM)  # each item is laid out at 100 % and scaled on its own
        self.folder.click((x + scaled(40), y + h + MENU_FRAME + item * (position - 1) + item // 2), settle=0.6)

    def category(self, cls):
        self.pick(self.dialog_rect(2), cls)

    def menu(self, cls, entry, position):
        self.pick(self.page_rect(cls, entry), position)

    def finish(self, entry=3):
        self.folder.click(self.dialog_point(entry), settle=0.5)
        self.assertTrue(wait_for(lambda: not self.folder.tree(self.title), 10), "the dialog stayed open")

    def record(self, index):
        return stored_assignment(self.folder, index)

    def assign(self, index, steps, expect):
        """Opens the dialog of `index`, runs `steps`, accepts, and checks the record and what the mouse got."""
        before = self.wait_quiet()
        self.open_dialog(index)
        steps()
        self.finish()
        self.assertTrue(wait_for(lambda: all(self.record(index)[k] == v for k, v in expect.items()), 10),
                        f"button {index}: {self.record(index)} is not {expect}")
        self.wait_quiet()
        self.assertEqual(self.downloads_after(before), self.folder.reports(), "the mouse did not get the new table")

    def states(self):
        result = self.folder.probe("states", OPTION_TITLE)
        rows = []
        for line in result.stdout.splitlines():
            parts = line.split(" ", 9)
            if len(parts) >= 9:
                rows.append(dict(depth=int(parts[0]), id=int(parts[1]), cls=parts[2], visible=parts[3] == "1",
                                 enabled=parts[4] == "1", rect=tuple(int(p) for p in parts[5:9]),
                                 text=parts[9] if len(parts) > 9 else ""))
        return rows

    def view_buttons(self):
        """The shown view's buttons by entry: (enabled, text)."""
        return {r["id"]: (r["enabled"], r["text"]) for r in self.states()
                if r["cls"] == "GmSkinButton" and r["visible"] and r["depth"] == 4 and 1 <= r["id"] <= 32}

    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True)

    def screenshot(self, name):
        from PIL import ImageGrab
        ImageGrab.grab(xdisplay=suite.session().display).crop((0, 0, scaled(760), scaled(620))).save(
            suite.session().build_dir / scaled_name(name))

    def grab(self, point, size=12):
        from PIL import ImageGrab
        x, y = point
        return ImageGrab.grab(bbox=(x - size, y - size // 2, x + size, y + size // 2),
                              xdisplay=suite.session().display).tobytes()

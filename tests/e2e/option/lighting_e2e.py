"""End-to-end tests of Option's lighting page: the real Option with the real
Monitor and the virtual mouse, under Wine and Xvfb, driven with xdotool at
points computed from the staged skin files. What the page shows is read with
the probe, what reached the mouse from the virtual mouse's trace, and the
store through gmconfig. Expected texts are read from uistr's string table.

    /usr/bin/python3 lighting_e2e.py --build-dir build/win [unittest arguments]
"""
import re
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.option import OPTION_TITLE, OptionTest, skin_entries  # noqa: E402


MODE, DIRECTION, LEVEL = 2, 4, 5
SWATCHES = tuple(range(7, 14))  # DPIColor0-6
COLOUR_TITLE = "Color"  # the platform's colour dialog
ATTRIBUTE_COMMAND = "SetFeature 0C 01 80"
LIGHTING = 71  # the lighting triple's first byte in the attribute block
COLOURS = 104  # red, green, blue of DPI colour 1, then the others


def string_table():
    """The texts of uistr.dll by number, from its source."""
    source = Path(__file__).resolve().parents[3] / "uistr" / "strings.rc"
    texts = {}
    for line in source.read_text(encoding="utf-8").splitlines():
        match = re.match(r'\s*(\d+),\s*"(.*)"\s*$', line)
        if match:
            texts[int(match.group(1))] = match.group(2).replace('""', '"')
    return texts


TEXTS = string_table()


def divisor(intensity):
    return {0: 40, 1: 20}.get(intensity, 5)


class LightingTest(OptionTest):
    profiles = ("Gamer", "Game")
    # Store values of the current profile before the programs start.
    lighting = {}

    def prepare(self):
        if self.lighting:
            self.folder.gmconfig("set", *[f"{k}={v}" for k, v in self.lighting.items()])

    def setUp(self):
        super().setUp()
        self.light_skin = skin_entries(self.folder.skins / "Skin_light.ini")
        self.folder.click(self.folder.config_point(3), settle=0.5)
        self.assertTrue(wait_for(lambda: self.control(MODE) is not None, 10), "the lighting page did not show")

    # What the page shows.
    def states(self, title=OPTION_TITLE):
        result = self.folder.probe("states", title)
        rows = []
        for line in result.stdout.splitlines() if result.returncode == 0 else []:
            parts = line.split(" ", 9)
            if len(parts) < 9:
                continue
            rows.append(dict(depth=int(parts[0]), id=int(parts[1]), cls=parts[2], visible=parts[3] == "1",
                             enabled=parts[4] == "1", rect=tuple(int(p) for p in parts[5:9]),
                             text=parts[9] if len(parts) > 9 else ""))
        return rows

    def control(self, entry):
        """The shown sub-page's control of skin entry `entry`."""
        return next((r for r in self.states() if r["depth"] == 3 and r["id"] == entry and r["visible"]), None)

    def look(self):
        """(enabled, caption) of the mode, direction and level buttons, and the swatches' enabled states."""
        rows = {r["id"]: r for r in self.states() if r["depth"] == 3 and r["visible"]}
        buttons = {e: (rows[e]["enabled"], rows[e]["text"]) for e in (MODE, DIRECTION, LEVEL)}
        return buttons, [rows[e]["enabled"] for e in SWATCHES]

    def page_point(self, entry, dx=None, dy=None):
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        sx, sy = self.folder.config_skin[16][:2]
        x, y, w, h = self.light_skin[entry]
        return (left + ax + sx + x + (w // 2 if dx is None else dx),
                top + ay + sy + y + (h // 2 if dy is None else dy))

    def screenshot(self, name):
        from PIL import ImageGrab
        image = ImageGrab.grab(xdisplay=suite.session().display).convert("RGB")
        image.crop((0, 0, option.scaled(700), option.scaled(600))).save(
            suite.session().build_dir / option.scaled_name(name))
        return image

    # The store and the mouse.
    def field(self, key):
        value = self.profile_values()[key]
        return int(value, 16) if value.startswith("0x") else int(value)

    def wait_field(self, key, value, timeout=10):
        return wait_for(lambda: self.field(key) == value, timeout)

    def attribute_block(self, before):
        """The 128 bytes of the last attribute block sent after trace position `before`, once it is whole."""
        def block():
            sends = self.downloads_after(before)
            starts = [i for i, op in enumerate(sends) if op.startswith(ATTRIBUTE_COMMAND)]
            if not starts or not any(op.startswith("SetFeature 02 01 00") for op in sends[starts[-1]:]):
                return None
            halves = [op for op in sends[starts[-1] + 1:starts[-1] + 3] if op.startswith("WriteUSB")]
            if len(halves) != 2:
                return None
            data = [int(b, 16) for half in halves for b in half.split()[1:]]
            return data if len(data) == 128 else None
        data = wait_for(block, 10)
        self.assertIsNotNone(data, "no whole attribute block reached the mouse")
        return data

    # Painted texts, read from a screenshot: grey text on the page's dark ground.
    def text_pixels(self, image, box):
        """Pixels brighter than the ground in `box` (page coordinates: left, top, right, bottom)."""
        ox, oy = self.folder.sub_page_origin()
        left, top, right, bottom = box
        return sum(1 for y in range(oy + top, oy + bottom) for x in range(ox + left, ox + right)
                   if max(image.getpixel((x, y))) >= 85)

    def label_shown(self, image, top):
        # The page's fixed label band (x 321-500, 30 high) at the run's scale.
        return self.text_pixels(image, (option.scaled(321), option.scaled(top), option.scaled(500),
                                        option.scaled(top + 30))) > 15

    def legend_numbers(self, image):
        """Whether a level number is painted under each of the first five swatches."""
        shown = []
        for entry in SWATCHES[:5]:
            x, y, w, h = self.light_skin[entry]
            gap, line = option.scaled(4), option.scaled(22)
            shown.append(self.text_pixels(image, (x - gap, y + h + gap, x + w + gap, y + h + line)) > 3)
        return shown

    def swatch_pixel(self, image, swatch):
        return image.getpixel(self.page_point(SWATCHES[swatch]))

    # Menus and the colour dialog.
    def menu_choose(self, entry, item):
        """Opens the menu of button `entry` and chooses its item `item` (0-based) with the keys."""
        self.folder.click(self.page_point(entry), settle=1.0)
        self.folder.keys(*(["Down"] * (item + 1)), "Return")

    def colour_dialog(self):
        return self.folder.tree(COLOUR_TITLE)

    def colour_edits(self):
        """The dialog's red, green and blue edits' texts."""
        rows = {r["id"]: r["text"] for r in self.colour_dialog()}
        return [rows.get(i) for i in (706, 707, 708)]

    def open_colour_dialog(self, swatch):
        self.folder.click(self.page_point(SWATCHES[swatch]), settle=1.0)
        self.assertTrue(wait_for(lambda: self.colour_dialog(), 10), "no colour dialog")
        time.sleep(0.5)

    def type_colour(self, red, green, blue):
        """Types the colour into the dialog's edits, reached by their mnemonics."""
        for key, value in (("alt+r", red), ("alt+g", green), ("alt+b", blue)):
            self.folder.keys(key, "ctrl+a", title=COLOUR_TITLE)
            self.folder.type_text(str(value))
        self.assertTrue(wait_for(lambda: self.colour_edits() == [str(red), str(green), str(blue)], 5),
                        f"the dialog shows {self.colour_edits()}")

    def close_colour_dialog(self, key):
        self.folder.keys(key, title=COLOUR_TITLE)
        self.assertTrue(wait_for(lambda: not self.colour_dialog(), 10), "the colour dialog stayed open")


def colour_bytes(colour, intensity):
    """Red, green, blue of a 0x00BBGGRR colour as the mouse gets them."""
    return [((colour >> shift) & 0xFF) // divisor(intensity) for shift in (0, 8, 16)]


class ModeOff(LightingTest):
    lighting = {"LightSwitch": 1, "LightIntensity": 1}

    def test_off_disables_level_direction_and_swatches_and_blanks_their_captions(self):
        buttons, swatches = self.look()
        self.assertEqual(buttons, {MODE: (True, TEXTS[127]), LEVEL: (True, TEXTS[137]), DIRECTION: (False, "")})
        self.assertEqual(swatches, [True] * 7)
        image = self.screenshot("option-lighting-steady.png")
        self.assertEqual([self.label_shown(image, top) for top in (110, 179, 250)], [True, True, True])
        self.assertEqual(self.legend_numbers(image), [True] * 5)
        colours = [self.field(f"DPIColor{i}") for i in range(7)]

        before = self.wait_quiet()
        self.menu_choose(MODE, 0)
        self.assertTrue(self.wait_field("LightSwitch", 0), "the mode was not stored")
        buttons, swatches = self.look()
        self.assertEqual(buttons, {MODE: (True, TEXTS[126]), LEVEL: (False, ""), DIRECTION: (False, "")})
        self.assertEqual(swatches, [False] * 7)
        image = self.screenshot("option-lighting-off.png")
        self.assertEqual([self.label_shown(image, top) for top in (110, 179, 250)], [True, False, False])
        self.assertEqual(self.attribute_block(before)[LIGHTING:LIGHTING + 3], [0, 0, 0])
        self.assertEqual([self.field(f"DPIColor{i}") for i in range(7)], colours, "switching off lost colours")
        self.assertEqual(self.field("LightIntensity"), 1)


class LevelFollowsMode(LightingTest):
    lighting = {"LightSwitch": 1, "LightIntensity": 0, "LightSpeed": 1}

    def test_brightness_keeps_its_value_while_the_speed_changes(self):
        self.assertEqual(self.control(LEVEL)["text"], TEXTS[136])
        before = self.wait_quiet()
        self.menu_choose(LEVEL, 2)
        self.assertTrue(self.wait_field("LightIntensity", 2), "the brightness was not stored")
        self.assertEqual(self.field("LightSpeed"), 1)
        self.assertEqual(self.control(LEVEL)["text"], TEXTS[138])
        self.assertEqual(self.attribute_block(before)[LIGHTING:LIGHTING + 3], [0x01, 0x05, 0x00])

        # Mode 2: the same button shows and changes the speed.
        self.menu_choose(MODE, 2)
        self.assertTrue(self.wait_field("LightSwitch", 2))
        self.assertEqual(self.control(LEVEL)["text"], TEXTS[140])
        image = self.screenshot("option-lighting-breathing.png")
        self.assertEqual([self.label_shown(image, top) for top in (110, 179, 250)], [True, True, True])
        before = self.wait_quiet()
        self.menu_choose(LEVEL, 0)
        self.assertTrue(self.wait_field("LightSpeed", 0), "the speed was not stored")
        self.assertEqual(self.field("LightIntensity"), 2, "the brightness changed with the speed")
        self.assertEqual(self.control(LEVEL)["text"], TEXTS[139])
        self.assertEqual(self.attribute_block(before)[LIGHTING:LIGHTING + 3], [0x02, 0x19, 0x00])


class WaveDirection(LightingTest):
    lighting = {"LightSwitch": 2, "LightDir": 1, "LightSpeed": 2}

    def test_only_the_direction_button_changes_the_direction(self):
        self.assertEqual(self.look()[0][DIRECTION], (False, ""))
        store = self.folder.store_text()
        self.folder.click(self.page_point(DIRECTION))
        self.assertEqual(self.folder.store_text(), store, "a disabled direction button did something")

        self.menu_choose(MODE, 3)
        self.assertTrue(self.wait_field("LightSwitch", 3))
        buttons, swatches = self.look()
        self.assertEqual(buttons, {MODE: (True, TEXTS[129]), LEVEL: (True, TEXTS[141]), DIRECTION: (True, TEXTS[133])})
        self.assertEqual(swatches, [False] * 7)
        image = self.screenshot("option-lighting-wave.png")
        self.assertEqual([self.label_shown(image, top) for top in (110, 179, 250)], [True, True, False])

        before = self.wait_quiet()
        self.menu_choose(DIRECTION, 3)
        self.assertTrue(self.wait_field("LightDir", 3), "the direction was not stored")
        self.assertEqual(self.control(DIRECTION)["text"], TEXTS[135])
        self.assertEqual(self.attribute_block(before)[LIGHTING:LIGHTING + 3], [0x03, 0x05, 0x03])

        before = self.wait_quiet()
        self.menu_choose(LEVEL, 1)
        self.assertTrue(self.wait_field("LightSpeed", 1), "the speed was not stored")
        self.assertEqual(self.field("LightDir"), 3, "the level menu changed the direction")
        self.assertEqual(self.attribute_block(before)[LIGHTING:LIGHTING + 3], [0x03, 0x0C, 0x03])

        # The swatches keep their colours and open nothing while disabled.
        colours = [self.field(f"DPIColor{i}") for i in range(7)]
        self.folder.click(self.page_point(SWATCHES[0]), settle=1.0)
        self.assertEqual(self.colour_dialog(), [], "a disabled swatch opened the colour dialog")
        self.assertEqual([self.field(f"DPIColor{i}") for i in range(7)], colours)


class ColourDialog(LightingTest):
    lighting = {"LightSwitch": 1, "LightIntensity": 1, "CpiStep": 0}

    def test_a_typed_colour_is_stored_shown_and_sent_divided_by_the_brightness(self):
        before = self.wait_quiet()
        self.open_colour_dialog(2)
        # Preset to the swatch's colour: DPIColor2 is blue.
        self.assertEqual(self.colour_edits(), ["0", "0", "255"])
        self.screenshot("option-lighting-colour-dialog.png")
        self.type_colour(250, 100, 45)
        self.close_colour_dialog("Return")
        self.assertTrue(self.wait_field("DPIColor2", 0x2D64FA), "the colour was not stored")
        block = self.attribute_block(before)
        self.assertEqual(block[COLOURS + 6:COLOURS + 9], [12, 5, 2])  # 250, 100, 45 divided by 20
        for i in range(5):
            self.assertEqual(block[COLOURS + 3 * i:COLOURS + 3 * i + 3],
                             colour_bytes(self.field(f"DPIColor{i}"), 1), f"colour {i + 1}")
        image = self.screenshot("option-lighting-colour-chosen.png")
        self.assertEqual(self.swatch_pixel(image, 2), (250, 100, 45), "the swatch does not show the colour")

    def test_the_spare_colours_are_stored_but_never_sent(self):
        sent = [colour_bytes(self.field(f"DPIColor{i}"), 1) for i in range(5)]
        for swatch, colour in ((5, (10, 20, 30)), (6, (200, 150, 100))):
            before = self.wait_quiet()
            self.open_colour_dialog(swatch)
            self.type_colour(*colour)
            self.close_colour_dialog("Return")
            value = colour[0] | colour[1] << 8 | colour[2] << 16
            self.assertTrue(self.wait_field(f"DPIColor{swatch}", value), f"colour {swatch + 1} was not stored")
            block = self.attribute_block(before)
            self.assertEqual([block[COLOURS + 3 * i:COLOURS + 3 * i + 3] for i in range(5)], sent)
            self.assertEqual(block[COLOURS + 15:], [0] * 9)

    def test_cancel_changes_nothing_and_sends_nothing(self):
        before = self.wait_quiet()
        store = self.folder.store_text()
        self.open_colour_dialog(0)
        self.type_colour(1, 2, 3)
        self.close_colour_dialog("Escape")
        time.sleep(1.5)
        self.assertEqual(self.folder.store_text(), store, "Cancel changed the store")
        self.assertEqual(self.downloads_after(before), [], "Cancel sent something to the mouse")
        self.assertEqual(self.swatch_pixel(self.screenshot("option-lighting-cancelled.png"), 0), (255, 255, 0))
        # A change after it is the first and only download since the dialog opened.
        self.menu_choose(LEVEL, 0)
        self.assertTrue(self.wait_field("LightIntensity", 0))
        self.attribute_block(before)
        starts = [op for op in self.downloads_after(before) if op.startswith("SetFeature 01 08")]
        self.assertEqual(len(starts), 1, "Cancel started a download")
        self.assertEqual(self.field("DPIColor0"), 0x00FFFF)

    def test_a_change_on_the_mouse_while_the_dialog_is_open_is_kept_with_the_colour(self):
        self.open_colour_dialog(1)
        # The Monitor writes the new DPI level into the store and Option reads it again.
        self.folder.mousesim("dpi-button", "3")
        self.assertTrue(self.wait_field("CpiStep", 2), "the mouse's DPI change was not stored")
        time.sleep(1.0)
        self.type_colour(7, 8, 9)
        self.close_colour_dialog("Return")
        self.assertTrue(self.wait_field("DPIColor1", 0x090807), "the colour was lost")
        self.assertEqual(self.field("CpiStep"), 2, "the mouse's DPI change was lost")
        self.assertIsNone(self.option.poll(), "Option ended")


class ProfileSwitch(LightingTest):
    def prepare(self):
        self.folder.gmconfig("select", "0")
        self.folder.gmconfig("set", "LightSwitch=3", "LightDir=2")
        self.folder.gmconfig("select", "1")
        self.folder.gmconfig("set", "LightSwitch=0")

    def test_choosing_or_resetting_a_profile_shows_its_lighting(self):
        buttons, swatches = self.look()
        self.assertEqual(buttons, {MODE: (True, TEXTS[126]), LEVEL: (False, ""), DIRECTION: (False, "")})
        self.choose(0)
        self.assertTrue(wait_for(lambda: self.look()[0][DIRECTION] == (True, TEXTS[134]), 5),
                        f"the page shows {self.look()}")
        self.assertEqual(self.look()[0][MODE], (True, TEXTS[129]))
        # The reset values: wave, direction 1.
        self.folder.click(self.folder.config_point(14))
        self.assertTrue(wait_for(lambda: self.look()[0][DIRECTION] == (True, TEXTS[133]), 5),
                        f"the page shows {self.look()}")


if __name__ == "__main__":
    option.main()

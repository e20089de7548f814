"""End-to-end tests of the suite's languages: Option and the Monitor's icon
menu under Wine with a German, a Japanese and an English locale, and with the
store's "Language" key. Every page and dialog is photographed in German, and
walked in German and in English by the accessibility probe: every visible
control must tell a screen reader its name, the right role and the right state.

    /usr/bin/python3 language_e2e.py --build-dir build/win [unittest arguments]
"""
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
from lib import option, suite, tray  # noqa: E402
from lib.harness import wait_for  # noqa: E402
from lib.button_page import ButtonTest  # noqa: E402
from lib.option import OPTION_TITLE, OptionFolder, OptionTest, skin_entries  # noqa: E402


GERMAN = {"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8"}
JAPANESE = {"LANG": "ja_JP.UTF-8", "LC_ALL": "ja_JP.UTF-8"}
ENGLISH = {"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"}

GERMAN_TABS = {"Einstellungen", "Makros", "Tasten", "Leistung", "Beleuchtung", "Draufsicht", "Seitenansicht"}
# Category of the assignment dialog -> (screenshot name, German caption).
CATEGORIES = {1: ("default", "Standard"), 2: ("key", "Tastaturtaste"), 3: ("mouse", "Mausfunktion"),
              4: ("dpi", "DPI-Funktion"), 5: ("macro", "Makro"), 6: ("launch", "Starten"), 7: ("media", "Medien"),
              8: ("shortcut", "Tastenkürzel"), 9: ("disabled", "Deaktiviert")}
ENGLISH_TABS = {"Settings", "Macros", "Buttons", "Performance", "Lighting", "Top view", "Side view"}
# The English of the German texts the page walk looks for.
IN_ENGLISH = dict(zip(
    ["Rechtsklick", "DPI hoch", "Vorwärts", "Abbrechen", "Standard", "Tastaturtaste", "Mausfunktion", "DPI-Funktion",
     "Makro", "Starten", "Medien", "Tastenkürzel", "Deaktiviert", "Programm", "Stufen bearbeiten",
     "DPI der aktiven Stufe", "Profil löschen", "Aufnehmen", "Wie getippt", "Fest", "Ohne Pause", "Aufnahme davor",
     "Einstellungen", "Makros", "Tasten", "Leistung", "Beleuchtung", "Draufsicht", "Seitenansicht"],
    ["Right click", "DPI up", "Forward", "Cancel", "Default", "Keyboard key", "Mouse function", "DPI function",
     "Macro", "Launch", "Media", "Shortcut", "Disabled", "Program", "Edit levels",
     "DPI of the active level", "Delete profile", "Record", "As typed", "Fixed", "No delay", "Record before step",
     "Settings", "Macros", "Buttons", "Performance", "Lighting", "Top view", "Side view"]))

# IAccessible roles and states (oleacc.h) that the probe reports.
ROLE_SCROLL_BAR, ROLE_CLIENT, ROLE_DIALOG, ROLE_LIST, ROLE_LIST_ITEM = 0x03, 0x0A, 0x12, 0x21, 0x22
ROLE_PAGE_TAB, ROLE_STATIC_TEXT, ROLE_TEXT, ROLE_PUSH, ROLE_CHECK, ROLE_SLIDER = 0x25, 0x29, 0x2A, 0x2B, 0x2C, 0x33
STATE_UNAVAILABLE, STATE_FOCUSED, STATE_CHECKED, STATE_INVISIBLE = 0x1, 0x4, 0x10, 0x8000
ROLES = {"GmSkinButton": {ROLE_PUSH, ROLE_CHECK, ROLE_PAGE_TAB}, "GmSkinLabel": {ROLE_STATIC_TEXT},
         "GmSkinListBox": {ROLE_LIST}, "GmSkinListBox#item": {ROLE_LIST_ITEM},
         "GmBitmapEdit": {ROLE_TEXT}, "GmSkinListEdit": {ROLE_TEXT},
         "GmClickHSlider": {ROLE_SLIDER}, "GmSliderThumb": {ROLE_SLIDER}, "GmSkinScrollBar": {ROLE_SCROLL_BAR},
         "GmSkinScrollBarFrame": {ROLE_CLIENT}, "GmSkinScrollLimit": {ROLE_CLIENT},
         "GmSkinDialog": {ROLE_DIALOG, ROLE_CLIENT}, "GmQuestionDetails": {ROLE_STATIC_TEXT}}
FOCUS_ROLES = {ROLE_PUSH, ROLE_CHECK, ROLE_PAGE_TAB, ROLE_LIST, ROLE_LIST_ITEM, ROLE_TEXT, ROLE_SLIDER}


def accessibility_faults(rows):
    """What a screen reader would get wrong about the probe's rows: a control
    without an object, a name, the role of its class or a state its window has."""
    faults = []
    for row in rows:
        # The system's own windows (tooltips, the file dialogs) are the system's to describe.
        if not row["cls"].startswith("Gm"):
            continue
        where = f"{row['cls']} {row['id']} {row['name']!r}"
        role, state = row["role"], row["state"]
        if role is None:
            faults.append(f"{where}: no accessible object")
            continue
        if role not in ROLES.get(row["cls"], set()):
            faults.append(f"{where}: role {role:#x}")
        if role != ROLE_CLIENT and not row["name"].strip():
            faults.append(f"{where}: no name")
        if bool(state & STATE_UNAVAILABLE) == row["enabled"]:
            faults.append(f"{where}: enabled {row['enabled']}, state {state:#x}")
        if state & STATE_INVISIBLE:
            faults.append(f"{where}: shown but reported invisible")
        if bool(state & STATE_FOCUSED) != (row["focused"] and role in FOCUS_ROLES):
            faults.append(f"{where}: focus {row['focused']}, state {state:#x}")
    return faults


def set_language_key(folder, value):
    """Writes Language=value into the store's Config section, as a user would by hand."""
    path = folder.path / "config" / "Config.data"
    text = path.read_bytes()
    assert b"[Config]\r\n" in text, text[:80]
    path.write_bytes(text.replace(b"[Config]\r\n", b"[Config]\r\nLanguage=" + value.encode() + b"\r\n", 1))


def shown_texts(folder, title=OPTION_TITLE):
    return {r["text"] for r in folder.tree(title) if r["visible"] and r["cls"] == "GmSkinButton" and r["text"]}


class LanguageTest(OptionTest):
    profiles = ("Gamer", "Work")
    monitor = False
    locale = ENGLISH
    language_key = None

    def prepare(self):
        self.folder.extra_env.update(self.locale)
        if self.language_key:
            set_language_key(self.folder, self.language_key)

    def tab_captions(self):
        return shown_texts(self.folder) & (GERMAN_TABS | ENGLISH_TABS)


class JapaneseLocale(LanguageTest):
    locale = JAPANESE

    def test_a_language_without_a_table_shows_english(self):
        self.assertEqual(self.tab_captions(), ENGLISH_TABS)


class OverrideKey(LanguageTest):
    language_key = "de"

    def test_the_store_key_gives_german_on_an_english_system(self):
        self.assertEqual(self.tab_captions(), GERMAN_TABS)
        # Saving the store keeps the key.
        self.folder.gmconfig("set", "PollingRate=1")
        self.assertIn(b"Language=de", self.folder.store_text())


class OverrideEnglishOnGerman(LanguageTest):
    locale = GERMAN
    language_key = "English"

    def test_the_store_key_gives_english_on_a_german_system(self):
        self.assertEqual(self.tab_captions(), ENGLISH_TABS)


class PageWalk(ButtonTest):
    """Every page and dialog in turn, in the language of the locale, each looked
    at by the accessibility probe (and photographed, by the German walk)."""

    profiles = ("Gamer", "Work")
    locale = GERMAN
    tabs = GERMAN_TABS

    def prepare(self):
        super().prepare()
        self.folder.extra_env.update(self.locale)

    def t(self, german):
        """`german` in the language of the run."""
        return german

    def shot(self, name, title=OPTION_TITLE, checked_tabs=()):
        return self.check_accessible(name, title, checked_tabs)

    def check_accessible(self, name, title, checked_tabs):
        """Every visible control of `title` described rightly; the page tabs
        reported checked are exactly `checked_tabs` (German, for the main window)."""
        rows = self.folder.accessible(title)
        self.assertTrue(rows, f"{name}: the probe found no window {title!r}")
        faults = accessibility_faults(rows)
        self.assertEqual(faults, [], f"{name}: {len(rows)} windows")
        if title == OPTION_TITLE:
            checked = {r["name"] for r in rows if r["role"] == ROLE_PAGE_TAB and r["state"] & STATE_CHECKED}
            self.assertEqual(checked, {self.t(tab) for tab in checked_tabs}, name)
        return rows

    def walk(self):
        texts = shown_texts(self.folder)
        self.assertTrue(self.tabs <= texts, f"tabs missing from {sorted(texts)}")
        # Function names on the mouse view, from the same table.
        self.assertIn(self.t("Rechtsklick"), texts)
        self.assertIn(self.t("DPI hoch"), texts)
        rows = self.shot("option-buttons-top-view", checked_tabs={"Einstellungen", "Tasten", "Draufsicht"})
        # Each caption and hot spot of the view: its button's number and function.
        hot_spots = {r["name"] for r in rows if r["cls"] == "GmSkinButton" and r["name"].startswith("G")}
        self.assertIn(f"G4: {self.t('DPI hoch')}", hot_spots)
        self.show_view(1)
        self.assertIn(self.t("Vorwärts"), shown_texts(self.folder))
        self.shot("option-buttons-side-view", checked_tabs={"Einstellungen", "Tasten", "Seitenansicht"})
        self.show_view(0)

        # The assignment dialog: its category button and menu, and a page.
        self.open_dialog(5)
        dialog = shown_texts(self.folder, self.title)
        self.assertTrue({"OK", self.t("Abbrechen"), self.t("Standard")} <= dialog, sorted(dialog))
        self.shot("option-assign-opened", self.title)
        self.folder.click(self.centre(self.dialog_origin(), self.setup_skin[2]), settle=1.0)
        self.shot("option-assign-category-menu", self.title)
        self.folder.click(self.dialog_point(1), settle=0.6)  # away from the menu: it closes
        # Every page of the dialog, its category named on the category button.
        for cls, (name, caption) in CATEGORIES.items():
            self.category(cls)
            self.assertIn(self.t(caption), shown_texts(self.folder, self.title), name)
            self.shot(f"option-assign-{name}", self.title)
        self.category(6)
        self.assertIn(self.t("Programm"), shown_texts(self.folder, self.title))
        self.finish(4)

        # Performance page and the DPI levels dialog (its title is a text too).
        self.folder.click(self.folder.config_point(2), settle=0.8)
        self.assertIn(self.t("Stufen bearbeiten"), shown_texts(self.folder))
        rows = self.shot("option-performance", checked_tabs={"Einstellungen", "Leistung"})
        # The DPI slider (track and thumb) says its value with its unit.
        values = [r["value"] for r in rows if r["cls"] == "GmSliderThumb"]
        self.assertTrue(any(v.endswith(" DPI") and v[:-4].isdigit() for v in values), values)
        function_skin = skin_entries(self.folder.path / "skins" / "Skin_Function.ini")
        origin = self.page_origin()
        self.folder.click(self.centre(origin, function_skin[7]), settle=1.0)
        levels_title = self.t("DPI der aktiven Stufe")
        self.assertTrue(wait_for(lambda: self.folder.tree(levels_title), 10), "the levels dialog did not open")
        time.sleep(0.5)
        self.shot("option-dpi-levels", levels_title)
        dpi_skin = skin_entries(self.folder.path / "skins" / "Skin_configDPI.ini")
        dialog_origin = self.folder.tree(levels_title)[0]["rect"][:2]
        self.folder.click(self.centre(dialog_origin, dpi_skin[21]), settle=1.0)  # Cancel
        self.assertTrue(wait_for(lambda: not self.folder.tree(levels_title), 10), "the levels dialog stayed open")

        # Lighting page.
        self.folder.click(self.folder.config_point(3), settle=0.8)
        self.shot("option-lighting", checked_tabs={"Einstellungen", "Beleuchtung"})

        # The profile menu and the delete question.
        self.folder.click(self.folder.config_point(8), settle=1.0)
        self.shot("option-profile-menu", checked_tabs={"Einstellungen", "Beleuchtung"})
        self.folder.keys("Escape")
        self.folder.click(self.folder.config_point(7), settle=1.5)
        question = self.t("Profil löschen")
        self.assertTrue(wait_for(lambda: self.folder.tree(question), 10), "no delete question")
        rows = self.shot("option-delete-question", question)
        # The question names its answers and the profile it would take.
        named = {r["name"] for r in rows}
        self.assertTrue({"OK", self.t("Abbrechen")} <= named and named & {"Gamer", "Work"}, sorted(named))
        self.folder.keys("Escape", title=question)
        self.assertTrue(wait_for(lambda: not self.folder.tree(question), 10), "the question stayed open")
        self.assertEqual(self.folder.profile_names(), ["Gamer", "Work"])

        # The macro page and its insert panel.
        self.folder.click(self.folder.main_point(5), settle=1.0)
        macro_skin = skin_entries(self.folder.path / "skins" / "skin_Macros.ini")
        texts = shown_texts(self.folder)
        self.assertTrue({self.t(t) for t in ("Aufnehmen", "Wie getippt", "Fest", "Ohne Pause")} <= texts, sorted(texts))
        rows = self.shot("option-macros", checked_tabs={"Makros"})
        # The steps reach a screen reader as the rows of their list, a key's with its direction.
        steps = [r["name"] for r in rows if r["cls"] == "GmSkinListBox#item"]
        self.assertTrue(any(name.endswith(" Down") for name in steps), steps)
        left, top = self.folder.option_origin()
        ax, ay = self.folder.main_skin[7][:2]
        list_rect = macro_skin[4097] if 4097 in macro_skin else None
        if list_rect:
            self.folder.click((left + ax + list_rect[0] + 30, top + ay + list_rect[1] + 8), settle=0.5)
        self.folder.click(self.centre((left + ax, top + ay), macro_skin[19]), settle=1.0)
        self.assertTrue(wait_for(lambda: self.t("Abbrechen") in shown_texts(self.folder), 5),
                        "the insert panel did not open")
        self.shot("option-insert-panel", checked_tabs={"Makros"})
        # The recording sub-panel: third entry of the panel's choice menu.
        panel_skin = skin_entries(self.folder.path / "skins" / "skin_InsertMacro.ini")
        px, py = left + ax + macro_skin[20][0], top + ay + macro_skin[20][1]
        self.folder.click(self.centre((px, py), panel_skin[2]), settle=1.0)
        self.folder.keys("Down", "Down", "Down", "Return")
        self.assertTrue(wait_for(lambda: self.t("Aufnahme davor") in shown_texts(self.folder), 5),
                        sorted(shown_texts(self.folder)))
        self.shot("option-insert-record", checked_tabs={"Makros"})


class GermanLocale(PageWalk):
    """The German table on a German system, page by page, with screenshots."""

    def shot(self, name, title=OPTION_TITLE, checked_tabs=()):
        self.screenshot(f"de-{name}.png")
        return super().shot(name, title, checked_tabs)

    def test_every_page_and_dialog_is_german(self):
        self.walk()


class EnglishLocale(PageWalk):
    locale = ENGLISH
    tabs = ENGLISH_TABS

    def t(self, german):
        return IN_ENGLISH.get(german, german)

    def test_every_page_and_dialog_in_english(self):
        self.walk()


class TrayMenu(LanguageTest):
    """The Monitor's icon menu in a Wine virtual desktop, in three settings."""

    monitor = False
    WIDTH, HEIGHT = 1024, 768

    def setUp(self):
        # No Option here: only the Monitor and its icon.
        self.folder = OptionFolder(suite.session(), self.id().split(".")[-1])
        self.folder.gmconfig("new", "Gamer")
        self.starts = 0

    def menu_width(self, locale, key=None, name="en"):
        from PIL import ImageGrab
        if key:
            set_language_key(self.folder, key)
        self.folder.extra_env.clear()
        self.folder.extra_env.update(locale)
        monitor = self.folder.start_monitor(desktop=f"e2etray-{name},{self.WIDTH}x{self.HEIGHT}")
        self.starts += 1
        self.assertTrue(self.folder.wait_downloads(self.starts, 20), "the Monitor's start-up download did not arrive")
        time.sleep(1.0)
        shot = lambda: ImageGrab.grab(xdisplay=suite.session().display).crop(
            (0, 0, self.WIDTH, self.HEIGHT)).convert("RGB")
        before = shot()
        icon = tray.icon_box(before, self.WIDTH, self.HEIGHT)
        self.assertIsNotNone(icon, "no icon in the notification area")
        env = self.folder.env()
        subprocess.run(["xdotool", "mousemove", str((icon[0] + icon[2]) // 2), str((icon[1] + icon[3]) // 2),
                        "click", "3"], env=env, check=True)
        time.sleep(1.0)
        after = shot()
        after.save(suite.session().build_dir / f"{name}-tray-menu.png")
        menu = tray.changed_box(before, after, (self.WIDTH - 520, self.HEIGHT - 220, self.WIDTH, self.HEIGHT))
        self.assertIsNotNone(menu, "a right click showed no menu")
        bands, _ = tray.menu_rows(after.crop(menu))
        self.assertEqual(len(bands), 3, f"the menu should hold three items, rows {bands}")
        subprocess.run(["xdotool", "key", "Escape"], env=env)
        time.sleep(0.3)
        monitor.kill()
        self.folder.cleanup()
        return menu[2] - menu[0]

    def test_the_icon_menu_follows_the_language(self):
        english = self.menu_width(ENGLISH, name="en")
        german = self.menu_width(GERMAN, name="de")
        # "Einstellungen der 7741 Gaming Mouse öffnen" is far longer than
        # "Open 7741 Gaming Mouse settings": the menu grows with its widest item.
        self.assertGreater(german, english + 40, (german, english))
        back = self.menu_width(GERMAN, key="en", name="de-key-en")
        self.assertEqual(back, english, "the store's key did not give the English menu")

    def tearDown(self):
        self.folder.cleanup()


if __name__ == "__main__":
    option.main()

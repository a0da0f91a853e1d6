"""The tray icon, its balloon and menu, the hotkey and the interface language,
in real runs of dist/Wordlark.exe under Wine. (The tooltip's text and the
example language file are the tray and language tests'.)

Without a window manager Wine shows its system tray as a small window ("Wine
System Tray") at the top left of the screen. Menus open at the click point with
the pointer on their corner, so that typed keys go to the menu.
"""

import subprocess
import time

import harness
from harness import COUNT, EXIT_OTHER_INSTANCE, HOTKEY, SPY_LISTENING, START_TIMEOUT

TRAY_WINDOW = "^Wine System Tray$"
# Fill colours of the icons (res/make_icons.py): phrase menu and hotkey on, and off.
ICON_ON = (0x1F, 0x6F, 0xB4)
ICON_OFF = (0xD9, 0x7A, 0x1E)
# The version mark of an earlier run keeps the first-run "Start with Windows" out.
BASE_SETTINGS = {"WriteLog": 1, "WLKVersion": "WLK_150"}

CMD_ENABLE_MENU = 32770
CMD_START_WITH_WINDOWS = 32774
CMD_SOUNDS = 32817
CMD_LANGUAGE_ENGLISH = 33000
CMD_LANGUAGE_RUSSIAN = 33001

# Key paths from a freshly opened tray menu (IDR_TRAY_MENU in res/wordlark.rc,
# separators not counted); the program adds "English (Embedded)" and "Russian"
# to the Language submenu after its first item.
KEYS_ENABLE_MENU = ["Down"] * 2 + ["Return"]
KEYS_SOUNDS = ["Down"] * 6 + ["Right", "Return"]
KEYS_START_WITH_WINDOWS = ["Down"] * 6 + ["Right"] + ["Down"] * 4 + ["Return"]
KEYS_ENGLISH = ["Down"] * 7 + ["Right", "Down", "Return"]
KEYS_RUSSIAN = ["Down"] * 7 + ["Right", "Down", "Down", "Return"]
# The last entry of the "Clipboard History" submenu: its oldest item.
KEYS_OLDEST_ENTRY = ["Down"] * 3 + ["Right", "Up", "Return"]
CMD_FIRST_HISTORY_ENTRY = 34000

INPUT_DESKTOP_ACTIVE = "Input desktop is active"
HOTKEY_BALLOON = "Balloon: Press system hot key detected - "
SLOW_PRESS_GAP = 0.8  # seconds: too slow for a doubled hotkey
AWAY = (700, 600)  # a pointer position off the tray and its tooltips


def text_rows(image, margin=2):
    """Per row inside the margin, the x of every pixel that stands out from the background."""
    background = image.background()
    return [[x for x in range(margin, image.width - margin)
             if sum(abs(a - b) for a, b in zip(image.rgb(x, y), background)) > 150]
            for y in range(margin, image.height - margin)]


class TrayTest(harness.ProgramCase):

    def setUp(self):
        super().setUp()
        self.session.move_mouse(*AWAY)

    def start_tray(self, **settings):
        self.program.write_settings({**BASE_SETTINGS, **settings})
        return self.start_instance()

    def tray_window(self):
        """(x, y, width, height) of Wine's tray window, None when it is not shown."""
        return next(iter(self.session.windows(TRAY_WINDOW).values()), None)

    def find_icon(self, fill):
        """The centre of the program's icon drawn in the fill colour, else None."""
        tray = self.tray_window()
        if tray is None:
            return None
        try:
            image = self.session.grab(*tray)
        except (subprocess.CalledProcessError, harness.HarnessError):
            return None  # the tray went away meanwhile
        hits = [(x, y) for y in range(image.height) for x in range(image.width)
                if all(abs(a - b) <= 40 for a, b in zip(image.rgb(x, y), fill))]
        if len(hits) < 20:  # the 16x16 badge has some 100 pixels of its fill
            return None
        return tuple(corner + (min(c) + max(c)) // 2 for corner, c in zip(tray, zip(*hits)))

    def wait_icon(self, fill=ICON_ON):
        icon = harness.wait_until(lambda: self.find_icon(fill), START_TIMEOUT, 0.2)
        self.assertIsNotNone(icon, f"no icon in {fill} in the tray (tray window: "
                             f"{self.tray_window()}); log:\n" + self.program.read_log())
        return icon

    def new_window(self, before, accept, timeout=20):
        """(window, geometry) of a mapped window not in before that accept() takes."""
        def find():
            return next(((w, g) for w, g in self.session.windows().items()
                         if w not in before and accept(g)), None)
        return harness.wait_until(find, timeout, 0.05)

    def open_menu(self, icon):
        """Clicks the icon and waits for the menu; returns the menu's geometry."""
        before = set(self.session.windows())
        shown = self.count("CWLKTrayWnd::OnInitMenuPopup")
        clicks = self.count("_OnWmTrayEvent lParam=514")  # WM_LBUTTONUP
        self.session.click(*icon)
        self.wait_count("_OnWmTrayEvent lParam=514", clicks + 1)
        self.wait_count("CWLKTrayWnd::OnInitMenuPopup", shown + 1)
        return self.wait_menu(before, icon)

    def wait_menu(self, before, point):
        """The menu that opens with its top left corner at point, once drawn."""
        return self.wait_drawn(before, lambda g: abs(g[0] - point[0]) <= 4 and
                               abs(g[1] - point[1]) <= 4 and g[3] > 100, 300, f"menu at {point}")

    def wait_drawn(self, before, accept, ink_at_least, what):
        """The geometry of a new window that accept() takes, once it shows some ink."""
        found = self.new_window(before, accept)
        self.assertIsNotNone(found, f"no {what}; log:\n" + self.program.read_log())
        self.assertTrue(harness.wait_until(lambda: sum(map(len, text_rows(
            self.session.grab(*found[1])))) > ink_at_least, 20), f"the {what} stayed blank")
        return found[1]

    def menu_keys(self, keys):
        """Types keys into the open menu, waiting after each "Right" until the
        submenu is drawn: keys typed meanwhile would be lost."""
        typed = 0
        for at, key in enumerate(keys):
            if key != "Right":
                continue
            before = set(self.session.windows())
            shown = self.count("CWLKTrayWnd::OnInitMenuPopup")
            self.session.keys(*keys[typed:at + 1])
            typed = at + 1
            self.wait_count("CWLKTrayWnd::OnInitMenuPopup", shown + 1)
            self.wait_drawn(before, lambda g: g[3] > 10, 100, f"submenu on {keys[:typed]}")
        if typed < len(keys):
            self.session.keys(*keys[typed:])

    def choose(self, keys, command):
        """Types keys into the open menu and waits until the menu has returned command."""
        def returned():
            return sum(line.rstrip().endswith(f"bPOPUP={command}")
                       for line in self.program.log_lines())
        done = returned()
        self.menu_keys(keys)
        self.assertTrue(harness.wait_until(lambda: returned() > done, 20),
                        f"the menu did not return {command} on {keys}; log:\n"
                        + self.program.read_log())

    def hotkey_lines(self):
        """"press" for each hotkey press logged, the hotkey's name for each one acted on."""
        return [("press" if INPUT_DESKTOP_ACTIVE in line else line.split(" - ", 1)[1].strip())
                for line in self.program.log_lines()
                if INPUT_DESKTOP_ACTIVE in line or HOTKEY_BALLOON in line]

    def focused_notepad(self):
        self.session.move_mouse(*AWAY)
        return self.start_notepad()

    def test_icon_off_icon_and_the_balloon_of_a_second_start(self):
        # Whatever tray an earlier test left has gone with its program.
        self.assertTrue(harness.wait_until(lambda: self.find_icon(ICON_ON) is None, 10),
                        "an icon is in the tray before the program started")
        first = self.start_tray()
        icon = self.wait_icon(ICON_ON)

        # "Enable Menu Of Phrases" off: the other icon.
        self.open_menu(icon)
        self.choose(KEYS_ENABLE_MENU, CMD_ENABLE_MENU)
        off = self.wait_icon(ICON_OFF)
        self.assertIsNone(self.find_icon(ICON_ON))
        self.open_menu(off)
        self.choose(KEYS_ENABLE_MENU, CMD_ENABLE_MENU)
        self.wait_icon(ICON_ON)
        self.assertIsNone(self.find_icon(ICON_OFF))

        # A second start. Wine takes the balloon down after about a second, sooner
        # than a busy machine may list it: the line logged as it shows it is what
        # is looked for.
        second = self.program.start()
        self.wait_line("Balloon: Already works", START_TIMEOUT)
        self.assertEqual(second.wait(START_TIMEOUT), EXIT_OTHER_INSTANCE)
        self.assertTrue(first.alive(), "the first instance ended on a second start")
        self.assertIsNotNone(self.find_icon(ICON_ON), "the icon left the tray")

    def test_first_run_sets_start_with_windows_the_menu_toggles_settings_and_the_hotkey_acts(self):
        self.addCleanup(self.session.remove_test_run_value)
        self.session.remove_test_run_value()
        # No version mark: a first run, which turns "Start with Windows" on by itself.
        self.program.write_settings({"WriteLog": 1, "SoundOnEventsV094": 1, "Hotkey_Doubled": 0,
                                     "ShowTrayBallonOnHotkey": 1})
        self.start_instance()
        expected = (self.program.exe + " /autoload").lower()
        data = harness.wait_until(self.session.query_run_value, START_TIMEOUT, 0.5)
        self.assertEqual((data or "").lower(), expected, "no Run value after a first run")
        icon = self.wait_icon()

        _, _, width, height = self.open_menu(icon)
        self.assertGreater(width, 120)
        self.assertGreater(height, 150)  # ten items and three separators
        self.choose(["Escape"], 0)  # nothing chosen: nothing changes
        point = f"DisplayTrayMenuWithPoint x={icon[0]} y={icon[1]} bLoad=1, bPOPUP="
        self.assertEqual(self.count(point + "0"), 1, "the menu was not shown at the click "
                         "point; log:\n" + self.program.read_log())
        self.assertEqual(self.program.setting("SoundOnEventsV094"), "1")

        for sounds, run_value in (("0", None), ("1", expected)):
            self.open_menu(icon)
            self.choose(KEYS_SOUNDS, CMD_SOUNDS)
            self.assertEqual(self.program.setting("SoundOnEventsV094"), sounds)
            self.open_menu(icon)
            self.choose(KEYS_START_WITH_WINDOWS, CMD_START_WITH_WINDOWS)
            self.assertEqual((self.session.query_run_value() or "").lower() or None, run_value)
        self.assertEqual(self.count(point + str(CMD_SOUNDS)), 2)

        # A single hotkey press acts at once.
        self.session.hotkey(self.focused_notepad())
        self.wait_count(HOTKEY_BALLOON, 1)
        self.assertEqual(self.hotkey_lines(), ["press", "Ctrl+Alt+Enter"])

    def test_a_history_entry_of_the_menu_goes_back_on_the_clipboard(self):
        self.program.write_settings(BASE_SETTINGS)
        self.start_instance()
        self.wait_line(SPY_LISTENING)
        self.copy("the older entry")
        self.copy("the newer entry")
        self.open_menu(self.wait_icon())
        self.choose(KEYS_OLDEST_ENTRY, CMD_FIRST_HISTORY_ENTRY + 1)
        self.assertTrue(harness.wait_until(
            lambda: self.session.clipboard_text() == "the older entry", 10, 0.3),
            self.session.clipboard_text())

    def test_russian_from_the_language_menu_and_the_doubled_hotkey(self):
        self.start_tray(Hotkey_Doubled=1, ShowTrayBallonOnHotkey=1)
        icon = self.wait_icon()

        english = self.open_menu(icon)
        reopened_before = set(self.session.windows())
        shown = self.count("ISWINDOW=")
        self.menu_keys(KEYS_RUSSIAN)
        # The language is saved and the menu opens again, in Russian, at the same point.
        self.wait_count("ISWINDOW=", shown + 1)
        russian = self.wait_menu(reopened_before, icon)
        self.assertEqual(self.program.setting("Language"), "ru.lng")
        self.assertEqual(russian[3], english[3], "not the same items")
        self.assertNotEqual(russian[2], english[2],
                            "the menu kept its width: its texts did not change")
        self.choose(["Escape"], 0)
        self.wait_count(f"bPOPUP={CMD_LANGUAGE_RUSSIAN}", 1)

        # It stays Russian, and choosing English brings the English texts back.
        again = self.open_menu(icon)
        self.assertEqual(again[2:], russian[2:])
        before = set(self.session.windows())
        self.menu_keys(KEYS_ENGLISH)
        back = self.wait_menu(before, icon)
        self.assertEqual(self.program.setting("Language"), "")
        self.assertEqual(back[2:], english[2:])
        self.choose(["Escape"], 0)
        self.wait_count(f"bPOPUP={CMD_LANGUAGE_ENGLISH}", 1)

        # A doubled hotkey acts on the second of two presses within 500 ms only.
        # The time between presses is the input under test: each slow press
        # follows the program's line for the one before by more than 500 ms.
        notepad = self.focused_notepad()
        self.session.hotkey(notepad)
        self.wait_count(INPUT_DESKTOP_ACTIVE, 1)
        time.sleep(SLOW_PRESS_GAP)
        self.session.hotkey(notepad)
        self.wait_count(INPUT_DESKTOP_ACTIVE, 2)
        time.sleep(SLOW_PRESS_GAP)
        self.session.keys(HOTKEY, HOTKEY)  # some 60 ms apart
        self.wait_count(HOTKEY_BALLOON, 1)
        # Neither the lone press nor the one 800 ms later acted; the quick second did.
        self.assertEqual(self.hotkey_lines(), ["press"] * 4 + ["Ctrl+Alt+Enter [x2]"])


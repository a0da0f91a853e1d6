"""What a Windows user downloads, as scripts/package.sh leaves it in
build/package/: the portable ZIP unpacked and started, and the installer and
its uninstaller run silently for the current user of the prefix under Wine."""

import getpass
import shutil
import subprocess
import zipfile

import harness
from harness import DIST, PREFIX, REPO, wait_until

VERSION = harness.program_version()
PACKAGES = REPO / "build" / "package"
SETUP = PACKAGES / f"Wordlark-{VERSION}-setup.exe"
PORTABLE = PACKAGES / f"Wordlark-{VERSION}-portable.zip"

USER = getpass.getuser()
HOME = PREFIX / "drive_c" / "users" / USER
HOME_WIN = f"C:\\users\\{USER}"
INSTALL_DIR = HOME / "AppData" / "Local" / "Programs" / "Wordlark"
INSTALL_DIR_WIN = HOME_WIN + r"\AppData\Local\Programs\Wordlark"
START_MENU = HOME / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
SHORTCUTS = {"Wordlark.lnk": "Wordlark.exe", "Wordlark Phrase Editor.lnk": "WordlarkEditor.exe"}

PRODUCT_KEY = r"HKCU\Software\Orrin Softworks\Wordlark"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wordlark"
PROGRAMS = ["Wordlark.exe", "Wordlark.dll", "WordlarkEditor.exe"]
SETTINGS = {"WriteLog": 1, "WLKVersion": "WLK_150"}
SAMPLE = "Thank_you.wordlark"
OWN_PHRASE = "My_signature.wordlark"


def setUpModule():
    missing = [p.name for p in (SETUP, PORTABLE) if not p.is_file()]
    if missing:
        raise harness.HarnessError(f"{', '.join(missing)} missing: run scripts/package.sh")


def shipped_names():
    """What the user gets: the programs, the languages, the sounds and the sample library."""
    names = set(PROGRAMS)
    names |= {p.name for p in DIST.iterdir() if p.suffix.lower() in (".lng", ".wav")}
    return names | {"UserPhrases/"} | {"UserPhrases/" + n for n in listing(DIST / "UserPhrases")}


def wine(session, *args, timeout=120):
    """Runs a Windows program to its end; returns its exit code. Wine's menu
    builder stays off: the shortcuts would otherwise become menu entries of
    this Linux desktop."""
    env = dict(session.env,
               WINEDLLOVERRIDES=session.env["WINEDLLOVERRIDES"] + ";winemenubuilder.exe=d")
    return subprocess.run(["wine", *args], env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout, check=False).returncode


def reg_values(session, key):
    """{name: (type, data)} of a registry key, None when it does not exist."""
    code, out, _ = session._tool("reg", "query", key)
    if code != 0:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2] if len(parts) == 3 else "")
    return values


def remove_installation(session):
    """Whatever an installation left, so that no other test meets it: the Run
    value in particular would start the program when Wine boots."""
    if (INSTALL_DIR / "Wordlark.exe").exists():
        session._wine(str(INSTALL_DIR / "Wordlark.exe"), "/exit")
    if INSTALL_DIR_WIN.lower() in (session.query_run_value() or "").lower():
        session._wine("reg", "delete", harness.RUN_KEY, "/v", harness.RUN_VALUE, "/f")
    for key in (PRODUCT_KEY, UNINSTALL_KEY):
        session._wine("reg", "delete", key, "/f")
    for name in SHORTCUTS:
        (START_MENU / name).unlink(missing_ok=True)
    shutil.rmtree(INSTALL_DIR, ignore_errors=True)


class InstalledProgram(harness.ProgramFolder):
    """The program where the installer put it."""

    def __init__(self):
        self.session = harness.start_session()
        self.path, self.win_path = INSTALL_DIR, INSTALL_DIR_WIN
        self.exe = INSTALL_DIR_WIN + "\\Wordlark.exe"
        self.log_path = INSTALL_DIR / "LogReport.txt"
        self.instances = []


def listing(folder):
    return {p.relative_to(folder).as_posix() + ("/" if p.is_dir() else "")
            for p in folder.rglob("*")}


def user_files():
    """What the program could have written in the user's own folders, with the
    times it was written: other tests may have left some of it."""
    places = [HOME / "Wordlark", HOME / "AppData" / "Roaming" / "LogReport_Wordlark.txt"]
    return {p: p.stat().st_mtime_ns for place in places if place.exists()
            for p in [place, *place.rglob("*")]}


class PortableZipTest(harness.ProgramCase):

    def test_zip_holds_only_what_ships_and_runs_where_it_was_unpacked(self):
        with zipfile.ZipFile(PORTABLE) as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(set(archive.namelist()), shipped_names())
            for entry in self.program.path.iterdir():
                shutil.rmtree(entry) if entry.is_dir() else entry.unlink()
            archive.extractall(self.program.path)
        for name in PROGRAMS:
            self.assertEqual((self.program.path / name).read_bytes(), (DIST / name).read_bytes())

        self.program.write_settings(SETTINGS)
        before = user_files()
        instance = self.start_instance()
        line = self.wait_line("Phrases loaded from")
        self.assertIn(f"Phrases loaded from [{self.program.win_path}\\UserPhrases\\]", line)
        self.exit_instance(instance)
        # The settings read and the log written beside the program, nothing in
        # the user's folders.
        self.assertTrue(self.program.log_path.is_file())
        self.assertEqual(user_files(), before)


class InstallerTest(harness.ProgramCase):

    def setUp(self):
        self.session = harness.start_session()
        remove_installation(self.session)
        self.addCleanup(remove_installation, self.session)
        self.program = InstalledProgram()
        self.addCleanup(self.program.cleanup)

    def assert_installed(self):
        for name in PROGRAMS:
            self.assertEqual((INSTALL_DIR / name).read_bytes(), (DIST / name).read_bytes(), name)
        self.assertTrue((INSTALL_DIR / "Uninstall.exe").is_file())
        self.assertLessEqual(shipped_names(), listing(INSTALL_DIR))
        for shortcut, target in SHORTCUTS.items():
            data = (START_MENU / shortcut).read_bytes()
            path = f"{INSTALL_DIR_WIN}\\{target}"
            self.assertTrue(path.encode("utf-16-le") in data or path.encode("latin-1") in data,
                            f"{shortcut} does not lead to {path}")

        values = reg_values(self.session, UNINSTALL_KEY)
        uninstaller = f'"{INSTALL_DIR_WIN}\\Uninstall.exe"'
        self.assertEqual({name: values[name] for name in values if name != "EstimatedSize"}, {
            "DisplayName": ("REG_SZ", "Wordlark"),
            "DisplayVersion": ("REG_SZ", VERSION),
            "Publisher": ("REG_SZ", "Orrin Softworks"),
            "DisplayIcon": ("REG_SZ", f"{INSTALL_DIR_WIN}\\Wordlark.exe"),
            "InstallLocation": ("REG_SZ", INSTALL_DIR_WIN),
            "UninstallString": ("REG_SZ", uninstaller),
            "QuietUninstallString": ("REG_SZ", uninstaller + " /S"),
            "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"),
        })
        kind, size = values["EstimatedSize"]
        on_disk = sum(p.stat().st_size for p in INSTALL_DIR.rglob("*") if p.is_file()) // 1024
        self.assertEqual(kind, "REG_DWORD")
        self.assertLessEqual(abs(int(size, 16) - on_disk), 64)
        self.assertEqual(reg_values(self.session, PRODUCT_KEY),
                         {"FromInstaller": ("REG_SZ", VERSION)})
        self.assertEqual(self.session.query_run_value(),
                         f"{INSTALL_DIR_WIN}\\Wordlark.exe /autoload")

    def restart(self):
        self.program.log_path.unlink(missing_ok=True)  # its banner is the new start's
        return self.start_instance()

    def test_silent_install_upgrade_over_a_running_copy_and_silent_uninstall(self):
        self.assertEqual(wine(self.session, str(SETUP), "/S"), 0)
        self.assert_installed()

        self.program.write_settings(SETTINGS)
        instance = self.restart()
        line = self.wait_line("Phrases loaded from")
        self.assertIn(f"Phrases loaded from [{INSTALL_DIR_WIN}\\UserPhrases\\]", line)

        # The user adds a phrase and changes a sample; an upgrade keeps both.
        library = INSTALL_DIR / "UserPhrases"
        own = (library / SAMPLE).read_bytes().replace(b"Thank you", b"Yours truly")
        changed = (library / SAMPLE).read_bytes().replace(b"Thank you", b"Many thanks")
        self.assertNotEqual(own, changed)
        (library / OWN_PHRASE).write_bytes(own)
        (library / SAMPLE).write_bytes(changed)
        self.assertEqual(wine(self.session, str(SETUP), "/S"), 0)
        self.assert_ends_with(instance, 0, timeout=30)
        self.assert_installed()
        self.assertEqual((library / OWN_PHRASE).read_bytes(), own)
        self.assertEqual((library / SAMPLE).read_bytes(), changed)
        self.assertEqual(self.program.setting("WriteLog"), "1")

        # Without "_?=" the uninstaller runs from a copy of itself and the
        # start returns at once: wait for its last step.
        instance = self.restart()
        self.assertEqual(wine(self.session, str(INSTALL_DIR / "Uninstall.exe"), "/S"), 0)
        gone = wait_until(lambda: reg_values(self.session, UNINSTALL_KEY) is None, 90, 0.5)
        self.assertTrue(gone, "the uninstall entry is still there")
        self.assert_ends_with(instance, 0, timeout=30)
        left = listing(INSTALL_DIR)
        self.assertFalse(left & {*PROGRAMS, "Uninstall.exe", "ru.lng", "start.wav"}, left)
        self.assertEqual((library / OWN_PHRASE).read_bytes(), own)
        self.assertEqual((library / SAMPLE).read_bytes(), changed)
        self.assertTrue((INSTALL_DIR / "Settings.ini").is_file())
        self.assertEqual([n for n in SHORTCUTS if (START_MENU / n).exists()], [])
        self.assertIsNone(self.session.query_run_value())
        self.assertIsNone(reg_values(self.session, PRODUCT_KEY))

    def test_installer_shows_its_first_page(self):
        setup = harness.Instance(subprocess.Popen(
            ["wine", str(SETUP)], env=self.session.env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.addCleanup(setup.kill)
        shown = wait_until(lambda: self.session.windows("Wordlark"), harness.START_TIMEOUT)
        self.assertTrue(shown, "no installer window")
        self.session.screenshot("installer.png")
        self.assertGreater((harness.ARTIFACTS / "installer.png").stat().st_size, 0)
        setup.kill()
        self.assertTrue(wait_until(lambda: not self.session.windows("Wordlark"), 20))
        self.assertFalse(INSTALL_DIR.exists(), "the first page installed something")

"""The release packages made by scripts/package.sh: the installer installs,
registers and uninstalls cleanly and upgrades in place; the portable zip runs
where it is unpacked. The packages are made once from the built programs and
reused while they are newer than the programs."""

import os
import shutil
import struct
import subprocess
import zipfile

# No Linux menu entries or .desktop files for the shortcuts the tests make.
os.environ["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winemenubuilder.exe=d"

from uac_helpers import *  # noqa: E402,F403

PROGRAMS = ("VaroSelect.exe", "VaroSetting.exe", "VaroUAC.exe")
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varo"
CSIDL_DESKTOP, CSIDL_SENDTO, CSIDL_COMMON_PROGRAMS = 0, 9, 23
SHORTCUT_NAMES = ("VaroSelect - Select Copy.lnk", "VaroSelect - 選択してコピー.lnk")
PROGRESS_CANCEL, PROGRESS_RESULT = 1003, 1006
# VaroSetting: the tab control, Cancel, and the registration page's trackbars
# (Send-To, context menu, desktop), Execute and result line.
TABS, CANCEL_BUTTON = 1065, 550
TRACKBARS, EXECUTE, RESULT = (1035, 1036, 1037), 530, 1108
TBM_SETPOS, WM_HSCROLL, TB_THUMBPOSITION = 0x0405, 0x0114, 4
SUCCESS_TEXTS = ("Successful completion.", "正常に終了しました。 ")
VERSION = (BIN.parent / "varo_version.txt").read_text().strip()


def make_packages(dist: Path, version: str = "") -> tuple[Path, Path]:
    """The installer and the portable zip of the built programs, made by
    scripts/package.sh unless up to date (labelled `version` when given)."""
    label = version or VERSION
    setup, portable = dist / f"Varo-{label}-setup.exe", dist / f"Varo-{label}-portable.zip"
    newest_program = max((BIN / p).stat().st_mtime for p in PROGRAMS)
    if not all(p.exists() and p.stat().st_mtime > newest_program for p in (setup, portable)):
        command = [str(ROOT / "scripts" / "package.sh"), "--no-build", "--dist", str(dist)]
        subprocess.run(command + (["--version", version] if version else []), check=True,
                       env={**os.environ, "VARO_BUILD": str(BIN.parent)}, stdout=subprocess.DEVNULL, timeout=600)
    return setup, portable


def older_version() -> str:
    major, minor, _ = (int(n) for n in VERSION.split("."))
    return f"{major}.{minor - 1}.0" if minor else f"{major - 1}.0.0"


def version_resource(exe: Path) -> tuple[tuple[int, ...], str]:
    """The file version numbers and the "ProductVersion" text of a program's
    version resource, read from the file's bytes."""
    data = exe.read_bytes()
    start = data.find("VS_VERSION_INFO\0".encode("utf-16-le"))
    fixed = data.find(struct.pack("<I", 0xFEEF04BD), start)
    most, least = struct.unpack_from("<II", data, fixed + 8)
    key = "ProductVersion\0".encode("utf-16-le")
    at = data.find(key, fixed) + len(key)
    while data[at:at + 2] == b"\0\0":  # padding to the value
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF), data[at:end].decode("utf-16-le")


class ReleaseTestCase(UacTestCase):
    def setUp(self):
        super().setUp()
        self.settings_folder = self.appdata / "kestrel" / "varo"  # a folder named Varo has no suffix
        shutil.rmtree(self.settings_folder, ignore_errors=True)
        self.addCleanup(shutil.rmtree, self.settings_folder, True)
        self.send_to = linux_path(self.driver.special_folder(CSIDL_SENDTO))
        self.desktop = linux_path(self.driver.special_folder(CSIDL_DESKTOP))
        self.start_menu = linux_path(self.driver.special_folder(CSIDL_COMMON_PROGRAMS)) / "VaroSetting.lnk"
        self.entry = "VaroSelect"
        self.addCleanup(self.forget_installation)

    def forget_installation(self):
        """What a failed test may leave: the entries of the standard installation."""
        self.remove_entries()
        subprocess.run(["wine", "reg", "delete", UNINSTALL_KEY, "/f"], env=self.driver.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        for path in [self.start_menu] + [f / n for f in (self.send_to, self.desktop) for n in SHORTCUT_NAMES]:
            path.unlink(missing_ok=True)

    def install(self, setup: Path, folder: Path):
        pid = self.start(windows_path(setup), f"/S /D={windows_path(folder)}")
        self.assertEqual(self.driver.wait_exit(pid, timeout=120), 0)

    def uninstall(self, folder: Path):
        """Runs the uninstaller silently. It copies itself to the temporary
        folder and works from there; removing its key is its last step."""
        pid = self.start(windows_path(folder / "uninstall.exe"), "/S")
        self.assertEqual(self.driver.wait_exit(pid, timeout=60), 0)
        wait_until(lambda: reg_query(UNINSTALL_KEY, self.driver.env) is None, 60, "the uninstaller to finish")

    def register(self, folder: Path, send_to: int, context_menu: int, desktop: int):
        """Registers the copy tool of `folder` on the first tab of its VaroSetting,
        as a user would after installing, then leaves with Cancel."""
        pid = self.start(windows_path(folder / "VaroSetting.exe"))
        dialog = self.driver.wait_window(pid, cls="#32770", title="VaroSetting", child_id=TABS)
        page = self.driver.control(dialog.hwnd, TRACKBARS[0]).parent
        for bar, position in zip(TRACKBARS, (send_to, context_menu, desktop)):
            self.driver.send(page, TBM_SETPOS, 1, position, id=bar)
            self.driver.post(page, WM_HSCROLL, (position << 16) | TB_THUMBPOSITION, self.driver.control(page, bar).hwnd)
        self.driver.press(page, EXECUTE)

        # Past the note that the page waits for VaroUAC.
        def shown():
            text = self.driver.text(page, RESULT)
            return "" if text in WAITING_FOR_HELPER else text
        self.assertIn(wait_until(shown, timeout=60, what="the result line"), SUCCESS_TEXTS)
        self.driver.press(dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(pid, timeout=60), 0)

    def copy_once(self, folder: Path):
        """Runs the copy tool of `folder` on a small folder and checks the copy."""
        source = make_files(self.temp / "src" / "D", {"a.txt": "one", "sub/b.bin": bytes(range(256))})
        target = self.temp / "out"
        write_ini(self.settings_folder / "varo.ini", {
            "Lang": "en", "StartSetting": 0, "AutoClose": 0, "CopyMode": 1, "OpenDir": 0,
            "Path": windows_path(target) + "\\", "AddStringsAft": 4})
        pid = self.start(windows_path(folder / "VaroSelect.exe"), quote(windows_path(source)))
        window = self.driver.wait_window(pid, cls="#32770", child_id=PROGRESS_CANCEL)
        self.driver.wait_text(window.hwnd, PROGRESS_RESULT, "Success.")
        self.assertEqual(read_tree(target / "D_1"), read_tree(source))
        self.driver.press(window.hwnd, PROGRESS_CANCEL)
        self.assertEqual(self.driver.wait_exit(pid), 0)

    def assert_versions(self, folder: Path):
        numbers = tuple(int(n) for n in VERSION.split(".")) + (0,)
        for program in PROGRAMS:
            self.assertEqual(version_resource(folder / program), (numbers, VERSION + ".0"), program)

    def copy_tool_shortcuts(self) -> list[str]:
        return sorted(p.name for f in (self.send_to, self.desktop) for p in f.iterdir() if p.name in SHORTCUT_NAMES)


class Install(ReleaseTestCase):
    def test_installs_registers_copies_and_uninstalls_leaving_the_settings(self):
        setup, _ = make_packages(BIN.parent / "dist")
        # A folder not named Varo gets one inside it: the name decides the settings folder.
        folder = self.temp / "Programs" / "Varo"
        self.install(setup, folder.parent)
        self.assertEqual(sorted(os.listdir(folder)), sorted(PROGRAMS + ("uninstall.exe",)))
        # The shortcut's target, as its link information holds it (the test paths are ASCII).
        self.assertIn(windows_path(folder / "VaroSetting.exe").encode() + b"\0", self.start_menu.read_bytes())
        entry = {name: data for name, (_, data) in reg_query(UNINSTALL_KEY, self.driver.env).items()}
        self.assertEqual((entry["DisplayName"], entry["DisplayVersion"], entry["Publisher"]),
                         ("Varo", VERSION, "KESTREL"))
        self.assertEqual(entry["UninstallString"], quote(windows_path(folder / "uninstall.exe")))
        self.assertGreater(int(entry["EstimatedSize"], 16), 0)
        self.assert_versions(folder)
        self.assertEqual(version_resource(setup)[1], VERSION + ".0")

        # The product line of the settings dialog carries the version too.
        pid = self.start(windows_path(folder / "VaroSetting.exe"))
        dialog = self.driver.wait_window(pid, cls="#32770", child_id=1065)
        major, minor, patch = VERSION.split(".")
        line = f"Varo - Quillon Ver.{major}.{minor}{'.' + patch if patch != '0' else ''} By KESTREL"
        self.assertIn(line, [control.text for control in self.driver.controls(dialog.hwnd)])
        self.driver.kill(pid)

        self.register(folder, 2, 2, 2)
        self.assertEqual(self.copy_tool_shortcuts(), ["VaroSelect - Select Copy.lnk"] * 2)
        # Another copy of the tool, registered beside it, is not the uninstaller's to remove.
        other = self.program_folder(list(PROGRAMS))
        self.register(other.path, 2, 1, 1)
        self.addCleanup(lambda: [p.unlink() for p in self.send_to.glob(f"*{other.name[4:]}.lnk")])
        self.copy_once(folder)

        self.uninstall(folder)
        self.assertFalse(folder.exists())
        self.assertTrue(folder.parent.exists())  # only what it installed
        self.assertFalse(self.start_menu.exists())
        self.assertEqual(self.copy_tool_shortcuts(), [])
        self.assertEqual(len(list(self.send_to.glob(f"*{other.name[4:]}.lnk"))), 1)
        for root in ROOTS:
            self.assertIsNone(self.entry_values(root))
        self.assertTrue((self.settings_folder / "varo.ini").exists())


class Upgrade(ReleaseTestCase):
    def test_a_newer_version_over_an_older_keeps_settings_and_registrations(self):
        older = older_version()
        old_setup, _ = make_packages(self.temp / "older", older)
        setup, _ = make_packages(BIN.parent / "dist")
        folder = self.temp / "Varo"
        self.install(old_setup, folder)
        self.assertEqual(reg_query(UNINSTALL_KEY, self.driver.env)["DisplayVersion"][1], older)
        settings = b"\xff\xfe" + "[Env]\r\nLang=ja\r\n".encode("utf-16-le")
        make_files(self.settings_folder, {"varo.ini": settings})
        self.register(folder, 2, 2, 1)

        self.install(setup, folder)
        self.assertEqual(reg_query(UNINSTALL_KEY, self.driver.env)["DisplayVersion"][1], VERSION)
        self.assert_versions(folder)
        self.assertEqual((self.settings_folder / "varo.ini").read_bytes(), settings)
        # Registered by the Japanese dialog, under its Japanese name.
        self.assertEqual(self.copy_tool_shortcuts(), ["VaroSelect - 選択してコピー.lnk"])
        self.assertEqual(self.entry_values(ROOTS[0], command=True)[""][1],
                         f'"{windows_path(folder / "VaroSelect.exe")}" "%1"')

        self.uninstall(folder)
        self.assertFalse(folder.exists())
        self.assertEqual(self.copy_tool_shortcuts(), [])


class Portable(ReleaseTestCase):
    def test_the_unpacked_zip_runs_as_is(self):
        _, portable = make_packages(BIN.parent / "dist")
        with zipfile.ZipFile(portable) as archive:
            self.assertEqual(sorted(archive.namelist()),
                             ["Varo/", "Varo/VaroSelect.exe", "Varo/VaroSetting.exe", "Varo/VaroUAC.exe",
                              "Varo/readme.txt"])
            archive.extractall(self.temp / "unpacked")
        folder = self.temp / "unpacked" / "Varo"
        readme = (folder / "readme.txt").read_bytes()
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf" + f"Varo {VERSION}\r\n".encode()))
        self.assertIn("日本語", readme.decode("utf-8-sig"))
        self.assert_versions(folder)
        self.copy_once(folder)


if __name__ == "__main__":
    main()

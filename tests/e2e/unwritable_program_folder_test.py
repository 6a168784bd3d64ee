"""Programs installed where they cannot write (Program Files for a standard
user): varo_bk.ini and varo_debug.log go to the settings folder instead.

Wine runs every program as root, which writes anywhere; the program folder
is made immutable (chattr +i) instead, which root cannot write either."""

import subprocess

from setting_helpers import *  # noqa: F403

SEND_TO_TRACK, SEND_TO_ON, RESULT, EXECUTE = 1035, 1120, 1108, 530
TBM_SETPOS, WM_HSCROLL, TB_THUMBPOSITION = 0x0405, 0x0114, 4
CSIDL_SENDTO = 9


class UnwritableProgramFolder(SettingTestCase):
    def locked_folder(self, programs, settings=None):
        folder = self.program_folder(programs, settings=settings)
        done = subprocess.run(["chattr", "+i", str(folder.path)], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if done.returncode != 0:
            self.skipTest(f"cannot make a folder immutable here: {done.stdout.decode(errors='replace')}")
        self.addCleanup(subprocess.run, ["chattr", "-i", str(folder.path)])
        self.assertRaises(OSError, (folder.path / "probe").write_text, "x")
        return folder

    def test_the_settings_dialog_logs_and_backs_up_into_the_settings_folder(self):
        # VaroSelect.exe is missing, so registering Send-To fails and Debug=1 logs the steps.
        folder = self.locked_folder(["VaroSetting.exe"], {"Lang": "en", "Debug": 1})
        pid = self.start(folder.exe("VaroSetting.exe"))
        dialog = self.wait_dialog(pid)
        page = self.page(dialog, SEND_TO_TRACK)
        bar = self.driver.control(page, SEND_TO_TRACK)
        self.driver.send(page, TBM_SETPOS, 1, 2, id=SEND_TO_TRACK)
        self.driver.post(page, WM_HSCROLL, (2 << 16) | TB_THUMBPOSITION, bar.hwnd)
        self.driver.press(page, EXECUTE)
        self.driver.wait_text(page, SEND_TO_ON, "NG", timeout=30)
        log = folder.settings_folder / "varo_debug.log"
        self.assertIn("ID:SP3", wait_until(lambda: log.exists() and read_utf16(log), what="the debug log"))

        self.driver.press(dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(pid), 0)
        self.assertEqual((folder.settings_folder / "varo_bk.ini").read_bytes(), folder.settings_file.read_bytes())
        self.assertEqual(sorted(p.name for p in folder.path.iterdir()), ["VaroSetting.exe"])
        sent_to = linux_path(self.driver.special_folder(CSIDL_SENDTO))
        self.assertEqual(list(sent_to.glob(f"*{settings_folder_name(folder.name)[len('varo'):]}*.lnk")), [])

    def test_the_copy_tool_seeds_its_backup_into_the_settings_folder(self):
        folder = self.locked_folder(["VaroSelect.exe"])  # no settings: the first run writes the defaults
        source = make_files(self.temp / "src", {"a.txt": "a"})
        pid = self.start(folder.exe("VaroSelect.exe"), quote(windows_path(source / "a.txt")))
        # StartSetting is 1 by default and VaroSetting.exe is missing: the copy tool says so and ends.
        box = self.driver.wait_message_box(pid)
        self.driver.answer(box, IDOK)
        self.driver.wait_exit(pid)
        self.assertEqual((folder.settings_folder / "varo_bk.ini").read_bytes(), folder.settings_file.read_bytes())
        self.assertEqual(sorted(p.name for p in folder.path.iterdir()), ["VaroSelect.exe"])


if __name__ == "__main__":
    main()

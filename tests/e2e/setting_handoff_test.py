"""The copy tool with StartSetting 1 asks the real settings application first."""

import subprocess

from select_helpers import BASE_SETTINGS, RESULT, CANCEL, new_folder
from setting_helpers import *  # noqa: F403

PREFIX_AFT1 = 503


class HandOffThroughTheSettingsApp(SettingTestCase):
    def start_copy(self, source, folder=None):
        """Starts the copy tool on `source`; returns its pid and the settings dialog it opened."""
        pid = self.start(self.folder.exe("VaroSelect.exe"), quote(windows_path(source)))
        setting = self.driver.wait_child_process(pid, "VaroSetting.exe")
        return pid, self.wait_dialog(setting)

    def prepare(self):
        self.source = make_files(self.temp / "src", {"a.txt": "a"})
        self.target = new_folder(self.temp / "out")
        self.folder = self.program_folder(["VaroSelect.exe", "VaroSetting.exe"], settings=dict(
            BASE_SETTINGS, StartSetting=1, CopyMode=1, Path=windows_path(self.target) + "\\", AddStringsAft=4))

    def finish_copy(self, pid):
        window = self.driver.wait_window(pid, cls="#32770", child_id=CANCEL)
        self.driver.wait_text(window.hwnd, RESULT, "Success.", timeout=60)
        self.driver.press(window.hwnd, CANCEL)
        self.assertEqual(self.driver.wait_exit(pid), 0)

    def change_prefix(self, dialog, text):
        self.driver.set_text(self.page(dialog, COPY_TO_MARK), text, id=PREFIX_AFT1)

    def test_ok_saves_and_the_copy_follows(self):
        self.prepare()
        pid, dialog = self.start_copy(self.source / "a.txt")
        self.assertTrue(self.driver.control(dialog.hwnd, NO_SAVE).visible)
        self.assertTrue(self.driver.control(dialog.hwnd, OK).visible)
        self.screenshot("hand_off")
        self.change_prefix(dialog, "-v")
        self.driver.press(dialog.hwnd, OK)
        self.finish_copy(pid)
        self.assertEqual((self.target / "a-v1.txt").read_bytes(), b"a")
        self.assertEqual(self.folder.read_settings()["PrefixAft1"], "-v")

    def test_ok_no_save_is_for_this_run_only(self):
        self.prepare()
        before = self.folder.settings_file.read_bytes()
        pid, dialog = self.start_copy(self.source / "a.txt")
        self.change_prefix(dialog, "-once")
        self.driver.press(dialog.hwnd, NO_SAVE)
        self.finish_copy(pid)
        self.assertEqual((self.target / "a-once1.txt").read_bytes(), b"a")
        self.assertEqual(self.folder.read_settings("varo_tmp.ini")["PrefixAft1"], "-once")
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_cancel_and_the_close_box_copy_nothing(self):
        self.prepare()
        for leave in ("cancel", "close box"):
            pid, dialog = self.start_copy(self.source / "a.txt")
            if leave == "cancel":
                self.driver.press(dialog.hwnd, CANCEL_BUTTON)
            else:
                self.driver.close_window(dialog.hwnd)
            self.assertEqual(self.driver.wait_exit(pid), -1, leave)
            self.assertEqual(list(self.target.iterdir()), [], leave)

    def test_a_save_that_fails_is_not_answered_as_saved(self):
        # The settings folder is made immutable (chattr +i), which Wine's
        # root cannot write either: OK cannot save, says so, and stays open.
        self.prepare()
        before = self.folder.settings_file.read_bytes()
        locked = subprocess.run(["chattr", "+i", str(self.folder.settings_folder)], stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT)
        if locked.returncode != 0:
            self.skipTest(f"cannot make a folder immutable here: {locked.stdout.decode(errors='replace')}")
        self.addCleanup(subprocess.run, ["chattr", "-i", str(self.folder.settings_folder)])
        pid, dialog = self.start_copy(self.source / "a.txt")
        self.change_prefix(dialog, "-lost")
        self.driver.press(dialog.hwnd, OK)
        box = self.driver.wait_message_box(dialog.pid)
        self.assertTrue(box.text.startswith("Could not write the configuration file."), box.text)
        self.driver.answer(box, IDOK)
        self.assertIsNone(self.driver.exit_code(dialog.pid))
        self.assertIsNone(self.driver.exit_code(pid))  # the copy tool still waits for an answer
        self.driver.press(dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(pid), -1)  # cancelled: nothing copied
        self.assertEqual(list(self.target.iterdir()), [])
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_a_killed_settings_app_lets_the_copy_tool_go_on(self):
        self.prepare()
        pid, dialog = self.start_copy(self.source / "a.txt")
        self.driver.kill(dialog.pid)
        # No answer counts as "settings saved": the copy runs with varo.ini.
        self.finish_copy(pid)
        self.assertEqual((self.target / "a_1.txt").read_bytes(), b"a")

    def test_two_copy_tools_get_their_own_dialog_and_answer_one_after_the_other(self):
        # One settings window per installation: the second copy tool's
        # dialog opens once the first one has closed.
        self.prepare()
        other = make_files(self.temp / "src2", {"b.txt": "b"})
        first, first_dialog = self.start_copy(self.source / "a.txt")
        second = self.start(self.folder.exe("VaroSelect.exe"), quote(windows_path(other / "b.txt")))
        second_setting = self.driver.wait_child_process(second, "VaroSetting.exe")
        self.assertNotEqual(first_dialog.pid, second_setting)
        self.assertEqual([w for w in self.driver.windows(second_setting) if w.visible], [])
        self.driver.press(first_dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(first), -1)
        second_dialog = self.wait_dialog(second_setting)
        self.change_prefix(second_dialog, "-second")
        self.driver.press(second_dialog.hwnd, NO_SAVE)
        self.finish_copy(second)
        self.assertEqual(sorted(p.name for p in self.target.iterdir()), ["b-second1.txt"])


if __name__ == "__main__":
    main()

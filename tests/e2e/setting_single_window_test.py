"""One settings window per installation: a second start brings the open
window to the front and ends; a start by the copy tool waits until the open
window has closed, then opens with what that window saved."""

import time

from select_helpers import BASE_SETTINGS, CANCEL, RESULT, new_folder
from setting_helpers import *  # noqa: F403

PREFIX_AFT1 = 503


class OneWindowPerInstallation(SettingTestCase):
    def open(self, folder):
        pid = self.start(folder.exe("VaroSetting.exe"))
        return pid, self.wait_dialog(pid)

    def test_a_second_start_brings_the_first_window_forward_and_ends(self):
        first = self.program_folder(["VaroSetting.exe"], settings={"Lang": "en"})
        other = self.program_folder(["VaroSetting.exe"], settings={"Lang": "en"})
        first_pid, first_dialog = self.open(first)
        other_pid, other_dialog = self.open(other)  # another installation: a window of its own
        wait_until(lambda: self.driver.foreground() == other_dialog.hwnd, what="the other window in front")

        started = time.monotonic()
        second = self.start(first.exe("VaroSetting.exe"))
        self.assertEqual(self.driver.wait_exit(second), 0)
        self.assertLess(time.monotonic() - started, 5)
        wait_until(lambda: self.driver.foreground() == first_dialog.hwnd, what="the first window in front")
        self.screenshot("first_in_front")
        self.assertEqual([w.hwnd for w in self.driver.windows(second) if w.visible], [])
        self.assertIsNone(self.driver.exit_code(first_pid))
        self.assertIsNone(self.driver.exit_code(other_pid))

        # Once the first window has closed, a start opens one again.
        self.driver.press(first_dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(first_pid), 0)
        third, _ = self.open(first)
        self.assertIsNone(self.driver.exit_code(third))

    def test_the_copy_tools_start_waits_for_the_open_window_and_reads_what_it_saved(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        target = new_folder(self.temp / "out")
        folder = self.program_folder(["VaroSelect.exe", "VaroSetting.exe"], settings=dict(
            BASE_SETTINGS, StartSetting=1, CopyMode=1, Path=windows_path(target) + "\\", AddStringsAft=4))
        plain_pid, plain = self.open(folder)
        self.driver.set_text(self.page(plain, COPY_TO_MARK), "-edited", id=PREFIX_AFT1)

        copy_tool = self.start(folder.exe("VaroSelect.exe"), quote(windows_path(source / "a.txt")))
        hand_off = self.driver.wait_child_process(copy_tool, "VaroSetting.exe")
        wait_until(lambda: self.driver.foreground() == plain.hwnd, what="the open window in front")
        time.sleep(1)  # the waiting start shows no window of its own meanwhile
        self.assertEqual([w for w in self.driver.windows(hand_off) if w.visible], [])

        # The open window's OK saves the edit; the waiting start then opens with it.
        self.driver.press(plain.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(plain_pid), 0)
        dialog = self.wait_dialog(hand_off)
        self.assertTrue(self.driver.control(dialog.hwnd, NO_SAVE).visible)
        self.assertEqual(self.driver.text(self.page(dialog, COPY_TO_MARK), PREFIX_AFT1), "-edited")
        self.driver.press(dialog.hwnd, OK)
        window = self.driver.wait_window(copy_tool, cls="#32770", child_id=CANCEL)
        self.driver.wait_text(window.hwnd, RESULT, "Success.", timeout=60)
        self.assertEqual((target / "a-edited1.txt").read_bytes(), b"a")


if __name__ == "__main__":
    main()

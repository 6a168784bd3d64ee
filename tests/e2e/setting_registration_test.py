"""The registration page of the real VaroSetting.exe: Send-To and desktop
shortcuts made by the page itself, the context menu through the real
VaroUAC.exe, the result cells, the result line and the failure details."""

import re
import shutil
import subprocess
import time

from setting_helpers import *  # noqa: F403
from uac_helpers import *  # noqa: F403

CSIDL_DESKTOP, CSIDL_SENDTO = 0, 9
OFF, UNCHANGED, ON = 0, 1, 2
# Page 111: trackbars and the cells under their Off and On ends, per target.
SEND_TO, CONTEXT_MENU, DESKTOP = (1035, 1119, 1120), (1036, 1121, 1122), (1037, 1123, 1124)
EXECUTE, RESULT, START_SETTING, AUTO_CLOSE = 530, 1108, 700, 701
TBM_SETPOS, WM_HSCROLL, TB_THUMBPOSITION, BM_GETCHECK, WM_NULL = 0x0405, 0x0114, 4, 0x00F0, 0

SUCCESS_EN, SUCCESS_JA = "Successful completion.", "正常に終了しました。 "
NOTHING_SET_JA = "On/Offを設定してください。 "
ERROR_EN = "NG:Error has occurred.You click the NG displayed error details."


class RegistrationPage(SettingTestCase, UacTestCase):
    programs = ("VaroSetting.exe", "VaroUAC.exe", "VaroSelect.exe")

    def setUp(self):
        super().setUp()
        self.send_to = linux_path(self.driver.special_folder(CSIDL_SENDTO))
        self.desktop = linux_path(self.driver.special_folder(CSIDL_DESKTOP))

    def open(self, settings, programs=None, prepare=lambda: None):
        """Opens the dialog in a fresh program folder; `prepare` runs before it starts."""
        self.make_folder(programs, settings)
        self.addCleanup(self.remove_shortcuts)
        prepare()
        self.pid = self.start(self.folder.exe("VaroSetting.exe"))
        self.dialog = self.wait_dialog(self.pid)
        return self.page(self.dialog, SEND_TO[0])

    def shortcuts(self, folder: Path) -> list[str]:
        """Shortcuts of this test's program folder (they carry its suffix)."""
        return sorted(p.name for p in folder.glob(f"*{self.suffix}*.lnk"))

    def remove_shortcuts(self):
        for folder in (self.send_to, self.desktop):
            for path in folder.glob(f"*{self.suffix}*.lnk"):
                path.unlink()

    def move(self, page, target, position):
        """Moves a trackbar and sends the notification it would send."""
        bar = self.driver.control(page, target[0])
        self.driver.send(page, TBM_SETPOS, 1, position, id=target[0])
        self.driver.post(page, WM_HSCROLL, (position << 16) | TB_THUMBPOSITION, bar.hwnd)

    def execute(self, page, expected):
        """Presses Execute and waits for the result line (past the note that
        the page waits for VaroUAC)."""
        self.driver.set_text(page, "", id=RESULT)
        self.driver.press(page, EXECUTE)

        def shown():
            text = self.driver.text(page, RESULT)
            return "" if text in WAITING_FOR_HELPER else text
        self.assertEqual(wait_until(shown, timeout=60, what="the result line"), expected)

    def cells(self, page, target):
        return self.driver.text(page, target[1]), self.driver.text(page, target[2])

    def test_shortcuts_created_found_under_another_name_and_removed(self):
        page = self.open({"Lang": "en"})
        self.assertEqual(self.cells(page, SEND_TO), ("*", ""))
        self.assertEqual(self.driver.text(page, RESULT), "")
        self.move(page, SEND_TO, ON)
        self.move(page, DESKTOP, ON)
        self.execute(page, SUCCESS_EN)
        self.assertEqual([self.cells(page, t) for t in (SEND_TO, CONTEXT_MENU, DESKTOP)],
                         [("", "OK"), ("*", ""), ("", "OK")])
        english = f"VaroSelect - Select Copy{self.suffix}.lnk"
        self.assertEqual(self.shortcuts(self.send_to), [english])
        self.assertEqual(self.shortcuts(self.desktop), [english])
        self.screenshot("registered_en")

        # Registering again in Japanese replaces the English shortcut.
        self.choose_language(self.dialog, 0)
        self.driver.wait_text(page, RESULT, SUCCESS_JA)
        self.screenshot("registered_ja")
        self.move(page, DESKTOP, UNCHANGED)
        self.execute(page, SUCCESS_JA)
        self.assertEqual(self.shortcuts(self.send_to), [f"VaroSelect - 選択してコピー{self.suffix}.lnk"])

        # A shortcut the user renamed still counts as the copy tool's.
        for path in self.send_to.glob(f"*{self.suffix}*.lnk"):
            path.rename(self.send_to / f"my copy tool{self.suffix}.lnk")
        self.move(page, SEND_TO, UNCHANGED)
        self.execute(page, NOTHING_SET_JA)
        self.assertEqual(self.cells(page, SEND_TO), ("", "*"))

        self.move(page, SEND_TO, OFF)
        self.move(page, DESKTOP, OFF)
        self.execute(page, SUCCESS_JA)
        self.assertEqual((self.cells(page, SEND_TO), self.cells(page, DESKTOP)), (("OK", ""), ("OK", "")))
        self.assertEqual(self.shortcuts(self.send_to) + self.shortcuts(self.desktop), [])
        # Removing what is not there is shown as success.
        self.execute(page, SUCCESS_JA)
        self.assertEqual(self.cells(page, SEND_TO), ("OK", ""))

    def test_context_menu_through_the_helper(self):
        page = self.open({"Lang": "ja"})
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("*", ""))
        self.move(page, CONTEXT_MENU, ON)
        self.execute(page, SUCCESS_JA)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("", "OK"))
        self.assert_layout(f"VaroSelect - 選択してコピー{self.suffix}(&9)")
        self.move(page, CONTEXT_MENU, UNCHANGED)
        self.execute(page, NOTHING_SET_JA)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("", "*"))  # read back as registered

        self.move(page, CONTEXT_MENU, OFF)
        self.execute(page, SUCCESS_JA)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("OK", ""))
        self.assert_absent()
        # Nothing to remove: status 4, shown as success.
        self.execute(page, SUCCESS_JA)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("OK", ""))

    def test_the_presence_check_reads_the_machine_classes_only(self):
        # A key of the same name in the user's classes shows through
        # HKEY_CLASSES_ROOT on Windows (not under Wine, whose view does not merge).
        def add_user_keys():
            for root in ROOTS:
                subprocess.run(["wine", "reg", "add", f"{USER_CLASSES}\\{root}\\{self.entry}\\Command", "/f"],
                               env=self.driver.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=60, check=True)
        page = self.open({"Lang": "en"}, prepare=add_user_keys)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("*", ""))

    def test_missing_copy_tool_shows_ng_and_the_details_on_click(self):
        page = self.open({"Lang": "en"}, programs=("VaroSetting.exe", "VaroUAC.exe"))
        self.move(page, SEND_TO, ON)
        self.move(page, CONTEXT_MENU, ON)
        self.execute(page, ERROR_EN)
        self.assertEqual((self.cells(page, SEND_TO), self.cells(page, CONTEXT_MENU)), (("*", "NG"), ("*", "NG")))
        self.driver.press(page, CONTEXT_MENU[1])  # "*", not a failure: no details
        self.driver.press(page, CONTEXT_MENU[2])
        self.driver.wait_text(page, RESULT, lambda t: re.match(
            r"CD:2005 VaroSelect program does not exist\. \*0x00000002:.+", t))
        self.screenshot("details_en")
        self.driver.press(page, SEND_TO[2])
        self.driver.wait_text(page, RESULT, lambda t: t.startswith("CD:1013 VaroSelect program does not exist."))
        # The details stay through a language switch, in the new language.
        self.choose_language(self.dialog, 0)
        self.driver.wait_text(page, RESULT, lambda t: re.match(
            r"CD:1013 VaroSelectプログラムが存在しません。 \*0x00000002:.+", t))
        self.screenshot("details_ja")
        self.assertEqual(self.shortcuts(self.send_to), [])
        self.assert_absent()

    def open_with_a_held_helper(self):
        """The page of a folder whose VaroUAC.exe is the stand-in that holds
        its answer until release.txt appears."""
        def stand_in():
            shutil.copy(BIN / "fake_varo_uac.exe", self.folder.path / "VaroUAC.exe")
        page = self.open({"Lang": "en"}, programs=("VaroSetting.exe", "VaroSelect.exe"), prepare=stand_in)
        self.starts = self.folder.path / "fake_uac_starts.txt"
        return page

    def test_the_dialog_answers_while_the_helper_holds_its_answer(self):
        page = self.open_with_a_held_helper()
        self.move(page, CONTEXT_MENU, ON)
        self.driver.press(page, EXECUTE)
        wait_until(self.starts.exists, what="the helper to start")
        self.assertEqual(self.driver.text(page, RESULT), WAITING_FOR_HELPER[0])
        self.assertFalse(self.driver.control(page, EXECUTE).enabled)
        # A click that reached the page before Execute was disabled starts nothing.
        self.driver.post(page, WM_COMMAND, EXECUTE, self.driver.control(page, EXECUTE).hwnd)
        held_until = time.monotonic() + 10
        while time.monotonic() < held_until:
            self.driver.send(self.dialog.hwnd, WM_NULL, answer_within_ms=100)
            self.assertFalse(self.driver.control(page, EXECUTE).enabled)
            time.sleep(0.2)
        # The language switch is handled meanwhile, the waiting note included.
        self.choose_language(self.dialog, 0)
        self.driver.wait_text(page, RESULT, WAITING_FOR_HELPER[1])
        self.screenshot("waiting")
        (self.folder.path / "release.txt").write_text("go")
        self.driver.wait_text(page, RESULT, SUCCESS_JA, timeout=30)
        self.assertEqual(self.cells(page, CONTEXT_MENU), ("", "OK"))
        self.assertTrue(self.driver.control(page, EXECUTE).enabled)
        self.assertEqual(self.starts.read_text().split(), ["0", "2"])  # one start: "0 2"
        self.assertEqual(wait_until(lambda: (self.folder.path / "fake_uac_result.txt").exists()
                                    and (self.folder.path / "fake_uac_result.txt").read_text()), "answered")

    def test_closing_while_the_helper_works_leaves_it_to_end_by_itself(self):
        page = self.open_with_a_held_helper()
        self.move(page, CONTEXT_MENU, OFF)
        self.driver.press(page, EXECUTE)
        wait_until(self.starts.exists, what="the helper to start")
        helper = self.driver.wait_child_process(self.pid, "VaroUAC.exe")
        started = time.monotonic()
        self.driver.press(self.dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        self.assertLess(time.monotonic() - started, 5)
        # The dialog took its block and event along: the helper finds nobody to answer.
        (self.folder.path / "release.txt").write_text("go")
        self.assertEqual(self.driver.wait_exit(helper), 0)
        self.assertEqual((self.folder.path / "fake_uac_result.txt").read_text(), "no partner")

    def test_check_boxes_are_saved(self):
        page = self.open({"Lang": "en", "StartSetting": 0, "AutoClose": 1})
        self.assertEqual([self.driver.send(page, BM_GETCHECK, id=i) for i in (START_SETTING, AUTO_CLOSE)], [0, 1])
        self.driver.press(page, START_SETTING)
        self.driver.press(page, AUTO_CLOSE)
        self.driver.press(self.dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        saved = self.folder.read_settings()
        self.assertEqual((saved["StartSetting"], saved["AutoClose"]), ("1", "0"))


if __name__ == "__main__":
    main()

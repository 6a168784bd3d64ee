"""Proves the end-to-end bench on e2e_fixture.exe: every driver command and
harness helper against windows of the kinds the Varo programs show."""

import secrets
import sys
from pathlib import Path, PureWindowsPath

sys.path.insert(0, str(Path(__file__).resolve().parent))

from varo_e2e import (CSIDL_PERSONAL, IDNO, IDYES, VK_END, VK_RETURN, VK_SPACE, DriverError, E2ETestCase, WaitTimeout, linux_path,
                      main, quote, settings_folder_name, wait_until, windows_path)

FIXTURE = "e2e_fixture.exe"
COUNTER, JAPANESE, EDIT, ECHO, ECHOED = 1001, 1002, 1003, 1004, 1005
ASK, ANSWER, BROWSE, CHOSEN, COMMAND_LINE = 1006, 1007, 1008, 1009, 1010
SETTING_PATH, SETTINGS_FILE, EXIT = 1011, 1012, 1013
KILLED_EXIT_CODE = 0xDEAD


class FixtureTestCase(E2ETestCase):
    def start_fixture(self, args="", folder=None):
        """Starts the fixture in its own program folder, working in self.work;
        returns its process id and its (visible) dialog."""
        self.folder = folder or self.program_folder([FIXTURE], settings={"Lang": "ja", "Path": "C:\\日本語\\コピー先\\"})
        self.work = self.temp / "work"
        self.work.mkdir(exist_ok=True)
        pid = self.start(self.folder.exe(FIXTURE), args, cwd=windows_path(self.work))
        return pid, self.driver.wait_window(pid, title="VaroFixture")

    def browse_answer(self):
        result = self.work / "fixture_result.txt"
        return wait_until(lambda: result.is_file() and result.read_text(encoding="utf-8"), what="browse answer")


class WindowsAndTexts(FixtureTestCase):
    def test_finds_late_window_and_reads_texts_japanese_and_command_line_verbatim(self):
        args = '"Z:\\tmp\\a b\\日本語" second  trailing '
        pid, dialog = self.start_fixture(args)
        self.assertTrue(dialog.visible)
        self.assertEqual((dialog.cls, dialog.pid), ("#32770", pid))
        self.assertEqual(self.driver.text(dialog.hwnd), "VaroFixture")
        self.assertEqual(self.driver.text(dialog.hwnd, COMMAND_LINE), args)
        self.assertEqual(self.driver.text(dialog.hwnd, JAPANESE), "日本語の表示を確かめます。")
        controls = {c.id: c for c in self.driver.controls(dialog.hwnd)}
        self.assertEqual((controls[EDIT].cls, controls[ECHO].cls, controls[ECHO].text), ("Edit", "Button", "Echo"))
        self.assertEqual(controls[COUNTER].text, "Presses: 0")
        self.assertIn(dialog.hwnd, [w.hwnd for w in self.driver.windows(pid)])
        self.assertEqual(self.driver.control(dialog.hwnd, ASK).text, "Ask")
        shot = self.screenshot("fixture")
        self.assertTrue(shot and shot.stat().st_size > 0)

    def test_prepared_settings_file_is_the_one_the_program_reads(self):
        pid, dialog = self.start_fixture()
        shown = self.driver.text(dialog.hwnd, SETTINGS_FILE)
        self.assertEqual(linux_path(shown), self.folder.settings_file)
        self.assertEqual(self.driver.text(dialog.hwnd, SETTING_PATH), "C:\\日本語\\コピー先\\")
        self.assertEqual(self.folder.read_settings(), {"Lang": "ja", "Path": "C:\\日本語\\コピー先\\"})

    def test_settings_folder_follows_the_program_folder_name(self):
        for name in ("VaroE2E" + secrets.token_hex(3).upper(), "E2eTools" + secrets.token_hex(3)):
            with self.subTest(name=name):
                folder = self.program_folder([FIXTURE], name=name)
                pid, dialog = self.start_fixture(folder=folder)
                shown = self.driver.text(dialog.hwnd, SETTINGS_FILE)
                self.assertTrue(shown.lower().endswith("\\kestrel\\" + settings_folder_name(name) + "\\varo.ini"))
                self.assertEqual(linux_path(shown).parent, folder.settings_folder)
                self.driver.kill(pid)

    def test_window_rectangle(self):
        pid, dialog = self.start_fixture()
        rect = self.driver.rect(dialog.hwnd)
        window, client = rect["window"], rect["client"]
        self.assertGreater(window["right"] - window["left"], client["right"] - client["left"] - 1)
        self.assertGreater(client["bottom"], 0)
        button = self.driver.rect(dialog.hwnd, id=ECHO)["window"]
        self.assertTrue(window["left"] <= button["left"] < button["right"] <= window["right"])

    def test_unknown_control_and_window_are_refused(self):
        pid, dialog = self.start_fixture()
        with self.assertRaises(DriverError):
            self.driver.press(dialog.hwnd, id=4242)
        with self.assertRaises(DriverError):
            self.driver.text(0x7FFFFFF0)
        with self.assertRaises(WaitTimeout):
            self.driver.wait_window(pid, title="no such window", timeout=0.3)


class Pressing(FixtureTestCase):
    def test_notifying_static_acts_on_left_button_enter_and_space_only(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, COUNTER)
        self.driver.wait_text(dialog.hwnd, COUNTER, "Presses: 1")
        self.driver.key(dialog.hwnd, VK_SPACE, id=COUNTER)
        self.driver.key(dialog.hwnd, ord("A"), id=COUNTER)  # swallowed
        self.driver.key(dialog.hwnd, VK_RETURN, id=COUNTER)
        self.driver.wait_text(dialog.hwnd, COUNTER, "Presses: 3")

    def test_button_by_text_edit_box_set_and_typed(self):
        pid, dialog = self.start_fixture()
        self.driver.set_text(dialog.hwnd, "Z:\\tmp\\フォルダ", id=EDIT)
        self.driver.press(dialog.hwnd, text="echo")
        self.driver.wait_text(dialog.hwnd, ECHOED, "Z:\\tmp\\フォルダ")
        self.driver.key(dialog.hwnd, VK_END, id=EDIT)
        self.driver.type_text(dialog.hwnd, " 2", id=EDIT)
        self.driver.press(dialog.hwnd, ECHO)
        self.driver.wait_text(dialog.hwnd, ECHOED, "Z:\\tmp\\フォルダ 2")


class MessageBoxes(FixtureTestCase):
    def test_reads_and_answers_a_japanese_yes_no_box(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, ASK)
        # Guards against taking a dialog with an unnamed label (id 0xFFFF) for a box.
        box = self.driver.wait_message_box(pid)
        self.assertNotEqual(box.hwnd, dialog.hwnd)
        self.assertEqual(box.title, "VaroFixture")
        self.assertEqual(box.text, "続けてよろしいですか?\n\n日本語フォルダ\\報告.txt")
        self.assertEqual(set(box.buttons), {IDYES, IDNO})
        self.screenshot("message-box")
        self.driver.answer(box, IDNO)
        self.driver.wait_text(dialog.hwnd, ANSWER, "No")

        self.driver.press(dialog.hwnd, ASK)
        second = self.driver.wait_message_box(pid, exclude=[box.hwnd])
        self.driver.answer(second, IDYES)
        self.driver.wait_text(dialog.hwnd, ANSWER, "Yes")


class FolderBrowser(FixtureTestCase):
    def test_chooses_a_folder_by_its_path(self):
        target = self.temp / "コピー先 folder" / "下"
        target.mkdir(parents=True)
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, BROWSE)
        browser = self.driver.wait_folder_browser(pid)
        texts = [c.text for c in self.driver.controls(browser.hwnd)]
        self.assertIn("コピー先のフォルダを選択して下さい", texts)
        self.driver.choose_folder(browser.hwnd, windows_path(target))
        self.assertEqual(self.browse_answer(), "chosen:" + windows_path(target))
        self.driver.wait_text(dialog.hwnd, CHOSEN, "chosen:" + windows_path(target))

    def test_tree_shows_the_initial_folder_selected(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, BROWSE)
        browser = self.driver.wait_folder_browser(pid)
        tree = self.driver.folder_tree(browser.hwnd).hwnd
        shown = [item.text for item in reversed(self.driver.tree_selection(tree))]  # Desktop first
        below_drive = shown[[i for i, text in enumerate(shown) if "(Z:)" in text][0] + 1:]
        # Wine's own initial selection may stop anywhere on the way to the folder.
        initial = list(PureWindowsPath(windows_path(self.work)).parts[1:])
        self.assertEqual(initial[:len(below_drive)], below_drive)
        z_drive = self.driver.tree_drive_item(tree, "Z:")
        self.assertIn("tmp", [item.text for item in self.driver.tree_children(tree, z_drive.item)])
        self.driver.cancel_folder_browser(browser.hwnd)

    def test_chooses_a_folder_on_another_drive(self):
        target = linux_path(self.driver.special_folder(CSIDL_PERSONAL))
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, BROWSE)
        browser = self.driver.wait_folder_browser(pid)
        self.driver.choose_folder(browser.hwnd, windows_path(target))
        self.assertEqual(self.browse_answer(), "chosen:" + windows_path(target))

    def test_cancel_answers_nothing(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, BROWSE)
        browser = self.driver.wait_folder_browser(pid)
        self.screenshot("folder-browser")
        self.driver.cancel_folder_browser(browser.hwnd)
        self.assertEqual(self.browse_answer(), "cancelled")

    def test_choosing_a_missing_folder_is_refused(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, BROWSE)
        browser = self.driver.wait_folder_browser(pid)
        with self.assertRaises(DriverError):
            self.driver.choose_folder(browser.hwnd, windows_path(self.temp / "missing"), timeout=3)


class Ending(FixtureTestCase):
    def test_exit_code_is_signed(self):
        for code, typed in ((-1, "-1"), (7, "7")):
            with self.subTest(code=code):
                pid, dialog = self.start_fixture()
                with self.assertRaises(WaitTimeout):
                    self.driver.wait_exit(pid, timeout=0.2)
                self.assertIsNone(self.driver.exit_code(pid))
                self.driver.set_text(dialog.hwnd, typed, id=EDIT)
                self.driver.press(dialog.hwnd, EXIT)
                self.assertEqual(self.driver.wait_exit(pid), code)

    def test_close_request_ends_the_program(self):
        pid, dialog = self.start_fixture()
        self.driver.close_window(dialog.hwnd)
        self.assertEqual(self.driver.wait_exit(pid), 0)
        self.driver.wait_gone(dialog.hwnd)

    def test_kill_ends_the_program_and_what_it_started(self):
        pid, dialog = self.start_fixture()
        self.driver.press(dialog.hwnd, ASK)
        box = self.driver.wait_message_box(pid)
        self.driver.kill(pid)
        self.assertEqual(self.driver.exit_code(pid), KILLED_EXIT_CODE)
        self.assertEqual([w for w in self.driver.windows(pid) if w.visible], [])
        self.assertNotIn(pid, [p["pid"] for p in self.driver.processes()])
        self.assertFalse(any(w.hwnd == box.hwnd for w in self.driver.windows()))

    def test_program_output_goes_to_the_driver_log(self):
        # Guards against a program's standard output landing in the driver's answer pipe.
        pid = self.start("C:\\windows\\system32\\cmd.exe", "/c echo stray-output-line")
        self.assertEqual(self.driver.wait_exit(pid), 0)
        self.assertTrue(self.driver.request("ping")["pong"])
        wait_until(lambda: "stray-output-line" in self.driver.log_path.read_text(errors="replace"), what="the log")

    def test_child_process_is_found_and_ended_with_its_parent(self):
        cmd = "C:\\windows\\system32\\cmd.exe"
        folder = self.program_folder([FIXTURE])
        pid = self.start(cmd, '/c start "" /wait ' + quote(folder.exe(FIXTURE)), cwd=windows_path(self.temp))
        start_pid = self.driver.wait_child_process(pid, "start.exe")
        fixture_pid = self.driver.wait_child_process(start_pid, FIXTURE)
        self.driver.wait_window(fixture_pid, title="VaroFixture")
        self.driver.kill(pid)
        wait_until(lambda: fixture_pid not in [p["pid"] for p in self.driver.processes()], what="the fixture to end")


if __name__ == "__main__":
    main()

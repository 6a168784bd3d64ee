"""The Copy-to page of the settings application: its controls reach varo.ini
through OK, a refused value keeps the dialog open, the folder browser, and
the language switch."""

from setting_helpers import *  # noqa: F403

# Copy-to page (template 112).
BEF1, BEF2, AFT1, AFT2, BROWSE, ORGANIZE = 501, 502, 503, 504, 530, 531
SAME_FOLDER, GIVEN_FOLDER, SEL_DIR, OPEN_DIR, COMPRESS = 600, 601, 700, 701, 702
PATH, KIND_BEF, KIND_AFT, DIGITS, DIR_TREE, DIR_TREE_NOTE, VERIFY = 1000, 1001, 1002, 1003, 1009, 1130, 1131
CB_GETCURSEL = 0x0147
NO_COPY_NOTE = "[Copy processing is not performed]"


class CopyToPage(SettingTestCase):
    def open(self, settings):
        self.folder = self.program_folder(["VaroSetting.exe"], settings=settings)
        self.pid = self.start(self.folder.exe("VaroSetting.exe"))
        self.dialog = self.wait_dialog(self.pid)
        self.copy_to = self.page(self.dialog, COPY_TO_MARK)

    def choose(self, id, index):
        """Selects an item of a list on the page with the notification the list sends."""
        combo = self.driver.control(self.copy_to, id)
        self.driver.send(self.copy_to, CB_SETCURSEL, index, id=id)
        self.driver.post(self.copy_to, WM_COMMAND, (CBN_SELCHANGE << 16) | id, combo.hwnd)
        wait_until(lambda: self.selection(id) == index, what=f"item {index} of list {id}")

    def selection(self, id):
        return self.driver.send(self.copy_to, CB_GETCURSEL, id=id)

    def kinds(self):
        return self.selection(KIND_BEF), self.selection(KIND_AFT)

    def enabled(self, id):
        return self.driver.control(self.copy_to, id).enabled

    def test_values_set_through_the_controls_reach_the_file(self):
        chosen = self.temp / "chosen"
        chosen.mkdir()
        history = [f"C:\\his{n}" for n in range(1, 11)]
        history[2] = windows_path(chosen)
        self.open({"Lang": "en", "Tab": 1, "CopyMode": 0, "Path": "", "AddStringsBef": 0, "AddStringsAft": 0,
                   "ZeroSuppress": 1, "DirTree": 0, "SelDir": 0, "OpenDir": 0, "CompressMode": 0, "Verify": 0,
                   **{f"PathHis{n}": history[n - 1] for n in range(1, 11)}})
        self.assertEqual([self.enabled(id) for id in (PATH, BROWSE, ORGANIZE, DIGITS)], [False] * 4)
        self.driver.press(self.copy_to, GIVEN_FOLDER)
        wait_until(lambda: all(self.enabled(id) for id in (PATH, BROWSE, ORGANIZE)), what="folder controls enabled")
        self.choose(PATH, 2)
        for id, text in [(BEF1, "top"), (BEF2, "b-"), (AFT1, "-a"), (AFT2, "end")]:
            self.driver.set_text(self.copy_to, text, id=id)

        # Date before the name brings a serial number after it; the digit list follows the serial kinds.
        self.choose(KIND_BEF, 2)
        self.assertEqual(self.kinds(), (2, 4))
        self.assertTrue(self.enabled(DIGITS))
        self.choose(KIND_BEF, 0)  # none resets the other list only when it holds Date
        self.assertEqual(self.kinds(), (0, 4))
        self.choose(KIND_AFT, 1)  # Date_time stands alone
        self.assertEqual(self.kinds(), (0, 1))
        self.assertFalse(self.enabled(DIGITS))
        self.choose(KIND_AFT, 4)
        self.choose(KIND_BEF, 2)
        self.assertEqual(self.kinds(), (2, 4))
        self.choose(DIGITS, 4)

        for id in (SEL_DIR, OPEN_DIR, COMPRESS, VERIFY):
            self.driver.press(self.copy_to, id)
        self.choose(DIR_TREE, 2)
        self.driver.wait_text(self.copy_to, DIR_TREE_NOTE, NO_COPY_NOTE)
        self.choose(DIR_TREE, 1)
        self.driver.wait_text(self.copy_to, DIR_TREE_NOTE, "")

        self.driver.press(self.dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        saved = self.folder.read_settings()
        expected = {"CopyMode": "1", "Path": windows_path(chosen) + "\\", "PrefixBef1": "top", "PrefixBef2": "b-",
                    "PrefixAft1": "-a", "PrefixAft2": "end", "AddStringsBef": "2", "AddStringsAft": "4",
                    "ZeroSuppress": "5", "SelDir": "1", "OpenDir": "1", "CompressMode": "1", "DirTree": "1",
                    "Verify": "1"}
        self.assertEqual({key: saved[key] for key in expected}, expected)

    def test_a_refused_value_keeps_the_dialog_on_the_tab_shown(self):
        self.open({"Lang": "en", "Tab": 2, "CopyMode": 0, "Path": "", "PrefixBef1": "ok"})
        before = self.folder.settings_file.read_bytes()
        self.driver.set_text(self.copy_to, "a\\b", id=BEF1)
        self.driver.press(self.dialog.hwnd, OK)
        box = self.driver.wait_message_box(self.pid)
        self.assertEqual((box.title, box.text), (
            "VaroSetting", "Characters that can not be used in the prefix(top) are included.\n\nNG : \\ \n\na\\b"))
        self.driver.answer(box, IDOK)

        self.driver.set_text(self.copy_to, "ok", id=BEF1)
        long_path = "C:\\" + "p" * 256  # 259 characters, 260 with the appended "\"
        self.driver.set_text(self.copy_to, long_path, id=PATH)
        self.driver.press(self.dialog.hwnd, OK)
        box = self.driver.wait_message_box(self.pid, exclude=[box.hwnd])
        self.assertEqual(box.text, "The path of the copy destination folder is too long.\n\n"
                                   f"Now:260 characters  Max:259 characters\n\n{long_path}\\")
        self.driver.answer(box, IDOK)

        self.assertIsNone(self.driver.exit_code(self.pid))
        self.assertEqual(self.driver.send(self.dialog.hwnd, TCM_GETCURSEL, id=TABS), 2)
        self.assertEqual(self.visible_pages(self.dialog), ["conditions"])
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_the_folder_browser_picks_a_folder_and_cancel_restores_path(self):
        stored, picked = self.temp / "stored", self.temp / "picked"
        stored.mkdir()
        picked.mkdir()
        self.open({"Lang": "en", "Tab": 1, "CopyMode": 1, "Path": windows_path(stored) + "\\"})
        self.driver.set_text(self.copy_to, "C:\\typed\\", id=PATH)
        self.driver.press(self.copy_to, BROWSE)
        browser = self.driver.wait_folder_browser(self.pid)
        self.assertIn("Please Select Copy Folder", [c.text for c in self.driver.controls(browser.hwnd)])
        self.driver.cancel_folder_browser(browser.hwnd)
        self.driver.wait_text(self.copy_to, PATH, windows_path(stored) + "\\")

        self.driver.press(self.copy_to, BROWSE)
        browser = self.driver.wait_folder_browser(self.pid)
        self.driver.choose_folder(browser.hwnd, windows_path(picked))
        self.driver.wait_text(self.copy_to, PATH, windows_path(picked))
        self.driver.press(self.dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        self.assertEqual(self.folder.read_settings()["Path"], windows_path(picked) + "\\")

    def test_the_language_switch_relabels_the_page_and_keeps_the_lists(self):
        self.open({"Lang": "ja", "Tab": 1, "AddStringsBef": 2, "AddStringsAft": 4, "ZeroSuppress": 3, "DirTree": 2})
        japanese = {600: "同じディレクトリにコピー(&A)", BROWSE: "参照(&B)...", KIND_BEF: "年月日",
                    KIND_AFT: "連番", DIR_TREE: "あり(コピー処理は行わない)", DIR_TREE_NOTE: "【コピー処理は行われないモードです】"}
        english = {600: "Copy to the sa&me directory", BROWSE: "&Browse...", KIND_BEF: "Date",
                   KIND_AFT: "Sirial number", DIR_TREE: "On(Don't copy processing)", DIR_TREE_NOTE: NO_COPY_NOTE}
        self.assertEqual({id: self.driver.text(self.copy_to, id) for id in japanese}, japanese)
        self.screenshot("ja")
        self.choose_language(self.dialog, 1)
        self.driver.wait_text(self.copy_to, 600, english[600])
        self.assertEqual({id: self.driver.text(self.copy_to, id) for id in english}, english)
        self.screenshot("en")
        self.assertEqual([self.selection(id) for id in (KIND_BEF, KIND_AFT, DIGITS, DIR_TREE)], [2, 4, 2, 2])


if __name__ == "__main__":
    main()

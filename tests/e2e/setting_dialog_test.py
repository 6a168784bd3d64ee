"""The settings application started by the user: buttons, language, tabs, and
settings that come back exactly as they were given."""

from setting_helpers import *  # noqa: F403


class SettingAlone(SettingTestCase):
    def open(self, settings):
        self.folder = self.program_folder(["VaroSetting.exe"], settings=settings)
        self.pid = self.start(self.folder.exe("VaroSetting.exe"))
        return self.wait_dialog(self.pid)

    def test_ok_and_cancel_only_and_cancel_saves_nothing(self):
        dialog = self.open({"Lang": "en", "PrefixAft1": "-x"})
        before = self.folder.settings_file.read_bytes()
        no_save = self.driver.control(dialog.hwnd, NO_SAVE)
        self.assertFalse(no_save.visible)
        # OK stands where "OK(No save)" would be.
        self.assertEqual(self.driver.rect(dialog.hwnd, OK)["window"], self.driver.rect(dialog.hwnd, NO_SAVE)["window"])
        self.driver.set_text(self.page(dialog, COPY_TO_MARK), "-changed", id=503)
        self.driver.press(dialog.hwnd, CANCEL_BUTTON)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        self.assertEqual(self.folder.settings_file.read_bytes(), before)
        self.assertFalse((self.folder.settings_folder / "varo_tmp.ini").exists())

    def test_language_switch_relabels_and_cancel_keeps_lang(self):
        dialog = self.open({"Lang": "ja"})
        before = self.folder.settings_file.read_bytes()
        self.assertEqual(self.driver.tab_captions(dialog.hwnd, TABS), JAPANESE_TABS)
        self.choose_language(dialog, 1)
        wait_until(lambda: self.driver.tab_captions(dialog.hwnd, TABS) == ENGLISH_TABS, what="English tabs")
        self.assertEqual(self.driver.text(self.page(dialog, REGISTRATION_MARK), 1100), "Regist/Unset")
        self.assertEqual(self.driver.text(self.page(dialog, COPY_TO_MARK), 600), "Copy to the sa&me directory")
        self.assertEqual(self.driver.text(self.page(dialog, CONDITIONS_MARK), 1119), "File &update date:")
        self.driver.close_window(dialog.hwnd)  # the close box is Cancel
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_a_failing_check_keeps_the_dialog_open_and_saves_nothing(self):
        blocker = make_files(self.temp, {"file": "x"}) / "file"
        wanted = windows_path(blocker) + "\\sub\\"
        dialog = self.open({"Lang": "en", "CopyMode": 1, "Path": wanted})
        before = self.folder.settings_file.read_bytes()
        self.driver.press(dialog.hwnd, OK)
        box = self.driver.wait_message_box(self.pid)
        self.assertEqual((box.title, box.text), ("VaroSetting", "Failed to create the destination folder.\n" + wanted))
        self.driver.answer(box, IDOK)
        self.assertIsNone(self.driver.exit_code(self.pid))  # still open
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_opens_on_the_conditions_tab(self):
        dialog = self.open({"Lang": "en", "Tab": 2, "Select": 1, "SelectMode": 1})
        self.assertEqual(self.driver.send(dialog.hwnd, TCM_GETCURSEL, id=TABS), 2)
        self.assertEqual(self.visible_pages(dialog), ["conditions"])
        # The focus waits in the exclude list that SelectMode 1 uses.
        page = self.page(dialog, CONDITIONS_MARK)
        combo = self.driver.control(page, 1002).hwnd
        combo_edit = [c.hwnd for c in self.driver.controls(combo)]  # the edit box inside the combo box
        # The dialog takes the focus once it is active, which a busy machine may delay.
        wait_until(lambda: self.driver.focus(dialog.hwnd)["hwnd"] in [combo] + combo_edit,
                   what="the focus in the exclude list")
        # The empty-folder caption follows the copy check box.
        self.assertEqual(self.driver.text(page, 701), "If there is no file to be copied, do not copy the &folder")
        self.driver.press(page, 700)
        self.driver.wait_text(page, 701, "If the copy source is an empty folder, do not copy the &folder")

    def test_every_key_comes_back_as_given(self):
        out = self.temp / "out"
        out.mkdir()
        path = windows_path(out) + "\\"
        values = {
            "Tab": 1, "Lang": "ja", "StartSetting": 0, "AutoClose": 0, "CopyMode": 1, "Path": path,
            "SelDir": 1, "OpenDir": 1, "PrefixBef1": "b1", "AddStringsBef": 2, "PrefixBef2": "b2",
            "PrefixAft1": "a1", "AddStringsAft": 4, "PrefixAft2": "a2", "ZeroSuppress": 3, "CompressMode": 1,
            "DirTree": 2, "Select": 0, "SelectMode": 1, "TargetFile": "*.txt", "ExNoTargetFile": "a*.txt",
            "NoTargetFile": "*.tmp", "ExTargetFile": "keep*.tmp", "UpdateDateType": 3, "UpdateDateVal": 5,
            "UpdateDateStr": "2024/1/2", "UpdateDateEnd": "2024/03/04", "EmptyDirNoCopy": 1, "Verify": 1,
        }
        # Each history starts with its current value, so pushing it changes nothing.
        for key, current in [("Path", path), ("TargetFile", "*.txt"), ("ExNoTargetFile", "a*.txt"),
                             ("NoTargetFile", "*.tmp"), ("ExTargetFile", "keep*.tmp")]:
            for n in range(1, 11):
                other = f"C:\\his{n}\\" if key == "Path" else f"h{n}*.x"
                values[f"{key}His{n}"] = current if n == 1 else ("" if n == 5 else other)
        dialog = self.open(values)
        self.driver.press(dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        expected = {key: str(value) for key, value in values.items()}
        self.assertEqual(self.folder.read_settings(), expected)
        self.assertEqual(read_ini(self.folder.backup_file), expected)


if __name__ == "__main__":
    main()

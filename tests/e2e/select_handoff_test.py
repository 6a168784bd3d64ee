"""With StartSetting 1 the copy tool lets the settings application answer
first. The answers 0, 1 and 2 come from the real settings application
(setting_handoff_test.py); a stand-in gives the answer it cannot give: none."""

import shutil

from select_helpers import *  # noqa: F403

SETTING_CANCEL, SETTING_TABS = 550, 1065


class HandOff(CopyToolTestCase):
    def start_with_silent_setting(self, settings, sources=()):
        """Starts the copy tool with a stand-in settings application that ends without answering."""
        values = dict(BASE_SETTINGS, StartSetting=1)
        values.update(settings)
        self.folder = self.program_folder(["VaroSelect.exe"], settings=values)
        shutil.copy2(BIN / "fake_varo_setting.exe", self.folder.path / "VaroSetting.exe")
        args = " ".join(quote(windows_path(s)) for s in sources)
        self.pid = self.start(self.folder.exe("VaroSelect.exe"), args)

    def handed_key(self):
        text = (self.folder.path / "fake_setting_args.txt").read_text()
        self.assertRegex(text, r"^/k KESTREL_varo_e2e[0-9a-f]{8}_[0-9a-f]+$")
        return text

    def test_a_chosen_folder_is_kept_after_saved_settings(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        chosen = new_folder(self.temp / "chosen")
        self.folder = self.program_folder(["VaroSelect.exe", "VaroSetting.exe"], settings=dict(
            BASE_SETTINGS, StartSetting=1, CopyMode=1, Path="", AddStringsAft=4))
        self.pid = self.start(self.folder.exe("VaroSelect.exe"), quote(windows_path(source / "a.txt")))
        setting = self.driver.wait_child_process(self.pid, "VaroSetting.exe")
        dialog = self.driver.wait_window(setting, cls="#32770", title="VaroSetting")
        self.driver.press(dialog.hwnd, IDOK)
        browser = self.driver.wait_folder_browser(self.pid)
        self.driver.choose_folder(browser.hwnd, windows_path(chosen))
        window = self.wait_result("Success.")
        self.close_and_exit(window)
        self.assertEqual(self.folder.read_settings()["Path"], windows_path(chosen) + "\\")

    def test_a_settings_application_that_ends_without_answering_does_not_hang_the_copy(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.start_with_silent_setting({"AddStringsAft": 4}, sources=[source / "a.txt"])
        window = self.wait_result("Success.")
        self.handed_key()
        self.assertTrue((source / "a_1.txt").exists())
        self.close_and_exit(window)

    # Regression: the wait for the answer dispatched no messages, so whoever
    # sent the copy tool's window a message (a broadcast) waited as well.
    def test_the_copy_tool_answers_messages_while_the_settings_application_is_open(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.folder = self.program_folder(["VaroSelect.exe", "VaroSetting.exe"],
                                          settings=dict(BASE_SETTINGS, StartSetting=1, AddStringsAft=4))
        self.pid = self.start(self.folder.exe("VaroSelect.exe"), quote(windows_path(source / "a.txt")))
        setting = self.driver.wait_child_process(self.pid, "VaroSetting.exe")
        dialog = self.driver.wait_window(setting, cls="#32770", title="VaroSetting", child_id=SETTING_TABS)
        main_window = self.driver.wait_window(self.pid, cls="VaroSelect", visible=False)
        self.assertEqual(self.driver.send(main_window.hwnd, 0), 0)  # WM_NULL, answered within 5 s
        self.driver.press(dialog.hwnd, SETTING_CANCEL)
        self.assertEqual(self.driver.wait_exit(self.pid), -1)
        self.assertEqual(sorted(p.name for p in source.iterdir()), ["a.txt"])

    def test_a_missing_settings_application_is_reported(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.run_copy([source / "a.txt"], {"StartSetting": 1})
        box = self.expect_box("It is set to start VaroSetting.exe before copy processing, "
                              "but It terminates because VaroSetting.exe startup failed.")
        self.assertEqual(self.driver.wait_exit(self.pid), -1)


if __name__ == "__main__":
    main()

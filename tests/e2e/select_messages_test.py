"""What the copy tool says when a source or a destination cannot be used."""

from select_helpers import *  # noqa: F403

SAME_NAME = "The same name of the file to the copy destination already exists."


class Messages(CopyToolTestCase):
    def test_a_missing_source_is_reported_and_the_others_are_copied(self):
        source = make_files(self.temp / "src", {"a.txt": "a", "c.txt": "c"})
        target = self.temp / "out"
        self.run_copy([source / "a.txt", source / "b.txt", source / "c.txt"],
                      {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4})
        box = self.expect_box("Please select a folder or file.\n\n")
        self.assertEqual(box.text, "Please select a folder or file.\n\n" + windows_path(source / "b.txt"))
        window = self.wait_result("Copy failed!")
        self.screenshot("failed")
        self.assertEqual(read_tree(target), {"a_1.txt": b"a", "c_1.txt": b"c"})
        self.close_and_exit(window)

    def test_two_blanks_hand_on_an_empty_path(self):
        source = make_files(self.temp / "src", {"a.txt": "a", "b.txt": "b"})
        args = windows_path(source / "a.txt") + "  " + windows_path(source / "b.txt")
        self.run_copy([], {"AddStringsAft": 4}, raw_args=args)
        box = self.expect_box("Please select a folder or file.")
        self.assertEqual(box.text, "Please select a folder or file.\n\n")
        window = self.wait_result("Copy failed!")
        self.assertTrue((source / "a_1.txt").exists() and (source / "b_1.txt").exists())
        self.close_and_exit(window)

    def test_paths_up_to_259_characters_are_accepted(self):
        # Wine maps / to Z:\, so Z:\ + the Linux path makes up the length.
        base = windows_path(self.temp / "s")
        name = "n" * (259 - len(base) - 1)
        source = make_files(self.temp / "s", {name: "x"})
        self.assertEqual(len(windows_path(source / name)), 259)
        self.run_copy([source / name], {"CopyMode": 1, "Path": windows_path(self.temp) + "\\t\\",
                                        "AddStringsAft": 0, "PrefixAft1": ""})
        window = self.wait_result("Success.")
        self.assertTrue((self.temp / "t" / name).exists())
        self.close_and_exit(window)

    def test_a_path_of_260_characters_ends_the_run(self):
        base = windows_path(self.temp / "s")
        long_path = base + "\\" + "n" * (260 - len(base) - 1)
        source = make_files(self.temp / "s", {"first.txt": "1"})
        args = windows_path(source / "first.txt") + " " + long_path + " " + windows_path(source / "first.txt")
        self.run_copy([], {"AddStringsAft": 4}, raw_args=args)
        box = self.expect_box("Please refer to the length of the path of this file in less than 260 characters.")
        self.assertEqual(box.text.split("\n\n")[1], long_path[:259])
        # Regression: the window stayed on "Please wait." for good. Nothing
        # after the path is copied and the run ends as failed.
        window = self.wait_result("Copy failed!")
        self.assertEqual(sorted(p.name for p in source.iterdir()), ["first.txt", "first_1.txt"])
        self.close_and_exit(window)

    def test_the_sixty_first_collision_gives_up(self):
        source = make_files(self.temp / "src", {"a.txt": "keep"})
        # No generated part and the same folder: the copy would be the source itself.
        self.run_copy([source / "a.txt"], {"AddStringsAft": 0, "PrefixAft1": ""})
        box = self.expect_box(SAME_NAME)
        self.assertEqual(box.text, SAME_NAME + "\n\n" + windows_path(source / "a.txt"))
        window = self.wait_result("Copy failed!")
        self.assertEqual((source / "a.txt").read_bytes(), b"keep")
        self.close_and_exit(window)

    def test_an_unwritable_destination_asks_for_another_folder(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        target = make_files(self.temp / "out", {"a.txt/": None})  # a folder where the file should go
        other = new_folder(self.temp / "other")
        self.run_copy([source / "a.txt"], {"CopyMode": 1, "Path": windows_path(target) + "\\",
                                           "AddStringsAft": 0, "PrefixAft1": ""})
        box = self.expect_box("Can not copy.\n\n")
        self.assertTrue(box.text.endswith("Please Select in which to copy."), box.text)
        browser = self.driver.wait_folder_browser(self.pid)
        texts = [control.text for control in self.driver.controls(browser.hwnd)]
        self.assertIn("Please Select in which to store.", texts)
        self.screenshot("folder-browser")
        self.driver.choose_folder(browser.hwnd, windows_path(other))
        window = self.wait_result("Success.")
        self.assertEqual((other / "a.txt").read_bytes(), b"a")
        self.close_and_exit(window)

    def test_first_run_creates_the_settings_and_the_backup(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.folder = self.program_folder(["VaroSelect.exe"])  # no settings file at all
        self.pid = self.start(self.folder.exe("VaroSelect.exe"), quote(windows_path(source / "a.txt")))
        # The defaults start the settings application first, which is not there.
        box = self.driver.wait_message_box(self.pid)
        self.assertIn("VaroSetting.exe", box.text)
        self.driver.answer(box, IDOK)
        self.assertEqual(self.driver.wait_exit(self.pid), -1)
        raw = self.folder.settings_file.read_bytes()
        self.assertEqual(raw[:2], b"\xff\xfe")
        self.assertEqual(raw, self.folder.backup_file.read_bytes())
        values = self.folder.read_settings()
        self.assertEqual(len(values), 79)
        self.assertEqual(values["Verify"], "0")
        self.assertEqual(values["StartSetting"], "1")
        self.assertEqual(values["PrefixAft1"], "_")
        self.assertTrue(values["Path"].endswith("My Copy\\"))
        self.assertEqual(sorted(p.name for p in source.iterdir()), ["a.txt"])

    def test_no_arguments_asks_for_a_folder(self):
        self.run_copy([], raw_args="")
        box = self.expect_box("Please drop the folder you want to copy.")
        self.assertEqual(self.driver.wait_exit(self.pid), -1)


if __name__ == "__main__":
    main()

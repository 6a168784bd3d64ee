"""The copy tool copies files and folders as the settings say."""

import re

from select_helpers import *  # noqa: F403


class Copies(CopyToolTestCase):
    def test_a_single_file_gets_the_date_and_time_in_its_name(self):
        source = make_files(self.temp / "src", {"report.xlsx": b"\x00\x01data" * 1000})
        self.run_copy([source / "report.xlsx"])
        window = self.wait_result("Success.")
        self.assertEqual(self.driver.text(window.hwnd, SOURCES), "[report.xlsx]")
        copy = self.only_child(source, "report_")
        self.assertRegex(copy.name, r"^report_\d{8}_\d{6}\.xlsx$")
        self.assertEqual(copy.read_bytes(), (source / "report.xlsx").read_bytes())
        self.close_and_exit(window)

    def test_a_folder_lands_beside_itself_with_every_file(self):
        source = make_files(self.temp / "src" / "Docs", {
            "a.txt": "one", "b.bin": bytes(range(256)) * 300, "Old/c.txt": "three",
            "Old/Older/d.txt": "", "New/": None, "日本語/資料.txt": "日本"})
        self.run_copy([source])
        window = self.wait_result("Success.")
        copy = self.only_child(source.parent, "Docs_")
        self.assertRegex(copy.name, r"^Docs_\d{8}_\d{6}$")
        self.assertEqual(read_tree(copy), read_tree(source))
        self.close_and_exit(window)

    def test_copies_go_to_the_configured_folder_which_is_made_when_missing(self):
        source = make_files(self.temp / "src", {"a.txt": "a", "b.txt": "b"})
        target = self.temp / "out" / "new"
        self.run_copy([source / "a.txt", source / "b.txt"],
                      {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4})
        window = self.wait_result("Success.")
        self.assertEqual(read_tree(target), {"a_1.txt": b"a", "b_1.txt": b"b"})
        self.assertEqual(self.driver.text(window.hwnd, SOURCES), "[a.txt b.txt]")
        self.close_and_exit(window)

    def test_serial_numbers_continue_after_existing_copies(self):
        source = make_files(self.temp / "src", {"a.txt": "new"})
        target = make_files(self.temp / "out", {"a_001.txt": "", "a_007.txt": "", "a_7.txt": "", "A_003.TXT": ""})
        self.run_copy([source / "a.txt"], {"CopyMode": 1, "Path": windows_path(target) + "\\",
                                           "AddStringsAft": 4, "ZeroSuppress": 3})
        window = self.wait_result("Success.")
        self.assertEqual((target / "a_008.txt").read_bytes(), b"new")
        self.close_and_exit(window)

    def test_conditions_choose_the_files(self):
        source = make_files(self.temp / "src" / "D", {
            "keep.txt": "k", "skip.doc": "s", "sub/also.TXT": "a", "sub/~temp.txt": "t", "pics/p.jpg": "p"})
        target = self.temp / "out"
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "SelectMode": 0, "TargetFile": " *.txt ", "ExNoTargetFile": "~*"})
        window = self.wait_result("Success.")
        self.assertEqual(read_tree(target / "D_1"),
                         {"keep.txt": b"k", "sub/": None, "sub/also.TXT": b"a", "pics/": None})
        self.close_and_exit(window)

    def test_empty_folders_are_left_out_when_asked(self):
        source = make_files(self.temp / "src" / "D", {"a.txt": "a", "pics/p.jpg": "p", "empty/": None})
        target = self.temp / "out"
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "SelectMode": 0, "TargetFile": "*.txt", "EmptyDirNoCopy": 1})
        window = self.wait_result("Success.")
        self.assertEqual(read_tree(target / "D_1"), {"a.txt": b"a"})
        self.close_and_exit(window)

    def test_nothing_selected_means_no_copy_file(self):
        source = make_files(self.temp / "src" / "D", {"pics/p.jpg": "p", "x.doc": "x"})
        target = self.temp / "out"
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "SelectMode": 0, "TargetFile": "*.txt", "EmptyDirNoCopy": 1})
        window = self.wait_result("No copy file.")
        self.screenshot("nothing-copied")
        self.assertEqual(list(target.iterdir()), [])
        self.close_and_exit(window)

    def test_file_copy_off_copies_the_folder_structure_only(self):
        source = make_files(self.temp / "src" / "D", {"a.txt": "a", "sub/deep/b.txt": "b", "empty/": None})
        target = self.temp / "out"
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "Select": 0})
        window = self.wait_result("Success.")
        self.assertEqual(read_tree(target / "D_1"), {"sub/": None, "sub/deep/": None, "empty/": None})
        self.close_and_exit(window)

    def test_japanese_names_and_texts(self):
        source = make_files(self.temp / "ソース", {"写真 一覧.txt": "写真"})
        self.run_copy([source / "写真 一覧.txt", source / "無い.txt"], {"Lang": "ja", "AddStringsAft": 4})
        box = self.driver.wait_message_box(self.pid)
        self.assertEqual(box.text, "フォルダ又はファイルを選択してください。\n\n" + windows_path(source / "無い.txt"))
        self.screenshot("japanese-message")
        self.driver.answer(box, IDOK)
        window = self.wait_result("Copy failed!")
        self.assertEqual((source / "写真 一覧_1.txt").read_text(encoding="utf-8"), "写真")
        self.close_and_exit(window)


if __name__ == "__main__":
    main()

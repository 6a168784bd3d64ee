"""The copy result list through the real copy tool: beside the copy, or instead of it."""

from select_helpers import *  # noqa: F403


def document_example(root: Path) -> Path:
    """Docs with a.txt, b.txt, an empty New and Old\\c.txt, dated and sized so
    that the list reads as the example the list format was designed on."""
    docs = make_files(root / "Docs", {"a.txt": b"x" * 10, "b.txt": b"x" * (120 * 1024), "New/": None,
                                      "Old/c.txt": b"x" * (1024 * 1024)})
    set_modified(docs / "a.txt", 2018, 9, 30, 10, 15)
    set_modified(docs / "b.txt", 2018, 10, 1, 8, 0)
    set_modified(docs / "Old" / "c.txt", 2018, 10, 1, 9, 30)
    return docs


class ResultList(CopyToolTestCase):
    def test_the_list_draws_the_copied_tree_beside_the_copy(self):
        docs = document_example(self.temp / "src")
        target = self.temp / "out"
        self.run_copy([docs], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                               "DirTree": 1})
        window = self.wait_result("Success.")
        raw = (target / "Docs_1.txt").read_bytes()
        self.assertEqual(raw[:2], b"\xff\xfe")
        expected = "\r\n".join([
            "[Selection by filename]",
            "No designation",
            "",
            windows_path(target / "Docs_1"),
            "│  a.txt            2018/09/30 10:15      1 KB",
            "│  b.txt            2018/10/01 08:00    120 KB",
            "│",
            "├─New",
            "└─Old",
            "        c.txt        2018/10/01 09:30  1,024 KB",
            "",
            ""])
        self.assertEqual(raw[2:].decode("utf-16-le"), expected)
        self.assertEqual(read_tree(target / "Docs_1"), read_tree(docs))
        self.close_and_exit(window)

    def test_list_names_follow_the_copy_and_share_its_serial(self):
        source = make_files(self.temp / "src", {"x.xlsx": "x", "dir/a.txt": "a"})
        target = make_files(self.temp / "out", {"x_005.xlsx.txt": "an older list"})
        self.run_copy([source / "x.xlsx", source / "dir"],
                      {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4, "ZeroSuppress": 3,
                       "DirTree": 1})
        window = self.wait_result("Success.")
        names = sorted(p.name for p in target.iterdir())
        self.assertEqual(names, ["dir_001", "dir_001.txt", "x_005.xlsx.txt", "x_006.xlsx", "x_006.xlsx.txt"])
        self.close_and_exit(window)

    def test_without_generated_parts_the_list_keeps_the_copy_name(self):
        source = make_files(self.temp / "src", {"x.xlsx": "x", "dir/a.txt": "a"})
        target = self.temp / "out"
        self.run_copy([source / "x.xlsx", source / "dir"],
                      {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 0, "PrefixAft1": "",
                       "DirTree": 1})
        window = self.wait_result("Success.")
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["dir", "dir.txt", "x.xlsx", "x.xlsx.txt"])
        self.assertIn("x.xlsx", read_utf16(target / "x.xlsx.txt"))
        self.close_and_exit(window)

    def test_list_only_copies_nothing(self):
        docs = document_example(self.temp / "src")
        target = self.temp / "out"
        self.run_copy([docs], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                               "DirTree": 2, "SelectMode": 0, "TargetFile": "*.txt"})
        window = self.wait_result("Success. (No copy mode.)")
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["Docs_1.txt"])
        text = read_utf16(target / "Docs_1.txt")
        self.assertTrue(text.startswith("[Target]\r\n*.txt\r\n[Exception,Exclud]\r\n\r\n\r\n"), text)
        self.assertIn("\r\n" + windows_path(docs) + "\r\n", text)  # the source is the root
        self.assertIn("c.txt", text)
        self.close_and_exit(window)

    def test_cancel_while_the_list_is_written_stops_only_the_list(self):
        # Deep paths make the list's analysis long enough to press Cancel in.
        deep = "/".join(["d"] * 30)
        source = make_files(self.temp / "src" / "Big",
                            {f"{deep}/f{n // 500:03d}/file{n:06d}.txt": b"" for n in range(50000)})
        target = self.temp / "out"
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "DirTree": 2})
        window = self.progress_window()
        self.driver.wait_text(window.hwnd, BYTES, lambda text: text.startswith("Analyzing"), timeout=120)
        self.driver.press(window.hwnd, CANCEL)
        self.wait_result("Copy result list failed!")
        text = read_utf16(target / "Big_1.txt")
        self.assertTrue(text.endswith("Creation was aborted!\r\n"), text[-300:])
        self.close_and_exit(window)


if __name__ == "__main__":
    main()

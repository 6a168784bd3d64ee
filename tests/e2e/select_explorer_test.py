"""With OpenDir 1 the copy tool shows the destination in Explorer."""

from select_helpers import *  # noqa: F403

# Wine's Explorer window class, and Windows' own.
EXPLORER_CLASSES = {"ExplorerWClass", "CabinetWClass"}


class ExplorerView(CopyToolTestCase):
    def explorer_windows(self, title):
        return [w for w in self.driver.windows() if w.cls in EXPLORER_CLASSES and w.title == title and w.visible]

    def test_the_destination_folder_is_shown_after_the_copy(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        target = new_folder(self.temp / "結果 フォルダ")
        self.run_copy([source / "a.txt"], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                           "OpenDir": 1})
        # The run ends only once Explorer's window has shown up (or after
        # ten seconds of looking for it).
        window = self.wait_result("Success.", timeout=120)
        wait_until(lambda: self.explorer_windows(target.name), 30, "an Explorer window on the destination")
        self.screenshot("explorer")
        self.close_and_exit(window)

    def test_nothing_is_shown_when_nothing_was_copied(self):
        source = make_files(self.temp / "src" / "D", {"a.jpg": "a"})
        target = new_folder(self.temp / "nothing here")
        self.run_copy([source], {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 4,
                                 "OpenDir": 1, "SelectMode": 0, "TargetFile": "*.txt", "EmptyDirNoCopy": 1})
        window = self.wait_result("No copy file.")
        self.assertEqual(self.explorer_windows(target.name), [])
        self.close_and_exit(window)


if __name__ == "__main__":
    main()

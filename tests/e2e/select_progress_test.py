"""How far a copy has come: files and bytes done of the counted totals, the
bar and the share, read while the copy is held on a gate halfway through a
tree of known size; the same through packing for Zip delivery."""

import zipfile

from select_helpers import *  # noqa: F403

PBM_GETPOS = 0x0400 + 8
KB = 1024
# 3 folders of 10 files of 1 to 30 KB: 30 files, 465 KB.
TREE_FILES = 30
TREE_KB = sum(range(1, TREE_FILES + 1))


def known_tree(root):
    return make_files(root, {f"part{n // 10}/file{n:02d}.dat": bytes([n]) * (KB * (n + 1))
                             for n in range(TREE_FILES)})


def files_below(root):
    return [p for p in root.rglob("*") if p.is_file()]


class ProgressTotals(CopyToolTestCase):
    def into(self, target, **settings):
        values = {"CopyMode": 1, "Path": windows_path(target) + "\\", "AddStringsAft": 0, "PrefixAft1": ""}
        values.update(settings)
        return values

    def bar(self, window):
        return self.driver.send(window.hwnd, PBM_GETPOS, id=BAR)

    def test_a_copy_held_halfway_shows_what_is_done_of_the_total(self):
        self.move_pointer(0, 0)  # no tooltip over the screenshot
        source = known_tree(self.temp / "src")
        target = self.temp / "out"
        gate = self.run_gated([source], self.into(target), passing=12)
        window = self.progress_window()
        # The count ends at once; the copy stops after 12 files.
        text = self.driver.wait_text(window.hwnd, TOTALS, lambda t: t.startswith("12 of 30 files"))
        copied = files_below(target / "src")
        self.assertEqual(len(copied), 12)
        done = sum(p.stat().st_size for p in copied)
        self.assertEqual(text, f"12 of 30 files, {done // KB} KB of {TREE_KB} KB")
        self.assertEqual(self.bar(window), done * 1000 // (TREE_KB * KB))
        self.assertTrue(self.driver.text(window.hwnd, SHARE).startswith(f"{done * 100 // (TREE_KB * KB)}%"))
        self.screenshot("held")

        self.driver.set_event(gate)
        self.wait_result("Success.")
        self.assertEqual(self.driver.text(window.hwnd, TOTALS), f"30 of 30 files, {TREE_KB} KB of {TREE_KB} KB")
        self.assertEqual(self.bar(window), 1000)
        self.assertEqual(self.driver.text(window.hwnd, SHARE), "100%")
        self.screenshot("finished")
        self.assertEqual(read_tree(target / "src"), read_tree(source))
        self.close_and_exit(window)

    def test_before_the_count_is_known_the_window_shows_what_is_done(self):
        source = known_tree(self.temp / "src")
        target = self.temp / "out"
        # No count (as when it was stopped): what is done, in Japanese.
        self.run_copy([source], self.into(target, Lang="ja"), seams={"VARO_TEST_NO_COUNT": "1"})
        window = self.wait_result("Success.")
        self.assertEqual(self.driver.text(window.hwnd, TOTALS), f"コピー済み 30 ファイル、{TREE_KB} KB")
        self.assertFalse(self.driver.control(window.hwnd, BAR).visible)
        self.assertEqual(self.driver.text(window.hwnd, SHARE), "")
        self.close_and_exit(window)

    def test_zip_delivery_shows_the_entries_packed_of_the_archive(self):
        source = known_tree(self.temp / "src")
        target = self.temp / "out"
        gate = self.run_gated([source], self.into(target, CompressMode=1), passing=12)
        window = self.progress_window()
        # The top folder, 3 folders and 30 files; the archiver knows them when it starts.
        text = self.driver.wait_text(window.hwnd, TOTALS, lambda t: " of 34 items, " in t)
        self.assertTrue(text.endswith(f" of {TREE_KB} KB"), text)
        self.assertLess(self.bar(window), 1000)
        self.screenshot("packing")
        self.driver.set_event(gate)
        self.wait_result("Success.")
        self.assertEqual(self.driver.text(window.hwnd, TOTALS), f"34 of 34 items, {TREE_KB} KB of {TREE_KB} KB")
        self.assertEqual(self.bar(window), 1000)
        with zipfile.ZipFile(target / "src.zip") as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(len(archive.namelist()), 34)
        self.close_and_exit(window)


if __name__ == "__main__":
    main()

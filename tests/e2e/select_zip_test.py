"""Zip delivery through the real copy tool, the archives checked with unzip,
7zz and Python's zipfile."""

import os
import sys

from select_helpers import *  # noqa: F403

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "archiver"))
import zipcheck  # noqa: E402

ZIP_SETTINGS = {"CompressMode": 1, "AddStringsAft": 4}


def hidden_folders(folder: Path):
    return [p for p in folder.iterdir() if p.is_dir()]


class ZipDelivery(CopyToolTestCase):
    def zip_into_out(self, sources, **settings):
        target = self.temp / "out"
        values = dict(ZIP_SETTINGS, CopyMode=1, Path=windows_path(target) + "\\")
        values.update(settings)
        self.run_copy(sources, values)
        return target

    def test_a_file_becomes_one_entry(self):
        source = make_files(self.temp / "src", {"report.xlsx": bytes(range(256)) * 4000})
        target = self.zip_into_out([source / "report.xlsx"])
        window = self.wait_result("Success.")
        zipcheck.verify_archive(target / "report_1.xlsx.zip", source / "report.xlsx")
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["report_1.xlsx.zip"])
        self.close_and_exit(window)

    def test_a_folder_tree_keeps_empty_folders_japanese_names_and_empty_files(self):
        source = make_files(self.temp / "src" / "資料", {
            "a.txt": "alpha " * 1000, "empty.bin": b"", "空/": None, "sub/深い/b.txt": "日本語",
            "sub/none/": None})
        target = self.zip_into_out([source], DirTree=1)
        window = self.wait_result("Success.")
        zipcheck.verify_archive(target / "資料_1.zip", source, top="資料_1", folder_times=False)
        # The hidden work folder is gone; the list lies beside the archive.
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["資料_1.zip", "資料_1.zip.txt"])
        self.assertIn("*The file size is the size before compression.", read_utf16(target / "資料_1.zip.txt"))
        self.close_and_exit(window)

    def test_files_around_ten_mebibytes(self):
        # Below 10 MiB the archiver is asked to hide its progress, from 10 MiB on not.
        source = make_files(self.temp / "src", {"below.bin": os.urandom(10 * 1024 * 1024 - 1),
                                                "exact.bin": os.urandom(10 * 1024 * 1024)})
        target = self.zip_into_out([source / "below.bin", source / "exact.bin"])
        window = self.wait_result("Success.")
        zipcheck.verify_archive(target / "below_1.bin.zip", source / "below.bin")
        zipcheck.verify_archive(target / "exact_1.bin.zip", source / "exact.bin")
        self.close_and_exit(window)

    def test_serials_are_shared_with_archives_and_their_lists(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        target = make_files(self.temp / "out", {"a_004.txt.zip": "", "a_006.txt.zip.txt": ""})
        self.zip_into_out([source / "a.txt"], ZeroSuppress=3)
        window = self.wait_result("Success.")
        self.assertTrue((target / "a_007.txt.zip").exists())
        self.close_and_exit(window)

    def test_an_archive_beside_its_source_takes_the_sources_name(self):
        source = make_files(self.temp / "src" / "D", {"a.txt": "a", "sub/b.txt": "b"})
        self.run_copy([source], {"CompressMode": 1, "AddStringsAft": 0, "PrefixAft1": ""})
        window = self.wait_result("Success.")
        zipcheck.verify_archive(source.parent / "D.zip", source, top="D")
        self.assertEqual(sorted(p.name for p in source.parent.iterdir()), ["D", "D.zip"])
        self.close_and_exit(window)

    def test_an_archive_path_may_take_259_characters(self):
        target = self.temp / "out"
        base = len(windows_path(target)) + 1
        name = "w" * (259 - base - 6)  # + "_1.zip" makes 259
        source = make_files(self.temp / "src", {name + "/a.txt": "a", name + "x/a.txt": "a"})
        self.zip_into_out([source / name, source / (name + "x")])
        self.expect_box("The path of the output file exceeds maximum value(259 characters).")
        self.wait_result("Copy failed!")
        self.assertEqual(sorted(p.name for p in target.iterdir()), [name + "_1.zip"])

    def test_nothing_to_copy_means_nothing_to_compress(self):
        source = make_files(self.temp / "src" / "D", {"a.jpg": "a"})
        target = self.zip_into_out([source], EmptyDirNoCopy=1, SelectMode=0, TargetFile="*.txt")
        window = self.wait_result("No copy file.")
        self.assertEqual(list(target.iterdir()), [])
        self.close_and_exit(window)

    def test_cancel_stops_a_long_compression(self):
        block = os.urandom(1 << 20)
        source = make_files(self.temp / "src" / "D", {"big.bin": block * 400})
        target = self.zip_into_out([source])
        window = self.progress_window()
        self.driver.wait_text(window.hwnd, ITEM, "Compression processing...", timeout=120)
        self.driver.press(window.hwnd, CANCEL)
        self.wait_result("Copy failed!")
        self.assertEqual(self.message_boxes(), [])
        # Neither a part archive nor the work folder stays behind.
        self.assertEqual(list(target.iterdir()), [])
        self.close_and_exit(window)


class LargeZipDelivery(CopyToolTestCase):
    """Archives that need Zip64, made by the copy tool and read back by it
    (Verify) before they take their place."""

    def test_a_file_over_4_gib(self):
        source = self.temp / "src" / "sparse.bin"
        source.parent.mkdir(parents=True)
        size = (4 << 30) + 12345
        with open(source, "wb") as f:
            for at in (0, (4 << 30) - 5, size - 9):
                f.seek(at)
                f.write(b"mark" + str(at).encode())
            f.truncate(size)
        target = self.temp / "out"
        self.run_copy([source], dict(ZIP_SETTINGS, CopyMode=1, Path=windows_path(target) + "\\", Verify=1))
        window = self.wait_result("Success. (verified)", timeout=600)
        zip64_entries, zip64_end = zipcheck.verify_archive(target / "sparse_1.bin.zip", source)
        self.assertEqual((zip64_entries, zip64_end), (1, False))
        self.close_and_exit(window)

    def test_over_65535_entries(self):
        source = make_files(self.temp / "src" / "many",
                            {f"f{n // 300:03d}/{n}.txt": b"" for n in range(66000)})
        target = self.temp / "out"
        self.run_copy([source], dict(ZIP_SETTINGS, CopyMode=1, Path=windows_path(target) + "\\", Verify=1))
        window = self.wait_result("Success. (verified)", timeout=600)
        zip64_entries, zip64_end = zipcheck.verify_archive(target / "many_1.zip", source, top="many_1",
                                                           folder_times=False)
        self.assertTrue(zip64_end)
        self.close_and_exit(window)


if __name__ == "__main__":
    main()

"""Archives written by the built-in archiver (varo_zip.exe under Wine),
checked with unzip -t, 7zz t and Python's zipfile against the source tree.
(A file over 4 GiB is archived through the copy tool in its end-to-end tests.)

    python3 zip_archives_test.py [SmallArchives|ManyEntries]
"""

import os
import shutil
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zipcheck  # noqa: E402


def write(path, data=b""):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def set_times(path, seconds, nanoseconds=0):
    ns = seconds * 1_000_000_000 + nanoseconds
    os.utime(path, ns=(ns, ns))


def pin_folder_times(root, seconds):
    """Folder times change while files are added: fix them afterwards."""
    for folder, subfolders, _ in os.walk(root, topdown=False):
        set_times(folder, seconds)


class ArchiveCase(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="varo_zip_")
        self.addCleanup(shutil.rmtree, self.work, True)

    def archive(self, source, name="out.zip"):
        archive = os.path.join(self.work, name)
        code = zipcheck.archive_with_tool(archive, source)
        self.assertEqual(code, 0)
        return archive


class SmallArchives(ArchiveCase):
    def test_single_file_is_one_entry_with_its_own_name(self):
        source = os.path.join(self.work, "in", "report 2024.txt")
        write(source, b"line\n" * 50_000)
        set_times(source, 1_700_000_001, 123_456_700)  # odd second, sub-second part
        archive = self.archive(source)
        self.assertEqual(zipcheck.verify_archive(archive, source), (0, False))
        self.assertLess(os.path.getsize(archive), 50_000)

    def test_empty_and_incompressible_single_files(self):
        empty = os.path.join(self.work, "in", "empty.dat")
        noise = os.path.join(self.work, "in", "noise.bin")
        write(empty)
        write(noise, os.urandom(300_000))
        zipcheck.verify_archive(self.archive(empty, "empty.zip"), empty)
        # Stored rather than grown by deflate.
        archive = self.archive(noise, "noise.zip")
        zipcheck.verify_archive(archive, noise)
        self.assertLess(os.path.getsize(archive), 300_000 + 400)

    def test_folder_tree_with_empty_folders_japanese_names_and_several_blocks(self):
        source = os.path.join(self.work, "in", "コピー 2024")
        write(os.path.join(source, "a.txt"), b"alpha\n" * 1000)
        write(os.path.join(source, "zero.bin"))
        write(os.path.join(source, "日本語フォルダ", "ファイル名.txt"), "中身".encode("utf-8") * 500)
        write(os.path.join(source, "日本語フォルダ", "空.txt"))
        os.makedirs(os.path.join(source, "empty", "deeper", "deepest"))
        os.makedirs(os.path.join(source, "空のフォルダ"))
        # Several 1 MiB blocks, compressible and not, joined into one stream.
        blocks = b"".join(bytes([i % 251]) * 4096 + os.urandom(512) for i in range(900))
        write(os.path.join(source, "sub", "blocks.bin"), blocks)
        readonly = os.path.join(source, "sub", "readonly.txt")
        write(readonly, b"keep")
        os.chmod(readonly, 0o444)
        old = os.path.join(source, "old.txt")
        write(old, b"from 1975")
        set_times(old, 170_000_000)  # before 1980: DOS time clamps, NTFS time exact
        pin_folder_times(source, 1_600_000_000)
        archive = self.archive(source + os.sep)
        self.assertEqual(zipcheck.verify_archive(archive, source), (0, False))

    def test_hidden_root_and_dot_files_are_stored_as_normal_entries(self):
        source = os.path.join(self.work, "in", "work")
        write(os.path.join(source, ".settings"), b"dot file: hidden under Wine")
        write(os.path.join(source, ".cache", "x.txt"), b"x")
        write(os.path.join(source, "visible.txt"), b"v")
        done = zipcheck.run_wine("C:\\windows\\system32\\attrib.exe", "+h", zipcheck.wine_path(source))
        self.assertEqual(done.returncode, 0, done.stderr)
        pin_folder_times(source, 1_650_000_000)
        zipcheck.verify_archive(self.archive(source), source)

    def test_links_to_folders_are_left_out_and_never_followed(self):
        source = os.path.join(self.work, "in", "linked")
        outside = os.path.join(self.work, "in", "outside")
        write(os.path.join(source, "kept", "a.txt"), b"kept")
        write(os.path.join(outside, "b.txt"), b"elsewhere")
        os.symlink("..", os.path.join(source, "kept", "to parent"))  # would loop for ever
        os.symlink(outside, os.path.join(source, "to outside"))
        pin_folder_times(source, 1_600_000_000)
        archive = self.archive(source)
        zipcheck.verify_archive(archive, source)
        with zipfile.ZipFile(archive) as z:
            self.assertEqual(sorted(z.namelist()), ["linked/", "linked/kept/", "linked/kept/a.txt"])

    def test_a_tree_deeper_than_260_characters_archives_whole(self):
        source = os.path.join(self.work, "in", "deep")
        folder = source
        while len(zipcheck.wine_path(folder)) < 320:
            folder = os.path.join(folder, "a folder with a long name")
        write(os.path.join(folder, "deep.txt"), b"deep\n" * 1000)
        pin_folder_times(source, 1_600_000_000)
        archive = self.archive(source)
        zipcheck.verify_archive(archive, source)

    def test_failures_leave_no_archive(self):
        missing = os.path.join(self.work, "missing")
        archive = os.path.join(self.work, "out.zip")
        self.assertEqual(zipcheck.archive_with_tool(archive, missing), 0x8002)
        self.assertEqual(zipcheck.archive_with_tool(archive, self.work, switches=("-tzip", "-bogus")), 0x8001)
        self.assertEqual(os.listdir(self.work), [])


class ManyEntries(ArchiveCase):
    def test_over_65535_entries_use_the_zip64_end_record(self):
        source = os.path.join(self.work, "many")
        for f in range(330):
            folder = os.path.join(source, f"f{f:03}")
            os.makedirs(folder)
            for n in range(200):
                open(os.path.join(folder, f"{n}.txt"), "wb").close()
            write(os.path.join(folder, "data.txt"), f"folder {f}\n".encode() * 20)
        pin_folder_times(source, 1_600_000_000)
        archive = self.archive(source)
        zip64_entries, zip64_end = zipcheck.verify_archive(archive, source)
        self.assertEqual(zip64_entries, 0)
        self.assertTrue(zip64_end)


if __name__ == "__main__":
    unittest.main(verbosity=2)

"""No harm to the user's files: a copy into its own source, an archive named
like the user's folder, repeated lists, hand-edited fixed texts, odd source
paths, an over-long path, an archive with nothing to pack, a full drive."""

import subprocess
import zipfile

from select_helpers import *  # noqa: F403

INSIDE = "The destination folder is a subfolder of the source folder."


def data_folder(root):
    return make_files(root / "data", {"a.txt": "a", "b.bin": bytes(range(256)), "sub/c.txt": "c",
                                      "sub/deep/d.txt": "d", "e/": None, "f.txt": "f"})


class SafetyCase(CopyToolTestCase):
    def into(self, target, **settings):
        values = {"CopyMode": 1, "Path": windows_path(target) + "\\"}
        values.update(settings)
        return values

    def refused_copy_inside_source(self, source, target):
        self.run_copy([source], self.into(target, AddStringsAft=4))
        self.expect_box(INSIDE)
        self.close_and_exit(self.wait_result("Copy failed!"))

    def zip_without_added_strings(self, source, target):
        self.run_copy([source], self.into(target, CompressMode=1, AddStringsAft=0, PrefixAft1=""))
        self.close_and_exit(self.wait_result("Success."))

    def list_without_added_strings(self, source, target):
        self.run_copy([source], self.into(target, DirTree=1, AddStringsAft=0, PrefixAft1=""))
        self.close_and_exit(self.wait_result("Success."))

    def fixed_text_climbing_out(self, source, target):
        self.run_copy([source], self.into(target, PrefixBef1="\\..\\..\\", AddStringsAft=3))
        self.expect_box("Characters that can not be used in the prefix(top) are included.\n\nNG : \\ ")
        self.assertEqual(self.driver.wait_exit(self.pid), -1)

    def trailing_dots_and_spaces(self, source, target):
        base = windows_path(source)
        args = " ".join(quote(base + tail) for tail in ("..", " ", ". ."))
        self.run_copy([], self.into(target, AddStringsAft=4), raw_args=args)
        self.close_and_exit(self.wait_result("Success."))

    def over_long_path(self, source, target):
        long_path = windows_path(source) + "\\" + "x" * 260
        self.run_copy([], self.into(target, AddStringsAft=4),
                      raw_args=quote(windows_path(source)) + " " + quote(long_path))
        self.expect_box("Please refer to the length of the path of this file in less than 260 characters.")
        self.close_and_exit(self.wait_result("Copy failed!"))


class Safety(SafetyCase):
    # Regression: the walk entered its own output and nested until the path broke.
    def test_a_destination_inside_the_source_is_refused(self):
        source = make_files(self.temp / "p", {"a.txt": "a", "q/b.txt": "b"})
        before = read_tree(source)
        for target in (source / "out", source / "q", source):
            self.refused_copy_inside_source(source, target)
            self.assertEqual(read_tree(source), before)

    # Regression: the user's folder F2 was packed into F2.zip and deleted.
    def test_an_archive_without_added_strings_leaves_the_users_folder_alone(self):
        source = make_files(self.temp / "src" / "F2", {"new.txt": "new", "sub/n.txt": "n"})
        target = make_files(self.temp / "out", {"F2/mine.txt": "mine", "F2.zip": "old archive"})
        self.zip_without_added_strings(source, target)
        self.assertEqual(read_tree(target / "F2"), {"mine.txt": b"mine"})
        with zipfile.ZipFile(target / "F2.zip") as archive:
            files = {n: archive.read(n) for n in archive.namelist() if not n.endswith("/")}
        self.assertEqual(files, {"F2/new.txt": b"new", "F2/sub/n.txt": b"n"})
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["F2", "F2.zip"])

    # Regression: the second run appended its list to the first.
    def test_a_repeated_list_replaces_the_old_one(self):
        source = make_files(self.temp / "src" / "F1", {"a.txt": "a"})
        target = self.temp / "out"
        for _ in range(2):
            self.list_without_added_strings(source, target)
        data = (target / "F1.txt").read_bytes()
        self.assertEqual(data.count("\ufeff".encode("utf-16-le")), 1)
        self.assertEqual(read_utf16(target / "F1.txt").count(windows_path(target / "F1") + "\r\n"), 1)

    # Regression: "data.." made an empty "data.._1", copied nothing and said "Success.".
    def test_trailing_dots_and_spaces_copy_the_real_folder(self):
        source = data_folder(self.temp / "src")
        target = self.temp / "out"
        self.trailing_dots_and_spaces(source, target)
        for n in (1, 2, 3):
            self.assertEqual(read_tree(target / f"data_{n}"), read_tree(source))
        self.assertEqual(sorted(p.name for p in target.iterdir()), ["data_1", "data_2", "data_3"])

    def test_the_parent_through_dot_dot_is_copied_under_its_own_name(self):
        source = data_folder(self.temp / "src")
        target = self.temp / "out"
        self.run_copy([], self.into(target, AddStringsAft=4), raw_args=quote(windows_path(source) + "\\.."))
        self.close_and_exit(self.wait_result("Success."))
        self.assertEqual(read_tree(target / "src_1"), read_tree(source.parent))

    def test_a_name_with_a_trailing_dot_inside_the_tree_is_copied(self):
        source = data_folder(self.temp / "src")
        # A name that only the long form of a path reaches.
        make_files(source, {"odd./x.txt": "x"})
        target = self.temp / "out"
        self.run_copy([source], self.into(target, AddStringsAft=4))
        self.close_and_exit(self.wait_result("Success."))
        self.assertEqual(read_tree(target / "data_1"), read_tree(source))

    # Regression: a link to the parent folder was entered again and again
    # until the paths broke, and the run did not end.
    def test_a_link_to_a_parent_folder_is_not_entered(self):
        source = data_folder(self.temp / "src")
        (source / "sub" / "up").symlink_to("..", target_is_directory=True)
        target = self.temp / "out"
        for compress in (0, 1):
            self.run_copy([source], self.into(target, AddStringsAft=4, CompressMode=compress))
            self.close_and_exit(self.wait_result("Success."))
        expected = {k: v for k, v in read_tree(source).items() if not k.startswith("sub/up")}
        self.assertEqual(read_tree(target / "data_1"), expected)
        with zipfile.ZipFile(target / "data_2.zip") as archive:
            self.assertFalse([n for n in archive.namelist() if "/up" in n])

    # Regression: with Zip, both kinds "none", EmptyDirNoCopy and nothing
    # selected, the user's folder of the source's name was deleted.
    def test_an_archive_with_nothing_to_pack_leaves_the_users_folder_of_its_name(self):
        source = make_files(self.temp / "src" / "F3", {"a.jpg": "a", "sub/b.jpg": "b"})
        target = make_files(self.temp / "out", {"F3/mine.txt": "mine", "F3/inner/deep.doc": "deep", "F3/empty/": None})
        before = read_tree(target)
        self.run_copy([source], self.into(target, CompressMode=1, AddStringsAft=0, PrefixAft1="", EmptyDirNoCopy=1,
                                          SelectMode=0, TargetFile="*.txt"))
        self.close_and_exit(self.wait_result("No copy file."))
        self.assertEqual(read_tree(target), before)


class FullDrive(SafetyCase):
    """A copy onto a drive that fills up (a small tmpfs, which needs root)."""

    def small_drive(self, megabytes):
        mount = self.temp / "small"
        mount.mkdir()
        done = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={megabytes}m", "tmpfs", str(mount)],
                              capture_output=True, text=True)
        if done.returncode != 0:
            self.skipTest("a small drive needs a tmpfs mount, which needs root: " + done.stderr.strip())
        self.addCleanup(subprocess.run, ["umount", "-l", str(mount)])
        return mount

    # Regression: a truncated file stayed behind on the full drive.
    def test_a_failed_copy_leaves_no_part_file(self):
        target = self.small_drive(2)
        make_files(target, {"mine.txt": "mine"})
        source = make_files(self.temp / "src", {"big.bin": bytes(range(256)) * (4 * 4096)})
        self.run_copy([source / "big.bin"], self.into(target, AddStringsAft=4))
        self.expect_box("Failed to copy.")
        self.close_and_exit(self.wait_result("Copy failed!"))
        self.assertEqual(read_tree(target), {"mine.txt": b"mine"})


class UsersOwnFiles(SafetyCase):
    """A destination holding the user's own files and folders, run against every
    case above: nothing that was there changes but what a run replaces."""

    def test_nothing_the_user_had_changes(self):
        target = make_files(self.temp / "out", {
            "mine.txt": "mine", "F2/mine.txt": "mine", "F2/deep/x.bin": b"\0\1", "empty/": None,
            "F1/keep.txt": "keep", "data/old.txt": "old", "p_1/": None})
        before = read_tree(target)
        source = make_files(self.temp / "src", {"F2/new.txt": "new", "F1/a.txt": "a"})
        data = data_folder(self.temp / "src")

        self.refused_copy_inside_source(target, target / "F2")
        self.zip_without_added_strings(source / "F2", target)
        self.list_without_added_strings(source / "F1", target)
        self.list_without_added_strings(source / "F1", target)
        self.fixed_text_climbing_out(data, target)
        self.trailing_dots_and_spaces(data, target)
        self.over_long_path(data, target)

        after = read_tree(target)
        # F1 is merged into (its file replaced as "none" intends); F1.txt and
        # F2.zip are new; everything the user had is as it was.
        self.assertEqual({k: after.get(k) for k in before}, before)
        self.assertEqual(sorted(set(after) - set(before)), sorted([
            "F1.txt", "F1/a.txt", "F2.zip",
            "data_1/", "data_2/", "data_3/", "data_4/",
            *[f"data_{n}/{k}" for n in (1, 2, 3, 4) for k in read_tree(data)]]))
        # The refused fixed text wrote nothing above the destination either.
        self.assertEqual({p.name for p in self.temp.iterdir() if not p.name.startswith("varo_e2e")}, {"out", "src"})


if __name__ == "__main__":
    main()

"""The entries of the archives the copy tool delivers, compared with entry
lists recorded from the copy tool on the same trees: names and their order,
folder entries, sizes, CRC-32s, modification times and attributes. The
trees hold empty folders, Japanese names, 0-byte files and folders that
the conditions empty, and every empty-folder rule is run.

VARO_RECORD_ZIP_ENTRIES=1 writes the lists instead of comparing."""

import json
import os
import random
import sys
import zipfile

from select_helpers import *  # noqa: F403

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "archiver"))
import zipcheck  # noqa: E402

GOLDEN = Path(__file__).resolve().parent / "golden" / "zip_entries"
RECORD = os.environ.get("VARO_RECORD_ZIP_ENTRIES") == "1"

NAMES = ["a.txt", "b.log", "空.txt", "資料.doc", "e.bin", "Zeta.TXT", "z", "x.y.txt"]
FOLDERS = ["sub", "写真", "Empty", "deep", "B", "a b"]


def mixed_tree(root: Path, seed: int) -> Path:
    """A tree of a few levels from a seed: files of 0 bytes to 40 KiB (some
    repeating, some random), empty folders, Japanese names, fixed times."""
    rng = random.Random(seed)

    def fill(folder: Path, depth: int):
        folder.mkdir(parents=True, exist_ok=True)
        for name in rng.sample(NAMES, rng.randint(2 if depth == 0 else 0, 4)):
            size = rng.choice([0, 1, 100, 5000, 40000])
            data = bytes(rng.getrandbits(8) for _ in range(size)) if rng.random() < 0.3 else \
                (name.encode("utf-8") * (size // 8 + 1))[:size]
            (folder / name).write_bytes(data)
            stamp = 1_600_000_000 + rng.randint(0, 10_000_000)
            os.utime(folder / name, (stamp, stamp))
        if depth < 3:
            for name in rng.sample(FOLDERS, rng.randint(3 if depth == 0 else 0, 3)):
                fill(folder / name, depth + 1)

    fill(root, 0)
    return root


def entry_list(archive: Path):
    """What the comparison covers, entry by entry in archive order. Folder
    times are left out: the recorded archives took them from copies made at
    the time of the run."""
    entries = []
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            entry = {"name": info.filename, "attributes": info.external_attr & 0xFFFF}
            if not info.is_dir():
                times = zipcheck.ntfs_times(info.extra)
                entry.update(size=info.file_size, crc=info.CRC, dos_time=list(info.date_time),
                             mtime=times[0] if times else None)
            entries.append(entry)
    return entries


# (case name, tree seed, settings): the empty-folder rules with names kept
# and with names generated, the list beside the archive, conditions that
# leave some folders without a file, and file copying switched off.
CASES = [
    ("kept_all", 1, {}),
    ("kept_all_list", 2, {"DirTree": 1}),
    ("removed_after", 3, {"EmptyDirNoCopy": 1}),
    ("removed_after_list", 4, {"EmptyDirNoCopy": 1, "DirTree": 1}),
    ("precheck_same_name_list", 5, {"EmptyDirNoCopy": 1, "DirTree": 1, "AddStringsAft": 0, "PrefixAft1": ""}),
    ("same_name", 6, {"AddStringsAft": 0, "PrefixAft1": ""}),
    ("conditions_empty_some", 7, {"EmptyDirNoCopy": 1, "SelectMode": 0, "TargetFile": "*.txt"}),
    ("conditions_keep_folders", 8, {"SelectMode": 0, "TargetFile": "*.txt"}),
    ("no_files", 9, {"Select": 0}),
    ("no_files_empty_rule", 10, {"Select": 0, "EmptyDirNoCopy": 1}),
]


class ZipEntries(CopyToolTestCase):
    def test_archives_hold_the_recorded_entries(self):
        for name, seed, settings in CASES:
            with self.subTest(case=name):
                source = mixed_tree(self.temp / name / "src" / f"資料{seed}", seed)
                target = self.temp / name / "out"
                target.mkdir(parents=True)
                values = {"CompressMode": 1, "AddStringsAft": 4, "CopyMode": 1,
                          "Path": windows_path(target) + "\\"}
                values.update(settings)
                self.run_copy([source], values)
                window = self.wait_result("Success.")
                self.close_and_exit(window)
                archives = sorted(target.glob("*.zip"))
                self.assertEqual(len(archives), 1, [p.name for p in target.iterdir()])
                zipcheck.check_unzip(archives[0])
                entries = {"archive": archives[0].name, "entries": entry_list(archives[0])}
                golden = GOLDEN / f"{name}.json"
                if RECORD:
                    golden.parent.mkdir(parents=True, exist_ok=True)
                    golden.write_text(json.dumps(entries, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")
                    continue
                self.assertEqual(entries, json.loads(golden.read_text(encoding="utf-8")))


if __name__ == "__main__":
    main()

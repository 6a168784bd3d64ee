"""Checks of Zip archives with tools that share no code with our archiver:
Info-ZIP's unzip, 7-Zip's 7zz and Python's zipfile, plus a raw walk over the
records for the Zip64 rules. The end-to-end tests of the copy tool import
this module too.

    import zipcheck
    zipcheck.verify_archive(archive, source_folder)   # raises AssertionError
"""

import os
import struct
import subprocess
import time
import zipfile

ZIP32_LIMIT = 0xFFFFFFFF
ZIP16_LIMIT = 0xFFFF
# 100 ns ticks between 1601-01-01 (Windows file times) and 1970-01-01.
EPOCH_AS_FILETIME = 116444736000000000
DOS_HIDDEN = 0x02
DOS_SYSTEM = 0x04
DOS_FOLDER = 0x10
UTF8_FLAG = 0x0800


def wine_env():
    """The environment for Wine: the checkout's prefix unless one is set."""
    env = dict(os.environ)
    root = env.get("VARO_ROOT", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..")))
    env.setdefault("WINEPREFIX", os.path.join(root, ".cache", "wine"))
    env.setdefault("WINEARCH", "win64")
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    # Wine maps Linux file names through the locale: UTF-8 keeps Japanese names.
    env["LC_ALL"] = "C.UTF-8"
    return env


def wine_path(path):
    """The path as Wine programs see it (drive Z: is the Linux root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_wine(program, *args, timeout=600):
    return subprocess.run(["wine", program, *args], env=wine_env(), stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=timeout)


def zip_tool():
    return os.path.join(os.environ["VARO_BIN"], "varo_zip.exe")


def archive_with_tool(archive, source, switches=("-tzip", "-ssw", "-mmt=on")):
    """Runs the built-in archiver (varo_zip.exe) on source; a folder is passed
    with a trailing backslash, as the copy tool does. Returns the result code."""
    source_arg = wine_path(source) + ("\\" if os.path.isdir(source) else "")
    done = run_wine(zip_tool(), "a", *switches, "--", wine_path(archive), source_arg)
    first = done.stdout.decode("utf-8", "replace").splitlines()
    assert first and first[0].startswith("code="), (done.stdout, done.stderr)
    return int(first[0][5:], 16)


def check_unzip(archive):
    done = subprocess.run(["unzip", "-tqq", archive], capture_output=True)
    assert done.returncode == 0, f"unzip -t: {done.stdout!r} {done.stderr!r}"


def check_7zz(archive):
    done = subprocess.run(["7zz", "t", "-bd", archive], capture_output=True)
    out = done.stdout.decode("utf-8", "replace")
    assert done.returncode == 0 and "Everything is Ok" in out, f"7zz t: {out} {done.stderr!r}"
    assert "WARNING" not in out.upper(), f"7zz t warned: {out}"


def expected_entries(source, top=None):
    """Entry name -> path for what an archive of source must hold: a folder
    as one top-level folder with its name (or `top`: the copy tool packs a
    renamed copy of the source), every subfolder its own entry, links to
    folders left out; a file as one entry with its name."""
    source = os.path.abspath(source)
    top = top or os.path.basename(source.rstrip("/"))
    if not os.path.isdir(source):
        return {top: source}
    entries = {top + "/": source}
    for folder, subfolders, files in os.walk(source):
        relative = os.path.relpath(folder, source)
        prefix = top + "/" + ("" if relative == "." else relative.replace(os.sep, "/") + "/")
        for name in subfolders:
            # A link to a folder is left out, as the walk of a copy leaves it out.
            if not os.path.islink(os.path.join(folder, name)):
                entries[prefix + name + "/"] = os.path.join(folder, name)
        for name in files:
            entries[prefix + name] = os.path.join(folder, name)
    return entries


def dos_time_of(mtime):
    """The local time an entry's DOS date/time field holds: 2-second steps,
    nothing before 1980."""
    t = time.localtime(mtime)
    if t.tm_year < 1980:
        return (1980, 1, 1, 0, 0, 0)
    return (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec // 2 * 2)


def ntfs_times(extra):
    """(modification, access, creation) from an NTFS extra field (0x000A), or None."""
    at = 0
    while at + 4 <= len(extra):
        field_id, size = struct.unpack_from("<HH", extra, at)
        body = extra[at + 4:at + 4 + size]
        if field_id == 0x000A and len(body) >= 32:
            tag, tag_size = struct.unpack_from("<HH", body, 4)
            if tag == 1 and tag_size == 24:
                return struct.unpack_from("<QQQ", body, 8)
        at += 4 + size
    return None


def same_bytes(member, path, chunk=1 << 20):
    with member as packed, open(path, "rb") as original:
        while True:
            a = packed.read(chunk)
            b = original.read(chunk)
            if a != b:
                return False
            if not a:
                return True


def compare_with_source(archive, source, top=None, folder_times=True):
    """Every entry matches the source: names (UTF-8 flagged), folders, bytes,
    DOS and exact NTFS modification times; no entry is hidden or system.
    Without folder_times the folders' times are not compared (a copy's
    folders are new, its files keep their times)."""
    expected = expected_entries(source, top)
    with zipfile.ZipFile(archive) as z:
        infos = z.infolist()
        names = [i.filename for i in infos]
        assert len(names) == len(set(names)), "duplicate entry names"
        assert set(names) == set(expected), (
            f"missing {sorted(set(expected) - set(names))[:5]}, extra {sorted(set(names) - set(expected))[:5]}")
        for info in infos:
            path = expected[info.filename]
            stat = os.stat(path)
            assert info.flag_bits & UTF8_FLAG, f"{info.filename}: no UTF-8 flag"
            attributes = info.external_attr & 0xFF
            assert not attributes & (DOS_HIDDEN | DOS_SYSTEM), f"{info.filename}: attributes {attributes:#x}"
            if info.is_dir() and not folder_times:
                assert attributes & DOS_FOLDER and info.file_size == 0, f"{info.filename}: not a folder entry"
                continue
            assert info.date_time == dos_time_of(stat.st_mtime), (
                f"{info.filename}: DOS time {info.date_time} != {dos_time_of(stat.st_mtime)}")
            times = ntfs_times(info.extra)
            assert times is not None, f"{info.filename}: no NTFS times"
            assert times[0] == EPOCH_AS_FILETIME + stat.st_mtime_ns // 100, f"{info.filename}: NTFS time"
            if info.is_dir():
                assert attributes & DOS_FOLDER and info.file_size == 0, f"{info.filename}: not a folder entry"
                continue
            assert not attributes & DOS_FOLDER
            assert info.file_size == stat.st_size, f"{info.filename}: size {info.file_size} != {stat.st_size}"
            assert same_bytes(z.open(info), path), f"{info.filename}: bytes differ"


def zip64_usage(archive):
    """Walks the raw records and checks that Zip64 appears exactly where a
    field overflows. Returns (entries with a Zip64 field, Zip64 end record used)."""
    with open(archive, "rb") as f:
        f.seek(0, os.SEEK_END)
        size = f.tell()
        f.seek(max(0, size - 22 - 0xFFFF))
        tail = f.read()
        end_at = tail.rfind(b"PK\x05\x06")
        assert end_at >= 0, "no end record"
        count16, size32, offset32 = struct.unpack_from("<HII", tail, end_at + 10)
        locator_at = end_at - 20
        has_zip64_end = locator_at >= 0 and tail[locator_at:locator_at + 4] == b"PK\x06\x07"
        count, central_size, central_offset = count16, size32, offset32
        if has_zip64_end:
            zip64_end_offset = struct.unpack_from("<Q", tail, locator_at + 8)[0]
            f.seek(zip64_end_offset)
            record = f.read(56)
            assert record[:4] == b"PK\x06\x06", "Zip64 locator points nowhere"
            count, central_size, central_offset = struct.unpack_from("<QQQ", record, 32)
        needs_zip64_end = count >= ZIP16_LIMIT or central_size >= ZIP32_LIMIT or central_offset >= ZIP32_LIMIT
        assert has_zip64_end == needs_zip64_end, (
            f"Zip64 end record {has_zip64_end}, needed {needs_zip64_end} ({count} entries)")
        f.seek(central_offset)
        central = f.read(central_size)
        zip64_entries = 0
        at = 0
        for _ in range(count):
            assert central[at:at + 4] == b"PK\x01\x02", "broken central directory"
            csize, usize = struct.unpack_from("<II", central, at + 20)
            name_len, extra_len, comment_len = struct.unpack_from("<HHH", central, at + 28)
            local_offset = struct.unpack_from("<I", central, at + 42)[0]
            extra = central[at + 46 + name_len:at + 46 + name_len + extra_len]
            zip64 = _field(extra, 0x0001)
            markers = [v for v in (usize, csize, local_offset) if v == ZIP32_LIMIT]
            if zip64 is None:
                assert not markers, "a 0xFFFFFFFF field without a Zip64 field"
            else:
                zip64_entries += 1
                assert len(zip64) == 8 * len(markers), "the Zip64 field holds values that fit in 32 bits"
                for value in struct.unpack(f"<{len(markers)}Q", zip64):
                    assert value >= ZIP32_LIMIT, "a Zip64 value that fits in 32 bits"
            at += 46 + name_len + extra_len + comment_len
        return zip64_entries, has_zip64_end


def _field(extra, wanted):
    at = 0
    while at + 4 <= len(extra):
        field_id, size = struct.unpack_from("<HH", extra, at)
        if field_id == wanted:
            return extra[at + 4:at + 4 + size]
        at += 4 + size
    return None


def verify_archive(archive, source, top=None, folder_times=True):
    """All checks: the three readers, the comparison with the source and the
    Zip64 rules. Returns what zip64_usage found."""
    check_unzip(archive)
    check_7zz(archive)
    compare_with_source(archive, source, top, folder_times)
    return zip64_usage(archive)

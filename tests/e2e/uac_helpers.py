"""Shared steps of the elevation helper's and the registration's end-to-end
tests: a program folder with VaroUAC.exe, the copy tool and the test-side
registration runner, and reading the context-menu entries with `reg query`."""

import re
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from varo_e2e import *  # noqa: E402,F401,F403

ROOTS = ("*\\shell", "Folder\\shell")
# Where VaroUAC writes the entries: the machine's classes, never the merged
# HKEY_CLASSES_ROOT view; and the current user's classes, which must stay untouched.
MACHINE_CLASSES = "HKLM\\Software\\Classes"
USER_CLASSES = "HKCU\\Software\\Classes"
# The registration page's result line while it waits for VaroUAC (English, Japanese).
WAITING_FOR_HELPER = ("Waiting for VaroUAC to finish...", "VaroUACの処理が終わるのを待っています...")
# Without a waiting settings application the helper retries its answer this
# long (uac/uac_answer.h: 25 retries 200 ms apart) and then ends.
ANSWER_BOUND = 5.0


def reg_query(key: str, env: dict) -> dict[str, tuple[str, str]] | None:
    """The values of a registry key as `wine reg query` shows them:
    {name: (type, data)}, "" for the default value; None when the key is
    missing. `reg query` prints text in the console's code page, which loses
    Japanese, so REG_SZ texts are taken from `reg export` (UTF-16) instead."""
    done = subprocess.run(["wine", "reg", "query", key], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=60)
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.decode("utf-8", errors="replace").splitlines():
        parts = line.strip().split("    ")
        if len(parts) in (2, 3) and parts[1].startswith("REG_"):
            name = "" if parts[0] == "(Default)" else parts[0]
            values[name] = (parts[1], parts[2] if len(parts) == 3 else "")
    texts = _exported_texts(key, env)
    return {name: (kind, texts.get(name, data) if kind == "REG_SZ" else data)
            for name, (kind, data) in values.items()}


def _exported_texts(key: str, env: dict) -> dict[str, str]:
    """The REG_SZ values of exactly this key from `wine reg export`."""
    with tempfile.TemporaryDirectory(prefix="varo-reg-") as folder:
        file = Path(folder) / "key.reg"
        subprocess.run(["wine", "reg", "export", key, windows_path(file), "/y"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        if not file.exists():
            return {}
        text = file.read_bytes().decode("utf-16")
    full_key = key
    for short, full in (("HKCR\\", "HKEY_CLASSES_ROOT\\"), ("HKLM\\", "HKEY_LOCAL_MACHINE\\"),
                        ("HKCU\\", "HKEY_CURRENT_USER\\")):
        if key.startswith(short):
            full_key = full + key[len(short):]
    texts, inside = {}, False
    for line in text.splitlines():
        if line.startswith("["):
            inside = line == f"[{full_key}]"
            continue
        match = re.fullmatch(r'(@|"((?:[^"\\]|\\.)*)")="((?:[^"\\]|\\.)*)"', line)
        if inside and match:
            name = "" if match.group(1) == "@" else _unescape(match.group(2))
            texts[name] = _unescape(match.group(3))
    return texts


def _unescape(text: str) -> str:
    return re.sub(r"\\(.)", r"\1", text)


class UacTestCase(E2ETestCase):
    programs = ("VaroUAC.exe", "VaroSelect.exe", "registration_runner.exe")

    def make_folder(self, programs=None, settings=None):
        self.folder = self.program_folder(programs or self.programs, settings=settings)
        self.suffix = "_" + settings_folder_name(self.folder.name)[len("varo_"):]
        self.entry = "VaroSelect" + self.suffix
        self.addCleanup(self.remove_entries)
        return self.folder

    def remove_entries(self):
        for root in ROOTS:
            for classes in (MACHINE_CLASSES, USER_CLASSES):
                subprocess.run(["wine", "reg", "delete", f"{classes}\\{root}\\{self.entry}", "/f"],
                               env=self.driver.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def entry_values(self, root: str, command: bool = False, classes: str = MACHINE_CLASSES):
        key = f"{classes}\\{root}\\{self.entry}" + ("\\Command" if command else "")
        return reg_query(key, self.driver.env)

    def run_runner(self, *args, timeout=DEFAULT_TIMEOUT) -> dict[str, str]:
        """Runs the registration runner and returns its result lines."""
        result = self.folder.path / "registration_result.txt"
        result.unlink(missing_ok=True)
        pid = self.start(self.folder.exe("registration_runner.exe"), " ".join(str(a) for a in args))
        self.assertEqual(self.driver.wait_exit(pid, timeout=timeout), 0)
        lines = result.read_text(encoding="utf-8").splitlines()
        return dict(line.split("=", 1) for line in lines if "=" in line)

    def exchange(self, language: int, request: int) -> str:
        """The answer VaroUAC gives the settings application's side: "status code error"."""
        return self.run_runner("exchange", language, request)["answer"]

    def assert_layout(self, menu_text: str):
        program = self.folder.exe("VaroSelect.exe")
        for root in ROOTS:
            self.assertEqual(self.entry_values(root), {
                "": ("REG_SZ", menu_text),
                "Icon": ("REG_SZ", f'"{program}"'),
                "Position": ("REG_SZ", "Middle"),
                "SeparatorBefore": ("REG_DWORD", "0x1"),
                "SeparatorAfter": ("REG_DWORD", "0x1"),
            }, root)
            self.assertEqual(self.entry_values(root, command=True), {"": ("REG_SZ", f'"{program}" "%1"')}, root)

    def assert_absent(self):
        for root in ROOTS:
            self.assertIsNone(self.entry_values(root), root)

"""Shared steps of the copy tool's end-to-end tests."""

import secrets
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from varo_e2e import *  # noqa: E402,F401,F403

# Controls of the progress window (dialog 101).
WAIT, ITEM, CANCEL, BYTES, MINIMIZE, RESULT, QUIT, AUTO_CLOSE, SOURCES, TOTALS, BAR, SHARE = range(1001, 1013)
# The tray icon's callback message to the hidden main window.
TRAY_CALLBACK = WM_APP + 1

# What every test starts from: English, no settings dialog first, the
# window stays open at the end, no Explorer.
BASE_SETTINGS = {"Lang": "en", "StartSetting": 0, "AutoClose": 0, "OpenDir": 0}


def new_folder(path: Path) -> Path:
    path.mkdir(parents=True)
    return path


class CopyToolTestCase(E2ETestCase):
    """Starts VaroSelect.exe from its own program folder with prepared settings."""

    def run_copy(self, sources, settings=None, programs=("VaroSelect.exe",), raw_args=None, seams=None):
        """Starts the copy tool; with `seams` (environment variables of
        tests/e2e/select_seams) its test build runs as VaroSelect.exe."""
        values = dict(BASE_SETTINGS)
        values.update(settings or {})
        self.folder = self.program_folder(programs, settings=values)
        if seams is not None:
            shutil.copy2(BIN / "varo_select_seams.exe", self.folder.path / "VaroSelect.exe")
        args = raw_args if raw_args is not None else " ".join(quote(windows_path(s)) for s in sources)
        self.pid = self.start(self.folder.exe("VaroSelect.exe"), args, env=seams)
        return self.pid

    def run_gated(self, sources, settings, passing):
        """Starts the copy tool with a gate that lets `passing` file copies
        (or reads, when packing) through and holds the rest; returns the
        gate's name for driver.set_event."""
        gate = "VaroE2EGate_" + secrets.token_hex(6)
        self.run_copy(sources, settings, seams={"VARO_TEST_COPY_GATE": f"{gate},{passing}"})
        return gate

    def progress_window(self, timeout=DEFAULT_TIMEOUT):
        return self.driver.wait_window(self.pid, cls="#32770", child_id=CANCEL, timeout=timeout)

    def wait_result(self, expected, timeout=60.0):
        window = self.progress_window()
        self.driver.wait_text(window.hwnd, RESULT, expected, timeout=timeout)
        return window

    def close_and_exit(self, window, exit_code=0):
        self.driver.wait_text(window.hwnd, CANCEL, "Close")
        self.driver.press(window.hwnd, CANCEL)
        self.assertEqual(self.driver.wait_exit(self.pid), exit_code)

    def expect_box(self, text_start, button=IDOK):
        box = self.driver.wait_message_box(self.pid)
        self.assertTrue(box.text.startswith(text_start), box.text)
        self.assertEqual(box.title, "VaroSelect")
        self.driver.answer(box, button)
        return box

    def message_boxes(self):
        return [w for w in self.driver.windows(self.pid)
                if w.visible and w.cls == "#32770" and w.title == "VaroSelect"]

    def only_child(self, folder: Path, prefix: str) -> Path:
        found = [p for p in folder.iterdir() if p.name.startswith(prefix)]
        self.assertEqual(len(found), 1, [p.name for p in folder.iterdir()])
        return found[0]

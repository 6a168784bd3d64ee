"""Shared steps of the settings application's end-to-end tests."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from varo_e2e import *  # noqa: E402,F401,F403

# Main dialog (template 110).
OK, NO_SAVE, CANCEL_BUTTON, LANGUAGE, TABS, LINK = 1, 551, 550, 1000, 1065, 1100
# A control found on one page only, to tell the pages apart.
REGISTRATION_MARK, COPY_TO_MARK, CONDITIONS_MARK = 1035, 1009, 1004
REGISTRATION_PICTURE = 1066
CB_SETCURSEL, CBN_SELCHANGE, TCM_GETCURSEL = 0x014E, 1, 0x130B

JAPANESE_TABS = ["登録/解除", "コピー先", "コピー条件"]
ENGLISH_TABS = ["Regist/Unset", "Copy to", "Conditions to copy"]


class SettingTestCase(E2ETestCase):
    """Finds the settings dialog and its pages and operates them by messages."""

    def wait_dialog(self, pid):
        return self.driver.wait_window(pid, cls="#32770", title="VaroSetting", child_id=TABS)

    def page(self, dialog, mark):
        """The page (a child dialog) that holds the control `mark`."""
        return self.driver.control(dialog.hwnd, mark).parent

    def choose_language(self, dialog, index):
        language = self.driver.control(dialog.hwnd, LANGUAGE)
        self.driver.send(dialog.hwnd, CB_SETCURSEL, index, id=LANGUAGE)
        self.driver.post(dialog.hwnd, WM_COMMAND, (CBN_SELCHANGE << 16) | LANGUAGE, language.hwnd)

    def visible_pages(self, dialog):
        marks = {"registration": REGISTRATION_MARK, "copy_to": COPY_TO_MARK, "conditions": CONDITIONS_MARK}
        controls = self.driver.controls(dialog.hwnd)
        return sorted(name for name, mark in marks.items()
                      if any(c.hwnd == self.page(dialog, mark) and c.visible for c in controls))

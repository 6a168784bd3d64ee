"""The Conditions page of the settings application: the enabling table, the
range dates at confirmation, the history organiser and the drag-and-drop
file-name dialog."""

import datetime

from setting_helpers import *  # noqa: F403

# Conditions page (template 113).
DATE_START, DATE_END = 500, 501
TARGET_DROP, ORGANISE = 530, 534
MODE_TARGET, MODE_EXCLUDE, MODE_NONE = 600, 601, 602
SELECT, EMPTY_DIR = 700, 701
TARGET, EX_NO_TARGET, NO_TARGET, EX_TARGET = 1000, 1001, 1002, 1003
# History organiser (114) and drag-and-drop dialog (115).
ORG_EDIT, ORG_DOWN, ORG_UPDATE, ORG_OK, ORG_CANCEL, ORG_SELECTOR, ORG_LIST, ORG_LABEL, ORG_STATUS = (
    500, 531, 533, 552, 550, 1000, 1061, 1100, 1104)
DROP_EDIT, DROP_OK, DROP_CANCEL = 500, 553, 550
DROP_TITLE = "VaroSetting - Get file name by drag & drop"


def history(key, entries):
    return {f"{key}{n}": entries[n - 1] if n <= len(entries) else "" for n in range(1, 11)}


class ConditionsPage(SettingTestCase):
    def open(self, settings):
        self.folder = self.program_folder(["VaroSetting.exe"], settings={"Lang": "en", "Tab": 2, **settings})
        self.pid = self.start(self.folder.exe("VaroSetting.exe"))
        self.dialog = self.wait_dialog(self.pid)
        self.page_hwnd = self.page(self.dialog, CONDITIONS_MARK)
        return self.page_hwnd

    def enabled(self, ids):
        # Only the page's own controls: the edit inside each combo box has an id too.
        controls = {c.id: c.enabled for c in self.driver.controls(self.page_hwnd) if c.parent == self.page_hwnd}
        return {id: controls[id] for id in ids}

    def wait_enabled(self, expected):
        wait_until(lambda: self.enabled(expected) == expected, what=f"enabled {expected}")

    def open_sub_dialog(self, button, **find):
        self.driver.press(self.page_hwnd, button)
        return self.driver.wait_window(self.pid, cls="#32770", exclude=[self.dialog.hwnd], **find)

    def confirm(self):
        self.driver.press(self.dialog.hwnd, OK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        return self.folder.read_settings()

    def test_enabling_follows_the_check_box_and_the_radios(self):
        page = self.open({"Select": 0, "SelectMode": 0})
        lists = [TARGET, EX_NO_TARGET, NO_TARGET, EX_TARGET]
        self.assertEqual(self.enabled(lists + [MODE_TARGET, ORGANISE, 1004, EMPTY_DIR]),
                         {**dict.fromkeys(lists + [MODE_TARGET, ORGANISE, 1004], False), EMPTY_DIR: True})
        self.driver.press(page, SELECT)
        self.wait_enabled({TARGET: True, EX_NO_TARGET: True, TARGET_DROP: True, NO_TARGET: False, EX_TARGET: False,
                           MODE_EXCLUDE: True, ORGANISE: True, 1004: True})
        self.driver.press(page, MODE_EXCLUDE)
        self.wait_enabled({TARGET: False, EX_NO_TARGET: False, NO_TARGET: True, EX_TARGET: True, 533: True})
        self.driver.press(page, MODE_NONE)
        self.wait_enabled({TARGET: False, NO_TARGET: False, ORGANISE: True, MODE_TARGET: True})
        self.driver.press(page, SELECT)
        self.wait_enabled({MODE_TARGET: False, ORGANISE: False, 1004: False, EMPTY_DIR: True})
        # "Today" shows today's date instead of the date edits.
        date_list = self.driver.control(page, 1004)
        self.driver.send(page, CB_SETCURSEL, 2, id=1004)
        self.driver.post(page, WM_COMMAND, (CBN_SELCHANGE << 16) | 1004, date_list.hwnd)
        today = datetime.date.today()
        self.driver.wait_text(page, 1122, f"({today.year}/{today.month}/{today.day})")
        self.assertFalse(self.driver.control(page, DATE_START).visible)
        saved = self.confirm()
        self.assertEqual((saved["SelectMode"], saved["UpdateDateType"], saved["UpdateDateVal"]), ("2", "2", "0"))

    def test_repairable_start_date_is_replaced_and_an_empty_edit_offers_today(self):
        page = self.open({"UpdateDateType": 1, "UpdateDateStr": "2024/2/30", "UpdateDateEnd": ""})
        self.driver.press(page, DATE_END, mouse=True)  # clicking into the empty end date
        today = datetime.date.today()
        today_text = f"{today.year}/{today.month}/{today.day}"
        self.driver.wait_text(page, DATE_END, today_text)
        self.driver.press(self.dialog.hwnd, OK)
        box = self.driver.wait_message_box(self.pid)
        self.assertEqual(box.text, "The file update date range specification (start date) is incorrect, "
                                   "replace and register it.\n\nDay:30 -> 29 ")
        self.assertEqual(self.driver.text(page, DATE_START), "2024/2/29")
        self.driver.answer(box, IDOK)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)
        saved = self.folder.read_settings()
        self.assertEqual((saved["UpdateDateStr"], saved["UpdateDateEnd"]), ("2024/2/29", today_text))

    def test_an_invalid_date_in_a_hidden_edit_stops_the_confirmation(self):
        page = self.open({"UpdateDateType": 2, "UpdateDateVal": 3, "UpdateDateStr": "2024-01-05"})
        self.assertFalse(self.driver.control(page, DATE_START).visible)
        before = self.folder.settings_file.read_bytes()
        self.driver.press(self.dialog.hwnd, OK)
        box = self.driver.wait_message_box(self.pid)
        self.assertEqual(box.text, "The file update date range specification (start date) is invalid.\n"
                                   "2024-01-05\nPlease enter with a numerical value.\n")
        self.driver.answer(box, IDOK)
        self.assertIsNone(self.driver.exit_code(self.pid))
        self.assertEqual(self.folder.settings_file.read_bytes(), before)

    def test_organiser_update_fills_the_first_empty_entry_and_ok_shows_the_new_order(self):
        page = self.open({"Select": 1, "SelectMode": 0, "TargetFile": "b*", **history("TargetFileHis", ["a*", "b*"])})
        organiser = self.open_sub_dialog(ORGANISE, child_id=ORG_LIST)
        rows = lambda: [row["text"] for row in self.driver.list_view_items(organiser.hwnd, ORG_LIST)][:4]
        self.assertEqual(rows(), ["a*", "b*", "", ""])
        self.driver.list_view_select(organiser.hwnd, -1, selected=False, id=ORG_LIST)
        self.driver.set_text(organiser.hwnd, "c*", id=ORG_EDIT)
        self.driver.press(organiser.hwnd, ORG_UPDATE)
        self.driver.wait_text(organiser.hwnd, ORG_STATUS, "Updated.")
        self.assertEqual(rows(), ["a*", "b*", "c*", ""])
        # Esc and Enter go first; the moves after them prove the dialog stayed.
        self.driver.key(organiser.hwnd, VK_ESCAPE, id=ORG_LIST)
        self.driver.list_view_select(organiser.hwnd, 0, id=ORG_LIST)
        self.driver.press(organiser.hwnd, ORG_DOWN)
        wait_until(lambda: rows() == ["b*", "a*", "c*", ""], what="a* moved down")
        self.driver.key(organiser.hwnd, VK_RETURN, id=ORG_LIST)
        self.driver.press(organiser.hwnd, ORG_DOWN)
        wait_until(lambda: rows() == ["b*", "c*", "a*", ""], what="a* moved down again")
        self.driver.press(organiser.hwnd, ORG_OK)
        self.driver.wait_gone(organiser.hwnd)
        self.assertEqual(self.driver.combo_items(page, TARGET)[:4], ["b*", "c*", "a*", ""])
        saved = self.confirm()
        self.assertEqual([saved[f"TargetFileHis{n}"] for n in range(1, 5)], ["b*", "c*", "a*", ""])

    def test_dropped_files_give_sorted_lines_and_ok_joins_them(self):
        page = self.open({"Select": 1, "SelectMode": 0, "TargetFile": "*.doc"})
        dropped = make_files(self.temp / "drop", {"c.txt": "c", "a.txt": "a", "sub/x": "x", "b.txt": "b"})
        drop = self.open_sub_dialog(TARGET_DROP, title=DROP_TITLE)
        self.driver.drop_files(drop.hwnd, [windows_path(dropped / n) for n in ["c.txt", "a.txt", "sub", "b.txt"]],
                               id=DROP_EDIT)
        self.assertEqual(self.driver.text(drop.hwnd, DROP_EDIT), "a.txt\r\nb.txt\r\nc.txt\r\n")
        # Esc is swallowed; Enter makes a new line in the box.
        self.driver.key(drop.hwnd, VK_ESCAPE, id=DROP_EDIT)
        self.driver.key(drop.hwnd, VK_RETURN, id=DROP_EDIT)
        self.driver.wait_text(drop.hwnd, DROP_EDIT, "a.txt\r\nb.txt\r\nc.txt\r\n\r\n")
        self.driver.press(drop.hwnd, DROP_OK)
        self.driver.wait_gone(drop.hwnd)
        self.assertEqual(self.driver.text(page, TARGET), "a.txt : b.txt : c.txt")
        self.assertEqual(self.confirm()["TargetFile"], "a.txt : b.txt : c.txt")

    def test_screenshots_of_the_page_and_both_sub_dialogs(self):
        for lang, label in [("ja", "ファイル選択条件(&S):"), ("en", "File &selection:")]:
            page = self.open({"Lang": lang, "Select": 1, "SelectMode": 0, "UpdateDateType": 1,
                              "UpdateDateStr": "2024/01/05", **history("TargetFileHis", ["*.txt : *.doc", "a*"])})
            self.screenshot(f"page_{lang}")
            organiser = self.open_sub_dialog(ORGANISE, child_id=ORG_LIST)
            self.assertEqual(self.driver.text(organiser.hwnd, ORG_LABEL), label)
            self.screenshot(f"organiser_{lang}")
            self.driver.press(organiser.hwnd, ORG_CANCEL)
            self.driver.wait_gone(organiser.hwnd)
            drop = self.open_sub_dialog(TARGET_DROP, title=DROP_TITLE)
            self.screenshot(f"drop_{lang}")
            self.driver.press(drop.hwnd, DROP_CANCEL)
            self.driver.wait_gone(drop.hwnd)
            self.driver.close_window(self.dialog.hwnd)
            self.driver.wait_exit(self.pid)
            # The folder variant, from the Copy-to page, whose history button
            # works while "specified folder" is chosen.
            self.open({"Lang": lang, "Tab": 1, "CopyMode": 1, **history("PathHis", ["C:\\work\\", "D:\\archive\\"])})
            copy_to = self.page(self.dialog, COPY_TO_MARK)
            self.driver.press(copy_to, 531)
            folders = self.driver.wait_window(self.pid, cls="#32770", child_id=ORG_LIST, exclude=[self.dialog.hwnd])
            self.assertFalse(self.driver.control(folders.hwnd, ORG_SELECTOR).visible)
            self.assertEqual(self.driver.list_view_items(folders.hwnd, ORG_LIST)[1]["text"], "D:\\archive\\")
            self.screenshot(f"folder_organiser_{lang}")
            self.driver.press(folders.hwnd, ORG_CANCEL)
            self.driver.wait_gone(folders.hwnd)
            self.driver.close_window(self.dialog.hwnd)
            self.driver.wait_exit(self.pid)

if __name__ == "__main__":
    main()

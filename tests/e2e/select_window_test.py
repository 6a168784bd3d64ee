"""The progress window: its looks, Cancel, automatic close, the tray icon and quitting."""

import time

from select_helpers import *  # noqa: F403

# The program waits this long for a worker that is stopping (5 s), and ends.
WORKER_STOP_BOUND = 10.0


def many_files(root, count=4000):
    """A folder that takes the copy tool a few seconds under Wine."""
    return make_files(root, {f"part{n // 100:02d}/file{n:05d}.dat": b"x" * 512 for n in range(count)})


class ProgressWindow(CopyToolTestCase):
    def test_success_closes_by_itself(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.run_copy([source / "a.txt"], {"AutoClose": 1, "AddStringsAft": 4})
        window = self.wait_result("Success.")
        self.assertFalse(self.driver.control(window.hwnd, CANCEL).visible)
        self.screenshot("success")
        self.assertEqual(self.driver.wait_exit(self.pid, timeout=10), 0)

    def test_a_failure_closes_by_itself_too(self):
        self.run_copy([self.temp / "missing.txt"], {"AutoClose": 1})
        self.expect_box("Please select a folder or file.")
        self.wait_result("Copy failed!")
        self.assertEqual(self.driver.wait_exit(self.pid, timeout=10), 0)

    def test_automatic_close_can_be_switched_off_while_copying_but_not_afterwards(self):
        source = many_files(self.temp / "src")
        self.run_copy([source], {"AutoClose": 1, "AddStringsAft": 4})
        window = self.progress_window()
        self.assertEqual(self.driver.text(window.hwnd, AUTO_CLOSE), "Auto close:On")
        self.driver.press(window.hwnd, AUTO_CLOSE)
        self.driver.wait_text(window.hwnd, AUTO_CLOSE, "Auto close:Off")
        self.screenshot("running")
        self.wait_result("Success.")
        self.driver.wait_text(window.hwnd, CANCEL, "Close")
        self.driver.press(window.hwnd, AUTO_CLOSE)
        self.assertEqual(self.driver.text(window.hwnd, AUTO_CLOSE), "Auto close:Off")
        time.sleep(2)  # longer than the automatic close would wait
        self.assertIsNone(self.driver.exit_code(self.pid))
        self.close_and_exit(window)

    def test_cancel_stops_the_copy(self):
        source = many_files(self.temp / "src")
        self.run_copy([source], {"AddStringsAft": 4})
        window = self.progress_window()
        self.driver.wait_text(window.hwnd, ITEM, lambda text: text.startswith("file"))
        self.driver.press(window.hwnd, CANCEL)
        self.wait_result("Copy failed!")
        self.screenshot("cancelled")
        # No "Failed to copy." box: a cancelled copy is not a failure to report.
        self.assertEqual(self.message_boxes(), [])
        copied = sum(1 for p in (source.parent / "src_1").rglob("*.dat"))
        self.assertLess(copied, 4000)
        self.close_and_exit(window)

    def test_minimise_hides_the_window_and_the_tray_icon_brings_it_back(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.run_copy([source / "a.txt"], {"AddStringsAft": 4})
        window = self.wait_result("Success.")
        self.driver.press(window.hwnd, MINIMIZE)
        self.driver.wait_gone(window.hwnd)
        main_window = self.driver.wait_window(self.pid, cls="VaroSelect", visible=False)
        self.driver.post(main_window.hwnd, TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK)
        self.progress_window()
        self.close_and_exit(window)

    def test_quit_asks_first(self):
        source = many_files(self.temp / "src", 1000)
        self.run_copy([source], {"AddStringsAft": 4})
        window = self.progress_window()
        self.driver.press(window.hwnd, QUIT)
        box = self.expect_box("Are you sure you want to quit?", IDNO)
        self.assertEqual(set(box.buttons), {IDYES, IDNO})
        self.assertIsNone(self.driver.exit_code(self.pid))
        self.driver.press(window.hwnd, QUIT)
        self.expect_box("Are you sure you want to quit?", IDYES)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)

    # Regression: the program waited for the worker, and the worker for an
    # answer to its box (and then for the program's window thread): it never ended.
    def test_quit_during_a_message_box_ends_the_program(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        target = make_files(self.temp / "out", {"a.txt/": None})  # a folder where the file should go
        self.run_copy([source / "a.txt"], {"CopyMode": 1, "Path": windows_path(target) + "\\",
                                           "AddStringsAft": 0, "PrefixAft1": ""})
        # The worker waits on this box; next it would ask for another folder.
        gate = self.driver.wait_message_box(self.pid)
        self.assertTrue(gate.text.startswith("Can not copy."), gate.text)
        window = self.progress_window()
        self.driver.press(window.hwnd, QUIT)
        question = self.driver.wait_message_box(self.pid, exclude=[gate.hwnd])
        self.assertEqual(question.text, "Are you sure you want to quit?")
        self.driver.answer(question, IDYES)
        self.assertEqual(self.driver.wait_exit(self.pid, timeout=WORKER_STOP_BOUND), 0)
        self.assertEqual(read_tree(source), {"a.txt": b"a"})
        self.assertEqual(read_tree(target), {"a.txt/": None})

    def test_the_tray_icon_comes_back_when_the_taskbar_is_made_again(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.run_copy([source / "a.txt"], {"AddStringsAft": 4})
        window = self.wait_result("Success.")
        main_window = self.driver.wait_window(self.pid, cls="VaroSelect", visible=False)
        taskbar_created = self.driver.register_message("TaskbarCreated")
        # Gone, as from an Explorer that restarts; the new taskbar then tells
        # every top-level window. Told while the icon is there, it stays.
        for delete_first in (True, False):
            if delete_first:
                self.driver.delete_tray_icon(main_window.hwnd)
                self.assertFalse(self.driver.tray_icon_exists(main_window.hwnd))
            self.driver.send(main_window.hwnd, taskbar_created)
            self.assertTrue(self.driver.tray_icon_exists(main_window.hwnd))
        self.close_and_exit(window)

    def test_the_system_close_ends_the_program(self):
        source = make_files(self.temp / "src", {"a.txt": "a"})
        self.run_copy([source / "a.txt"], {"AddStringsAft": 4})
        window = self.wait_result("Success.")
        self.driver.close_window(window.hwnd)
        self.assertEqual(self.driver.wait_exit(self.pid), 0)


if __name__ == "__main__":
    main()

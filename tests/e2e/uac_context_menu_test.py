"""The elevation helper VaroUAC.exe on what the registration page cannot
show: the raw answer, a request to register again only when present,
malformed requests, one helper at a time, and an entry run as Explorer runs
it. Registering and removing through the page: setting_registration_test.py."""

import re
import subprocess
import sys

from uac_helpers import *  # noqa: F403


class ContextMenuEntries(UacTestCase):
    def test_removing_what_is_not_there_answers_4(self):
        # The page shows 1 and 4 alike as "OK"; the answer itself tells them apart.
        self.make_folder()
        self.assertEqual(self.exchange(0, 0), "4 0 0")

    def test_refresh_registers_again_only_when_present(self):
        self.make_folder()
        self.assertEqual(self.exchange(0, 1), "0 0 0")
        self.assert_absent()
        self.assertEqual(self.exchange(1, 2), "1 0 0")
        self.assertEqual(self.exchange(0, 1), "1 0 0")
        self.assert_layout(f"VaroSelect - Select Copy{self.suffix}(&9)")

    def test_malformed_request_does_nothing(self):
        self.make_folder()
        self.assertEqual(self.exchange(1, 2), "1 0 0")
        for args in ("1 0 extra", "0 7", '"C:\\evil.exe" 0'):
            gate = self.start(self.folder.exe("registration_runner.exe"), "gate 0 0")
            ready = self.folder.path / "gate_ready.txt"
            wait_until(ready.exists, what="the gate")
            uac = self.start(self.folder.exe("VaroUAC.exe"), args)
            (self.folder.path / "release.txt").write_text("go")
            self.assertEqual(self.driver.wait_exit(gate), 0)
            self.assertEqual(self.driver.wait_exit(uac), 0)
            result = (self.folder.path / "registration_result.txt").read_text(encoding="utf-8")
            self.assertEqual(result, "answer=0 0 0\n", args)
            ready.unlink()
            (self.folder.path / "release.txt").unlink()
        self.assert_layout(f"VaroSelect - 選択してコピー{self.suffix}(&9)")

    def test_a_registered_command_copies_the_path_as_explorer_starts_it(self):
        target = self.temp / "out"
        self.make_folder(settings={"Lang": "en", "StartSetting": 0, "AutoClose": 0, "OpenDir": 0, "CopyMode": 1,
                                   "Path": windows_path(target) + "\\"})
        self.assertEqual(self.exchange(0, 2), "1 0 0")
        source = make_files(self.temp / "src" / "写真 1", {"a.txt": "one", "sub/b.bin": b"\0\1"})
        command = self.entry_values("Folder\\shell", command=True)[""][1]
        match = re.fullmatch(r'"([^"]+)" "%1"', command)
        self.assertIsNotNone(match, command)
        pid = self.start(match.group(1), quote(windows_path(source)))
        window = self.driver.wait_window(pid, cls="#32770", child_id=1003)
        self.driver.wait_text(window.hwnd, 1006, "Success.", timeout=60)
        copies = list(target.iterdir())  # named by the naming settings
        self.assertEqual(len(copies), 1, copies)
        self.assertTrue(copies[0].name.startswith("写真 1"), copies[0].name)
        self.assertEqual(read_tree(copies[0]), read_tree(source))
        self.driver.press(window.hwnd, 1003)
        self.assertEqual(self.driver.wait_exit(pid), 0)

    def test_entries_land_in_the_machine_classes_when_the_user_has_a_key_of_that_name(self):
        # On Windows, writes through HKEY_CLASSES_ROOT would go into the user's
        # key. Wine's HKEY_CLASSES_ROOT is the machine's classes alone, so here
        # this test pins where the entries go rather than showing that fault.
        self.make_folder()
        for root in ROOTS:
            subprocess.run(["wine", "reg", "add", f"{USER_CLASSES}\\{root}\\{self.entry}", "/f"],
                           env=self.driver.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=60, check=True)
        user_keys = [self.entry_values(root, classes=USER_CLASSES) for root in ROOTS]
        self.assertNotIn(None, user_keys)
        self.assertEqual(self.exchange(0, 2), "1 0 0")
        self.assert_layout(f"VaroSelect - Select Copy{self.suffix}(&9)")
        for root, before in zip(ROOTS, user_keys):
            self.assertEqual(self.entry_values(root, classes=USER_CLASSES), before, root)
            self.assertIsNone(self.entry_values(root, command=True, classes=USER_CLASSES), root)
        # Removing takes the machine's entries and leaves the user's key alone.
        self.assertEqual(self.exchange(0, 0), "1 0 0")
        self.assert_absent()
        for root, before in zip(ROOTS, user_keys):
            self.assertEqual(self.entry_values(root, classes=USER_CLASSES), before, root)


class WithoutArguments(UacTestCase):
    def test_it_opens_the_settings_dialog_of_its_installation(self):
        # It asks the shell's desktop to start VaroSetting as the user and
        # starts it itself when the shell cannot. Under Wine every process runs
        # elevated, so which of the two happened shows only in the parent of
        # the dialog's process, not in its rights.
        token = "-" + self.id().rsplit(".", 1)[-1][:12]
        self.make_folder(("VaroUAC.exe", "VaroSetting.exe"), settings={"Lang": "en", "PrefixAft1": token})
        uac = self.start(self.folder.exe("VaroUAC.exe"))
        self.assertEqual(self.driver.wait_exit(uac), 0)

        def our_dialog():
            for window in self.driver.windows():
                if window.title != "VaroSetting" or not window.visible:
                    continue
                controls = self.driver.controls(window.hwnd)
                if any(c.id == 503 and c.text == token for c in controls):
                    return window
            return None
        dialog = wait_until(our_dialog, what="the settings dialog of this installation")
        parents = {p["pid"]: p["parent"] for p in self.driver.processes()}
        names = {p["pid"]: p["exe"] for p in self.driver.processes()}
        starter = names.get(parents.get(dialog.pid), "VaroUAC.exe itself (ended since)")
        print(f"VaroSetting was started by {starter}", file=sys.stderr)
        self.driver.press(dialog.hwnd, 550)  # Cancel
        self.assertEqual(self.driver.wait_exit(dialog.pid), 0)


class SingleRun(UacTestCase):
    def test_second_helper_ends_at_once_with_exit_code_1(self):
        self.make_folder()
        gate = self.start(self.folder.exe("registration_runner.exe"), "gate 0 0")
        wait_until((self.folder.path / "gate_ready.txt").exists, what="the gate")
        first = self.start(self.folder.exe("VaroUAC.exe"), "0 0")
        # The first one has answered and waits for the gate's acknowledgement.
        self.driver.wait_window(first, cls="VaroUACClass", visible=False)
        second = self.start(self.folder.exe("VaroUAC.exe"), "0 2")
        self.assertEqual(self.driver.wait_exit(second), 1)
        self.assertIsNone(self.driver.exit_code(first))
        (self.folder.path / "release.txt").write_text("go")
        self.assertEqual(self.driver.wait_exit(first), 0)
        self.assertEqual(self.driver.wait_exit(gate), 0)
        self.assertEqual((self.folder.path / "registration_result.txt").read_text(encoding="utf-8"),
                         "answer=4 0 0\n")
        for root in ROOTS:  # the second one did not register anything
            self.assertIsNone(self.entry_values(root))

    def test_the_tray_icon_comes_back_while_the_helper_waits(self):
        self.make_folder()
        gate = self.start(self.folder.exe("registration_runner.exe"), "gate 0 0")
        wait_until((self.folder.path / "gate_ready.txt").exists, what="the gate")
        uac = self.start(self.folder.exe("VaroUAC.exe"), "0 0")
        window = self.driver.wait_window(uac, cls="VaroUACClass", visible=False)
        wait_until(lambda: self.driver.tray_icon_exists(window.hwnd), what="the tray icon")
        self.assertTrue(self.driver.delete_tray_icon(window.hwnd))  # as from an Explorer that restarts
        # Answered although the helper is waiting for the acknowledgement.
        self.driver.send(window.hwnd, self.driver.register_message("TaskbarCreated"))
        self.assertTrue(self.driver.tray_icon_exists(window.hwnd))
        (self.folder.path / "release.txt").write_text("go")
        self.assertEqual(self.driver.wait_exit(uac), 0)
        self.assertEqual(self.driver.wait_exit(gate), 0)

    def test_helper_without_a_waiting_settings_application_ends_by_itself(self):
        self.make_folder()
        uac = self.start(self.folder.exe("VaroUAC.exe"), "0 0")
        self.assertEqual(self.driver.wait_exit(uac, timeout=ANSWER_BOUND + DEFAULT_TIMEOUT), 0)

    def test_helper_stops_waiting_when_the_settings_application_has_gone(self):
        self.make_folder()
        gate = self.start(self.folder.exe("registration_runner.exe"), "gate 0 0")
        wait_until((self.folder.path / "gate_ready.txt").exists, what="the gate")
        uac = self.start(self.folder.exe("VaroUAC.exe"), "0 0")
        self.driver.wait_window(uac, cls="VaroUACClass", visible=False)
        self.driver.kill(gate)  # ends without acknowledging
        self.assertEqual(self.driver.wait_exit(uac), 0)


if __name__ == "__main__":
    main()

"""The registration page's Execute, run by the registration runner with the
functions the page calls: Send-To and desktop shortcuts made by the settings
application itself, the context menu through VaroUAC.exe."""

from uac_helpers import *  # noqa: F403

CSIDL_DESKTOP, CSIDL_SENDTO = 0, 9
SEND_TO, CONTEXT_MENU, DESKTOP = 0, 1, 2


class Registration(UacTestCase):
    def setUp(self):
        super().setUp()
        self.send_to = linux_path(self.driver.special_folder(CSIDL_SENDTO))
        self.desktop = linux_path(self.driver.special_folder(CSIDL_DESKTOP))

    def shortcuts(self, folder: Path) -> list[str]:
        """Shortcuts of this test's program folder (they carry its suffix)."""
        return sorted(p.name for p in folder.glob(f"*{self.suffix}*.lnk"))

    def track_shortcuts(self):
        def remove():
            for folder in (self.send_to, self.desktop):
                for path in folder.glob(f"*{self.suffix}*.lnk"):
                    path.unlink()
        self.addCleanup(remove)

    def execute(self, language, send_to, context_menu, desktop):
        return self.run_runner("execute", language, send_to, context_menu, desktop, timeout=60)

    def test_shortcuts_created_found_under_another_name_and_removed(self):
        self.make_folder()
        self.track_shortcuts()
        name = f"VaroSelect - Select Copy{self.suffix}.lnk"
        shown = self.execute(0, 2, 1, 2)
        self.assertEqual((shown["before0"], shown["before2"]), ("*|", "*|"))
        self.assertEqual((shown["after0"], shown["after2"]), ("|OK", "|OK"))
        self.assertEqual(shown["after1"], shown["before1"])  # the context menu was left alone
        self.assertEqual(shown["result"], "Successful completion.")
        self.assertEqual(self.shortcuts(self.send_to), [name])
        self.assertEqual(self.shortcuts(self.desktop), [name])

        # A shortcut the user renamed still counts as the copy tool's.
        (self.send_to / name).rename(self.send_to / f"my copy tool{self.suffix}.lnk")
        shown = self.execute(0, 1, 1, 1)
        self.assertEqual((shown["before0"], shown["before2"]), ("|*", "|*"))
        self.assertEqual(shown["result"], "Please set the On/Off.")

        shown = self.execute(1, 0, 1, 0)
        self.assertEqual((shown["after0"], shown["after2"]), ("OK|", "OK|"))
        self.assertEqual(shown["result"], "正常に終了しました。 ")
        self.assertEqual(self.shortcuts(self.send_to), [])
        self.assertEqual(self.shortcuts(self.desktop), [])

        # Removing what is not there is shown as success.
        shown = self.execute(0, 0, 1, 1)
        self.assertEqual((shown["after0"], shown["status0"]), ("OK|", "4"))

    def test_context_menu_through_the_helper(self):
        self.make_folder()
        shown = self.execute(0, 1, 2, 1)
        self.assertEqual(shown["before1"], "*|")
        self.assertEqual((shown["after1"], shown["status1"]), ("|OK", "1"))
        self.assertEqual(self.entry_values("*\\shell")[""], ("REG_SZ", f"VaroSelect - Select Copy{self.suffix}(&9)"))
        shown = self.execute(0, 1, 0, 1)
        self.assertEqual((shown["before1"], shown["after1"]), ("|*", "OK|"))
        self.assertIsNone(self.entry_values("Folder\\shell"))
        shown = self.execute(0, 1, 0, 1)
        self.assertEqual((shown["after1"], shown["status1"], shown["result"]), ("OK|", "4", "Successful completion."))

    def test_missing_copy_tool_shows_ng_with_the_details(self):
        self.make_folder(programs=("VaroUAC.exe", "registration_runner.exe"))
        self.track_shortcuts()
        shown = self.execute(0, 2, 2, 1)
        self.assertEqual((shown["after0"], shown["after1"]), ("*|NG", "*|NG"))
        self.assertEqual(shown["result"], "NG:Error has occurred.You click the NG displayed error details.")
        self.assertRegex(shown["details0"], r"^CD:1013 VaroSelect program does not exist\. \*0x00000002:.+")
        self.assertRegex(shown["details1"], r"^CD:2005 VaroSelect program does not exist\. \*0x00000002:.+")
        self.assertEqual(self.shortcuts(self.send_to), [])
        self.assertIsNone(self.entry_values("*\\shell"))


if __name__ == "__main__":
    main()

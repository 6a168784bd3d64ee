"""Screenshots of the settings dialog in Japanese and English at 96 and 144
DPI, with the registration picture at 16 and 24 pixels. Wine takes the DPI
from the registry when its server starts, so this script restarts the server
and must run alone (RUN_SERIAL)."""

import subprocess

from setting_helpers import *  # noqa: F403

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


def set_dpi(dpi):
    """Sets LogPixels (96 deletes it) and restarts the Wine server."""
    env = wine_environment()
    if dpi == 96:
        command = ["wine", "reg", "delete", DESKTOP_KEY, "/v", "LogPixels", "/f"]
    else:
        command = ["wine", "reg", "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"]
    subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


class AtDpi:
    """Runs a test class at its `dpi` and sets 96 back after it."""
    dpi = 96

    @classmethod
    def setUpClass(cls):
        set_dpi(cls.dpi)
        super().setUpClass()

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        if cls.dpi != 96:
            set_dpi(96)


class DialogScreenshots(AtDpi, SettingTestCase):
    def shoot(self, lang, tab):
        folder = self.program_folder(["VaroSetting.exe"], settings={"Lang": lang, "Tab": tab})
        pid = self.start(folder.exe("VaroSetting.exe"))
        dialog = self.wait_dialog(pid)
        picture = self.driver.rect(self.page(dialog, REGISTRATION_MARK), REGISTRATION_PICTURE)["window"]
        self.screenshot(f"{lang}_tab{tab}_{self.dpi}dpi")
        self.driver.close_window(dialog.hwnd)
        self.assertEqual(self.driver.wait_exit(pid), 0)
        return picture["right"] - picture["left"], picture["bottom"] - picture["top"]

    def test_every_tab_in_both_languages(self):
        side = 16 * self.dpi // 96
        for lang in ("ja", "en"):
            for tab in range(3):
                self.assertEqual(self.shoot(lang, tab), (side, side), f"{lang} tab {tab}")


class DialogScreenshotsAt144(DialogScreenshots):
    dpi = 144


if __name__ == "__main__":
    main()

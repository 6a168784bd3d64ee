"""Screenshots of the progress window mid-run, with the totals, the bar and
the time left, in Japanese and English at 96 and 144 DPI. The lines lie
inside the window, clear of the Cancel control and the automatic-close
switch. Restarts the Wine server with another DPI, so it runs alone
(RUN_SERIAL)."""

from select_helpers import *  # noqa: F403
from setting_screenshots_test import AtDpi

# 2,000 small files and 4 of 10 MB; the gate holds the copy after 1,000.
SMALL_FILES = 2000
PASSING = 1000


def screenshot_tree(root):
    files = {f"part{n // 100:02d}/file{n:05d}.txt": b"x" * (1024 + n % 3000) for n in range(SMALL_FILES)}
    files.update({f"large/video{n}.bin": b"\0" * (10 * 1024 * 1024) for n in range(4)})
    return make_files(root, files)


def overlaps(a, b):
    return a["left"] < b["right"] and b["left"] < a["right"] and a["top"] < b["bottom"] and b["top"] < a["bottom"]


def inside(inner, outer):
    return (outer["left"] <= inner["left"] and inner["right"] <= outer["right"]
            and outer["top"] <= inner["top"] and inner["bottom"] <= outer["bottom"])


class ProgressScreenshots(AtDpi, CopyToolTestCase):

    def shoot(self, lang, source):
        # Away from the window, whose tooltip would cover the lines.
        self.move_pointer(0, 0)
        target = self.temp / f"out_{lang}"
        gate = self.run_gated([source], {"Lang": lang, "CopyMode": 1, "Path": windows_path(target) + "\\",
                                         "AddStringsAft": 0, "PrefixAft1": ""}, passing=PASSING)
        window = self.progress_window()
        # The time left shows a few seconds after the copy began, until the held copy has stood still a while.
        left = "残り" if lang == "ja" else "left"
        self.driver.wait_text(window.hwnd, SHARE, lambda text: left in text, timeout=30)
        self.screenshot(f"{lang}_{self.dpi}dpi")
        frame = self.driver.rect(window.hwnd)["window"]
        rects = {id: self.driver.rect(window.hwnd, id)["window"] for id in (TOTALS, BAR, SHARE, CANCEL, AUTO_CLOSE)}
        for id in (TOTALS, BAR, SHARE):
            self.assertTrue(inside(rects[id], frame), (id, rects[id], frame))
            for other in (CANCEL, AUTO_CLOSE):
                self.assertFalse(overlaps(rects[id], rects[other]), (id, other))
        self.driver.set_event(gate)
        self.close_and_exit(self.wait_result("Success."))
        return frame["right"] - frame["left"]

    def test_mid_run_in_both_languages(self):
        source = screenshot_tree(self.temp / "src")
        for lang in ("ja", "en"):
            width = self.shoot(lang, source)
            # The window keeps its size: 170 dialog units wide, scaled with the DPI.
            self.assertLess(width, 420 * self.dpi // 96, lang)


class ProgressScreenshotsAt144(ProgressScreenshots):
    dpi = 144


if __name__ == "__main__":
    main()

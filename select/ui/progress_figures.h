// What the progress window shows of how far the run has come: files and
// bytes done, of the totals once they are known, the share with the time
// left, and the tray icon's tip. These lines follow the display language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/time_left.h"

struct ProgressFigures {
    std::uint64_t filesDone = 0;
    std::uint64_t bytesDone = 0;
    std::optional<WorkTotals> totals;  // once counted, or as the archiver knows them
    bool packing = false;              // entries packed into an archive, not files copied
};

// The bar's range: the share in per mille.
constexpr int kShareRange = 1000;

// The share done, by bytes (by files when they hold no bytes); nothing while
// the totals are unknown or there is nothing to do.
std::optional<int> ShareDone(const ProgressFigures& figures);

// "0 KB", "980 KB", "5.6 MB", "56 MB", "1.2 GB": units of 1,024, never
// showing more than there is (a part of a unit counts only below 1 KB).
std::wstring SizeText(std::uint64_t bytes);

// "1,234 files, 56 MB copied" until the totals are known, then
// "1,234 of 20,000 files, 56 MB of 300 MB" ("items" while packing).
std::wstring DoneText(const ProgressFigures& figures, bool japanese);

// "a few seconds left", "about 45 seconds left", "about 2 minutes left",
// "about 1 hour 20 minutes left", "about 12 hours left": the coarser the
// longer, so that the text holds still while the estimate wanders a little.
std::wstring TimeLeftText(double seconds, bool japanese);

// "45%" and, when known, the time left: "45%, about 2 minutes left".
std::wstring ShareText(int share, std::optional<double> secondsLeft, bool japanese);

// The tray icon's tip: the program's name, and the share line once known.
std::wstring TrayTip(const std::wstring& shareText);

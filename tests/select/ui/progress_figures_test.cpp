#include <gtest/gtest.h>

#include "ui/progress_figures.h"

namespace {

constexpr std::uint64_t kKB = 1024;
constexpr std::uint64_t kMB = 1024 * kKB;
constexpr std::uint64_t kGB = 1024 * kMB;

ProgressFigures Figures(std::uint64_t files, std::uint64_t bytes, std::optional<WorkTotals> totals = std::nullopt,
                        bool packing = false) {
    return {files, bytes, totals, packing};
}

}  // namespace

TEST(ProgressFigures, SizesNeverShowMoreThanThereIs) {
    const std::pair<std::uint64_t, const wchar_t*> cases[] = {
        {0, L"0 KB"},
        {1, L"1 KB"},
        {1024, L"1 KB"},
        {1025, L"2 KB"},
        {980 * kKB, L"980 KB"},
        {kMB - 1, L"1,024 KB"},
        {kMB, L"1.0 MB"},
        {kMB * 56 / 10 + 1, L"5.6 MB"},
        {10 * kMB - 1, L"9.9 MB"},
        {56 * kMB + 999, L"56 MB"},
        {1023 * kMB, L"1,023 MB"},
        {kGB + kGB / 5 + 1, L"1.2 GB"},
        {5 * 1024 * kGB, L"5.0 TB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

TEST(ProgressFigures, DoneAndOfTheTotalInBothLanguages) {
    struct Case {
        ProgressFigures figures;
        const wchar_t* english;
        const wchar_t* japanese;
    };
    const Case cases[] = {
        {Figures(1234, 56 * kMB), L"1,234 files, 56 MB copied", L"コピー済み 1,234 ファイル、56 MB"},
        {Figures(1, 300), L"1 file, 1 KB copied", L"コピー済み 1 ファイル、1 KB"},
        {Figures(1234, 56 * kMB, WorkTotals{20000, 300 * kMB}), L"1,234 of 20,000 files, 56 MB of 300 MB",
         L"1,234 / 20,000 ファイル、56 MB / 300 MB"},
        {Figures(0, 0, WorkTotals{1, 5 * kKB}), L"0 of 1 file, 0 KB of 5 KB", L"0 / 1 ファイル、0 KB / 5 KB"},
        {Figures(12, 3 * kMB, WorkTotals{40, 10 * kMB}, true), L"12 of 40 items, 3.0 MB of 10 MB",
         L"12 / 40 項目、3.0 MB / 10 MB"},
        // Packing while the walk is still listing the entries.
        {Figures(12, 3 * kMB, std::nullopt, true), L"12 items, 3.0 MB packed", L"圧縮済み 12 項目、3.0 MB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DoneText(c.figures, false), c.english);
        EXPECT_EQ(DoneText(c.figures, true), c.japanese);
    }
}

TEST(ProgressFigures, TheShareGoesByBytesThenByFiles) {
    struct Case {
        ProgressFigures figures;
        std::optional<int> share;
    };
    const Case cases[] = {
        {Figures(10, 5 * kMB), std::nullopt},                          // totals not known yet
        {Figures(10, 5 * kMB, WorkTotals{20, 10 * kMB}), 500},         // by bytes
        {Figures(999, kMB, WorkTotals{1000, 1000 * kMB}), 1},          // many small files done, one large left
        {Figures(3, 0, WorkTotals{4, 0}), 750},                        // empty files: by files
        {Figures(5, 11 * kMB, WorkTotals{4, 10 * kMB}), kShareRange},  // more than counted: full
        {Figures(0, 0, WorkTotals{0, 0}), std::nullopt},               // nothing to do
    };
    for (const Case& c : cases) EXPECT_EQ(ShareDone(c.figures), c.share);
}

TEST(ProgressFigures, TheTimeLeftIsRoundedCoarserTheLongerItIs) {
    struct Case {
        double seconds;
        const wchar_t* english;
        const wchar_t* japanese;
    };
    const Case cases[] = {
        {3, L"a few seconds left", L"残り数秒"},
        {6, L"about 10 seconds left", L"残り約10秒"},
        {41, L"about 45 seconds left", L"残り約45秒"},
        {56, L"about 1 minute left", L"残り約1分"},
        {149, L"about 2 minutes left", L"残り約2分"},
        {151, L"about 3 minutes left", L"残り約3分"},
        {59 * 60, L"about 59 minutes left", L"残り約59分"},
        {3580, L"about 1 hour left", L"残り約1時間"},
        {4790, L"about 1 hour 20 minutes left", L"残り約1時間20分"},
        {2 * 3600 + 1000, L"about 2 hours 20 minutes left", L"残り約2時間20分"},
        {12.4 * 3600, L"about 12 hours left", L"残り約12時間"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeLeftText(c.seconds, false), c.english) << c.seconds;
        EXPECT_EQ(TimeLeftText(c.seconds, true), c.japanese) << c.seconds;
    }
    EXPECT_EQ(ShareText(456, 149.0, false), L"45%, about 2 minutes left");
    EXPECT_EQ(ShareText(456, 149.0, true), L"45%、残り約2分");
    EXPECT_EQ(ShareText(kShareRange, std::nullopt, false), L"100%");
    EXPECT_EQ(TrayTip(L"45%, about 2 minutes left"), L"VaroSelect 45%, about 2 minutes left");
    EXPECT_EQ(TrayTip(L""), L"VaroSelect");
}

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "ui/time_left.h"

namespace {

constexpr double kStep = 0.25;  // the progress window samples four times a second
constexpr std::uint64_t kMB = 1024 * 1024;

// A run as a function of time: files and bytes done after t seconds (the
// sample's time is t, whatever the function puts there).
using Course = std::function<ProgressSample(double t)>;

// The estimate after the run went on for `until` seconds, from samples taken
// as the window takes them.
std::optional<double> EstimateAfter(const Course& run, double until, const WorkTotals& totals) {
    std::vector<ProgressSample> samples;
    for (double t = 0; t <= until + 1e-9; t += kStep) {
        samples.push_back(run(t));
        samples.back().seconds = t;
    }
    return EstimateSecondsLeft(samples, totals);
}

// Steady: 100 files and 1 MB a second, 60 s in all.
ProgressSample Steady(double t) {
    const double done = std::min(t, 60.0);
    return {t, static_cast<std::uint64_t>(done * 100), static_cast<std::uint64_t>(done * kMB)};
}
constexpr WorkTotals kSteadyTotals{6000, 60 * kMB};

// Bursty: the same pace on average, but 200 files arrive at once every 2 s.
ProgressSample Bursty(double t) {
    const double done = std::floor(std::min(t, 60.0) / 2) * 2;
    return {t, static_cast<std::uint64_t>(done * 100), static_cast<std::uint64_t>(done * kMB)};
}

// 20,000 small files (10 KB, 1,000 a second) then one 1 GB file at 100 MB a
// second, its bytes reported as they go (as Windows does).
constexpr double kSmallPhase = 20;
ProgressSample SmallThenLarge(double t) {
    if (t <= kSmallPhase)
        return {t, static_cast<std::uint64_t>(t * 1000), static_cast<std::uint64_t>(t * 10 * 1024 * 1000)};
    const double large = std::min((t - kSmallPhase) * 100, 1024.0);
    return {t, 20000 + (large >= 1024 ? 1u : 0u), 20000 * 10 * 1024 + static_cast<std::uint64_t>(large * kMB)};
}
constexpr WorkTotals kSmallThenLargeTotals{20001, 20000 * 10 * 1024 + 1024 * kMB};
double SmallThenLargeLeft(double t) {
    return t <= kSmallPhase ? (kSmallPhase - t) + 10.24 : 10.24 - (t - kSmallPhase);
}

}  // namespace

TEST(TimeLeft, NothingInTheFirstSecondsWhenDoneOrWhenAbsurd) {
    struct Case {
        const char* what;
        Course run;
        double until;
        WorkTotals totals;
    };
    const Case cases[] = {
        {"first seconds", Steady, kFirstEstimateSeconds - kStep, kSteadyTotals},
        {"nothing left", Steady, 65, kSteadyTotals},
        {"a byte a second with a terabyte left",
         [](double t) {
             return ProgressSample{t, 0, static_cast<std::uint64_t>(t)};
         },
         20,
         {1, 1024 * 1024 * kMB}},
        {"no progress at all",
         [](double t) {
             return ProgressSample{t, 0, 0};
         },
         20, kSteadyTotals},
    };
    for (const Case& c : cases) EXPECT_FALSE(EstimateAfter(c.run, c.until, c.totals)) << c.what;
    // Waiting before the first file (a folder browser, say) is not "the first seconds".
    const Course lateStart = [](double t) { return t < 30 ? ProgressSample{t, 0, 0} : Steady(t - 30); };
    EXPECT_FALSE(EstimateAfter(lateStart, 31, kSteadyTotals));
    EXPECT_TRUE(EstimateAfter(lateStart, 30 + kFirstEstimateSeconds + 1, kSteadyTotals));
}

TEST(TimeLeft, SteadyProgressGivesTheTimeLeft) {
    for (const double t : {5.0, 15.0, 30.0, 45.0, 59.0}) {
        const std::optional<double> left = EstimateAfter(Steady, t, kSteadyTotals);
        ASSERT_TRUE(left) << t;
        EXPECT_NEAR(*left, 60 - t, 0.2) << t;
    }
}

// Bursts move the estimate little: it stays near the truth and never jumps
// by more than a burst's share from one sample to the next.
TEST(TimeLeft, BurstsDoNotMakeItJump) {
    std::optional<double> previous;
    for (double t = 12; t < 55; t += kStep) {
        const std::optional<double> left = EstimateAfter(Bursty, t, kSteadyTotals);
        ASSERT_TRUE(left) << t;
        EXPECT_NEAR(*left, 60 - t, 0.15 * (60 - t) + 2) << t;
        if (previous) {
            EXPECT_LT(std::abs(*left - (*previous - kStep)), 0.1 * *previous + 1) << t;
        }
        previous = left;
    }
}

// A stall empties the estimate rather than letting it grow without end;
// progress brings it back, and after a window it is right again.
TEST(TimeLeft, AStallShowsNothingUntilProgressResumes) {
    const Course stalled = [](double t) { return Steady(t < 20 ? t : t < 40 ? 20 : t - 20); };
    EXPECT_TRUE(EstimateAfter(stalled, 20 + kStalledSeconds / 2, kSteadyTotals));
    EXPECT_FALSE(EstimateAfter(stalled, 20 + kStalledSeconds + kStep, kSteadyTotals));
    EXPECT_FALSE(EstimateAfter(stalled, 39.75, kSteadyTotals));
    EXPECT_TRUE(EstimateAfter(stalled, 40.5, kSteadyTotals));
    const double later = 40 + kRateWindowSeconds + kSmoothingSeconds;
    const std::optional<double> left = EstimateAfter(stalled, later, kSteadyTotals);
    ASSERT_TRUE(left);
    EXPECT_NEAR(*left, 60 - (later - 20), 0.2);
}

// Many small files tell nothing about how fast a large file goes: the
// estimate stays on the safe side (never less than the truth) and comes
// down to it as the large file's own pace fills the window.
TEST(TimeLeft, ALargeFileAfterManySmallOnes) {
    for (double t = 5; t < 30; t += 1) {
        const std::optional<double> left = EstimateAfter(SmallThenLarge, t, kSmallThenLargeTotals);
        ASSERT_TRUE(left) << t;
        EXPECT_GE(*left, SmallThenLargeLeft(t) - 0.01) << t;
    }
    // Late in the large file the estimate is within twice the truth.
    for (const double t : {28.0, 29.5}) {
        const std::optional<double> left = EstimateAfter(SmallThenLarge, t, kSmallThenLargeTotals);
        ASSERT_TRUE(left) << t;
        EXPECT_LE(*left, 2 * SmallThenLargeLeft(t) + 0.5) << t;
    }
    // Where the system does not report a file's bytes as they go (Wine), the
    // large file looks like a stall: no estimate rather than a wrong one.
    const Course unreported = [](double t) {
        return t <= kSmallPhase ? SmallThenLarge(t) : SmallThenLarge(kSmallPhase);
    };
    EXPECT_FALSE(EstimateAfter(unreported, kSmallPhase + kStalledSeconds + kStep, kSmallThenLargeTotals));
}

// The time a run has left, estimated from how fast files and bytes went by
// lately. Copying many small files costs per file, a large file per byte, so
// both rates count: over a sliding window, the remaining files at the files'
// rate and the remaining bytes at the bytes' rate give two times, and the
// longer one is the estimate. When the rest is made of files like those of
// the window both agree; otherwise the longer one is the safe side (it never
// promises less than the slower of the two ways of copying would take).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// How far the run had come at a moment.
struct ProgressSample {
    double seconds = 0;  // since any fixed start, increasing
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

struct WorkTotals {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
};

// The rates are taken over this much of the latest samples.
constexpr double kRateWindowSeconds = 10;
// No estimate until the run has made progress for this long ...
constexpr double kFirstEstimateSeconds = 3;
// ... nor once nothing has moved for this long (a stalled copy, or one large
// file whose bytes the system does not report as they go).
constexpr double kStalledSeconds = 8;
// The estimate is the median of those made over this last stretch, each
// counted down to now, so that a burst does not make it jump.
constexpr double kSmoothingSeconds = 3;
// Beyond this an estimate means nothing.
constexpr double kLongestEstimateSeconds = 100.0 * 3600;

// Seconds left after the last sample, or nothing where no sensible estimate
// exists: too early, stalled, nothing left, or absurdly long. Samples are in
// time order; the ones before progress began count as its start.
std::optional<double> EstimateSecondsLeft(std::span<const ProgressSample> samples, const WorkTotals& totals);

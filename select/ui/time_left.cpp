#include "ui/time_left.h"

#include <algorithm>
#include <vector>

namespace {

bool SameProgress(const ProgressSample& a, const ProgressSample& b) {
    return a.files == b.files && a.bytes == b.bytes;
}

std::uint64_t Gain(std::uint64_t from, std::uint64_t to) {
    return to > from ? to - from : 0;
}

// The time for `left` more at the pace of `done` per `seconds`; nothing when
// there was no pace to go by.
std::optional<double> TimeAtPace(std::uint64_t left, std::uint64_t done, double seconds) {
    if (left == 0) return 0.0;
    if (done == 0) return std::nullopt;
    return static_cast<double>(left) * seconds / static_cast<double>(done);
}

// The estimate as it stood at samples[at], over the window before it (not
// reaching back before `first`, where progress began).
std::optional<double> EstimateAt(std::span<const ProgressSample> samples, std::size_t first, std::size_t at,
                                 const WorkTotals& totals) {
    const ProgressSample& now = samples[at];
    std::size_t from = first;
    while (from + 1 < at && samples[from + 1].seconds <= now.seconds - kRateWindowSeconds) ++from;
    const ProgressSample& start = samples[from];
    const double seconds = now.seconds - start.seconds;
    const std::uint64_t files = Gain(start.files, now.files);
    const std::uint64_t bytes = Gain(start.bytes, now.bytes);
    if (seconds <= 0 || (files == 0 && bytes == 0)) return std::nullopt;
    const std::optional<double> byFiles = TimeAtPace(Gain(now.files, totals.files), files, seconds);
    const std::optional<double> byBytes = TimeAtPace(Gain(now.bytes, totals.bytes), bytes, seconds);
    // What did not move in the window tells nothing: while one large file is
    // copied, no file is finished.
    if (!byFiles) return byBytes;
    if (!byBytes) return byFiles;
    return std::max(*byFiles, *byBytes);
}

}  // namespace

std::optional<double> EstimateSecondsLeft(std::span<const ProgressSample> samples, const WorkTotals& totals) {
    if (samples.size() < 2) return std::nullopt;
    const ProgressSample& last = samples.back();
    if (last.files >= totals.files && last.bytes >= totals.bytes) return std::nullopt;
    std::size_t first = 0;
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (samples[i].files == 0 && samples[i].bytes == 0) first = i;
    if (last.seconds - samples[first].seconds < kFirstEstimateSeconds) return std::nullopt;
    std::size_t moved = samples.size() - 1;
    while (moved > first && SameProgress(samples[moved - 1], last)) --moved;
    if (last.seconds - samples[moved].seconds >= kStalledSeconds) return std::nullopt;

    std::vector<double> estimates;
    for (std::size_t at = samples.size() - 1; at > first; --at) {
        const double age = last.seconds - samples[at].seconds;
        if (age > kSmoothingSeconds) break;
        if (const std::optional<double> estimate = EstimateAt(samples, first, at, totals))
            estimates.push_back(std::max(0.0, *estimate - age));
    }
    if (estimates.empty()) return std::nullopt;
    const auto middle = estimates.begin() + static_cast<std::ptrdiff_t>(estimates.size() / 2);
    std::nth_element(estimates.begin(), middle, estimates.end());
    if (*middle > kLongestEstimateSeconds) return std::nullopt;
    return *middle;
}

// The registration page's decisions as plain functions: what a trackbar
// position asks for, what the result cells and the result line show.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "elevation_exchange.h"
#include "step_trace.h"

enum RegistrationTarget : int {
    kTargetSendTo = 0,
    kTargetContextMenu = 1,
    kTargetDesktop = 2,
};
constexpr int kTargetCount = 3;

// Trackbar positions; the position of a changing trackbar is also the action
// (0 remove, 2 register) and, for the context menu, the helper's request.
enum TrackbarPosition : int {
    kPositionOff = 0,
    kPositionUnchanged = 1,
    kPositionOn = 2,
};
constexpr int kActionCheck = 9;

// Status of one target after Execute.
enum TargetStatus : int {
    kStatusNotRun = 0,
    kStatusOk = 1,
    kStatusNg = 2,
    kStatusNothingThere = 4,  // removing what is not there: shown as success
};

using Positions = std::array<int, kTargetCount>;

struct TargetOutcome {
    int status = kStatusNotRun;
    FailureRecord failure;
};
using Outcomes = std::array<TargetOutcome, kTargetCount>;

// The context menu's outcome from the helper's answer: its status mapped to
// the page's (nothing done stays "not run"), its failure record as it came.
TargetOutcome OutcomeOfAnswer(const ElevationAnswer& answer);

// Off or On: something to do. The middle position leaves the target alone.
bool PositionChanges(int position);

// Execute carries the elevation shield while the context menu is to change.
bool ExecuteNeedsShield(int contextMenuPosition);

// 0 -> done, 4 -> nothing there, anything else -> failed.
int StatusOfResult(int result);

// The two cells under a trackbar's ends.
struct ResultCells {
    std::wstring off;
    std::wstring on;
    bool operator==(const ResultCells&) const = default;
};

// The current state from a check's result: 0 registered ("*" under On),
// 3 undetermined (both empty), anything else not registered ("*" under Off).
ResultCells CurrentStateCells(int checkResult);

// The cells after Execute: "OK" or "NG" under the chosen end; after a
// success the other end is cleared. A target not run keeps `shown`.
ResultCells OutcomeCells(int position, int status, const ResultCells& shown);

// Whether a click on a cell opens the failure details: the cell under the
// chosen end of a target that failed.
bool CellOpensDetails(int position, int status, bool onEnd);

enum class ResultSummary {
    kNone,        // nothing to say
    kNothingSet,  // every trackbar in the middle
    kSuccess,
    kError,
    kWaiting,  // the helper has not answered yet
};

ResultSummary Summarize(const Positions& positions, const Outcomes& outcomes);

// The result line for a summary, in the current language.
std::wstring_view ResultText(ResultSummary summary);

// The result line's failure details: the error table's text for the code
// and the system's text for the error number.
std::wstring FailureDetails(const FailureRecord& failure);

#include "registration_decisions.h"

#include "error_table.h"
#include "language.h"

namespace {

constexpr MessagePair kErrorShown = {L"エラーが発生しました。NGをクリックするとエラー内容の詳細が表示されます。",
                                     L"NG:Error has occurred.You click the NG displayed error details."};
constexpr MessagePair kSuccessShown = {L"正常に終了しました。 ", L"Successful completion."};
constexpr MessagePair kNothingSet = {L"On/Offを設定してください。 ", L"Please set the On/Off."};
constexpr MessagePair kWaitingForHelper = {L"VaroUACの処理が終わるのを待っています...",
                                           L"Waiting for VaroUAC to finish..."};

bool Succeeded(int status) {
    return status == kStatusOk || status == kStatusNothingThere;
}

}  // namespace

TargetOutcome OutcomeOfAnswer(const ElevationAnswer& answer) {
    switch (answer.status) {
        case ElevationStatus::NothingDone:
            return {kStatusNotRun, answer.failure};
        case ElevationStatus::Done:
            return {kStatusOk, answer.failure};
        case ElevationStatus::NothingToRemove:
            return {kStatusNothingThere, answer.failure};
        case ElevationStatus::Failed:
        default:
            return {kStatusNg, answer.failure};
    }
}

bool PositionChanges(int position) {
    return position == kPositionOff || position == kPositionOn;
}

bool ExecuteNeedsShield(int contextMenuPosition) {
    return PositionChanges(contextMenuPosition);
}

int StatusOfResult(int result) {
    if (result == 0) return kStatusOk;
    return result == 4 ? kStatusNothingThere : kStatusNg;
}

ResultCells CurrentStateCells(int checkResult) {
    if (checkResult == 0) return {L"", L"*"};
    if (checkResult == 3) return {L"", L""};
    return {L"*", L""};
}

ResultCells OutcomeCells(int position, int status, const ResultCells& shown) {
    if (!PositionChanges(position) || (!Succeeded(status) && status != kStatusNg)) return shown;
    ResultCells cells = shown;
    std::wstring& chosen = position == kPositionOn ? cells.on : cells.off;
    std::wstring& other = position == kPositionOn ? cells.off : cells.on;
    chosen = Succeeded(status) ? L"OK" : L"NG";
    if (Succeeded(status)) other.clear();
    return cells;
}

bool CellOpensDetails(int position, int status, bool onEnd) {
    return PositionChanges(position) && status == kStatusNg && (position == kPositionOn) == onEnd;
}

ResultSummary Summarize(const Positions& positions, const Outcomes& outcomes) {
    bool anyChange = false;
    bool error = false;
    bool success = false;
    for (int i = 0; i < kTargetCount; ++i) {
        if (!PositionChanges(positions[i])) continue;
        anyChange = true;
        error = error || outcomes[i].status == kStatusNg;
        success = success || Succeeded(outcomes[i].status);
    }
    if (!anyChange) return ResultSummary::kNothingSet;
    if (error) return ResultSummary::kError;
    return success ? ResultSummary::kSuccess : ResultSummary::kNone;
}

std::wstring_view ResultText(ResultSummary summary) {
    switch (summary) {
        case ResultSummary::kError:
            return Pick(kErrorShown);
        case ResultSummary::kSuccess:
            return Pick(kSuccessShown);
        case ResultSummary::kNothingSet:
            return Pick(kNothingSet);
        case ResultSummary::kWaiting:
            return Pick(kWaitingForHelper);
        case ResultSummary::kNone:
            break;
    }
    return {};
}

std::wstring FailureDetails(const FailureRecord& failure) {
    return ErrorText(failure).Display();
}

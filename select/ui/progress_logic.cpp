#include "ui/progress_logic.h"

#include "language.h"

namespace {

constexpr MessagePair kSuccessVerified = {L"Success. (照合済み)", L"Success. (verified)"};

}  // namespace

std::wstring_view ResultText(int runState, bool listFailed, int dirTree, bool verified) {
    switch (runState) {
        case kRunSucceeded:
            if (listFailed) return L"Copy Success , Copy result list failed!";
            if (dirTree == 2) return L"Success. (No copy mode.)";
            return verified ? Pick(kSuccessVerified) : L"Success.";
        case kRunNothingCopied:
            return listFailed ? L"No copy file , Copy result list failed!" : L"No copy file.";
        case kRunFailed:
            return dirTree == 2 ? L"Copy result list failed!" : L"Copy failed!";
        default:
            return {};
    }
}

CancelEffect CancelEffectFor(bool finished, bool listWriting) {
    if (finished) return CancelEffect::CloseWindow;
    return listWriting ? CancelEffect::StopList : CancelEffect::StopRun;
}

FinishBehaviour FinishBehaviourFor(int runState, bool autoCloseOn) {
    if (!autoCloseOn) return {};
    // A failure stays longer, so that it can be read.
    return {true, runState == kRunFailed ? 3500 : 1500};
}

StateColors ColorsFor(int runState) {
    switch (runState) {
        case kRunSucceeded:
            return {RGB(51, 255, 0), RGB(32, 239, 0)};
        case kRunNothingCopied:
            return {RGB(225, 225, 0), RGB(205, 205, 0)};
        case kRunFailed:
            return {RGB(255, 0, 0), RGB(230, 0, 0)};
        default:
            return {RGB(0, 191, 255), RGB(0, 170, 230)};
    }
}

#include "ui/state_brushes.h"

#include "startup/run_state.h"
#include "ui/progress_logic.h"

namespace {

constexpr int kStates[] = {kRunRunning, kRunSucceeded, kRunNothingCopied, kRunFailed};

}  // namespace

StateBrushes::StateBrushes() {
    for (std::size_t i = 0; i < std::size(kStates); ++i) {
        const StateColors colours = ColorsFor(kStates[i]);
        window_[i].reset(::CreateSolidBrush(colours.background));
        cancel_[i].reset(::CreateSolidBrush(colours.cancel));
    }
}

HBRUSH StateBrushes::For(int runState, bool cancelControl) const {
    std::size_t index = 0;
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        if (kStates[i] == runState) index = i;
    return static_cast<HBRUSH>((cancelControl ? cancel_ : window_)[index].get());
}

// Decisions of the Conditions page: which controls are enabled, the caption
// of the empty-folder check box, and the page state that the two
// sub-dialogs read (the condition history last used, the field that the
// drag-and-drop dialog fills).
#pragma once

#include <array>

#include "language.h"

// SelectMode as the radios 600, 601 and 602 show it.
enum SelectModeRadio : int {
    kSelectNone = -1,  // no radio checked
    kSelectTarget = 0,
    kSelectExclude = 1,
    kSelectAll = 2,  // no designation
};

struct ConditionsEnabling {
    // 1101, 1102, 1109, 1114, 534, the radios 600 to 602 with 1110 and 1111,
    // and the date controls 1119, 1004, 500, 1120, 501, 1121, 1122.
    bool selection;
    bool targetLists;   // 1000, 1001, 530, 531
    bool excludeLists;  // 1002, 1003, 532, 533
};

// From check box 700 (file copy enabled) and the checked radio. 701 is never disabled.
ConditionsEnabling ConditionsEnablingFor(bool selectOn, int checkedRadio);

// The caption of check box 701 for the state of 700.
MessagePair EmptyFolderCaption(bool selectOn);

// One slot per condition combo: target, exceptions to target, exclude,
// exceptions to exclude. -1 for a combo not used last.
constexpr int kConditionCombos = 4;
using ConditionHistorySelection = std::array<int, kConditionCombos>;

constexpr ConditionHistorySelection kNoConditionSelection = {-1, -1, -1, -1};

// After a notification of combo `combo` (0 to 3, controls 1000 to 1003):
// its slot becomes its list selection (0 when it has none), the others -1.
ConditionHistorySelection ConditionHistorySelectionAfter(int combo, int comboSelection);

// DragDropTarget when "..." button `button` (0 to 3, controls 530 to 533) is
// pressed: 1 to 4 for the button's field, unless a target is already set.
int DragDropTargetFor(int current, int button);

#include "pages/conditions_rules.h"

namespace {

constexpr MessagePair kNoCopiedFileCaption = {L"コピーするファイルが無かった場合はフォルダをコピーしない(&E)",
                                              L"If there is no file to be copied, do not copy the &folder"};
constexpr MessagePair kEmptySourceCaption = {L"コピー元が空フォルダの場合はフォルダをコピーしない(&E)",
                                             L"If the copy source is an empty folder, do not copy the &folder"};

}  // namespace

ConditionsEnabling ConditionsEnablingFor(bool selectOn, int checkedRadio) {
    if (!selectOn) return {false, false, false};
    return {true, checkedRadio == kSelectTarget, checkedRadio == kSelectExclude};
}

MessagePair EmptyFolderCaption(bool selectOn) {
    return selectOn ? kNoCopiedFileCaption : kEmptySourceCaption;
}

ConditionHistorySelection ConditionHistorySelectionAfter(int combo, int comboSelection) {
    ConditionHistorySelection slots = kNoConditionSelection;
    if (combo >= 0 && combo < kConditionCombos)
        slots[static_cast<std::size_t>(combo)] = comboSelection < 0 ? 0 : comboSelection;
    return slots;
}

int DragDropTargetFor(int current, int button) {
    if (current != 0 || button < 0 || button >= kConditionCombos) return current;
    return button + 1;
}

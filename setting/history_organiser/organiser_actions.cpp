#include "history_organiser/organiser_actions.h"

#include <algorithm>
#include <utility>

#include "checks/field_checks.h"
#include "checks/text_cleanup.h"

namespace {

constexpr int kLastRow = static_cast<int>(kHistoryEntries) - 1;

constexpr std::array<MessagePair, 4> kConditionHistoryItems = {{
    {L"対象", L"Target"},
    {L"例外、対象外", L"Exception,Exclud"},
    {L"対象外", L"Exclud"},
    {L"例外、対象", L"Exception,Target"},
}};

constexpr std::array<History Settings::*, 4> kConditionHistories = {
    &Settings::TargetFileHis, &Settings::ExNoTargetFileHis, &Settings::NoTargetFileHis, &Settings::ExTargetFileHis};

constexpr MessagePair kSelectRow = {L"リストを選択してください。\n", L"Please select a list.\n"};
constexpr MessagePair kUpdated = {L"更新しました。", L"Updated."};
constexpr MessagePair kUpdatedWithoutControlCodes = {L"制御コードを除去して更新しました。",
                                                     L"Removed the control code and updated."};
constexpr MessagePair kEmptyStatus = {L"", L""};

constexpr MessagePair kFolderTooLong = {
    L"フォルダのパスが長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
    L"The folder path is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"};
constexpr MessagePair kFolderForbidden = {
    L"フォルダのパスに使用できない文字が含まれています。\n\nNG : %s\n\n%s",
    L"The folder path contains characters that can not be used.\n\nNG : %s\n\n%s"};
constexpr MessagePair kConditionTooLong = {
    L"選択条件が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
    L"The selection condition is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"};
constexpr MessagePair kConditionForbidden = {
    L"選択条件に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
    L"Characters that can not be used for selection conditions are included.\n\nNG : %s\n\n%s"};

int SlotOrZero(int slot) {
    return slot < 0 ? 0 : slot;
}

CheckMessage TooLong(const MessagePair& pair, const std::wstring& text, std::size_t maximum) {
    return {pair, {static_cast<int>(text.size()), static_cast<int>(maximum), text}};
}

// The checks of an edited entry; nothing when it may be stored.
std::optional<CheckMessage> CheckEntry(OrganiserVariant variant, const std::wstring& text,
                                       const ForbiddenCharsFinder& forbidden) {
    if (variant == OrganiserVariant::Folder) {
        if (text.size() > kMaxPathFieldChars) return TooLong(kFolderTooLong, text, kMaxPathFieldChars);
    } else {
        if (text.size() > kMaxConditionListChars) return TooLong(kConditionTooLong, text, kMaxConditionListChars);
        if (const auto item = CheckConditionItems(text))
            return TooLong(kConditionTooLong, *item, kMaxConditionItemChars);
    }
    const std::wstring found = forbidden(text);
    if (found.empty()) return std::nullopt;
    return CheckMessage{variant == OrganiserVariant::Folder ? kFolderForbidden : kConditionForbidden, {found, text}};
}

int FirstEmptyEntry(const History& history) {
    const auto empty = std::find_if(history.begin(), history.end(), [](const auto& e) { return e.empty(); });
    return empty == history.end() ? -1 : static_cast<int>(empty - history.begin());
}

ActionOutcome Move(History& history, int row, int to) {
    ActionOutcome outcome{std::nullopt, kEmptyStatus};
    if (to < 0 || to > kLastRow) return outcome;
    std::swap(history[static_cast<std::size_t>(row)], history[static_cast<std::size_t>(to)]);
    outcome.refill = true;
    outcome.selectRow = to;
    return outcome;
}

ActionOutcome Delete(History& history, int row) {
    std::move(history.begin() + row + 1, history.end(), history.begin() + row);
    history.back().clear();
    return {std::nullopt, kEmptyStatus, true, row};
}

ActionOutcome Update(OrganiserVariant variant, History& history, int row, std::wstring_view editText,
                     const ForbiddenCharsFinder& forbidden) {
    std::wstring text(editText);
    const bool removed = RemoveControlCodes(text);
    if (auto error = CheckEntry(variant, text, forbidden)) return {std::move(error), kEmptyStatus};
    history[static_cast<std::size_t>(row)] = std::move(text);
    return {std::nullopt, removed ? kUpdatedWithoutControlCodes : kUpdated, true, row};
}

}  // namespace

const std::array<MessagePair, 4>& ConditionHistoryItems() {
    return kConditionHistoryItems;
}

WorkingHistories TakeWorkingHistories(const Settings& settings, OrganiserVariant variant) {
    WorkingHistories working{variant, {}};
    if (variant == OrganiserVariant::Folder) {
        working.lists.push_back(settings.PathHis);
        return working;
    }
    for (const auto history : kConditionHistories) working.lists.push_back(settings.*history);
    return working;
}

void StoreWorkingHistories(const WorkingHistories& working, Settings& settings) {
    if (working.variant == OrganiserVariant::Folder) {
        if (!working.lists.empty()) settings.PathHis = working.lists[0];
        return;
    }
    for (std::size_t i = 0; i < kConditionHistories.size() && i < working.lists.size(); ++i)
        settings.*kConditionHistories[i] = working.lists[i];
}

OrganiserStart FolderOrganiserStart(int folderHistorySelection) {
    return {0, SlotOrZero(folderHistorySelection)};
}

OrganiserStart ConditionOrganiserStart(int checkedRadio, const ConditionHistorySelection& selection) {
    if (checkedRadio == kSelectTarget) {
        if (selection[1] >= 0) return {1, selection[1]};
        return {0, SlotOrZero(selection[0])};
    }
    if (checkedRadio == kSelectExclude) {
        if (selection[3] >= 0) return {3, selection[3]};
        return {2, SlotOrZero(selection[2])};
    }
    return {0, 0};
}

FillPlan PlanHistoryFill(OrganiserVariant variant, bool opening, int shownList, int chosenList, bool busy,
                         int requestedRow) {
    FillPlan plan;
    if (variant == OrganiserVariant::Condition) {
        // Choosing the history already shown again keeps the rows, the edit and the status.
        if (chosenList == shownList && !busy) return plan;
        plan.clearEdit = chosenList != shownList && !busy;
    } else {
        plan.clearEdit = opening;
    }
    plan.fill = true;
    if (requestedRow >= 0)
        plan.selectRow = requestedRow;
    else
        plan.selectRow = busy ? -1 : 0;
    return plan;
}

bool ListNotificationClearsStatus(OrganiserVariant variant, bool busy, bool rowSelected) {
    if (busy) return false;
    return variant == OrganiserVariant::Condition || !rowSelected;
}

ActionOutcome ApplyOrganiserAction(OrganiserAction action, OrganiserVariant variant, History& history, int selectedRow,
                                   std::wstring_view editText, const ForbiddenCharsFinder& forbidden) {
    int row = selectedRow >= 0 && selectedRow <= kLastRow ? selectedRow : -1;
    if (row < 0 && action == OrganiserAction::Update) row = FirstEmptyEntry(history);
    if (row < 0) return {CheckMessage{kSelectRow, {}}, std::nullopt};
    switch (action) {
        case OrganiserAction::Up:
            return Move(history, row, row - 1);
        case OrganiserAction::Down:
            return Move(history, row, row + 1);
        case OrganiserAction::Delete:
            return Delete(history, row);
        case OrganiserAction::Update:
            return Update(variant, history, row, editText, forbidden);
    }
    return {};
}

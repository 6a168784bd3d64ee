// Decisions of the history organiser: the working copies of the histories,
// where it opens, how it refills its list, and its actions Up, Down, Delete
// and Update on the history shown.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "checks/check_message.h"
#include "pages/conditions_rules.h"
#include "settings.h"

enum class OrganiserVariant {
    Folder,     // PathHis, from the Copy-to page
    Condition,  // the four condition histories, from the Conditions page
};

enum class OrganiserAction { Up, Down, Delete, Update };

// The items of selector 1000 (condition variant), in the order of the lists.
const std::array<MessagePair, 4>& ConditionHistoryItems();

// Copies the organiser changes until OK: the folder variant holds PathHis,
// the condition variant TargetFileHis, ExNoTargetFileHis, NoTargetFileHis
// and ExTargetFileHis in the selector's order.
struct WorkingHistories {
    OrganiserVariant variant;
    std::vector<History> lists;
};

WorkingHistories TakeWorkingHistories(const Settings& settings, OrganiserVariant variant);

// OK: the working copies replace the histories of their variant.
void StoreWorkingHistories(const WorkingHistories& working, Settings& settings);

struct OrganiserStart {
    int list = 0;  // selector index (always 0 in the folder variant)
    int row = 0;
    bool operator==(const OrganiserStart&) const = default;
};

// The folder variant opens on the entry last chosen in combo 1000, else row 0.
OrganiserStart FolderOrganiserStart(int folderHistorySelection);

// The condition variant opens on the history and entry last used on the
// Conditions page, within the lists that its checked radio uses.
OrganiserStart ConditionOrganiserStart(int checkedRadio, const ConditionHistorySelection& selection);

struct FillPlan {
    bool fill = false;       // refill the rows from the working copy
    bool clearEdit = false;  // empty edit 500 and the status line first
    int selectRow = -1;      // row to select and focus; -1 none
    bool operator==(const FillPlan&) const = default;
};

// FillHistoryList: `shownList` is the history the rows show now (-1 none),
// `chosenList` the one to show; requestedRow -1 means none requested.
FillPlan PlanHistoryFill(OrganiserVariant variant, bool opening, int shownList, int chosenList, bool busy,
                         int requestedRow);

// Whether a notification of the list view empties the status line.
bool ListNotificationClearsStatus(OrganiserVariant variant, bool busy, bool rowSelected);

struct ActionOutcome {
    std::optional<CheckMessage> error;  // shown with the error icon; the history is unchanged
    std::optional<MessagePair> status;  // new text of the status line; nothing leaves it
    bool refill = false;                // refill the rows (with OrganiserBusy set) ...
    int selectRow = -1;                 // ... and select this row
};

// One action on `history` (the working copy of the list shown). `selectedRow`
// is the row both selected and focused, -1 for none; editText is edit 500;
// forbidden applies the folder-path rules (folder variant) or the condition
// rules (condition variant).
ActionOutcome ApplyOrganiserAction(OrganiserAction action, OrganiserVariant variant, History& history, int selectedRow,
                                   std::wstring_view editText, const ForbiddenCharsFinder& forbidden);

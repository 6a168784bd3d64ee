// The date condition of the Conditions page: the 49 items of list 1004 and
// the settings they stand for, what the page shows for the chosen item, and
// the checks of the two typed range dates at confirmation.
#pragma once

#include <string>
#include <vector>

#include "checks/check_message.h"
#include "dates.h"

constexpr int kDateItemCount = 49;

// The text of item 0 to 48 in the chosen language.
std::wstring DateItemText(int item, bool japanese);

struct DateCondition {
    int type = 0;   // UpdateDateType
    int value = 0;  // UpdateDateVal
    bool operator==(const DateCondition&) const = default;
};

// The settings an item stores; no selection (or any other index) stores no condition.
DateCondition DateConditionOfItem(int item);

// The item that shows a stored condition; a combination that no item shows selects item 0.
int DateItemOf(const DateCondition& condition);

struct DateDisplay {
    bool rangeEdits = false;  // 500, 1120, 501 and 1121 shown
    bool startLabel = false;  // 1122 shown
    std::wstring label;       // text of 1122
};

// Item 0 shows nothing, item 1 the two date edits, items 2 to 48 the first
// day of the period they select, counted back from today.
DateDisplay DateDisplayFor(int item, const Date& today);

// The year and day notes of a repaired date ("Year:%d -> %d ", "Day:%d -> %d "),
// each empty when that part was not repaired.
struct DateNotes {
    std::wstring year;
    std::wstring day;
};
DateNotes NotesOf(const ParsedDate& parsed);

struct DateChecks {
    std::vector<CheckMessage> notices;  // repaired dates, shown with the information icon before any failure
    CheckResult failure;
};

// The start date, the end date, then their order. A repairable date is
// rewritten "%d/%d/%d" in place and announced; a valid one stays as typed.
DateChecks CheckDates(std::wstring& start, std::wstring& end);

// The head of a copy result list: the selection conditions in force, the
// empty-folder rule and the compression note.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "run/conditions.h"
#include "settings.h"

// Everything the head shows, taken from the settings and the parsed
// conditions of the run.
struct ListHeader {
    int select = 0;
    int selectMode = 2;
    int updateDateType = 0;
    int updateDateVal = 0;
    int emptyDirNoCopy = 0;
    int dirTree = 0;
    int compressMode = 0;
    // Every copy of the source was read back and matched (Verify).
    bool verified = false;
    // Indexed by ConditionListId: the setting's text trimmed of blanks, or
    // the empty text when no pattern was found in it.
    std::array<std::wstring, 4> conditionTexts;
    DateBounds bounds;
};

ListHeader MakeListHeader(const Settings& settings, const SelectionConditions& conditions);

// The lines of the head in the current language, up to (not including) the
// root line.
std::vector<std::wstring> ListHeaderLines(const ListHeader& header);

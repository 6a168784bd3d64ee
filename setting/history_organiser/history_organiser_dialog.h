// The history organiser dialog (template 114): reorders, deletes and
// overwrites the entries of the destination-folder history (folder variant,
// from the Copy-to page) or of the four condition histories (condition
// variant, from the Conditions page). It works on copies; OK hands them to
// the settings and lets the calling page refill its lists.
#pragma once

#include <functional>

#include <windows.h>

#include "history_organiser/organiser_actions.h"
#include "settings.h"

// `settings` are the dialog's, whose histories OK replaces.
// `folderHistorySelection` is the entry last chosen in the page's folder
// list (-1 none); refreshList refills the page's list after OK.
void OpenFolderHistoryOrganiser(HWND owner, Settings& settings, int folderHistorySelection,
                                std::function<void()> refreshList);

// Opens on the history and row of `start`; refreshLists refills the page's four lists after OK.
void OpenConditionHistoryOrganiser(HWND owner, Settings& settings, const OrganiserStart& start,
                                   std::function<void()> refreshLists);

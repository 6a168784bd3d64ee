// Reading and operating a tree view of another process, as a person does
// with the mouse: expand an item, read the items' texts, select one.
#pragma once

#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

struct TreeItem {
    HTREEITEM item;
    std::wstring text;
};

// The children of an item after expanding it (which fills them in where the
// owner adds children on demand), or the root items when item is null.
std::vector<TreeItem> TreeChildren(HWND tree, HTREEITEM item);

// The selected item and its ancestors up to the root, selected item first.
std::vector<TreeItem> TreeSelectionPath(HWND tree);

// Selects an item (the owner is notified as for a click) and scrolls it into view.
bool SelectTreeItem(HWND tree, HTREEITEM item);

// The order of the entries in an archive: the same tree gives the same
// archive whichever walk listed it and whatever order the file system
// reported its entries in.
#pragma once

#include <string_view>
#include <vector>

#include "source_tree.h"

// Names of one folder in archive order: ordinal without regard to case,
// then ordinal, so names that differ only in case still have a fixed order.
bool NameComesFirst(std::wstring_view a, std::wstring_view b);

// Puts items into archive order: depth first, every folder before its
// contents, the names in each folder in the order of NameComesFirst. This is
// the order ScanSource gives a tree, so entries collected by another walk of
// the same tree make the same archive.
void SortIntoArchiveOrder(std::vector<SourceItem>& items);

// Decisions of the copy run that depend on the settings alone.
#pragma once

#include "settings.h"

// Neither add-string kind generates anything: the copy keeps the source's
// name, replaces an existing file and merges into an existing folder.
inline bool BothKindsNone(const Settings& s) {
    return s.AddStringsBef == 0 && s.AddStringsAft == 0;
}

// A date-and-time part is in the name, so a retry waits for the next second.
inline bool UsesDateTime(const Settings& s) {
    return s.AddStringsBef == 1 || s.AddStringsAft == 1;
}

// The copy is delivered as a Zip archive (a folder is copied into a hidden
// work folder first).
inline bool DeliversZip(const Settings& s) {
    return s.CompressMode == 1;
}

// A copy result list is written (beside the copy, or instead of it).
inline bool WritesList(const Settings& s) {
    return s.DirTree == 1 || s.DirTree == 2;
}
inline bool ListOnly(const Settings& s) {
    return s.DirTree == 2;
}

// With EmptyDirNoCopy, folders without a file to copy are left out. Either a
// source folder is tested before it is entered ...
inline bool PrecheckEmptyFolders(const Settings& s) {
    return s.EmptyDirNoCopy == 1 && (s.Select != 1 || s.DirTree == 2 || (BothKindsNone(s) && s.DirTree == 1));
}

// ... or the empty destination folders are removed after the walk.
inline bool RemoveEmptyFoldersAfterwards(const Settings& s) {
    return s.Select == 1 && s.EmptyDirNoCopy == 1 && s.DirTree != 2 && (!BothKindsNone(s) || s.DirTree != 1);
}

// When folders are removed afterwards and the name is new, the removal pass
// records the list entries; otherwise the walk records them.
inline bool WalkRecordsEntries(const Settings& s) {
    return WritesList(s) && !(s.Select == 1 && s.EmptyDirNoCopy == 1 && s.DirTree != 2 && !BothKindsNone(s));
}

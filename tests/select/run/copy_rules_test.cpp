#include <gtest/gtest.h>

#include "run/copy_rules.h"

TEST(CopyRules, WhereEmptyFoldersAreHandled) {
    Settings s;
    s.EmptyDirNoCopy = 1;
    s.Select = 1;
    s.AddStringsAft = 1;
    s.DirTree = 0;
    EXPECT_FALSE(PrecheckEmptyFolders(s));
    EXPECT_TRUE(RemoveEmptyFoldersAfterwards(s));
    s.DirTree = 1;
    EXPECT_TRUE(RemoveEmptyFoldersAfterwards(s));
    EXPECT_FALSE(WalkRecordsEntries(s));  // the removal pass records instead

    s.AddStringsAft = 0;  // both kinds none: merging into an existing folder
    EXPECT_TRUE(PrecheckEmptyFolders(s));
    EXPECT_FALSE(RemoveEmptyFoldersAfterwards(s));
    EXPECT_TRUE(WalkRecordsEntries(s));

    s.DirTree = 2;
    EXPECT_TRUE(PrecheckEmptyFolders(s));
    EXPECT_FALSE(RemoveEmptyFoldersAfterwards(s));
    s.Select = 0;
    s.DirTree = 0;
    EXPECT_TRUE(PrecheckEmptyFolders(s));
    EXPECT_FALSE(RemoveEmptyFoldersAfterwards(s));
    s.EmptyDirNoCopy = 0;
    EXPECT_FALSE(PrecheckEmptyFolders(s));
}

TEST(CopyRules, OddKindsAreNeverTakenAsNone) {
    // An unknown kind generates nothing but must not switch on replacing
    // existing files.
    Settings s;
    s.AddStringsBef = 7;
    s.AddStringsAft = 0;
    EXPECT_FALSE(BothKindsNone(s));
    EXPECT_FALSE(UsesDateTime(s));
}

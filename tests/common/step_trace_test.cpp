#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include "message_capture.h"
#include "paths.h"
#include "step_trace.h"
#include "test_files.h"

TEST(FailureLog, FirstNonZeroCodeFixesTheRecord) {
    FailureLog log;
    log.Record(L"CMC1", 0, 5);
    EXPECT_EQ(log.record().code, 0u);
    EXPECT_EQ(log.record().systemError, 5u);
    log.Record(L"CSM2", 1073, 2);
    log.Record(L"GSM1", 1090, 6);
    EXPECT_EQ(log.record().code, 1073u);
    EXPECT_EQ(log.record().systemError, 2u);
    EXPECT_EQ(log.trace(), L"ID:CMC1 CD:0x00000005\nID:CSM2 CD:0x00000002\nID:GSM1 CD:0x00000006\n");
}

TEST(FailureLog, ALineThatDoesNotFitIsDropped) {
    FailureLog log;
    const std::wstring longId(990, L'X');
    log.Record(longId, 1, 1);  // 990 + 17 characters fit
    const std::size_t afterFirst = log.trace().size();
    log.Record(L"SECOND", 1, 1);  // 23 more would pass 1,023
    EXPECT_EQ(log.trace().size(), afterFirst);
    log.ClearTrace();
    log.Record(L"SECOND", 1, 1);
    EXPECT_EQ(log.trace(), L"ID:SECOND CD:0x00000001\n");
}

TEST(DebugLog, FirstWriteStartsWithTheMarkAndEveryEntryEndsWithCrLf) {
    TempDir dir;
    const std::wstring log = dir / L"varo_debug.log";
    WriteDebugLog(log, L"ID:MP1 CD:0x00000000\n");
    WriteDebugLog(log, L"日本");
    std::wstring expected = L"ID:MP1 CD:0x00000000\n\r\n日本\r\n";
    EXPECT_EQ(ReadBytes(log), Utf16Bytes(expected, true));
}

TEST(DebugLog, UnwritableLogIsSilentAndLeavesWhatIsThere) {
    MessageCapture messages;
    TempDir dir;
    const std::wstring log = dir / L"varo_debug.log";
    MakeFolder(log);  // a folder where the file should be
    WriteDebugLog(log, L"x");
    EXPECT_TRUE(messages.boxes.empty());
    EXPECT_TRUE(IsFolder(log));
    EXPECT_TRUE(::PathIsDirectoryEmptyW(log.c_str()));
}

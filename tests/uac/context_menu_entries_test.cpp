#include <gtest/gtest.h>

#include "context_menu_entries.h"
#include "message_capture.h"
#include "step_trace.h"
#include "test_files.h"
#include "test_registry.h"
#include "uac_request.h"

namespace {

class ContextMenuEntries : public ::testing::Test {
protected:
    void SetUp() override {
        context.classesRoot = root.get();
        context.programFolder = folder.path();
        context.instanceSuffix = L"_e2e";
        WriteText(folder / L"VaroSelect.exe", "stand-in");
    }
    bool Registered() const {
        return root.HasKey(L"*\\shell\\VaroSelect_e2e\\Command") && root.HasKey(L"Folder\\shell\\VaroSelect_e2e");
    }
    bool NothingLeft() const {
        return !root.HasKey(L"*\\shell\\VaroSelect_e2e") && !root.HasKey(L"Folder\\shell\\VaroSelect_e2e");
    }

    TestClassesRoot root;
    TempDir folder;
    UacContext context;
};

}  // namespace

TEST_F(ContextMenuEntries, WrittenUnderBothRootsAndFoundByTheCheck) {
    EXPECT_EQ(CheckEntries(context), kEntriesMissing);
    ASSERT_EQ(WriteEntries(context, L"VaroSelect - Select Copy_e2e(&9)"), kEntriesOk);
    EXPECT_EQ(CheckEntries(context), kEntriesOk);
    for (const std::wstring root_ : {L"*\\shell", L"Folder\\shell"}) {
        EXPECT_EQ(root.Text(root_ + L"\\VaroSelect_e2e", nullptr), L"VaroSelect - Select Copy_e2e(&9)");
        EXPECT_EQ(root.Text(root_ + L"\\VaroSelect_e2e\\Command", nullptr),
                  L"\"" + folder.path() + L"VaroSelect.exe\" \"%1\"");
        // Stored sizes count the terminating NUL.
        EXPECT_EQ(root.Size(root_ + L"\\VaroSelect_e2e", L"Position"), sizeof(L"Middle"));
        EXPECT_EQ(root.Size(root_ + L"\\VaroSelect_e2e", L"SeparatorAfter"), sizeof(DWORD));
    }
}

TEST_F(ContextMenuEntries, MissingCopyToolIsCode2005AndWritesNothing) {
    ::DeleteFileW((folder / L"VaroSelect.exe").c_str());
    ThreadFailureLog().ClearRecord();
    EXPECT_EQ(WriteEntries(context, L"m"), kEntriesFailed);
    EXPECT_EQ(ThreadFailureLog().record().code, 2005u);
    EXPECT_TRUE(NothingLeft());
}

TEST_F(ContextMenuEntries, RemovingTwiceGivesNothingToRemove) {
    ASSERT_EQ(WriteEntries(context, L"m"), kEntriesOk);
    EXPECT_EQ(RemoveEntries(context, false), kEntriesOk);
    EXPECT_TRUE(NothingLeft());
    EXPECT_EQ(RemoveEntries(context, false), kEntriesMissing);
}

// Regression: an entry without its "Command" key was left behind and reported as nothing to remove.
TEST_F(ContextMenuEntries, HalfWrittenEntryIsRemoved) {
    root.MakeKey(L"*\\shell\\VaroSelect_e2e");
    EXPECT_EQ(RemoveEntries(context, false), kEntriesOk);
    EXPECT_TRUE(NothingLeft());
}

TEST_F(ContextMenuEntries, RequestsAndTheirAnswers) {
    MessageCapture boxes;
    struct Case {
        const char* what;
        bool registeredBefore;
        UacArguments arguments;
        ElevationStatus status;
        bool registeredAfter;
    };
    const Case cases[] = {
        {"register", false, {true, 2}, ElevationStatus::Done, true},
        {"register over old entries", true, {true, 2}, ElevationStatus::Done, true},
        {"remove", true, {false, 0}, ElevationStatus::Done, false},
        {"remove what is not there", false, {false, 0}, ElevationStatus::NothingToRemove, false},
        {"refresh what is there", true, {false, 1}, ElevationStatus::Done, true},
        {"refresh what is not there", false, {false, 1}, ElevationStatus::NothingDone, false},
    };
    for (const Case& c : cases) {
        (void)RemoveEntries(context, true);
        if (c.registeredBefore) {
            ASSERT_EQ(WriteEntries(context, L"old"), kEntriesOk);
        }
        const ElevationAnswer answer = HandleRequest(context, c.arguments, true);
        EXPECT_EQ(answer.status, c.status) << c.what;
        EXPECT_EQ(answer.failure.code, 0u) << c.what;
        EXPECT_EQ(Registered(), c.registeredAfter) << c.what;
        if (!c.registeredAfter) {
            EXPECT_TRUE(NothingLeft()) << c.what;
        }
    }
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ContextMenuEntries, WithoutRightsTheUserIsToldAndNothingChanges) {
    MessageCapture boxes;
    ASSERT_EQ(WriteEntries(context, L"old"), kEntriesOk);
    const ElevationAnswer answer = HandleRequest(context, UacArguments{false, 0}, false);
    EXPECT_EQ(answer, (ElevationAnswer{ElevationStatus::Failed, {2000, 0}}));
    EXPECT_TRUE(Registered());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.texts[0], L"Please start VaroUAC with administrator's privilege.");
    EXPECT_TRUE(boxes.boxes[0].style & MB_ICONINFORMATION);

    // A refresh without rights is not a failure: nothing was asked to change.
    EXPECT_EQ(HandleRequest(context, UacArguments{true, 1}, false).status, ElevationStatus::NothingDone);
    EXPECT_EQ(boxes.texts[1], L"VaroUACは管理者権限で起動してください。");
}

TEST_F(ContextMenuEntries, MalformedArgumentsLeaveTheRegistryAlone) {
    MessageCapture boxes;
    ASSERT_EQ(WriteEntries(context, L"old"), kEntriesOk);
    EXPECT_EQ(HandleRequest(context, std::nullopt, true), ElevationAnswer{});
    EXPECT_EQ(HandleRequest(context, std::nullopt, false), ElevationAnswer{});
    EXPECT_EQ(root.Text(L"*\\shell\\VaroSelect_e2e", nullptr), L"old");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ContextMenuEntries, FailedRegistrationAnswersTheFirstCodeAndLogsTheMenuText) {
    ::DeleteFileW((folder / L"VaroSelect.exe").c_str());
    context.debugLog = folder / L"varo_debug.log";
    const ElevationAnswer answer = HandleRequest(context, UacArguments{false, 2}, true);
    EXPECT_EQ(answer.status, ElevationStatus::Failed);
    EXPECT_EQ(answer.failure.code, 2005u);
    const std::wstring log = ReadUtf16File(context.debugLog);
    EXPECT_NE(log.find(L"ID:UAC-CMP3 CD:"), std::wstring::npos);
    EXPECT_NE(log.find(L"ID:VaroSelect - Select Copy_e2e(&9) CD:0x00000000"), std::wstring::npos);
}

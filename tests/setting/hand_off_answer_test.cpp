#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "hand_off_answer.h"
#include "kernel_objects.h"
#include "settings_hand_off.h"

namespace {

// The copy tool's side: the block and both events, as it creates them.
struct CopyToolSide {
    explicit CopyToolSide(std::wstring name)
        : key(std::move(name)),
          block(CreateSharedBlock(key)),
          setEvent(CreateExchangeEvent(AnswerSetEventName(key))),
          gotEvent(CreateExchangeEvent(AnswerGotEventName(key))) {}
    std::wstring key;
    UniqueKernelHandle block, setEvent, gotEvent;
};

}  // namespace

TEST(HandOffAnswer, WritesSignalsAndWaitsForTheCopyTool) {
    CopyToolSide copyTool(L"VARO_TEST_ANSWER_" + std::to_wstring(::GetCurrentProcessId()));
    ASSERT_TRUE(copyTool.block && copyTool.setEvent && copyTool.gotEvent);
    std::atomic<bool> returned = false;
    std::thread setting([&] {
        EXPECT_EQ(SendHandOffAnswer(copyTool.key, kAnswerThisRunOnly), 0);
        returned = true;
    });
    ASSERT_EQ(::WaitForSingleObject(copyTool.setEvent.get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ReadSharedBlock(copyTool.key).value_or(L"?"), L"1");
    EXPECT_FALSE(returned);
    ::SetEvent(copyTool.gotEvent.get());
    setting.join();
    EXPECT_TRUE(returned);
}

// Guards against the settings application waiting for ever on a copy tool that has ended.
TEST(HandOffAnswer, EndsWhenTheCopyToolHasGone) {
    auto copyTool = std::make_unique<CopyToolSide>(L"VARO_TEST_GONE_" + std::to_wstring(::GetCurrentProcessId()));
    const std::wstring key = copyTool->key;
    std::thread setting([&] { EXPECT_EQ(SendHandOffAnswer(key, kAnswerSaved), 0); });
    ASSERT_EQ(::WaitForSingleObject(copyTool->setEvent.get(), 10000), WAIT_OBJECT_0);
    copyTool.reset();  // ends without confirming
    setting.join();
}

TEST(HandOffAnswer, NoBlockNoAnswer) {
    EXPECT_EQ(SendHandOffAnswer(L"VARO_TEST_NO_SUCH_BLOCK", kAnswerSaved), -1);
}

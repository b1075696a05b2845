// The keyboard's link check against the virtual keyboard: by cable it is there without a
// word; through the receiver it asks with 0xAA, and a keyboard asleep behind its receiver is
// not there.

#include "KeyboardFixture.h"

namespace keyboardtest {
namespace {

using KeyboardLinkTest = KeyboardTest;

TEST_P(KeyboardLinkTest, TheReceiverIsAskedWhetherTheKeyboardAnswers) {
    board->ClearWireLog();
    receiver->ClearWireLog();
    if (!ThroughReceiver()) {
        receiver->SetDeviceAsleep(true); // a receiver's state means nothing by cable
        EXPECT_TRUE(keyboard->CheckReceiverLink());
        EXPECT_TRUE(board->WireLog().empty());
        EXPECT_TRUE(receiver->WireLog().empty());
        return;
    }

    EXPECT_TRUE(keyboard->CheckReceiverLink());
    ASSERT_EQ(Requests().size(), 1u);
    EXPECT_EQ(Requests()[0].command, 0xAA);
    EXPECT_EQ(Requests()[0].length, 0);
    EXPECT_TRUE(board->WireLog().empty());

    receiver->ClearWireLog();
    receiver->SetDeviceAsleep(true);
    EXPECT_FALSE(keyboard->CheckReceiverLink()) << "the keyboard sleeps behind its receiver";
    EXPECT_EQ(Commands(), Bytes{0xAA});

    receiver->SetDeviceAsleep(false);
    EXPECT_TRUE(keyboard->CheckReceiverLink()) << "awake again";

    keyboard->CommandChannel().open = false;
    receiver->ClearWireLog();
    EXPECT_FALSE(keyboard->CheckReceiverLink()) << "a closed channel reaches nothing";
    EXPECT_TRUE(receiver->WireLog().empty());
}

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardLinkTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest

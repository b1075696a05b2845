// The keyboard's notification threads against the virtual keyboard's event collection: what
// each usage does to the keyboard and asks of the window, and that stopping ends a thread
// blocked in its read.

#include "KeyboardFixture.h"
#include "NotificationTestSupport.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace keyboardtest {
namespace {

using devices::CKelvaneUSBDevice;
using transport::kKindKeyboard;
using transport::kKindKeyboardReceiver;

using devicetest::RecordingTarget;
using devicetest::Watchdog;

class KeyboardNotificationTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        keyboard->SetNotificationTarget(&target);
    }
    std::uint16_t Kind() const { return ThroughReceiver() ? kKindKeyboardReceiver : kKindKeyboard; }
    transport::CHidChannel& EventChannel(bool receiver) {
        transport::CDeviceComm& events = keyboard->EventChannel();
        return receiver ? events.ReceiverChannel() : events.CableChannel();
    }
    void Listen() {
        ASSERT_EQ(EventChannel(ThroughReceiver())
                      .Open(Wire().NotificationPath(), true, true, true, false),
                  1);
        keyboard->StartNotificationThread(Kind());
        ASSERT_TRUE(keyboard->IsNotificationThreadRunning(Kind()));
    }
    // Sends a profile switch and runs what it hands to the UI thread.
    void SwitchOnKeyboard(std::uint16_t usage) {
        ASSERT_TRUE(Wire().SendUsage(usage));
        ASSERT_TRUE(target.RunNextCall()) << std::hex << usage;
    }

    RecordingTarget target;
};

TEST_P(KeyboardNotificationTest, AProfileSwitchOnTheKeyboardIsFollowedWithoutACommand) {
    Listen();
    Wire().ClearWireLog();

    SwitchOnKeyboard(0x1151);
    EXPECT_EQ(keyboard->GetActiveProfile(), 1);
    EXPECT_EQ(keyboard->BlockCopy()[17], 5);

    SwitchOnKeyboard(0x1003);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 5) << "0x10pp leaves byte 17";

    SwitchOnKeyboard(0x1103);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 0);

    EXPECT_TRUE(Requests().empty()) << "following a switch asks the keyboard nothing";

    // With the command channel closed a switch changes nothing.
    keyboard->CommandChannel().open = false;
    SwitchOnKeyboard(0x1162);
    EXPECT_EQ(keyboard->GetActiveProfile(), 3);
    EXPECT_EQ(keyboard->BlockCopy()[17], 0);
}

TEST_P(KeyboardNotificationTest, AResyncRequestAsksTheItemForAStateReadAfter50Ms) {
    Listen();
    ASSERT_TRUE(Wire().SendUsage(0x0401));
    EXPECT_EQ(target.NextRead(), devices::kResyncDelayMs);
    // Usages above 0x0402 that are no profile switch, and reports naming none, do nothing:
    // the resync sent after them is the first thing the target hears.
    ASSERT_TRUE(Wire().SendUsage(0x0403));
    ASSERT_TRUE(Wire().SendUsage(0x1200));
    ASSERT_TRUE(Wire().SendUsage(0));
    ASSERT_TRUE(Wire().SendUsage(0x0402));
    EXPECT_EQ(target.NextRead(), devices::kResyncDelayMs);
    EXPECT_EQ(target.PendingCalls(), 0u);
    EXPECT_EQ(keyboard->GetActiveProfile(), 0);
}

TEST_P(KeyboardNotificationTest, StoppingEndsThreadsBlockedInTheirReads) {
    ASSERT_EQ(EventChannel(false).Open(board->NotificationPath(), true, true, true, false), 1);
    ASSERT_EQ(EventChannel(true).Open(receiver->NotificationPath(), true, true, true, false), 1);
    for (int round = 0; round < 100; ++round) {
        keyboard->StartNotificationThread(kKindKeyboard);
        keyboard->StartNotificationThread(kKindKeyboardReceiver);
        const Watchdog watchdog("stopping the notification threads");
        keyboard->StopNotificationThread(kKindKeyboard);
        keyboard->StopNotificationThread(kKindKeyboardReceiver);
        ASSERT_FALSE(keyboard->IsNotificationThreadRunning(kKindKeyboard)) << round;
        ASSERT_FALSE(keyboard->IsNotificationThreadRunning(kKindKeyboardReceiver)) << round;
    }
    // A thread still reads after all those stops.
    keyboard->StartNotificationThread(Kind());
    SwitchOnKeyboard(0x1004);
    EXPECT_EQ(keyboard->GetActiveProfile(), 4);

    // Quitting with both threads in their reads.
    keyboard->StartNotificationThread(kKindKeyboard);
    keyboard->StartNotificationThread(kKindKeyboardReceiver);
    const Watchdog watchdog("destroying the keyboard");
    keyboard.reset();
}

TEST_P(KeyboardNotificationTest, AThreadWhoseKeyboardWentWaitsToBeStopped) {
    Listen();
    ASSERT_TRUE(backend.Unplug(board));
    if (ThroughReceiver()) {
        ASSERT_TRUE(backend.Unplug(receiver));
    }
    EXPECT_TRUE(keyboard->IsNotificationThreadRunning(Kind()));
    const Watchdog watchdog("stopping a thread whose channel is gone");
    keyboard->StopNotificationThread(Kind());
    EXPECT_FALSE(keyboard->IsNotificationThreadRunning(Kind()));
}

INSTANTIATE_TEST_SUITE_P(Connections, KeyboardNotificationTest, ::testing::Bool(), KindName);

} // namespace
} // namespace keyboardtest

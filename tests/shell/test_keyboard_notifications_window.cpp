// The keyboard's notifications in the real main window over the virtual keyboard: binding the
// event interface starts the thread, a resync request has the device item read the keyboard's
// state, a profile switch reaches the keyboard object, and unplugging stops the thread.

#include "MainWindowFixture.h"
#include "devices/KelvaneKeyboardDevice.h"

namespace {

using test::MainWindowTest;

class KeyboardNotificationsWindowTest : public MainWindowTest {
protected:
    // Plugs the keyboard and waits until its first read is over (its lighting thread starts
    // last).
    devices::CKelvaneKeyboardDevice* PlugAndWait() {
        devices.Plug(board);
        if (!test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }))
            return nullptr;
        auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(wnd->CurrentDevice());
        if (!keyboard || !test::WaitUntil([&] { return keyboard->IsLightingThreadRunning(); }))
            return nullptr;
        return keyboard;
    }
    int StateReads() const {
        int reads = 0;
        for (const sim::WirePacket& p : board->WireLog())
            reads += p.direction == sim::WireDirection::Request && p.bytes[3] == 0x05 ? 1 : 0;
        return reads;
    }
    std::shared_ptr<sim::VirtualDevice> board =
        sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
};

TEST_F(KeyboardNotificationsWindowTest, TheKeyboardsRequestsAreFollowedUntilItIsUnplugged) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugAndWait();
    ASSERT_NE(keyboard, nullptr);
    ASSERT_TRUE(keyboard->IsNotificationThreadRunning(transport::kKindKeyboard));

    board->ClearWireLog();
    ASSERT_TRUE(board->SendUsage(0x0401));
    // The item's timer reads the active profile's number, then its block.
    ASSERT_TRUE(test::WaitUntil([&] { return StateReads() == 2; })) << StateReads();

    ASSERT_TRUE(board->SendUsage(0x1153));
    ASSERT_TRUE(test::WaitUntil([&] { return keyboard->GetActiveProfile() == 3; }));
    EXPECT_EQ(keyboard->BlockCopy()[17], 5);

    devices.Unplug(board);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 0; }));
    // The command interface and the event interface are lost one scan report after the other.
    test::WaitUntil([&] {
        return !keyboard->IsNotificationThreadRunning(transport::kKindKeyboard) &&
               !keyboard->EventChannel().CableChannel().IsOpen();
    });
    EXPECT_FALSE(keyboard->IsNotificationThreadRunning(transport::kKindKeyboard));
    EXPECT_FALSE(keyboard->EventChannel().CableChannel().IsOpen());
}

} // namespace

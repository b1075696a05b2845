// The mouse's notifications in the real main window over the virtual mouse: binding the event
// interface starts the cable thread, a resync request has the device item read the mouse's
// state, a page and stage switch reaches the mouse object, and closing the window ends the
// mouse's threads before the window goes.

#include "MainWindowFixture.h"
#include "devices/KelvaneMouseDevice.h"

namespace {

using test::MainWindowTest;

class MouseNotificationsWindowTest : public MainWindowTest {
protected:
    int StateReads() const {
        int reads = 0;
        for (const sim::WirePacket& p : mouse->WireLog())
            reads += p.direction == sim::WireDirection::Request && p.bytes[3] == 0x05 ? 1 : 0;
        return reads;
    }
    std::shared_ptr<sim::VirtualDevice> mouse = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
};

TEST_F(MouseNotificationsWindowTest, TheMousesRequestsAreFollowedUntilTheWindowCloses) {
    devices.Plug(mouse);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }));
    auto* device = dynamic_cast<devices::CKelvaneMouseDevice*>(wnd->CurrentDevice());
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] {
        return device->IsNotificationThreadRunning(transport::kKindMouse) &&
               device->IsPreviewThreadRunning();
    }));

    mouse->ClearWireLog();
    ASSERT_TRUE(mouse->SendUsage(0x0401));
    // The item's timer reads the current page, then its block in two packets.
    ASSERT_TRUE(test::WaitUntil([&] { return StateReads() == 3; })) << StateReads();

    ASSERT_TRUE(mouse->SendUsage(0x1123));
    ASSERT_TRUE(test::WaitUntil([&] { return device->GetCurrentPage() == 3; }));
    EXPECT_EQ(device->GetCurrentDpiStage(), 2);

    // The window goes with the mouse still bound and its threads in their waits.
    wnd.reset();
}

} // namespace

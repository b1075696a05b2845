// The mouse's notification threads against the virtual mouse's event collection, by cable and
// through the receiver: what each usage does to the mouse and asks of the window, and that
// stopping ends threads blocked in their reads.

#include "MouseFixture.h"
#include "NotificationTestSupport.h"

#include "devices/LightTables.h"
#include "devices/MousePreview.h"

namespace mousetest {
namespace {

using devicetest::RecordingTarget;
using devicetest::Watchdog;
using transport::kKindMouse;
using transport::kKindMouseReceiver;

class MouseNotificationTest : public MouseTest {
protected:
    void SetUp() override {
        MouseTest::SetUp();
        device->SetNotificationTarget(&target);
    }
    std::uint16_t Kind() const { return ThroughReceiver() ? kKindMouseReceiver : kKindMouse; }
    transport::CHidChannel& EventChannel(bool throughReceiver) {
        transport::CDeviceComm& events = device->EventChannel();
        return throughReceiver ? events.ReceiverChannel() : events.CableChannel();
    }
    void Listen() {
        ASSERT_EQ(EventChannel(ThroughReceiver())
                      .Open(Wire().NotificationPath(), true, true, true, false),
                  1);
        device->StartNotificationThread(Kind());
        ASSERT_TRUE(device->IsNotificationThreadRunning(Kind()));
    }
    // Sends a switch made on the mouse and runs what it hands to the UI thread.
    void SwitchOnMouse(std::uint16_t usage) {
        ASSERT_TRUE(Wire().SendUsage(usage));
        ASSERT_TRUE(target.RunNextCall()) << std::hex << usage;
    }
    void SetMode(std::uint8_t mode) {
        config::LightInfoRecord record = device->GetLightFields();
        record.selectItem = mode;
        device->SetLightFields(record);
    }

    RecordingTarget target;
};

TEST_P(MouseNotificationTest, PageAndStageSwitchesOnTheMouseAreFollowedWithoutACommand) {
    Listen();
    ClearWireLogs();

    SwitchOnMouse(0x1123);
    EXPECT_EQ(device->GetCurrentPage(), 3);
    EXPECT_EQ(device->GetCurrentDpiStage(), 2);

    SwitchOnMouse(0x1005);
    EXPECT_EQ(device->GetCurrentPage(), 5);
    EXPECT_EQ(device->GetCurrentDpiStage(), 2) << "0x10p leaves the stage";

    // A stage the mouse does not have keeps the current one.
    SwitchOnMouse(0x11F1);
    EXPECT_EQ(device->GetCurrentPage(), 1);
    EXPECT_EQ(device->GetCurrentDpiStage(), 2);

    EXPECT_TRUE(Requests().empty()) << "following a switch asks the mouse nothing";

    // 0x0402 and other usages do nothing: the resync after them is all the window hears.
    for (std::uint16_t usage : {0x0402, 0x1200, 0x0400, 0})
        ASSERT_TRUE(Wire().SendUsage(usage));
    ASSERT_TRUE(Wire().SendUsage(0x0401));
    EXPECT_EQ(target.NextRead(), devices::kMouseResyncDelayMs);
    EXPECT_EQ(target.PendingCalls(), 0u);
    EXPECT_EQ(device->GetCurrentPage(), 1);

    // With the command channel closed a switch changes nothing and asks nothing of the window.
    device->CommandChannel().open = false;
    ASSERT_TRUE(Wire().SendUsage(0x1134));
    ASSERT_TRUE(Wire().SendUsage(0x0401));
    EXPECT_EQ(target.NextRead(), devices::kMouseResyncDelayMs);
    EXPECT_EQ(target.PendingCalls(), 0u);
    EXPECT_EQ(device->GetCurrentPage(), 1);
    EXPECT_EQ(device->GetCurrentDpiStage(), 2);
}

TEST_P(MouseNotificationTest, AClickLightsTheReactivePreviewByCableOnly) {
    SetMode(devices::mousemode::kReactive);
    for (int i = 0; i < device->GetLedCount(); ++i)
        device->SetLedColour(i, {0, 0, 0, 0});
    Listen();
    ASSERT_TRUE(Wire().SendUsage(0x0403));
    ASSERT_TRUE(Wire().SendUsage(0x0401)); // the click has been handled once this arrives
    EXPECT_EQ(target.NextRead(), devices::kMouseResyncDelayMs);
    for (int i = 0; i < device->GetLedCount(); ++i) {
        const devices::LedColour led = device->GetLedColour(i);
        EXPECT_EQ(led.alpha, ThroughReceiver() ? 0 : 255) << i;
    }
    if (ThroughReceiver())
        return;
    // On a wheel entry, and fading with the frames: 255 is reached, then 15 less per frame.
    const devices::LedColour lit = device->GetLedColour(0);
    bool onWheel = false;
    for (std::size_t w = 0; w < devices::kWheelSize; ++w) {
        const devices::Rgb c = devices::Wheel(w);
        onWheel = onWheel || (c.red == lit.red && c.green == lit.green && c.blue == lit.blue);
    }
    EXPECT_TRUE(onWheel);
    device->StepEffect(0);
    EXPECT_EQ(device->GetLedColour(0).alpha, 255);
    device->StepEffect(0);
    EXPECT_EQ(device->GetLedColour(0).alpha, 240);

    // In another mode a click lights nothing.
    SetMode(devices::mousemode::kStatic);
    device->SetLedColour(0, {0, 0, 0, 0});
    ASSERT_TRUE(Wire().SendUsage(0x0403));
    ASSERT_TRUE(Wire().SendUsage(0x0401));
    EXPECT_EQ(target.NextRead(), devices::kMouseResyncDelayMs);
    EXPECT_EQ(device->GetLedColour(0).alpha, 0);
}

TEST_P(MouseNotificationTest, OnlyTheMouseKindsHaveThreadsAndStoppingEndsBlockedReads) {
    device->StartNotificationThread(transport::kKindKeyboard);
    device->StartNotificationThread(transport::kKindMousePad);
    EXPECT_FALSE(device->IsNotificationThreadRunning(transport::kKindKeyboard));
    EXPECT_FALSE(device->IsNotificationThreadRunning(transport::kKindMousePad));

    ASSERT_EQ(EventChannel(false).Open(mouse->NotificationPath(), true, true, true, false), 1);
    ASSERT_EQ(EventChannel(true).Open(receiver->NotificationPath(), true, true, true, false), 1);
    for (int round = 0; round < 100; ++round) {
        device->StartNotificationThread(kKindMouse);
        device->StartNotificationThread(kKindMouseReceiver);
        const Watchdog watchdog("stopping the mouse's notification threads");
        device->StopNotificationThread(kKindMouse);
        device->StopNotificationThread(kKindMouseReceiver);
        ASSERT_FALSE(device->IsNotificationThreadRunning(kKindMouse)) << round;
        ASSERT_FALSE(device->IsNotificationThreadRunning(kKindMouseReceiver)) << round;
    }
    // A thread still reads after all those stops.
    device->StartNotificationThread(Kind());
    SwitchOnMouse(0x1004);
    EXPECT_EQ(device->GetCurrentPage(), 4);

    // Destroyed with both threads in their reads and the preview running.
    device->StartNotificationThread(kKindMouse);
    device->StartNotificationThread(kKindMouseReceiver);
    device->StartPreviewThread();
    const Watchdog watchdog("destroying the mouse");
    device.reset();
}

INSTANTIATE_TEST_SUITE_P(Mouse, MouseNotificationTest, ::testing::Bool(), KindName);

} // namespace
} // namespace mousetest

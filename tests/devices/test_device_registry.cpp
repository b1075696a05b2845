// Binding and removal: the scan's slot events turn into device objects whose channels open,
// switch between cable and receiver, and close — against virtual devices.

#include "devices/DeviceRegistry.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "sim/VirtualDevice.h"
#include "sim/VirtualHidBackend.h"
#include "sim/VirtualProducts.h"
#include "support/RegistryForwarder.h"
#include "transport/DeviceScanThread.h"

#include <gtest/gtest.h>

namespace {

using namespace devices;
using namespace transport;
using sim::VirtualProduct;

class RecordingItems : public IDeviceItems {
public:
    void OnDeviceCreated(CKelvaneUSBDevice& d) override { Log("created", d); }
    void ShowItem(CKelvaneUSBDevice& d) override { Log("show", d); }
    void HideItem(CKelvaneUSBDevice& d) override { Log("hide", d); }
    void StartRefresh(CKelvaneUSBDevice& d, int ms) override {
        Log("refresh " + std::to_string(ms), d);
    }
    void ReceiverState(CKelvaneUSBDevice& d, int state) override {
        Log("receiver " + std::to_string(state), d);
    }
    // The device's own threads run, as in the window.
    void StartNotifications(CKelvaneUSBDevice& d, std::uint16_t kind) override {
        Log("notify " + std::to_string(kind), d);
        d.StartNotificationThread(kind);
    }
    void StopNotifications(CKelvaneUSBDevice& d, std::uint16_t kind) override {
        Log("stop " + std::to_string(kind), d);
        transport::CDeviceComm& events = d.EventChannel();
        const bool receiver =
            kind == transport::kKindKeyboardReceiver || kind == transport::kKindMouseReceiver;
        stoppedWhileOpen.push_back(receiver ? events.ReceiverChannel().IsOpen()
                                            : events.CableChannel().IsOpen());
        d.StopNotificationThread(kind);
    }
    std::vector<bool> stoppedWhileOpen;
    std::vector<std::string> Take() { return std::exchange(events, {}); }
    std::vector<std::string> events;

private:
    void Log(const std::string& what, CKelvaneUSBDevice& d) {
        events.push_back(what + " " + d.GetDeviceName());
    }
};

class RegistryTest : public ::testing::Test {
protected:
    std::vector<std::string> Scan() {
        scan.ScanOnce();
        auto events = items.Take();
        std::sort(events.begin(), events.end());
        return events;
    }
    sim::VirtualHidBackend backend;
    std::vector<DeviceSlot> slots = MakeSlotList();
    RecordingItems items;
    DeviceRegistry registry{slots, items, &backend};
    test::RegistryForwarder forwarder{registry};
    DeviceScanThread scan{slots, forwarder, &backend};
};

TEST_F(RegistryTest, APluggedKeyboardIsMadeOpenedAndShownThenClosedAndReattached) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    backend.Plug(keyboard);
    EXPECT_EQ(Scan(), (std::vector<std::string>{"created keyboard", "notify 1 keyboard",
                                                "refresh 500 keyboard", "show keyboard"}));
    ASSERT_EQ(registry.Devices().size(), 1u);
    CKelvaneUSBDevice* device = registry.Devices()[0];
    EXPECT_TRUE(device->CommandChannel().open);
    EXPECT_FALSE(device->CommandChannel().IsReceiverMode());
    EXPECT_EQ(device->CommandChannel().GetChunkSize(), 56);
    EXPECT_EQ(device->GetIdentity(), slots[0]);

    backend.Unplug(keyboard);
    EXPECT_EQ(Scan(), (std::vector<std::string>{"hide keyboard", "stop 1 keyboard"}));
    EXPECT_FALSE(device->CommandChannel().open);
    EXPECT_FALSE(device->CommandChannel().CableChannel().IsOpen());

    backend.Plug(keyboard);
    EXPECT_EQ(Scan(), (std::vector<std::string>{"notify 1 keyboard", "refresh 500 keyboard",
                                                "show keyboard"}))
        << "the same object is attached again";
    EXPECT_EQ(registry.Devices().size(), 1u);
    EXPECT_TRUE(device->CommandChannel().open);
}

TEST_F(RegistryTest, AKeyboardsNotificationThreadsRunWhileTheirEventChannelsAreOpen) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    auto receiver = sim::MakeVirtualReceiver(*keyboard);
    backend.Plug(keyboard);
    backend.Plug(receiver);
    Scan();
    auto* device = static_cast<devices::CKelvaneKeyboardDevice*>(registry.Devices().at(0));
    EXPECT_TRUE(device->IsNotificationThreadRunning(transport::kKindKeyboard));
    EXPECT_TRUE(device->IsNotificationThreadRunning(transport::kKindKeyboardReceiver));

    backend.Unplug(receiver);
    Scan();
    EXPECT_EQ(items.stoppedWhileOpen, std::vector<bool>{true}) << "stopped, then closed";
    EXPECT_FALSE(device->IsNotificationThreadRunning(transport::kKindKeyboardReceiver));
    EXPECT_FALSE(device->EventChannel().ReceiverChannel().IsOpen());
    EXPECT_TRUE(device->IsNotificationThreadRunning(transport::kKindKeyboard));
    EXPECT_TRUE(device->EventChannel().open) << "the cable's event channel stays";

    backend.Unplug(keyboard);
    Scan();
    EXPECT_FALSE(device->IsNotificationThreadRunning(transport::kKindKeyboard));
    EXPECT_FALSE(device->EventChannel().CableChannel().IsOpen());
    EXPECT_FALSE(device->EventChannel().open);
}

TEST_F(RegistryTest, KeyboardSwitchesFromCableToReceiverAndBack) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    auto receiver = sim::MakeVirtualReceiver(*keyboard);
    backend.Plug(keyboard);
    backend.Plug(receiver);
    Scan();
    CKelvaneUSBDevice* device = registry.Devices().at(0);
    EXPECT_FALSE(device->IsUsingReceiver()) << "with both present the cable is used";

    backend.Unplug(keyboard);
    EXPECT_EQ(Scan(), (std::vector<std::string>{"refresh 2000 keyboard", "stop 1 keyboard"}));
    EXPECT_TRUE(device->IsUsingReceiver());
    EXPECT_TRUE(device->CommandChannel().open);
    EXPECT_TRUE(device->CommandChannel().IsReceiverMode());
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(device->CommandChannel().ReadDeviceInfo(info), kCommSuccess)
        << "through the receiver";

    backend.Plug(keyboard);
    EXPECT_EQ(Scan(), (std::vector<std::string>{"notify 1 keyboard", "receiver 1 keyboard",
                                                "refresh 500 keyboard"}));
    EXPECT_FALSE(device->IsUsingReceiver());
    EXPECT_FALSE(device->CommandChannel().IsReceiverMode());
    EXPECT_EQ(registry.Devices().size(), 1u);
}

TEST_F(RegistryTest, ReceiversAloneMakeTheirDevicesUnderTheCableIdentity) {
    auto keyboard = sim::MakeVirtualDevice(VirtualProduct::Keyboard);
    auto mouse = sim::MakeVirtualDevice(VirtualProduct::Mouse);
    backend.Plug(sim::MakeVirtualReceiver(*keyboard));
    backend.Plug(sim::MakeVirtualReceiver(*mouse));
    EXPECT_EQ(Scan(), (std::vector<std::string>{"created keyboard", "created mouse",
                                                "notify 6 mouse", "notify 9 keyboard",
                                                "refresh 500 keyboard", "refresh 500 mouse"}))
        << "a receiver's item waits for its refresh to find the device";
    ASSERT_EQ(registry.Devices().size(), 2u);
    for (CKelvaneUSBDevice* device : registry.Devices()) {
        EXPECT_TRUE(device->CommandChannel().IsReceiverMode()) << device->GetDeviceName();
        EXPECT_EQ(device->CommandChannel().GetChunkSize(), 24) << device->GetDeviceName();
        EXPECT_TRUE(device->IsUsingReceiver()) << device->GetDeviceName();
    }
    CKelvaneUSBDevice* board = registry.DevicesOfKind(1).at(0);
    EXPECT_EQ(board->GetIdentity(), slots[0]);
    EXPECT_EQ(registry.DevicesOfKind(2).at(0)->GetIdentity(), slots[4]);
    std::array<std::uint8_t, kDeviceInfoSize> info{};
    EXPECT_EQ(board->CommandChannel().ReadDeviceInfo(info), kCommSuccess) << "through the receiver";

    // The cable arriving later takes over in the same object.
    backend.Plug(keyboard);
    Scan();
    EXPECT_EQ(registry.DevicesOfKind(1).size(), 1u);
    EXPECT_FALSE(board->IsUsingReceiver());
    EXPECT_FALSE(board->CommandChannel().IsReceiverMode());
}

} // namespace

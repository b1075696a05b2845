// The power items in the real main window over virtual devices: a wired keyboard shows no
// battery and is never asked for one; a device through its receiver shows its level and
// charging state, and the power timer shows the device's changes.

#include "MainWindowFixture.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "shell/selector/DeviceOptionUI.h"
#include "shell/selector/MpDevicePowerUI.h"
#include "sim/FactoryImages.h"
#include "sim/Firmware.h"
#include "ui/SliderUI.h"

namespace {

using test::MainWindowTest;

class PowerDisplayTest : public MainWindowTest {
protected:
    // Plugs the product and waits until its item shows; returns its device.
    devices::CKelvaneUSBDevice* PlugAndWait(const std::shared_ptr<sim::VirtualDevice>& product) {
        devices.Plug(product);
        if (!test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }))
            return nullptr;
        return wnd->CurrentDevice();
    }
    shell::CDeviceOptionUI* ItemOf(const devices::CKelvaneUSBDevice* device) const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() == device)
                return item;
        }
        return nullptr;
    }
    ui::CControlUI* Part(devices::CKelvaneUSBDevice* device, const char* name) {
        auto* power = dynamic_cast<shell::CMpDevicePowerUI*>(device->GetPowerItem());
        return power ? wnd->GetPaintManager().FindSubControlByName(power, name) : nullptr;
    }
    QString Percent(devices::CKelvaneUSBDevice* device) {
        ui::CControlUI* value = Part(device, "device_power_value");
        return value ? value->GetText() : QString();
    }
    static int StatusReads(const sim::VirtualDevice& product) {
        int reads = 0;
        for (const sim::WirePacket& p : product.WireLog())
            reads += p.direction == sim::WireDirection::Request && p.bytes[3] == 0x1A ? 1 : 0;
        return reads;
    }
};

TEST_F(PowerDisplayTest, AWiredKeyboardShowsNoBatteryAndIsNotAskedForOne) {
    auto board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
    devices::CKelvaneUSBDevice* keyboard = PlugAndWait(board);
    ASSERT_NE(keyboard, nullptr);
    // Past its refresh: the keyboard's tables have been read.
    auto* tables = dynamic_cast<devices::CKelvaneKeyboardDevice*>(keyboard);
    ASSERT_NE(tables, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return tables->Maps().keys[64] != devices::kNoDeviceKey; }));
    ASSERT_NE(Part(keyboard, "device_power_Layout"), nullptr);
    EXPECT_FALSE(Part(keyboard, "device_power_Layout")->IsVisible());
    EXPECT_EQ(StatusReads(*board), 0);
}

struct Wireless {
    sim::VirtualProduct product;
    const char* name;
    int battery; // as the product leaves the factory
};

class WirelessPowerTest : public PowerDisplayTest,
                          public ::testing::WithParamInterface<Wireless> {};

TEST_P(WirelessPowerTest, ShowsTheLevelAndChargingStateAndThePowerTimerRefreshesThem) {
    auto product = sim::MakeVirtualDevice(GetParam().product);
    devices::CKelvaneUSBDevice* device = PlugAndWait(product);
    ASSERT_NE(device, nullptr);
    const QString factory = QString::number(GetParam().battery) + "%";
    ASSERT_TRUE(test::WaitUntil([&] { return Percent(device) == factory; }))
        << Percent(device).toStdString();
    EXPECT_TRUE(Part(device, "device_power_Layout")->IsVisible());
    EXPECT_EQ(Part(device, "device_power_status")->GetBkImage(), "file='power/power.png'");
    EXPECT_FALSE(Part(device, "device_phone_type")->IsVisible()) << "only a mouse pad's";
    auto* bar = ui::control_cast<ui::CProgressUI>(Part(device, "device_Power_progress"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetValue(), 100 - GetParam().battery);

    // Put on charge over the air: the next power timer shows it.
    ASSERT_TRUE(product->DeviceFirmware().WriteArea(
        sim::FirmwareArea::Status, 0, sim::MakePowerStatus(40, sim::Charging::Charging, true)));
    shell::CDeviceOptionUI* item = ItemOf(device);
    ASSERT_NE(item, nullptr);
    item->DoTimer(shell::CDeviceOptionUI::kTimerPower);
    EXPECT_EQ(Percent(device).toStdString(), "40%");
    EXPECT_EQ(bar->GetValue(), 60);
    EXPECT_FALSE(bar->IsVisible()) << "charging over the air hides the bar";
    EXPECT_EQ(Part(device, "device_power_status")->GetBkImage(),
              "file='power/wuxian_powering.png'");
}

INSTANTIATE_TEST_SUITE_P(
    Receivers, WirelessPowerTest,
    ::testing::Values(Wireless{sim::VirtualProduct::KeyboardReceiver, "Keyboard", 85},
                      Wireless{sim::VirtualProduct::MouseReceiver, "Mouse", 70}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

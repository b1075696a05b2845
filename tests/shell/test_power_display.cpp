// The power items in the real main window over virtual devices: a wired keyboard shows no
// battery and is never asked for one; a device through its receiver shows its level and
// charging state, and the power timer shows the device's changes. Each item and each page
// that draws its device show the device's drawing on its cable or with its receiver.

#include "MainWindowFixture.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "shell/selector/DeviceOptionUI.h"
#include "shell/selector/MpDevicePowerUI.h"
#include "sim/FactoryImages.h"
#include "sim/Firmware.h"
#include "ui/SliderUI.h"

#include <QImage>
#include <QPixmap>

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

// The control drawn at twice the screen's density, where a drawing is rendered afresh rather
// than stretched: something shows, so the file is there and readable.
::testing::AssertionResult PaintsAtDoubleDensity(ui::CControlUI* control) {
    QWidget* widget = control->GetWidget();
    if (widget->width() <= 0 || widget->height() <= 0)
        return ::testing::AssertionFailure() << "not laid out";
    QPixmap pixmap(widget->size() * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    widget->render(&pixmap, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 255)
                return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "blank at ratio 2";
}

struct Pictured {
    sim::VirtualProduct product;
    const char* name;
    const char* picture; // in the power item
    const char* body;    // on the page, empty for a page without one
};

class DevicePictureTest : public PowerDisplayTest,
                          public ::testing::WithParamInterface<Pictured> {};

TEST_P(DevicePictureTest, ThePowerItemAndThePageShowTheDeviceAsItIsConnected) {
    devices::CKelvaneUSBDevice* device = PlugAndWait(sim::MakeVirtualDevice(GetParam().product));
    ASSERT_NE(device, nullptr);
    ui::CControlUI* picture = Part(device, "device_power_picture");
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return picture->GetBkImage() == GetParam().picture; }))
        << picture->GetBkImage().toStdString();
    ASSERT_TRUE(test::WaitUntil([&] { return picture->GetWidget()->isVisible(); }));
    EXPECT_TRUE(PaintsAtDoubleDensity(picture));

    auto* body = wnd->Find<ui::CControlUI>("device_body");
    if (!*GetParam().body) {
        EXPECT_EQ(body, nullptr);
        return;
    }
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->GetBkImage(), GetParam().body);
    ASSERT_TRUE(test::WaitUntil([&] { return body->GetWidget()->isVisible(); }));
    EXPECT_TRUE(PaintsAtDoubleDensity(body));
}

INSTANTIATE_TEST_SUITE_P(
    Products, DevicePictureTest,
    ::testing::Values(Pictured{sim::VirtualProduct::Keyboard, "Keyboard",
                               "devices/keyboard-cable.svg", ""},
                      Pictured{sim::VirtualProduct::KeyboardReceiver, "KeyboardReceiver",
                               "devices/keyboard-receiver.svg", ""},
                      Pictured{sim::VirtualProduct::Mouse, "Mouse", "devices/mouse-cable.svg",
                               "devices/mouse-body-cable.svg"},
                      Pictured{sim::VirtualProduct::MouseReceiver, "MouseReceiver",
                               "devices/mouse-receiver.svg", "devices/mouse-body-receiver.svg"},
                      Pictured{sim::VirtualProduct::MousePad, "MousePad", "devices/mousepad.svg",
                               "devices/mousepad-body.svg"},
                      Pictured{sim::VirtualProduct::Headset, "Headset", "devices/headset.svg", ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// A device's power item: the battery record shown as text, bar and pictures.

#include "selector_fixture.h"
#include "ui/SliderUI.h"

#include <QIcon>
#include <QPixmap>

namespace selector_test {
namespace {

using shell::CMpDevicePowerUI;
using shell::PowerStatusRecord;

TEST(PowerStatusRecord, IsCutOrPaddedTo64Bytes) {
    std::vector<std::uint8_t> longer(70, 0x11);
    const auto cut = PowerStatusRecord::From(longer);
    EXPECT_EQ(cut.bytes[63], 0x11);
    const std::uint8_t shortData[] = {55, 1};
    const auto padded = PowerStatusRecord::From(shortData);
    EXPECT_EQ(padded.Battery(), 55);
    EXPECT_EQ(padded.Charging(), 1);
    EXPECT_EQ(padded.PhoneType(), 0);
    EXPECT_FALSE(padded.Wireless());
}

class PowerItem : public SelectorFixture {
protected:
    CMpDevicePowerUI& Power(int index) { return *powers[static_cast<std::size_t>(index)]; }
    ui::CControlUI* Part(int index, const char* name) {
        return pm.FindSubControlByName(&Power(index), QString::fromLatin1(name));
    }
    ui::CProgressUI* Bar(int index) {
        return ui::control_cast<ui::CProgressUI>(Part(index, "device_Power_progress"));
    }
};

TEST_F(PowerItem, ChargingWithoutWirelessShowsPercentBarAndPicture) {
    AddDevice(0); // a mouse
    const std::uint8_t record[] = {30, 1, 0, 0};
    Power(0).ShowStatus(record);
    EXPECT_EQ(Part(0, "device_power_value")->GetText(), "30%");
    ASSERT_NE(Bar(0), nullptr);
    EXPECT_EQ(Bar(0)->GetValue(), 70);
    EXPECT_TRUE(Bar(0)->IsVisible());
    EXPECT_EQ(Part(0, "device_power_status")->GetBkImage(), "file='power/powering.png'");
    EXPECT_FALSE(Part(0, "device_wuxian_logo")->IsVisible());

    const std::uint8_t wireless[] = {80, 1, 0, 1};
    Power(0).ShowStatus(wireless);
    EXPECT_FALSE(Bar(0)->IsVisible()) << "charging over the air hides the bar";
    EXPECT_EQ(Part(0, "device_power_status")->GetBkImage(), "file='power/wuxian_powering.png'");
    EXPECT_TRUE(Part(0, "device_wuxian_logo")->IsVisible());

    const std::uint8_t full[] = {100, 0, 0, 1};
    Power(0).ShowStatus(full);
    EXPECT_TRUE(Bar(0)->IsVisible());
    EXPECT_EQ(Bar(0)->GetValue(), 0);
    EXPECT_EQ(Part(0, "device_power_status")->GetBkImage(), "file='power/powered.png'");
    const std::uint8_t battery[] = {5, 2, 0, 0};
    Power(0).ShowStatus(battery);
    EXPECT_EQ(Part(0, "device_power_status")->GetBkImage(), "file='power/power.png'");
    EXPECT_EQ(Part(0, "device_power_value")->GetText(), "5%");

    Power(0).ShowLayout(false);
    EXPECT_FALSE(Part(0, "device_power_Layout")->IsVisible());
}

TEST_F(PowerItem, OnlyTheMousePadShowsThePhone) {
    AddDevice(2); // mouse pad
    AddDevice(1); // keyboard
    EXPECT_EQ(Power(0).GetKind(), 3);
    const std::uint8_t samsung[] = {50, 2, 2, 0};
    Power(0).ShowStatus(samsung);
    EXPECT_EQ(Part(0, "device_phone_type")->GetBkImage(), "file='power/Phone_type_samsung.svg'");
    const std::uint8_t unknown[] = {50, 2, 9, 0};
    Power(0).ShowStatus(unknown);
    EXPECT_EQ(Part(0, "device_phone_type")->GetBkImage(), "file='power/Phone_type_no_device.svg'");

    const QString before = Part(1, "device_phone_type")->GetBkImage();
    const std::uint8_t iphone[] = {50, 2, 1, 1};
    Power(1).ShowStatus(iphone);
    EXPECT_EQ(Part(1, "device_phone_type")->GetBkImage(), before);
    EXPECT_FALSE(Part(1, "device_wuxian_logo")->IsVisible()) << "the logo is the mouse's";
}

TEST_F(PowerItem, EachPhoneIsADrawingTheSkinHas) {
    AddDevice(2); // mouse pad
    for (std::uint8_t type = 0; type <= 3; ++type) {
        SCOPED_TRACE(type);
        const std::uint8_t record[] = {50, 2, type, 0};
        Power(0).ShowStatus(record);
        QString file = Part(0, "device_phone_type")->GetBkImage();
        file = file.section(QLatin1Char('\''), 1, 1); // inside file='...'
        EXPECT_TRUE(file.endsWith(QLatin1String(".svg"))) << file.toStdString();
        EXPECT_FALSE(QIcon(env.SkinFolder() + file).pixmap(QSize(16, 24), 2.0).isNull())
            << file.toStdString();
    }
}

} // namespace
} // namespace selector_test

// On-screen key buttons: the light and key-set overlays, the colour seen by device objects,
// and their mouse notifications.

#include "ControlsFixture.h"
#include "shell/controls/DeviceKeyButtonUI.h"

#include <QTest>

namespace {

using shell::CDeviceKeyButtonUI;

class DeviceKeyButtonTest : public test::ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        WriteImage("light.png", {8, 8}, Qt::white);
        WriteImage("keyset.png", {8, 8}, Qt::blue);
        Build(R"(<VerticalLayout name="root" bkcolor="#FF000000">
  <DeviceKeyButton name="key_4" width="40" height="40" lightimage="light.png"
      keysetimage="keyset.png" gmnametextcolor="#00FF00"/>
  <DeviceKeyButton name="key_5" width="40" height="40" enabled="false"/>
  <Control/>
</VerticalLayout>)");
        key = Get<CDeviceKeyButtonUI>("key_4");
    }
    QColor Centre() { return PixelAt(key, {20, 20}); }
    CDeviceKeyButtonUI* key = nullptr;
};

TEST_F(DeviceKeyButtonTest, DrawsTheLightImageInTheKeysColourAndTheKeySetImageOnTop) {
    EXPECT_EQ(key->GetGameNameTextColor(), 0x00FF00u);
    const QColor unlit = Centre();
    EXPECT_NEAR(unlit.red(), unlit.green(), 10) << "no light colour, no overlay";

    key->SetColour(devices::LedColour{0xFF, 0x00, 0x00, 0xFF});
    const QColor lit = Centre();
    EXPECT_GT(lit.red(), 200);
    EXPECT_LT(lit.green(), unlit.green() / 2) << "the light image over the button at fade 200";
    EXPECT_LT(lit.blue(), unlit.blue() / 2);

    key->SetKeySetImageHidden(false);
    const QColor keySet = Centre();
    EXPECT_GT(keySet.blue(), 200);
    EXPECT_LT(keySet.red(), 50);
}

TEST_F(DeviceKeyButtonTest, TheLedsBrightnessDimsTheLightAndAKeyWithoutLightImageGlows) {
    key->SetColour(devices::LedColour{0xFF, 0x00, 0x00, 0xFF});
    const int full = Centre().red();
    key->SetColour(devices::LedColour{0xFF, 0x00, 0x00, 0x40});
    const int dim = Centre().red();
    key->SetColour(devices::LedColour{0xFF, 0x00, 0x00, 0x00});
    const int dark = Centre().red();
    EXPECT_GT(full, dim);
    EXPECT_GT(dim, dark) << "a breathing LED must show on the key";

    auto* plain = Get<CDeviceKeyButtonUI>("key_5");
    plain->SetColour(devices::LedColour{0x00, 0xFF, 0x00, 0xFF});
    const QColor glow = PixelAt(plain, {20, 20});
    EXPECT_GT(glow.green(), glow.red() + 40) << "no light image: the key is filled";
    EXPECT_GT(PixelAt(plain, {2, 20}).green(), glow.green()) << "and its rim is brighter";
}

TEST_F(DeviceKeyButtonTest, GivesDeviceObjectsBackTheColourTheySet) {
    devices::LedColour colour{};
    EXPECT_FALSE(key->GetColour(colour)) << "a new key has no colour";
    key->SetColour(devices::LedColour{0x12, 0x34, 0x56, 0x80});
    ASSERT_TRUE(key->GetColour(colour));
    EXPECT_EQ(colour, (devices::LedColour{0x12, 0x34, 0x56, 0x80}));
    EXPECT_EQ(key->GetLightColor(), 0x80123456u);
    key->SetVisible(false);
    EXPECT_FALSE(static_cast<devices::IKeyButton*>(key)->IsVisible());
}

TEST_F(DeviceKeyButtonTest, ClicksAndDoubleClicksOfEnabledKeysOnly) {
    QTest::mouseClick(key, Qt::LeftButton);
    EXPECT_EQ(Take(), QStringList{"click:key_4"});
    QTest::mouseDClick(key, Qt::LeftButton);
    QTest::mouseRelease(key, Qt::LeftButton);
    EXPECT_TRUE(Take().contains("dbclick:key_4"));

    QTest::mouseClick(W("key_5"), Qt::LeftButton);
    QTest::mouseDClick(W("key_5"), Qt::LeftButton);
    EXPECT_TRUE(Take().isEmpty());
}

} // namespace

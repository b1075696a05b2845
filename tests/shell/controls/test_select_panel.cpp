// Rubber-band selection of on-screen keys in the select panel.

#include "ControlsFixture.h"
#include "shell/DevicePanelBinding.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/controls/SelectPanelUI.h"

#include <QTest>

namespace {

using shell::CDeviceKeyButtonUI;

class SelectPanelTest : public test::ControlsFixture {
protected:
    void SetUp() override {
        ControlsFixture::SetUp();
        Build(R"(<VerticalLayout name="root">
  <SelectPanel name="device_key_light" width="500" height="300">
    <DeviceKeyButton name="key_0" float="true" pos="20,20,60,60"/>
    <DeviceKeyButton name="key_1" float="true" pos="100,20,140,60"/>
    <DeviceKeyButton name="key_2" float="true" pos="300,200,340,240"/>
    <Control name="spacer" float="true" pos="200,100,240,140"/>
  </SelectPanel>
</VerticalLayout>)");
    }
    void Band(QPoint from, QPoint to) {
        QWidget* panel = W("device_key_light");
        QTest::mousePress(panel, Qt::LeftButton, {}, from);
        QTest::mouseMove(panel, (from + to) / 2);
        QTest::mouseMove(panel, to);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, to);
    }
    std::uint32_t Flag(const char* key) { return Get<CDeviceKeyButtonUI>(key)->IsSelectedByBand(); }
};

TEST_F(SelectPanelTest, BandSelectsExactlyTheKeysItTouchesAndReportsOnce) {
    // Drawn from bottom right to top left: the rectangle is ordered either way.
    Band({150, 90}, {40, 5});
    EXPECT_EQ(Take(), QStringList{"click_select_end:device_key_light"});
    EXPECT_TRUE(Flag("key_0"));
    EXPECT_TRUE(Flag("key_1"));
    EXPECT_FALSE(Flag("key_2"));
    EXPECT_EQ(Get<shell::CSelectPanelUI>("device_key_light")->GetSelectionRect(),
              QRect(QPoint(40, 5), QPoint(150, 90)));

    // A second band replaces the first selection.
    Band({280, 180}, {360, 260});
    EXPECT_EQ(Take(), QStringList{"click_select_end:device_key_light"});
    EXPECT_FALSE(Flag("key_0"));
    EXPECT_FALSE(Flag("key_1"));
    EXPECT_TRUE(Flag("key_2"));
}

TEST_F(SelectPanelTest, BandOverNoKeyClearsEveryFlagAndStillReports) {
    Band({10, 10}, {360, 260});
    Take();
    Band({380, 10}, {480, 120});
    EXPECT_EQ(Take(), QStringList{"click_select_end:device_key_light"});
    for (const char* key : {"key_0", "key_1", "key_2"})
        EXPECT_FALSE(Flag(key)) << key;
}

TEST_F(SelectPanelTest, ClickWithoutDraggingSelectsNothing) {
    Band({10, 10}, {70, 70});
    Take();
    QTest::mouseClick(W("device_key_light"), Qt::LeftButton, {}, QPoint(450, 250));
    EXPECT_TRUE(Take().isEmpty());
    EXPECT_TRUE(Flag("key_0")) << "the last band's selection stays";

    // A click on a key is the key's own click, not a band.
    QTest::mouseClick(W("key_1"), Qt::LeftButton);
    EXPECT_EQ(Take(), QStringList{"click:key_1"});
    EXPECT_FALSE(Flag("key_1"));
}

TEST_F(SelectPanelTest, DevicePanelBindingFindsTheRealKeyButtons) {
    const auto buttons = shell::CollectPanelButtons(Find("root"));
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[2].name, "key_2");
    EXPECT_EQ(buttons[2].button,
              static_cast<devices::IKeyButton*>(Get<CDeviceKeyButtonUI>("key_2")));
}

} // namespace

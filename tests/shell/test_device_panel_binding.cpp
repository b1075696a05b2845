// A device page's buttons found in a skin, and its tab layouts switched by function page.

#include "devices/DeviceModels.h"
#include "shell/DevicePanelBinding.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlFactory.h"
#include "ui/DialogBuilder.h"
#include "ui/PaintManagerUI.h"

#include <gtest/gtest.h>

namespace {

// Stand-ins for the custom controls the device pages are made of.
class FakeSelectPanel : public ui::CVerticalLayoutUI {
public:
    QString GetClass() const override { return QStringLiteral("SelectPanel"); }
};

class FakeKeyButton : public ui::CButtonUI, public devices::IKeyButton {
public:
    QString GetClass() const override { return QStringLiteral("DeviceKeyButton"); }
    bool IsVisible() const override { return CControlUI::IsVisible(); }
    bool GetColour(devices::LedColour& c) const override {
        c = colour;
        return true;
    }
    void SetColour(const devices::LedColour& c) override { colour = c; }
    devices::LedColour colour{0, 0, 0, 0};
};

TEST(DevicePanelBinding, BindsTheButtonsOfTheSelectPanelAndSwitchesTabs) {
    test::ScopedEnvironment env(true);
    auto& factory = ui::CControlFactory::GetInstance();
    factory.RegistControl("CSelectPanelUI",
                          [] { return static_cast<ui::CControlUI*>(new FakeSelectPanel); });
    factory.RegistControl("CDeviceKeyButtonUI",
                          [] { return static_cast<ui::CControlUI*>(new FakeKeyButton); });
    env.WriteSkinFile("page.xml", R"(<HorizontalLayout name="page">
  <DeviceKeyButton name="key_9" userdata="light_9"/>
  <SelectPanel>
    <DeviceKeyButton name="key_0" userdata="light_1"/>
    <HorizontalLayout><DeviceKeyButton name="key_2"/></HorizontalLayout>
  </SelectPanel>
  <TabLayout name="device_function_switch"><Control/><Control/><Control/><Control/></TabLayout>
  <TabLayout name="device_key_function_switch"><Control/><Control/><Control/></TabLayout>
</HorizontalLayout>)");
    ui::CPaintManagerUI pm;
    ui::CDialogBuilder builder;
    ui::CControlUI* page = builder.Create("page.xml", nullptr, &pm);
    ASSERT_NE(page, nullptr) << builder.GetLastError().toStdString();
    std::unique_ptr<QWidget> keep(page->GetWidget());

    const auto buttons = shell::CollectPanelButtons(page);
    ASSERT_EQ(buttons.size(), 2u) << "only the select panel's buttons";
    EXPECT_EQ(buttons[0].name, "key_0");
    EXPECT_EQ(buttons[0].userData, "light_1");
    EXPECT_EQ(buttons[1].name, "key_2");

    auto keyboard = devices::CreateDeviceForModel(1);
    keyboard->BindPanelControls(buttons);
    EXPECT_EQ(keyboard->GetKeyButton(0), buttons[0].button);
    EXPECT_EQ(keyboard->GetLightButton(1), buttons[0].button);

    shell::SkinDevicePanel panel(pm, page);
    keyboard->SetPanel(&panel);
    keyboard->SetFunctionPage(5);
    EXPECT_EQ(
        dynamic_cast<ui::CTabLayoutUI*>(pm.FindControl("device_function_switch"))->GetCurSel(), 2);
    keyboard->SetFunctionPage(7);
    EXPECT_EQ(
        dynamic_cast<ui::CTabLayoutUI*>(pm.FindControl("device_function_switch"))->GetCurSel(), 0);
    EXPECT_EQ(
        dynamic_cast<ui::CTabLayoutUI*>(pm.FindControl("device_key_function_switch"))->GetCurSel(),
        2);
}

} // namespace

// The mouse and mouse pad pages in the real main window over the virtual devices: a DPI slider
// moved by the user lands in the mouse's configuration block, stages switched off leave the
// last one locked in the cycle, a button given another function reaches the mouse's key table,
// the sole left click cannot be reassigned, the recoil editor sends its image, the pad's effect
// reaches the pad's light block, and a watched page shows the preview's colours on its LEDs.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneMouseDevice.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/keyset/KeySetControlUI.h"
#include "shell/keyset/KeySetRoutes.h"
#include "shell/light/LightRoutes.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

namespace {

constexpr int kKindMouse = 2;
constexpr int kKindPad = 3;
// The configuration block in the mouse's memory: stage i's 9 bytes from 14 (enable, XY flag,
// DPI X low, high, ...); the current stage at 12.
constexpr std::size_t kStagesAt = 14;
constexpr std::size_t kStageSize = 9;
constexpr std::size_t kCurrentStageAt = 12;

class MousePageTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        devices.Plug(wire);
        ASSERT_TRUE(test::WaitUntil([&] { return Item(kKindMouse) != nullptr; }));
        mouse = dynamic_cast<devices::CKelvaneMouseDevice*>(Item(kKindMouse)->GetDevice());
        ASSERT_NE(mouse, nullptr);
        MakeCurrent(kKindMouse);
        // The item reads the mouse's tables once it is shown.
        ASSERT_TRUE(test::WaitUntil([&] { return mouse->GetDeviceButtonCount() > 0; }, 3000));
    }
    shell::CDeviceOptionUI* Item(int kind) const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() && item->GetDevice()->GetDeviceKind() == kind)
                return item;
        }
        return nullptr;
    }
    void MakeCurrent(int kind) {
        auto* select = ui::control_cast<ui::COptionUI>(
            wnd->GetPaintManager().FindSubControlByName(Item(kind), "device_select"));
        ASSERT_NE(select, nullptr);
        QTest::mouseClick(select, Qt::LeftButton);
        ASSERT_EQ(wnd->CurrentDevice(), Item(kind)->GetDevice());
    }
    // A control of the current device's page (the same names are on every device's page).
    template <class T = ui::CControlUI> T* On(const QString& name) const {
        auto* pages = wnd->Find<ui::CTabLayoutUI>("device_switch");
        shell::CDeviceOptionUI* item = nullptr;
        for (int kind : {kKindMouse, kKindPad})
            if (Item(kind) && Item(kind)->GetDevice() == wnd->CurrentDevice())
                item = Item(kind);
        ui::CControlUI* page = pages && item ? pages->GetItemAt(item->GetBindTabIndex()) : nullptr;
        auto* control =
            page ? dynamic_cast<T*>(wnd->GetPaintManager().FindSubControlByName(page, name))
                 : nullptr;
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    template <class T = ui::CControlUI> T* On(const char* prefix, int n) const {
        return On<T>(QLatin1String(prefix) + QString::number(n));
    }
    void Notify(ui::CControlUI* control, const QString& type) {
        ASSERT_NE(control, nullptr);
        wnd->GetPaintManager().SendNotify(control, type);
    }
    void ClickOn(ui::CControlUI* control) {
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control->GetWidget(), Qt::LeftButton);
    }
    std::vector<std::uint8_t> Stage(int i) const {
        const std::vector<std::uint8_t> memory = wire->MemoryImage();
        const auto at = memory.begin() + static_cast<std::ptrdiff_t>(kStagesAt + kStageSize * i);
        return {at, at + kStageSize};
    }

    std::shared_ptr<sim::VirtualDevice> wire = sim::MakeVirtualDevice(sim::VirtualProduct::Mouse);
    devices::CKelvaneMouseDevice* mouse = nullptr;
};

TEST_F(MousePageTest, AMovedDpiSliderAndAChosenStageLandInTheConfigurationBlock) {
    Click("cursor_Op_tab");
    ASSERT_EQ(mouse->GetFunctionPage(), 5);
    ASSERT_TRUE(On("mouse_device_seting_layout")->IsVisible());

    auto* slider = On<ui::CSliderUI>("DPI_slider_", 2);
    ASSERT_NE(slider, nullptr);
    slider->SetValue(20);
    Notify(slider, ui::notify::valuechanged);
    // Position 20 of the 0x3325 scale: 200 + 20 × 100 counts per inch.
    EXPECT_EQ(On("DPI_edit_", 2)->GetText(), "2200");
    EXPECT_EQ(Stage(2)[2], 20);
    EXPECT_EQ(Stage(2)[3], 0);

    // A typed value goes through the same scale; the edit shows where it landed.
    auto* edit = On<ui::CEditUI>("DPI_edit_", 3);
    edit->SetText(QStringLiteral("5210"));
    Notify(edit, ui::notify::killfocus);
    EXPECT_EQ(Stage(3)[2], 49) << "above 5000 the second slope, 200 per position";
    EXPECT_EQ(On("DPI_edit_", 3)->GetText(), "5200");

    ClickOn(On("DPI_select_check_", 4));
    EXPECT_EQ(wire->MemoryImage()[kCurrentStageAt], 4);
    EXPECT_FALSE(On("DPI_enable_check_", 4)->IsEnabled()) << "the stage in use stays in the cycle";
    EXPECT_TRUE(On("DPI_enable_check_", 1)->IsEnabled());
    const Json::Value saved =
        config::ReadJsonFile(mouse->UserDataFolder() + mouse->GetCurrentProfileId() + ".Json");
    EXPECT_EQ(saved["Device"][0]["DPIStages"]["StageActive"].asInt(), 4) << saved.toStyledString();
}

TEST_F(MousePageTest, AResetProfileIsSentWholeToTheMouse) {
    AnswerMessages();
    Click("cursor_Op_tab");
    const std::vector<std::uint8_t> shipped = Stage(2);
    auto* slider = On<ui::CSliderUI>("DPI_slider_", 2);
    slider->SetValue(shipped[2] + 5);
    Notify(slider, ui::notify::valuechanged);
    ASSERT_NE(Stage(2), shipped);

    wire->ClearWireLog();
    ClickOn(On("device_reset_btn"));
    ASSERT_TRUE(test::WaitUntil([&] { return Stage(2) == shipped; }));
    EXPECT_EQ(messages.value(0), wnd->MessageTextById("message_text_22"));
    EXPECT_EQ(On("DPI_edit_", 2)->GetText(), QString::number(200 + 100 * shipped[2]));
    bool keyTable = false;
    for (const sim::WirePacket& p : wire->WireLog())
        keyTable |= p.direction == sim::WireDirection::Request && p.bytes[3] == 0x09;
    EXPECT_TRUE(keyTable) << "the buttons go with the block";
}

TEST_F(MousePageTest, SwitchingStagesOffLocksTheLastOneAndSwitchingOneOnFreesIt) {
    Click("cursor_Op_tab");
    const int current = mouse->GetCurrentDpiStage();
    std::vector<int> others;
    for (int i = 0; i < 5; ++i)
        if (i != current)
            others.push_back(i);
    // Off with every stage but the current one: the current stage's box was locked all along.
    for (int i : others) {
        auto* box = On<ui::COptionUI>("DPI_enable_check_", i);
        ASSERT_TRUE(box->IsEnabled()) << i;
        ClickOn(box);
        EXPECT_FALSE(box->IsSelected());
        EXPECT_EQ(Stage(i)[0], 0) << "stage " << i << " left the cycle on the mouse";
        EXPECT_FALSE(On("DPI_layout_", i)->IsEnabled());
    }
    EXPECT_EQ(Stage(current)[0], 1);

    // One switched on again: it can be switched off again, the others stay free.
    ClickOn(On("DPI_enable_check_", others[0]));
    EXPECT_EQ(Stage(others[0])[0], 1);
    EXPECT_TRUE(On("DPI_enable_check_", others[0])->IsEnabled());
    EXPECT_TRUE(On("DPI_layout_", others[0])->IsEnabled());
}

TEST_F(MousePageTest, AButtonGivenAnotherFunctionReachesTheMousesKeyTable) {
    AnswerMessages();
    const std::vector<std::uint8_t> before = wire->KeyTable();
    Click("key_Op_tab");
    ASSERT_EQ(mouse->GetFunctionPage(), 2);

    // The left button is the mouse's only left click: it keeps its function.
    ClickOn(On("key_0"));
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages.front(), wnd->MessageTextById("message_text_6"));
    EXPECT_NE(mouse->GetSelectedKey(), 0);

    // Forward becomes the middle button: forward's slot of the key table holds what the
    // middle button's slot held.
    ClickOn(On("key_3"));
    EXPECT_EQ(mouse->GetSelectedKey(), 3);
    auto* panel = wnd->KeySet()->PanelOf(mouse);
    ASSERT_NE(panel, nullptr);
    auto* function = On<ui::CComboUI>("keyset_function_combo");
    ASSERT_TRUE(function->SelectItem(panel->FunctionItem(shell::keyset::kFunctionMouseButton)));
    ASSERT_TRUE(On<ui::CComboUI>("keyset_mousekey_combo")->SelectItem(1)); // middle
    Click("key_butt_prosave");

    const std::vector<std::uint8_t> after = wire->KeyTable();
    const int forward = mouse->ButtonMap()[3];
    const int middle = mouse->ButtonMap()[2];
    ASSERT_LT(forward * 3 + 2, static_cast<int>(after.size()));
    EXPECT_EQ(
        (std::vector<std::uint8_t>(after.begin() + forward * 3, after.begin() + forward * 3 + 3)),
        (std::vector<std::uint8_t>(before.begin() + middle * 3, before.begin() + middle * 3 + 3)));
    EXPECT_EQ(
        (std::vector<std::uint8_t>(after.begin() + middle * 3, after.begin() + middle * 3 + 3)),
        (std::vector<std::uint8_t>(before.begin() + middle * 3, before.begin() + middle * 3 + 3)))
        << "the middle button keeps its own";
    EXPECT_EQ(messages.size(), 1) << "no macro to send, no message";
}

TEST_F(MousePageTest, TheRecoilEditorSendsItsImageAsLargeData) {
    Click("cursor_Op_tab");
    ClickOn(On("mouse_device_seting_option_", 2));
    ASSERT_TRUE(On("ShootControlItem")->IsVisible());
    wire->ClearWireLog();
    ClickOn(On("shootdate_save_btn"));

    int packets = 0;
    for (const sim::WirePacket& p : wire->WireLog())
        packets += p.direction == sim::WireDirection::Request && p.bytes[3] == 0x17 ? 1 : 0;
    // Four slots of 180 events: 24 + 4 × (4 + 720) bytes in packets of 56.
    EXPECT_EQ(packets, (2920 + 55) / 56);
    const std::vector<std::uint8_t> data = wire->LargeData();
    ASSERT_GE(data.size(), 2920u);
    EXPECT_EQ(data[0], 0xAA);
    EXPECT_EQ(data[1], 0x55);
}

TEST_F(MousePageTest, APadEffectChosenOnItsPageReachesThePadsLightBlock) {
    auto pad = sim::MakeVirtualDevice(sim::VirtualProduct::MousePad);
    devices.Plug(pad);
    ASSERT_TRUE(test::WaitUntil([&] { return Item(kKindPad) != nullptr; }));
    MakeCurrent(kKindPad);
    auto* device = Item(kKindPad)->GetDevice();
    // The item reads the pad's block once it is shown.
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            for (const sim::WirePacket& p : pad->WireLog())
                if (p.direction == sim::WireDirection::Reply && p.bytes[3] == 0x05)
                    return true;
            return false;
        },
        3000));
    EXPECT_FALSE(On("key_Op_tab")->IsVisible()) << "the pad has no keys";

    // The page shows what was read: the virtual pad starts at brightness 3.
    auto* brightness = On<ui::CSliderUI>("deng_light_slider");
    ASSERT_NE(brightness, nullptr);
    EXPECT_TRUE(test::WaitUntil([&] { return brightness->GetValue() == 3; }));

    auto* modes = On<ui::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    ASSERT_GT(modes->GetCount(), 2);
    ASSERT_TRUE(modes->SelectItem(2));
    // The block of page 0 in the pad's memory: page, effect code, ...
    const int code = device->GetModeList()[2].value;
    EXPECT_EQ(pad->MemoryImage().at(1), code);
}

TEST_F(MousePageTest, AWatchedMousePageShowsThePreviewOnItsLeds) {
    Click("deng_Op_tab");
    auto* logo = On<shell::CDeviceKeyButtonUI>("mouse_led_14");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->GetToolTip(), "logo");
    ASSERT_TRUE(On<ui::CComboUI>("light_combo_modeSelect")->SelectItem(2)); // static
    // A typed colour: the static effect shows it on every LED.
    for (const char* edit : {"deng_edit_R", "deng_edit_G", "deng_edit_B"}) {
        auto* field = On<ui::CEditUI>(edit);
        ASSERT_NE(field, nullptr);
        field->SetText(edit[10] == 'G' ? "200" : "0");
        Notify(field, ui::notify::killfocus);
    }
    wnd->SendMessage(ui::WM_ACTIVATE, 1, 0);
    ASSERT_TRUE(mouse->IsPreviewWatched());
    devices::LedColour shown{};
    EXPECT_TRUE(test::WaitUntil([&] {
        return logo->GetColour(shown) && shown.red == 0 && shown.green > 0 && shown.blue == 0;
    })) << int(shown.red)
        << "," << int(shown.green) << "," << int(shown.blue);
}

} // namespace

// The lighting page in the real main window over the virtual devices: an effect, a brightness
// and a colour typed by the user reach the keyboard's light block and the profile file; the
// colour edits clamp; copying the keyboard's effect reaches the other devices; "deng_same_mode"
// needs a second device; an item's synchronisation option pauses its device's own lighting.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "lighting/LightControlUI.h"
#include "shell/controls/DeviceKeyButtonUI.h"
#include "shell/light/LightRoutes.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

namespace {

using lighting::CLightControlUI;

class LightingPageTest : public test::MainWindowTest {
protected:
    shell::CDeviceOptionUI* ItemOfKind(int kind) const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() && item->GetDevice()->GetDeviceKind() == kind)
                return item;
        }
        return nullptr;
    }
    devices::CKelvaneUSBDevice* DeviceOfKind(int kind) const {
        shell::CDeviceOptionUI* item = ItemOfKind(kind);
        return item ? item->GetDevice() : nullptr;
    }
    ui::CControlUI* ItemControl(int kind, const char* name) const {
        return wnd->GetPaintManager().FindSubControlByName(ItemOfKind(kind), name);
    }
    // Makes the device of `kind` current and shows its lighting page.
    void MakeCurrent(int kind) {
        auto* select = ui::control_cast<ui::COptionUI>(ItemControl(kind, "device_select"));
        ASSERT_NE(select, nullptr);
        QTest::mouseClick(select, Qt::LeftButton);
        ASSERT_EQ(wnd->CurrentDevice(), DeviceOfKind(kind));
    }
    // The control of the current device's lighting panel.
    template <class T = ui::CControlUI> T* Panel(const char* name) const {
        CLightControlUI* panel = wnd->Light()->PanelOf(wnd->CurrentDevice());
        EXPECT_NE(panel, nullptr);
        auto* control = panel ? dynamic_cast<T*>(wnd->GetPaintManager().FindSubControlByName(
                                    panel, QString::fromLatin1(name)))
                              : nullptr;
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Notify(ui::CControlUI* control, const QString& type) {
        ASSERT_NE(control, nullptr);
        wnd->GetPaintManager().SendNotify(control, type);
    }
    // Types into a colour edit and leaves it.
    void TypeComponent(const char* edit, const QString& text) {
        auto* field = Panel<ui::CEditUI>(edit);
        ASSERT_NE(field, nullptr);
        field->SetText(text);
        Notify(field, ui::notify::killfocus);
    }
    devices::CKelvaneKeyboardDevice* PlugKeyboard() {
        board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
        devices.Plug(board);
        EXPECT_TRUE(test::WaitUntil([&] { return DeviceOfKind(1) != nullptr; }));
        auto* keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(DeviceOfKind(1));
        // The item reads the keyboard (and fills its lighting page) once it is shown.
        EXPECT_TRUE(
            test::WaitUntil([&] { return keyboard && !keyboard->GetModeList().empty(); }, 3000));
        return keyboard;
    }
    void PlugOthers() {
        for (sim::VirtualProduct product :
             {sim::VirtualProduct::Mouse, sim::VirtualProduct::MousePad,
              sim::VirtualProduct::Headset}) {
            others.push_back(sim::MakeVirtualDevice(product));
            devices.Plug(others.back());
        }
        ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 4; }, 3000));
    }

    std::shared_ptr<sim::VirtualDevice> board;
    std::vector<std::shared_ptr<sim::VirtualDevice>> others;
};

TEST_F(LightingPageTest, AnEffectBrightnessAndTypedColourReachTheLightBlockAndTheProfile) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    MakeCurrent(1);
    Click("deng_Op_tab");
    ASSERT_EQ(keyboard->GetFunctionPage(), 1);

    auto* modes = Panel<ui::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    ASSERT_GT(modes->GetCount(), 22);
    ASSERT_TRUE(modes->SelectItem(22)); // flashing, as the user picks it
    auto* brightness = Panel<ui::CSliderUI>("deng_light_slider");
    ASSERT_NE(brightness, nullptr);
    EXPECT_EQ(brightness->GetMaxValue(), 3);
    brightness->SetValue(2);
    Notify(brightness, ui::notify::valuechanged);
    auto* speed = Panel<ui::CSliderUI>("deng_speed_slider");
    speed->SetValue(1);
    Notify(speed, ui::notify::valuechanged);
    TypeComponent("deng_edit_R", "12");
    TypeComponent("deng_edit_G", "300");
    TypeComponent("deng_edit_B", "");

    EXPECT_EQ(Panel("deng_edit_G")->GetText(), "255");
    EXPECT_EQ(Panel("deng_edit_B")->GetText(), "0");
    EXPECT_EQ(Panel("deng_colordp_btn")->GetBkColor(), 0xFF0CFF00u);

    const int code = keyboard->GetModeList()[22].value;
    const std::vector<std::uint8_t> memory = board->MemoryImage();
    ASSERT_GE(memory.size(), 26u);
    // Device profile 0: effect code, brightness, 3 - speed, direction, multi-colour, r, g, b.
    EXPECT_EQ((std::vector<std::uint8_t>(memory.begin() + 1, memory.begin() + 9)),
              (std::vector<std::uint8_t>{static_cast<std::uint8_t>(code), 2, 2,
                                         keyboard->GetLightFields().fx, 0, 12, 255, 0}));

    const Json::Value light =
        config::ReadJsonFile(keyboard->UserDataFolder() + keyboard->GetCurrentProfileId() +
                             ".Json")["Device"][0]["LightInfo"];
    EXPECT_EQ(light["SelectItem"].asInt(), 22);
    EXPECT_EQ(light["Light"].asInt(), 2);
    EXPECT_EQ(light["Speed"].asInt(), 1);
    EXPECT_EQ(light["Red"].asInt(), 12);
    EXPECT_EQ(light["Green"].asInt(), 255);
    EXPECT_EQ(light["Blue"].asInt(), 0);
    EXPECT_EQ(light["MultiColor"].asInt(), 0);
}

TEST_F(LightingPageTest, ATypedColourTurnsMultiColourOffAndTheDirectionPairWrites) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    MakeCurrent(1);
    ASSERT_TRUE(Panel<ui::CComboUI>("light_combo_modeSelect")->SelectItem(1));
    auto* multi = Panel<ui::COptionUI>("deng_7color_check");
    ASSERT_NE(multi, nullptr);
    multi->Selected(true); // sends "selectchanged"
    EXPECT_EQ(keyboard->GetLightFields().multiColor, 1);
    EXPECT_EQ(board->MemoryImage()[5], 1);
    TypeComponent("deng_edit_R", "40");
    EXPECT_FALSE(multi->IsSelected());
    EXPECT_EQ(board->MemoryImage()[5], 0);
    EXPECT_EQ(board->MemoryImage()[6], 40);

    Panel<ui::COptionUI>("deng_FXL_check")->Selected(true);
    EXPECT_EQ(board->MemoryImage()[4], 1);
    Panel<ui::COptionUI>("deng_FXR_check")->Selected(true);
    EXPECT_EQ(board->MemoryImage()[4], 0);
}

TEST_F(LightingPageTest, MusicChoicesAndColoursGoToTheKeyboardsAudioLightingRecord) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    MakeCurrent(1);
    ASSERT_TRUE(Panel<ui::CComboUI>("light_combo_modeSelect")->SelectItem(29));
    EXPECT_FALSE(Panel("light_combo_AudiomodeSelectLayout")->GetWidget()->isHidden());
    auto record = [&] { return devices::UnpackAudioLighting(keyboard->GetAudioLighting()); };

    ASSERT_TRUE(Panel<ui::CComboUI>("light_combo_audiomodeSelect")->SelectItem(2));
    EXPECT_EQ(record().audioMode, 2);
    Panel<ui::COptionUI>("audio_FgColor_check")->Selected(true);
    EXPECT_EQ(record().colorTypeFlags, 1) << "the foreground is edited";
    EXPECT_TRUE(Panel("deng_7audiocolor_check")->IsEnabled());
    Panel<ui::COptionUI>("deng_7audiocolor_check")->Selected(true);
    EXPECT_EQ(record().sevenColorFlags, 1);

    auto* red = Panel<ui::CEditUI>("deng_audioedit_R");
    red->SetText("300");
    Notify(red, ui::notify::killfocus);
    EXPECT_EQ(record().fgRed, 255);
    EXPECT_EQ(record().sevenColorFlags, 0) << "a typed colour ends multi-colour";
    EXPECT_EQ(red->GetText(), "255");

    Panel<ui::COptionUI>("audio_BkColor_check")->Selected(true);
    EXPECT_EQ(record().colorTypeFlags, 0);
    EXPECT_EQ(record().fgRed, 255) << "switching keeps the foreground";
    red->SetText("");
    Notify(red, ui::notify::killfocus);
    EXPECT_EQ(red->GetText(), "0");
    auto* green = Panel<ui::CEditUI>("deng_audioedit_G");
    green->SetText("77");
    Notify(green, ui::notify::killfocus);
    EXPECT_EQ(record().bkGreen, 77);
    QTest::mouseClick(Panel<ui::CButtonUI>("Close_bkColor_btn"), Qt::LeftButton);
    EXPECT_EQ((std::array{record().bkRed, record().bkGreen, record().bkBlue}),
              (std::array<std::uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(record().fgRed, 255);

    ASSERT_TRUE(Panel<ui::CComboUI>("light_combo_audiomodeSelect")->SelectItem(3));
    EXPECT_EQ(record().audioMode, 3);
    EXPECT_FALSE(Panel("light_audiocolor_layout")->IsEnabled());
    EXPECT_FALSE(Panel("audiocolorpallet_layout")->IsEnabled());
}

TEST_F(LightingPageTest, CopyToAllNeedsASecondDeviceAndTakesTheCommonEffectToEachKind) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    MakeCurrent(1);
    auto* modes = Panel<ui::CComboUI>("light_combo_modeSelect");
    auto* same = Panel("deng_same_mode");
    ASSERT_NE(same, nullptr);
    // One device: hidden in every mode.
    for (int mode = 0; mode < modes->GetCount(); ++mode) {
        modes->SelectItem(mode);
        EXPECT_TRUE(same->GetWidget()->isHidden()) << "mode " << mode;
    }

    PlugOthers();
    MakeCurrent(1);
    modes->SelectItem(7);
    EXPECT_TRUE(same->GetWidget()->isHidden()) << "7 has no common effect";
    const config::LightInfoRecord mouseBefore = DeviceOfKind(2)->GetLightFields();
    EXPECT_FALSE(wnd->Light()->CopyToAll());
    EXPECT_EQ(DeviceOfKind(2)->GetLightFields(), mouseBefore) << "copying mode 7 changes nothing";

    modes->SelectItem(22);
    EXPECT_FALSE(same->GetWidget()->isHidden());
    TypeComponent("deng_edit_B", "99");
    QTest::mouseClick(Panel<ui::CButtonUI>("deng_same_mode"), Qt::LeftButton);
    EXPECT_EQ(DeviceOfKind(2)->GetLightFields().selectItem, 4);
    EXPECT_EQ(DeviceOfKind(3)->GetLightFields().selectItem, 4);
    EXPECT_EQ(DeviceOfKind(7)->GetLightFields().selectItem, 4);
    EXPECT_EQ(DeviceOfKind(7)->GetLightFields().blue, 99);
    EXPECT_EQ(keyboard->GetLightFields().selectItem, 22);
    EXPECT_EQ(wnd->Light()->Sync().GetSettings().effect, lighting::kEffectFlashing);
    EXPECT_EQ(wnd->Light()->PanelOf(DeviceOfKind(2))->GetMode(), 4) << "their pages show it";

    // Unplugging all but one hides it again.
    for (const auto& other : others)
        devices.Unplug(other);
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 1; }, 3000));
    EXPECT_TRUE(same->GetWidget()->isHidden());
}

TEST_F(LightingPageTest, TheSynchronisationOptionPausesTheDeviceAndAGameEventEndsIt) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    PlugOthers();
    MakeCurrent(1);
    auto* keyboardSync = ui::control_cast<ui::COptionUI>(ItemControl(1, "synchro_device_select"));
    auto* mouseSync = ui::control_cast<ui::COptionUI>(ItemControl(2, "synchro_device_select"));
    ASSERT_NE(keyboardSync, nullptr);
    ASSERT_NE(mouseSync, nullptr);
    keyboardSync->Selected(true);
    mouseSync->Selected(true);
    EXPECT_TRUE(keyboard->CommandChannel().lightPause);
    EXPECT_TRUE(DeviceOfKind(2)->CommandChannel().lightPause);
    mouseSync->Selected(false);
    EXPECT_FALSE(DeviceOfKind(2)->CommandChannel().lightPause);

    wnd->SendMessage(shell::g_messages.gameStart, 0, 21);
    EXPECT_FALSE(keyboard->CommandChannel().lightPause);
    EXPECT_FALSE(keyboardSync->IsSelected());
    EXPECT_EQ(wnd->Light()->PanelOf(keyboard)->GetMode(), 21);

    // Two take part; when one of them goes, the other is left alone and leaves too.
    keyboardSync->Selected(true);
    mouseSync->Selected(true);
    ASSERT_TRUE(keyboard->CommandChannel().lightPause);
    devices.Unplug(others.front());
    ASSERT_TRUE(test::WaitUntil([&] { return wnd->ConnectedCount() == 3; }, 3000));
    EXPECT_FALSE(keyboardSync->IsSelected());
    EXPECT_FALSE(keyboard->CommandChannel().lightPause);
}

} // namespace

namespace {

// The custom effect: a click paints a key in the current colour, a rubber band picks keys that
// "custom_bright_color_btn" then lights; both reach the keyboard's scheme memory.
TEST_F(LightingPageTest, InTheCustomEffectClickedAndBandedKeysReachTheSchemeMemory) {
    devices::CKelvaneKeyboardDevice* keyboard = PlugKeyboard();
    ASSERT_NE(keyboard, nullptr);
    MakeCurrent(1);
    Click("deng_Op_tab");
    auto* modes = Panel<ui::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(modes, nullptr);
    ASSERT_TRUE(modes->SelectItem(20));
    EXPECT_TRUE(Panel("lightcustom_layout")->IsVisible());
    TypeComponent("deng_edit_R", "255");
    TypeComponent("deng_edit_G", "0");
    TypeComponent("deng_edit_B", "0");
    auto* groups = Panel<ui::CComboUI>("light_combo_custommodeSelect");
    ASSERT_NE(groups, nullptr);
    ASSERT_TRUE(groups->SelectItem(2)); // the user's third scheme
    EXPECT_EQ(keyboard->GetLightFields().customGroup, 2);
    EXPECT_EQ(groups->GetCurSel(), 2);
    const std::size_t group = 2;
    auto schemeAt = [&](int key) {
        const std::vector<std::uint8_t> all = board->LightSchemes();
        const std::size_t at = 512 * group + 3 * keyboard->Maps().leds[key];
        return std::vector<std::uint8_t>(all.begin() + at, all.begin() + at + 3);
    };

    Click("key_30");
    EXPECT_EQ(schemeAt(30), (std::vector<std::uint8_t>{255, 0, 0})) << "painted unscaled";

    TypeComponent("deng_edit_R", "0");
    TypeComponent("deng_edit_G", "200");
    auto* key31 = wnd->Find<shell::CDeviceKeyButtonUI>("key_31");
    auto* key32 = wnd->Find<shell::CDeviceKeyButtonUI>("key_32");
    ASSERT_NE(key31, nullptr);
    ASSERT_NE(key32, nullptr);
    key31->SetSelectedByBand(1);
    key32->SetSelectedByBand(1);
    Notify(wnd->Find<ui::CControlUI>("device_key_light"), QStringLiteral("click_select_end"));
    EXPECT_EQ(keyboard->GetCustomSelection(), (std::vector<int>{31, 32}));
    Click("custom_bright_color_btn");
    const std::uint8_t green =
        static_cast<std::uint8_t>(200 * keyboard->GetLedColour(31).alpha >> 8);
    EXPECT_EQ(schemeAt(31), (std::vector<std::uint8_t>{0, green, 0}));
    EXPECT_EQ(schemeAt(32), (std::vector<std::uint8_t>{0, green, 0}));
    // The whole scheme goes out scaled now, the painted key with it.
    const std::uint8_t red = static_cast<std::uint8_t>(255 * keyboard->GetLedColour(30).alpha >> 8);
    EXPECT_EQ(schemeAt(30), (std::vector<std::uint8_t>{red, 0, 0}));
}

} // namespace

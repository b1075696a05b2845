// The keyboard's settings page in the real main window over the virtual keyboard: a polling
// rate and the Windows-key lock chosen by the user reach the light block of device profile 0
// and the profile's "SystemStages"; key repeat is saved only, shown with its delay, and goes
// back to its defaults; the page shows the settings words after every read.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneKeyboardDevice.h"
#include "devices/KeyboardSystemSettings.h"
#include "devices/LightBlock.h"
#include "shell/selector/DeviceOptionUI.h"
#include "shell/settings/KeyboardSettingsRoutes.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

namespace {

namespace ks = devices::keyboard_settings;

constexpr int kJapanese = 3;

class KeyboardSettingsPageTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        board = sim::MakeVirtualDevice(sim::VirtualProduct::Keyboard);
        devices.Plug(board);
        ASSERT_TRUE(test::WaitUntil([&] { return Item() != nullptr; }));
        keyboard = dynamic_cast<devices::CKelvaneKeyboardDevice*>(Item()->GetDevice());
        ASSERT_NE(keyboard, nullptr);
        // The item reads the keyboard once it is shown.
        ASSERT_TRUE(test::WaitUntil([&] { return !keyboard->GetModeList().empty(); }, 3000));
        QTest::mouseClick(Control<ui::COptionUI>(Item(), "device_select"), Qt::LeftButton);
        ASSERT_EQ(wnd->CurrentDevice(), keyboard);
        Click("system_Op_tab");
        ASSERT_EQ(keyboard->GetFunctionPage(), 4);
    }
    shell::CDeviceOptionUI* Item() const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() && item->GetDevice()->GetDeviceKind() == 1)
                return item;
        }
        return nullptr;
    }
    template <class T = ui::CControlUI> T* Control(ui::CControlUI* parent, const char* name) {
        auto* control = dynamic_cast<T*>(
            wnd->GetPaintManager().FindSubControlByName(parent, QString::fromLatin1(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    template <class T = ui::CControlUI> T* Page(const char* name) {
        return Control<T>(wnd->KeyboardSettings()->PageOf(keyboard), name);
    }
    void ClickOn(const char* name) {
        auto* button = Page<ui::CButtonUI>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isVisible()) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    Json::Value SavedStages() const {
        return config::ReadJsonFile(keyboard->UserDataFolder() + keyboard->GetCurrentProfileId() +
                                    ".Json")["Device"][0]["SystemStages"];
    }
    bool Selected(const char* name) {
        auto* option = Page<ui::COptionUI>(name);
        return option && option->IsSelected();
    }

    std::shared_ptr<sim::VirtualDevice> board;
    devices::CKelvaneKeyboardDevice* keyboard = nullptr;
};

TEST_F(KeyboardSettingsPageTest, PollingRateAndWindowsLockReachTheLightBlockAndTheProfile) {
    ClickOn("polling_rate_option_2");
    ClickOn("winlockflag_option");

    const std::vector<std::uint8_t> memory = board->MemoryImage();
    const std::size_t profile0 = devices::LightBlockOffset(0);
    EXPECT_EQ(memory.at(profile0 + devices::lightblock::kWinFlagAt), 1);
    EXPECT_EQ(memory.at(profile0 + devices::lightblock::kPollingRateAt), 2);
    const Json::Value stages = SavedStages();
    EXPECT_EQ(stages["PollingRate"].asInt(), 2);
    EXPECT_EQ(stages["WinFlag"].asInt(), 1);
    EXPECT_TRUE(Selected("polling_rate_option_2"));
    EXPECT_FALSE(Selected("polling_rate_option_3"));

    ClickOn("winlockflag_option");
    ClickOn("6flag_option");
    ClickOn("wflag_option");
    EXPECT_EQ(board->MemoryImage().at(profile0 + devices::lightblock::kWinFlagAt), 0);
    EXPECT_EQ(board->MemoryImage().at(profile0 + devices::lightblock::kKey6FlagAt), 1);
    EXPECT_EQ(board->MemoryImage().at(profile0 + devices::lightblock::kWFlagAt), 1);
    EXPECT_EQ(SavedStages()["WinFlag"].asInt(), 0);
    EXPECT_EQ(SavedStages()["Key6Flag"].asInt(), 1);
    EXPECT_EQ(SavedStages()["WFlag"].asInt(), 1);
}

TEST_F(KeyboardSettingsPageTest, RepeatIsSavedShownWithItsDelayAndResetToTheDefaults) {
    auto* field = Page<ui::CRichEditUI>("repeat_input_richedit");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->placeholderText(), wnd->TextById("Repeat_input_text"));
    EXPECT_FALSE(field->placeholderText().isEmpty());
    const QString before = field->placeholderText();
    wnd->SetLanguage(wnd->GetLanguageIndex() == kJapanese ? kJapanese + 1 : kJapanese);
    EXPECT_NE(field->placeholderText(), before) << "the hint follows the language";
    EXPECT_EQ(field->placeholderText(), wnd->TextById("Repeat_input_text"));
    auto* rate = Page<ui::CSliderUI>("repeat_rate_slider");
    ASSERT_NE(rate, nullptr);
    rate->SetValue(9);
    wnd->GetPaintManager().SendNotify(rate, ui::notify::valuechanged);
    ClickOn("repeat_delay_check_2");
    EXPECT_EQ(SavedStages()["Repeat"].asInt(), 9);
    EXPECT_EQ(SavedStages()["RepeatDelay"].asInt(), 2);
    EXPECT_EQ(Page("repeat_delay_time_label1")->GetText(), "750 ms");

    ClickOn("reset_repeat_btn");
    EXPECT_EQ(rate->GetValue(), ks::kDefaultRepeat);
    EXPECT_TRUE(Selected("repeat_delay_check_1"));
    EXPECT_FALSE(Selected("repeat_delay_check_2"));
    EXPECT_EQ(Page("repeat_delay_time_label1")->GetText(), "500 ms");
    EXPECT_EQ(SavedStages()["Repeat"].asInt(), ks::kDefaultRepeat);
    EXPECT_EQ(SavedStages()["RepeatDelay"].asInt(), ks::kDefaultRepeatDelay);
}

TEST_F(KeyboardSettingsPageTest, ThePageShowsTheWordsAfterARefreshAndADelayOutOfRangeAsTheFirst) {
    config::SystemStageWords words = keyboard->GetSystemSettings();
    words.SetValue(ks::kRepeatDelay, 5);
    words.SetValue(ks::kRepeat, 4);
    words.SetValue(ks::kPollingRate, 0);
    words.SetValue(ks::kWFlag, 1);
    keyboard->SetSystemSettings(words);
    keyboard->RefreshPanels();

    EXPECT_EQ(Page("repeat_delay_time_label1")->GetText(), "250 ms");
    EXPECT_TRUE(Selected("repeat_delay_check_0"));
    EXPECT_EQ(Page<ui::CSliderUI>("repeat_rate_slider")->GetValue(), 4);
    EXPECT_TRUE(Selected("polling_rate_option_0"));
    EXPECT_FALSE(Selected("polling_rate_option_3"));
    EXPECT_TRUE(Selected("wflag_option"));
    EXPECT_FALSE(Selected("winlockflag_option"));
}

} // namespace

// The headset page in the real main window over the virtual headset and its audio library: an
// equaliser preset, a custom equaliser saved under a name and chosen again, a duplicate name
// refused with its message, the microphone level, all found in the library's call record and
// the profile.

#include "MainWindowFixture.h"
#include "config/JsonFile.h"
#include "devices/KelvaneHS6533Device.h"
#include "headset/HeadsetProperties.h"
#include "headset/VirtualHeadsetLibrary.h"
#include "shell/selector/DeviceOptionUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/EditUI.h"
#include "ui/SliderUI.h"

namespace {

namespace p = headset::property;

// The process's headset library, made before the first headset starts.
headset::VirtualHeadsetLibrary* g_library = nullptr;
const bool g_factorySet = [] {
    devices::CHeadsetAudio::SetLibraryFactory([] {
        auto library = std::make_unique<headset::VirtualHeadsetLibrary>();
        g_library = library.get();
        return library;
    });
    return true;
}();

class HeadsetPageTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        devices.Plug(sim::MakeVirtualDevice(sim::VirtualProduct::Headset));
        ASSERT_TRUE(test::WaitUntil([&] { return Item() != nullptr; }));
        auto* select = ui::control_cast<ui::COptionUI>(
            wnd->GetPaintManager().FindSubControlByName(Item(), "device_select"));
        ASSERT_NE(select, nullptr);
        QTest::mouseClick(select, Qt::LeftButton);
        headset = dynamic_cast<devices::CKelvaneHS6533Device*>(wnd->CurrentDevice());
        ASSERT_NE(headset, nullptr);
        // The item reads the headset once it is shown: the audio starts then.
        ASSERT_TRUE(test::WaitUntil([&] { return headset->Audio().HasEndpoints(); }, 3000));
        ASSERT_NE(g_library, nullptr);
        ClickOn(On("6533_voice_Op_tab"));
        g_library->ClearCalls();
    }
    shell::CDeviceOptionUI* Item() const {
        for (QWidget* w : Host()->findChildren<QWidget*>()) {
            auto* item = dynamic_cast<shell::CDeviceOptionUI*>(w);
            if (item && item->GetDevice() && item->GetDevice()->GetDeviceKind() == 7)
                return item;
        }
        return nullptr;
    }
    template <class T = ui::CControlUI> T* On(const char* name) const {
        auto* pages = wnd->Find<ui::CTabLayoutUI>("device_switch");
        ui::CControlUI* page = pages->GetItemAt(Item()->GetBindTabIndex());
        auto* control = dynamic_cast<T*>(
            wnd->GetPaintManager().FindSubControlByName(page, QString::fromLatin1(name)));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void ClickOn(ui::CControlUI* control) {
        ASSERT_NE(control, nullptr);
        QTest::mouseClick(control->GetWidget(), Qt::LeftButton);
    }
    std::vector<int> WrittenBands() const {
        std::vector<int> bands;
        for (const wchar_t* band : p::kEqBands) {
            const auto writes = g_library->Writes(band);
            bands.push_back(writes.empty() ? -100 : writes.back().intValue);
        }
        return bands;
    }
    Json::Value Saved() const {
        return config::ReadJsonFile(headset->UserDataFolder() + headset->GetCurrentProfileId() +
                                    ".Json")["Device"][0];
    }

    devices::CKelvaneHS6533Device* headset = nullptr;
};

TEST_F(HeadsetPageTest, APresetAndASavedCustomEqualiserReachTheHeadset) {
    AnswerMessages();
    ClickOn(On("6533_eq_option_3"));
    ASSERT_FALSE(g_library->Writes(p::kEqEnable).empty());
    EXPECT_EQ(g_library->Writes(p::kEqEnable).back().intValue, 1);
    EXPECT_EQ(WrittenBands(), (std::vector<int>{5, 4, 3, 1, -1, -1, 1, 3, 4, 5}));
    EXPECT_EQ(Saved()["SystemSetStages"]["EqType"].asInt(), 3);

    // A band moved by hand: the custom option, and the band alone goes to the headset.
    g_library->ClearCalls();
    auto* band = On<ui::CSliderUI>("6533_eq_hz_slider_9");
    band->SetValue(-6);
    wnd->GetPaintManager().SendNotify(band, ui::notify::valuechanged);
    EXPECT_TRUE(On<ui::COptionUI>("6533_eq_option_13")->IsSelected());
    ASSERT_EQ(g_library->Calls().size(), 1u);
    EXPECT_EQ(g_library->Calls()[0].property, L"EQ_Slider10");
    EXPECT_EQ(g_library->Calls()[0].intValue, -6);

    // Saved as "Night", then "night" is a duplicate.
    On<ui::CEditUI>("custom_eq_name_edit")->SetText("Night");
    ClickOn(On("hs_EQ_btn_save"));
    auto* names = On<ui::CComboUI>("custom_eq_name_combo");
    ASSERT_EQ(names->GetCount(), 1);
    EXPECT_EQ(Saved()["CustomEQNameInfo"][0]["Name"].asString(), "Night");
    EXPECT_EQ(Saved()["CustomEQHzValueInfo"][0][9]["value"].asInt(), -6);
    On<ui::CEditUI>("custom_eq_name_edit")->SetText("night");
    ClickOn(On("hs_EQ_btn_save"));
    ASSERT_TRUE(test::WaitUntil([&] { return !messages.isEmpty(); }));
    EXPECT_EQ(messages.front(), wnd->MessageTextById("message_text_5"));
    EXPECT_EQ(names->GetCount(), 1);

    // A second one, "Day", flat at 16 kHz; then "Night" chosen in the list: its bands again.
    band->SetValue(0);
    wnd->GetPaintManager().SendNotify(band, ui::notify::valuechanged);
    On<ui::CEditUI>("custom_eq_name_edit")->SetText("Day");
    ClickOn(On("hs_EQ_btn_save"));
    ASSERT_EQ(names->GetCount(), 2);
    EXPECT_EQ(Saved()["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 1);
    g_library->ClearCalls();
    ASSERT_TRUE(names->SelectItem(0));
    EXPECT_EQ(WrittenBands()[9], -6);
    EXPECT_EQ(Saved()["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 0);

    // Back to a preset, then the custom option: the selected custom equaliser's bands.
    ClickOn(On("6533_eq_option_1"));
    EXPECT_EQ(WrittenBands()[9], 0);
    ClickOn(On("6533_eq_option_13"));
    EXPECT_EQ(WrittenBands()[9], -6);
}

TEST_F(HeadsetPageTest, TheMicrophoneLevelGoesAsAScalarAndDeletingTheLastCustomEqFallsBack) {
    auto* level = On<ui::CSliderUI>("6533_MicIn_slider");
    level->SetValue(37);
    wnd->GetPaintManager().SendNotify(level, ui::notify::valuechanged);
    ASSERT_EQ(g_library->Writes(p::kMicScalar).size(), 1u);
    EXPECT_FLOAT_EQ(g_library->Writes(p::kMicScalar)[0].floatValue, 0.37f);
    EXPECT_EQ(Saved()["SystemSetStages"]["MicInValue"].asInt(), 37);

    ClickOn(On("6533_eq_option_13"));
    On<ui::CEditUI>("custom_eq_name_edit")->SetText("Only");
    ClickOn(On("hs_EQ_btn_save"));
    ASSERT_EQ(On<ui::CComboUI>("custom_eq_name_combo")->GetCount(), 1);
    ClickOn(On("hs_EQ_btn_delete"));
    EXPECT_EQ(On<ui::CComboUI>("custom_eq_name_combo")->GetCount(), 0);
    EXPECT_TRUE(On<ui::COptionUI>("6533_eq_option_1")->IsSelected());
    EXPECT_FALSE(On("custom_eq_option_layout")->IsEnabled());
    EXPECT_EQ(Saved()["SystemSetStages"]["EqType"].asInt(), 1);
    EXPECT_EQ(Saved()["CustomEQNameInfo"].size(), 0u);
}

TEST_F(HeadsetPageTest, AResetProfileKeepsTheCustomEqualisersAndSendsTheDefaults) {
    AnswerMessages();
    ClickOn(On("6533_eq_option_13"));
    On<ui::CEditUI>("custom_eq_name_edit")->SetText("Keep");
    ClickOn(On("hs_EQ_btn_save"));
    auto* level = On<ui::CSliderUI>("6533_MicIn_slider");
    level->SetValue(37);
    wnd->GetPaintManager().SendNotify(level, ui::notify::valuechanged);
    g_library->ClearCalls();

    ClickOn(On("device_reset_btn"));
    ASSERT_TRUE(test::WaitUntil([&] { return !g_library->Writes(p::kMicScalar).empty(); }));
    EXPECT_EQ(messages.value(0), wnd->MessageTextById("message_text_22"));
    EXPECT_FLOAT_EQ(g_library->Writes(p::kMicScalar).back().floatValue, 0.80f);
    EXPECT_EQ(Saved()["SystemSetStages"]["MicInValue"].asInt(), 80);
    EXPECT_EQ(Saved()["SystemSetStages"]["EqType"].asInt(), 1);
    EXPECT_EQ(Saved()["CustomEQNameInfo"][0]["Name"].asString(), "Keep");
    auto* names = On<ui::CComboUI>("custom_eq_name_combo");
    ASSERT_EQ(names->GetCount(), 1);
    EXPECT_EQ(names->GetItemAt(0)->GetText(), "Keep");
    EXPECT_TRUE(On<ui::COptionUI>("6533_eq_option_1")->IsSelected());
}

} // namespace

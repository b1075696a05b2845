// The lighting panel built from its skin file: which parts every mode of every device kind
// enables, shows or hides, how it shows light fields and the music record, and what its
// getters answer when the skin lacks a control.

#include "lighting/LightControlUI.h"
#include "support/TestEnvironment.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/ControlFactory.h"
#include "ui/ResourceManager.h"
#include "ui/SliderUI.h"
#include "ui/WindowImplBase.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

using lighting::CLightControlUI;

class PanelWindow : public ui::WindowImplBase {
public:
    explicit PanelWindow(QString skin) : m_skin(std::move(skin)) {}
    QString GetWindowClassName() const override { return QStringLiteral("LightPanelTestWnd"); }

protected:
    QString GetSkinFile() override { return m_skin; }

private:
    QString m_skin;
};

class LightPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::CControlFactory::GetInstance().RegistControl(QStringLiteral("CLightControlUI"),
                                                         [] { return new CLightControlUI; });
        ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml"));
        env.WriteSkinFile(QStringLiteral("light_window.xml"),
                          R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="1000,300">
  <VerticalLayout name="root">
    <Include source="XML/CustomControlXML/LightControl.xml"/>
  </VerticalLayout>
</Window>)");
        env.WriteSkinFile(QStringLiteral("bare_window.xml"),
                          R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,100">
  <VerticalLayout name="root"><LightControl name="light_panel"/></VerticalLayout>
</Window>)");
    }

    CLightControlUI* Open(const char* skin = "light_window.xml") {
        window = std::make_unique<PanelWindow>(QString::fromLatin1(skin));
        EXPECT_NE(window->Create(nullptr, "light", ui::WS_VISIBLE, 0), nullptr)
            << window->GetSkinError().toStdString();
        return window->Find<CLightControlUI>("light_panel");
    }
    // A panel of `kind` showing the keyboard's 31 modes (or 10 for the others).
    CLightControlUI* OpenKind(int kind, bool several) {
        CLightControlUI* panel = Open();
        if (!panel)
            return nullptr;
        panel->SetKind(kind);
        QStringList names;
        for (int i = 0; i < 31; ++i)
            names << QStringLiteral("light_mode_static");
        panel->FillModes(names, std::vector<bool>(31, true), 3, 3);
        panel->SetSeveralDevices(several);
        return panel;
    }
    ui::CControlUI* Get(const char* name) const {
        ui::CControlUI* control = window->Find(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    bool Enabled(const char* name) const {
        ui::CControlUI* c = Get(name);
        return c && c->IsEnabled();
    }
    // "1"/"0" for multi-colour, colour, palette, brightness, speed and direction enabled.
    std::string EnabledPattern() const {
        std::string pattern;
        for (const char* name : {"deng_7color_check", "deng_color_layout", "colorpallet_layout",
                                 "deng_light_layout", "deng_speed_layout", "deng_fx_layout"})
            pattern += Enabled(name) ? '1' : '0';
        return pattern;
    }
    // Visible as far as the panel decides it: the control's own flag.
    bool Shown(const char* name) const {
        ui::CControlUI* c = Get(name);
        return c && !c->GetWidget()->isHidden();
    }

    test::ScopedEnvironment env{true};
    std::unique_ptr<PanelWindow> window;
};

// One row of a visibility table: MC CL CP BR SP FX as "1"/"0", and "same".
struct Row {
    int kind;
    int mode;
    const char* enabled; // multi-colour, colour, palette, brightness, speed, direction
    bool same;
};

class LightRuleTableTest : public LightPanelTest, public ::testing::WithParamInterface<Row> {};

TEST_P(LightRuleTableTest, TheModeEnablesItsPartsAndShowsCopyToAllOnlyWithSeveralDevices) {
    const Row row = GetParam();
    for (bool several : {false, true}) {
        CLightControlUI* panel = OpenKind(row.kind, several);
        ASSERT_NE(panel, nullptr);
        panel->SetMode(row.mode);
        EXPECT_EQ(EnabledPattern(), row.enabled) << "kind " << row.kind << " mode " << row.mode;
        EXPECT_TRUE(Enabled("lighteffect_layout"));
        EXPECT_EQ(Shown("deng_same_mode"), row.same && several)
            << "kind " << row.kind << " mode " << row.mode << " several " << several;
    }
}

std::vector<Row> Rows() {
    std::vector<Row> rows;
    auto add = [&rows](int kind, std::initializer_list<int> modes, const char* enabled, bool same) {
        for (int mode : modes)
            rows.push_back({kind, mode, enabled, same});
    };
    // Keyboard.
    add(1, {1, 2, 3, 24, 28}, "111111", false);
    add(1, {4}, "000110", true);
    add(1, {5, 22}, "111110", true);
    add(1, {6}, "111100", true);
    add(1, {7, 8, 9, 10, 13, 14, 15, 23, 25}, "111110", false);
    add(1, {11, 26, 27}, "000110", false);
    add(1, {12}, "000111", false);
    add(1, {16}, "111100", false);
    add(1, {17}, "000110", false);
    add(1, {18}, "000101", false);
    add(1, {20}, "011100", false);
    add(1, {21}, "000000", true);
    add(1, {29}, "111101", false);
    add(1, {30}, "000100", false);
    add(1, {0, 19, 31}, "000000", false);
    // Mouse.
    add(2, {0, 5}, "111111", false);
    add(2, {1}, "000110", true);
    add(2, {2, 4, 6}, "111110", true);
    add(2, {3}, "011100", true);
    add(2, {7, 8}, "000110", false);
    add(2, {9}, "000000", true);
    add(2, {10}, "000000", false);
    // Mouse pad and headset.
    for (int kind : {3, 7}) {
        add(kind, {0}, "111111", false);
        add(kind, {1}, "000110", true);
        add(kind, {2, 4}, "111110", true);
        add(kind, {3}, "011100", true);
        add(kind, {8}, "000000", true);
        add(kind, {5, 6, 7, 9}, "000000", false);
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryRow, LightRuleTableTest, ::testing::ValuesIn(Rows()),
                         [](const auto& info) {
                             return "Kind" + std::to_string(info.param.kind) + "Mode" +
                                    std::to_string(info.param.mode);
                         });

TEST_F(LightPanelTest, KeyboardModesShowTheirOwnLayoutsTextsAndColourPage) {
    CLightControlUI* panel = OpenKind(1, false);
    ASSERT_NE(panel, nullptr);
    auto* pages = window->Find<ui::CTabLayoutUI>("light_color_tablayout");
    ASSERT_NE(pages, nullptr);

    panel->SetMode(17);
    EXPECT_FALSE(Shown("deng_speed_layout"));
    EXPECT_TRUE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_FALSE(Enabled("light_color_layout"));
    panel->SetMode(2);
    EXPECT_TRUE(Shown("deng_speed_layout")) << "the speed slider comes back";
    EXPECT_FALSE(Shown("light_combo_ZZCCmodeSelectLayout"));
    EXPECT_TRUE(Enabled("light_color_layout"));
    EXPECT_EQ(Get("deng_FXL_check")->GetRawText(), "light_set_right_to_left_text");

    panel->SetMode(3);
    EXPECT_EQ(Get("deng_FXL_check")->GetRawText(), "light_set_clockwise_text");
    EXPECT_EQ(Get("deng_FXR_check")->GetRawText(), "light_set_anticlockwise_text");
    panel->SetMode(18);
    EXPECT_EQ(Get("deng_FXL_check")->GetRawText(), "light_set_outside_to_inside_text");
    EXPECT_EQ(Get("deng_FXR_check")->GetRawText(), "light_set_inside_to_outside_text");

    panel->SetMode(20);
    EXPECT_TRUE(Shown("lightcustom_layout"));
    EXPECT_FALSE(Shown("deng_speed_layout"));
    panel->SetMode(29);
    EXPECT_TRUE(Shown("light_combo_AudiomodeSelectLayout"));
    EXPECT_EQ(pages->GetCurSel(), 1);
    panel->SetMode(5);
    EXPECT_FALSE(Shown("lightcustom_layout"));
    EXPECT_FALSE(Shown("light_combo_AudiomodeSelectLayout"));
    EXPECT_EQ(pages->GetCurSel(), 0);
}

TEST_F(LightPanelTest, TheSeveralDevicesFlagAppliesTheCurrentModeAgain) {
    CLightControlUI* panel = OpenKind(1, false);
    ASSERT_NE(panel, nullptr);
    panel->SetMode(22);
    EXPECT_FALSE(Shown("deng_same_mode"));
    panel->SetSeveralDevices(true);
    EXPECT_TRUE(Shown("deng_same_mode"));
    panel->SetSeveralDevices(false);
    EXPECT_FALSE(Shown("deng_same_mode"));
}

TEST_F(LightPanelTest, LightFieldsShowInEveryControl) {
    CLightControlUI* panel = OpenKind(1, false);
    ASSERT_NE(panel, nullptr);
    // Mode 17, brightness 2, speed 1, direction 1; multi-colour, red 10, green 20, blue 30;
    // variant 2.
    panel->ShowLightFields(0x01010211u, 0x1E140A01u, 0x02000000u);
    EXPECT_EQ(panel->GetMode(), 17);
    EXPECT_EQ(panel->GetBrightness(), 2);
    EXPECT_EQ(panel->GetSpeed(), 1);
    EXPECT_EQ(panel->GetComponentText(CLightControlUI::kRed), "10");
    EXPECT_EQ(panel->GetComponentText(CLightControlUI::kGreen), "20");
    EXPECT_EQ(panel->GetComponentText(CLightControlUI::kBlue), "30");
    EXPECT_EQ(panel->GetPaletteColour(), 0xFF0A141Eu);
    EXPECT_EQ(Get("deng_colordp_btn")->GetBkColor(), 0xFF0A141Eu);
    EXPECT_TRUE(panel->GetMultiColour());
    EXPECT_EQ(panel->GetModeVariant(), 2);
    EXPECT_TRUE(window->Find<ui::COptionUI>("deng_FXL_check")->IsSelected());
    EXPECT_FALSE(window->Find<ui::COptionUI>("deng_FXR_check")->IsSelected());
    EXPECT_FALSE(Shown("deng_speed_layout")) << "the mode's rules ran";

    panel->ShowLightFields(0x00000002u, 0u, 0u);
    EXPECT_TRUE(window->Find<ui::COptionUI>("deng_FXR_check")->IsSelected());
    EXPECT_FALSE(panel->GetMultiColour());
}

TEST_F(LightPanelTest, ModeItemsAreLabelsNamedByTheirTextIdsAndSlidersTakeTheMaxima) {
    CLightControlUI* panel = Open();
    ASSERT_NE(panel, nullptr);
    panel->FillModes({"light_mode_wave", "light_mode_static", "light_mode_off"},
                     {true, false, true}, 4, 2);
    auto* combo = window->Find<ui::CComboUI>("light_combo_modeSelect");
    ASSERT_EQ(combo->GetCount(), 3);
    ui::CControlUI* item = combo->GetItemAt(1);
    EXPECT_EQ(item->GetUserData(), "light_mode_static");
    EXPECT_EQ(item->GetRawText(), "light_mode_static");
    EXPECT_EQ(item->GetText(), ui::CResourceManager::GetInstance().GetText("light_mode_static"));
    EXPECT_EQ(item->GetWidget()->minimumHeight(), CLightControlUI::kModeItemHeight);
    EXPECT_EQ(window->Find<ui::CSliderUI>("deng_light_slider")->GetMaxValue(), 4);
    EXPECT_EQ(window->Find<ui::CSliderUI>("deng_speed_slider")->GetMaxValue(), 2);
    panel->FillModes({"light_mode_wave"}, {true}, 3, 3);
    EXPECT_EQ(combo->GetCount(), 1) << "the items are rebuilt, not added to";
}

TEST_F(LightPanelTest, MusicRecordShowsTheEditedColourAndModeThreeDisablesTheColours) {
    CLightControlUI* panel = OpenKind(1, false);
    ASSERT_NE(panel, nullptr);
    config::AudioLightRecord record{};
    record.audioMode = 1;
    record.bkRed = 1, record.bkGreen = 2, record.bkBlue = 3;
    record.fgRed = 200, record.fgGreen = 100, record.fgBlue = 50;
    record.sevenColorFlags = 1;
    record.colorTypeFlags = 1;
    ASSERT_TRUE(panel->SetMusicRecord(record));
    EXPECT_EQ(panel->MusicComponentText(0), "200");
    EXPECT_EQ(panel->MusicComponentText(2), "50");
    EXPECT_EQ(Get("deng_audiocolordp_btn")->GetBkColor(), 0xFFC86432u);
    EXPECT_TRUE(window->Find<ui::COptionUI>("audio_FgColor_check")->IsSelected());
    EXPECT_FALSE(window->Find<ui::COptionUI>("audio_BkColor_check")->IsSelected());
    EXPECT_TRUE(Enabled("deng_7audiocolor_check"));
    EXPECT_TRUE(window->Find<ui::COptionUI>("deng_7audiocolor_check")->IsSelected());
    EXPECT_TRUE(Enabled("light_audiocolor_layout"));
    EXPECT_TRUE(Enabled("audiocolorpallet_layout"));

    record.colorTypeFlags = 0;
    record.audioMode = 3;
    ASSERT_TRUE(panel->SetMusicRecord(record));
    EXPECT_EQ(panel->MusicComponentText(1), "2");
    EXPECT_FALSE(Enabled("deng_7audiocolor_check"));
    EXPECT_FALSE(Enabled("light_audiocolor_layout"));
    EXPECT_FALSE(Enabled("audiocolorpallet_layout"));

    // Back to the foreground: the background colour the button shows is kept where it was
    // edited, not copied into the foreground.
    Get("deng_audiocolordp_btn")->SetBkColor(0xFF070809u);
    window->Find<ui::COptionUI>("audio_FgColor_check")->Selected(true, false);
    window->Find<ui::COptionUI>("audio_BkColor_check")->Selected(false, false);
    config::AudioLightRecord read{};
    ASSERT_TRUE(panel->GetMusicRecord(true, read));
    EXPECT_EQ(read.colorTypeFlags, 1);
    EXPECT_EQ(read.audioMode, 3);
    EXPECT_EQ((std::array{read.bkRed, read.bkGreen, read.bkBlue}),
              (std::array<std::uint8_t, 3>{7, 8, 9}));
    EXPECT_EQ((std::array{read.fgRed, read.fgGreen, read.fgBlue}),
              (std::array<std::uint8_t, 3>{200, 100, 50}));
}

TEST_F(LightPanelTest, WithoutItsControlsThePanelAnswersTheEmptyValues) {
    CLightControlUI* panel = Open("bare_window.xml");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetMode(), -1);
    EXPECT_EQ(panel->GetCustomMode(), -1);
    EXPECT_EQ(panel->GetModeVariant(), -1);
    EXPECT_EQ(panel->GetBrightness(), 0);
    EXPECT_EQ(panel->GetSpeed(), 0);
    EXPECT_EQ(panel->GetComponentText(CLightControlUI::kGreen), QString());
    EXPECT_EQ(panel->GetPaletteColour(), 0xFF000000u);
    EXPECT_FALSE(panel->GetMultiColour());
    EXPECT_EQ(panel->PresetColour(0), 0u);
    EXPECT_EQ(panel->MusicPresetColour(0), 0u);
    EXPECT_EQ(panel->MusicComponentText(0), QString());
    config::AudioLightRecord record{};
    record.audioMode = 2;
    EXPECT_FALSE(panel->SetMusicRecord(record));
    EXPECT_FALSE(panel->GetMusicRecord(true, record));
    EXPECT_EQ(record.audioMode, 2) << "nothing is read without the controls";
    panel->ShowLightFields(0x0302010Fu, 0xFFFFFFFFu, 0u); // nothing to show it in, no crash
}

} // namespace

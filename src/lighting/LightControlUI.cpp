#include "lighting/LightControlUI.h"

#include "lighting/LightVisibility.h"
#include "platform/DebugLog.h"
#include "ui/ButtonUI.h"
#include "ui/ColorPaletteUI.h"
#include "ui/ComboUI.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/PaintManagerUI.h"
#include "ui/SliderUI.h"

#include <QListView>

namespace lighting {

namespace {

constexpr const char* kModeCombo = "light_combo_modeSelect";
constexpr const char* kCustomCombo = "light_combo_custommodeSelect";
constexpr const char* kVariantCombo = "light_combo_ZZCCmodeSelect";
constexpr const char* kMusicCombo = "light_combo_audiomodeSelect";
constexpr const char* kBrightness = "deng_light_slider";
constexpr const char* kSpeed = "deng_speed_slider";
constexpr const char* kPalette = "deng_Color_Pallet";
constexpr const char* kColourButton = "deng_colordp_btn";
constexpr const char* kMultiColour = "deng_7color_check";
constexpr const char* kLeft = "deng_FXL_check";
constexpr const char* kRight = "deng_FXR_check";
constexpr const char* kEdits[] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
constexpr const char* kMusicEdits[] = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};
constexpr const char* kMusicMultiColour = "deng_7audiocolor_check";
constexpr const char* kMusicBack = "audio_BkColor_check";
constexpr const char* kMusicFore = "audio_FgColor_check";
constexpr const char* kMusicPalette = "deng_audioColor_Pallet";
constexpr const char* kMusicColourButton = "deng_audiocolordp_btn";
constexpr int kMusicModeWithoutColours = 3;

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 | blue;
}

std::uint8_t ByteOf(std::uint32_t word, int byte) {
    return static_cast<std::uint8_t>(word >> (8 * byte));
}

} // namespace

LightWords PackLightWords(const config::LightInfoRecord& f) {
    LightWords words;
    words.a = static_cast<std::uint32_t>(f.selectItem) | static_cast<std::uint32_t>(f.light) << 8 |
              static_cast<std::uint32_t>(f.speed) << 16 | static_cast<std::uint32_t>(f.fx) << 24;
    words.b = static_cast<std::uint32_t>(f.multiColor) | static_cast<std::uint32_t>(f.red) << 8 |
              static_cast<std::uint32_t>(f.green) << 16 | static_cast<std::uint32_t>(f.blue) << 24;
    words.c = static_cast<std::uint32_t>(f.zzccLedMode) << 24;
    return words;
}

ui::CControlUI* CLightControlUI::Control(const char* name) const {
    const QString key = QString::fromLatin1(name);
    const auto it = m_controls.find(key);
    if (it != m_controls.end())
        return it->second;
    ui::CPaintManagerUI* pm = GetManager();
    ui::CControlUI* control =
        pm ? pm->FindSubControlByName(const_cast<CLightControlUI*>(this), key) : nullptr;
    // A control the skin lacks is looked for again next time: the panel may still be building.
    if (control)
        m_controls.emplace(key, control);
    return control;
}

void CLightControlUI::Enable(const char* name, bool on) const {
    if (ui::CControlUI* control = Control(name))
        control->SetEnabled(on);
}

void CLightControlUI::Show(const char* name, bool on) const {
    if (ui::CControlUI* control = Control(name))
        control->SetVisible(on);
}

void CLightControlUI::SetText(const char* name, const char* textId) const {
    if (ui::CControlUI* control = Control(name))
        control->SetText(QString::fromLatin1(textId));
}

int CLightControlUI::ComboIndex(const char* name) const {
    const auto* combo = ControlAs<ui::CComboUI>(name);
    return combo ? combo->GetCurSel() : -1;
}

void CLightControlUI::SelectComboItem(const char* name, int index) const {
    // Showing a state is not a choice of the user: no "itemselect".
    if (auto* combo = ControlAs<ui::CComboUI>(name))
        combo->SelectItem(index, false, false);
}

// ---- Modes and rules ----

void CLightControlUI::SetSeveralDevices(bool several) {
    m_severalDevices = several ? 1 : 0;
    ApplyRules(GetMode());
}

void CLightControlUI::FillModes(const QStringList& names, const std::vector<bool>& visible,
                                int brightnessMax, int speedMax) {
    if (auto* combo = ControlAs<ui::CComboUI>(kModeCombo)) {
        combo->RemoveAll();
        for (int i = 0; i < names.size(); ++i) {
            auto* item = new ui::CListLabelElementUI;
            item->SetFixedHeight(kModeItemHeight);
            item->SetResourceText(true);
            item->SetText(names[i]);
            item->SetUserData(names[i]);
            combo->Add(item);
        }
        // The rows themselves are never shown; the drop-down list is what the user sees.
        if (auto* view = qobject_cast<QListView*>(combo->view())) {
            for (int i = 0; i < names.size(); ++i) {
                const bool shown = static_cast<std::size_t>(i) < visible.size() &&
                                   visible[static_cast<std::size_t>(i)];
                view->setRowHidden(i, !shown);
            }
        }
    }
    if (auto* slider = ControlAs<ui::CSliderUI>(kBrightness))
        slider->SetMaxValue(brightnessMax);
    if (auto* slider = ControlAs<ui::CSliderUI>(kSpeed))
        slider->SetMaxValue(speedMax);
}

void CLightControlUI::ApplyRules(int mode) {
    const LightRule rule = LightRuleFor(m_kind, mode);
    Enable("lighteffect_layout", true);
    Show("deng_same_mode", rule.same && m_severalDevices);
    Enable(kMultiColour, rule.multiColour);
    Enable("deng_color_layout", rule.colourLayout);
    Enable("colorpallet_layout", rule.palette);
    Enable("deng_light_layout", rule.brightness);
    Enable("deng_speed_layout", rule.speed);
    Enable("deng_fx_layout", rule.direction);
    if (m_kind != kPanelKeyboard)
        return;
    Show("lightcustom_layout", rule.customShown);
    Show("deng_speed_layout", rule.speedShown);
    Show("light_combo_ZZCCmodeSelectLayout", rule.variantShown);
    Show("light_combo_AudiomodeSelectLayout", rule.musicShown);
    Enable("light_color_layout", rule.colourBlock);
    SetText(kLeft, rule.leftText);
    SetText(kRight, rule.rightText);
    if (auto* pages = ControlAs<ui::CTabLayoutUI>("light_color_tablayout"))
        pages->SelectItem(rule.colourPage);
}

void CLightControlUI::ShowLightFields(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    SetMode(ByteOf(a, 0));
    SetBrightness(ByteOf(a, 1));
    SetSpeed(ByteOf(a, 2));
    const std::uint8_t red = ByteOf(b, 1);
    const std::uint8_t green = ByteOf(b, 2);
    const std::uint8_t blue = ByteOf(b, 3);
    SetComponentText(kRed, QString::number(red));
    SetComponentText(kGreen, QString::number(green));
    SetComponentText(kBlue, QString::number(blue));
    SetPaletteColour(kOpaque | Rgb(red, green, blue));
    SetMultiColour(ByteOf(b, 0) != 0);
    SetModeVariant(ByteOf(c, 3));
    const bool leftward = ByteOf(a, 3) == 1;
    if (auto* option = ControlAs<ui::COptionUI>(leftward ? kLeft : kRight))
        option->Selected(true, false);
    if (auto* option = ControlAs<ui::COptionUI>(leftward ? kRight : kLeft))
        option->Selected(false, false);
}

void CLightControlUI::ShowLightFields(const config::LightInfoRecord& fields) {
    const LightWords words = PackLightWords(fields);
    ShowLightFields(words.a, words.b, words.c);
}

// ---- Getters and setters ----

int CLightControlUI::GetMode() const {
    return ComboIndex(kModeCombo);
}

void CLightControlUI::SetMode(int mode) {
    SelectComboItem(kModeCombo, mode);
    ApplyRules(mode);
}

int CLightControlUI::GetCustomMode() const {
    return ComboIndex(kCustomCombo);
}

void CLightControlUI::SetCustomMode(int group) {
    SelectComboItem(kCustomCombo, group);
}

int CLightControlUI::GetModeVariant() const {
    return ComboIndex(kVariantCombo);
}

void CLightControlUI::SetModeVariant(int variant) {
    SelectComboItem(kVariantCombo, variant);
}

int CLightControlUI::GetBrightness() const {
    const auto* slider = ControlAs<ui::CSliderUI>(kBrightness);
    return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetBrightness(int value) {
    if (auto* slider = ControlAs<ui::CSliderUI>(kBrightness))
        slider->SetValue(value);
}

int CLightControlUI::GetSpeed() const {
    const auto* slider = ControlAs<ui::CSliderUI>(kSpeed);
    return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetSpeed(int value) {
    if (auto* slider = ControlAs<ui::CSliderUI>(kSpeed))
        slider->SetValue(value);
}

QString CLightControlUI::GetComponentText(int component) const {
    if (component < 0 || component > 2)
        return {};
    const ui::CControlUI* edit = Control(kEdits[component]);
    return edit ? edit->GetText() : QString();
}

void CLightControlUI::SetComponentText(int component, const QString& text) {
    if (component < 0 || component > 2)
        return;
    if (ui::CControlUI* edit = Control(kEdits[component]))
        edit->SetText(text);
}

std::uint32_t CLightControlUI::GetPaletteColour() const {
    const auto* palette = ControlAs<ui::CColorPaletteUI>(kPalette);
    return palette ? palette->GetSelectColor() : kOpaque;
}

void CLightControlUI::SetPaletteColour(std::uint32_t argb) {
    if (auto* palette = ControlAs<ui::CColorPaletteUI>(kPalette))
        palette->SetSelectColor(argb);
    if (ui::CControlUI* button = Control(kColourButton))
        button->SetBkColor(argb);
}

bool CLightControlUI::GetMultiColour() const {
    const auto* option = ControlAs<ui::COptionUI>(kMultiColour);
    return option && option->IsSelected();
}

void CLightControlUI::SetMultiColour(bool on) {
    if (auto* option = ControlAs<ui::COptionUI>(kMultiColour))
        option->Selected(on, false);
}

std::uint32_t CLightControlUI::PresetColour(int n) const {
    const QByteArray name = "color_option_" + QByteArray::number(n);
    const ui::CControlUI* preset = Control(name.constData());
    return preset ? preset->GetBkColor() : 0;
}

// ---- Music record ----

void CLightControlUI::ShowMusicColour(std::uint32_t rgb) const {
    for (int i = 0; i < 3; ++i) {
        if (ui::CControlUI* edit = Control(kMusicEdits[i]))
            edit->SetText(QString::number(ByteOf(rgb, 2 - i)));
    }
    if (auto* palette = ControlAs<ui::CColorPaletteUI>(kMusicPalette))
        palette->SetSelectColor(kOpaque | rgb);
    if (ui::CControlUI* button = Control(kMusicColourButton))
        button->SetBkColor(kOpaque | rgb);
}

bool CLightControlUI::SetMusicRecord(const config::AudioLightRecord& record) {
    if (!Control(kMusicCombo)) {
        platform::DebugLine(" SetAudioLightInfo control is NULL");
        return false;
    }
    m_music = record;
    SelectComboItem(kMusicCombo, record.audioMode);
    const bool foreground = record.colorTypeFlags == 1;
    auto* fore = ControlAs<ui::COptionUI>(kMusicFore);
    auto* back = ControlAs<ui::COptionUI>(kMusicBack);
    auto* multi = ControlAs<ui::COptionUI>(kMusicMultiColour);
    if (fore)
        fore->Selected(foreground, false);
    if (back)
        back->Selected(!foreground, false);
    if (multi) {
        multi->SetEnabled(foreground);
        if (foreground)
            multi->Selected(record.sevenColorFlags != 0, false);
    }
    ShowMusicColour(foreground ? Rgb(record.fgRed, record.fgGreen, record.fgBlue)
                               : Rgb(record.bkRed, record.bkGreen, record.bkBlue));
    const bool colours = record.audioMode != kMusicModeWithoutColours;
    Enable("light_audiocolor_layout", colours);
    Enable("audiocolorpallet_layout", colours);
    return true;
}

bool CLightControlUI::GetMusicRecord(bool takeColour, config::AudioLightRecord& record) {
    auto* multi = ControlAs<ui::COptionUI>(kMusicMultiColour);
    auto* back = ControlAs<ui::COptionUI>(kMusicBack);
    auto* fore = ControlAs<ui::COptionUI>(kMusicFore);
    ui::CControlUI* button = Control(kMusicColourButton);
    if (!Control(kMusicCombo) || !multi || !back || !fore || !button) {
        platform::DebugLine("GetAudioLightInfo control is NULL");
        return false;
    }
    record = m_music;
    record.audioMode = static_cast<std::uint8_t>(ComboIndex(kMusicCombo));
    const bool wasForeground = m_music.colorTypeFlags == 1;
    // The button shows the colour that was being edited: it goes there before the choice of
    // the other colour takes effect, so a switch never copies one colour into the other.
    if (takeColour) {
        const std::uint32_t shown = button->GetBkColor();
        const auto red = ByteOf(shown, 2), green = ByteOf(shown, 1), blue = ByteOf(shown, 0);
        if (wasForeground) {
            record.fgRed = red;
            record.fgGreen = green;
            record.fgBlue = blue;
        } else {
            record.bkRed = red;
            record.bkGreen = green;
            record.bkBlue = blue;
        }
    }
    const bool background = back->IsSelected() && (wasForeground || !fore->IsSelected());
    record.colorTypeFlags = background ? 0 : 1;
    record.sevenColorFlags = multi->IsSelected() ? 1 : 0;
    return true;
}

std::uint32_t CLightControlUI::MusicPresetColour(int n) const {
    const QByteArray name = "audiocolor_option_" + QByteArray::number(n);
    const ui::CControlUI* preset = Control(name.constData());
    return preset ? preset->GetBkColor() : 0;
}

QString CLightControlUI::MusicComponentText(int component) const {
    const ui::CControlUI* edit =
        component >= 0 && component <= 2 ? Control(kMusicEdits[component]) : nullptr;
    if (!edit) {
        platform::DebugLine("GetLightAudioColor control is NULL");
        return {};
    }
    return edit->GetText();
}

} // namespace lighting

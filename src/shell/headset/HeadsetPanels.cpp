#include "shell/headset/HeadsetPanels.h"

#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ControlNames.h"
#include "ui/ControlTree.h"
#include "ui/EditUI.h"
#include "ui/ListUI.h"
#include "ui/SliderUI.h"

namespace shell::headset {

namespace {
constexpr int kEqOptions = 13;
constexpr int kBands = 10;
constexpr int kVoiceEffects = 4;
constexpr int kNameItemHeight = 30;

} // namespace

// ---- CVoice6533ControlUI ----

template <class T> T* CVoice6533ControlUI::Child(const QString& name) const {
    return dynamic_cast<T*>(ui::FindInTreeByName(const_cast<CVoice6533ControlUI*>(this), name));
}

void CVoice6533ControlUI::SelectEqOption(int option) {
    for (int n = 1; n <= kEqOptions; ++n)
        if (auto* o = Child<ui::COptionUI>(ui::Numbered("6533_eq_option_", n)))
            o->Selected(n == option, false);
}

int CVoice6533ControlUI::GetBand(int band) const {
    auto* slider = Child<ui::CSliderUI>(ui::Numbered("6533_eq_hz_slider_", band));
    return slider ? slider->GetValue() : -1;
}

void CVoice6533ControlUI::SetBand(int band, int value) {
    if (auto* slider = Child<ui::CSliderUI>(ui::Numbered("6533_eq_hz_slider_", band)))
        slider->SetValue(value);
}

std::vector<int> CVoice6533ControlUI::Bands() const {
    std::vector<int> bands;
    for (int i = 0; i < kBands; ++i)
        bands.push_back(GetBand(i));
    return bands;
}

void CVoice6533ControlUI::SetBands(const std::vector<int>& bands) {
    for (int i = 0; i < kBands && i < static_cast<int>(bands.size()); ++i)
        SetBand(i, bands[static_cast<std::size_t>(i)]);
}

void CVoice6533ControlUI::EnableCustomLayout(bool on) {
    if (ui::CControlUI* layout = Child(QStringLiteral("custom_eq_option_layout")))
        layout->SetEnabled(on);
}

void CVoice6533ControlUI::SetSwitch(const char* option, const char* slider, bool on, int level) {
    if (auto* o = Child<ui::COptionUI>(QLatin1String(option)))
        o->Selected(on, false);
    if (auto* s = Child<ui::CSliderUI>(QLatin1String(slider)))
        s->SetValue(level);
}

void CVoice6533ControlUI::SetMic(bool on, int level) {
    SetSwitch("6533_MicIn_option", "6533_MicIn_slider", on, level);
}

void CVoice6533ControlUI::SetMonitor(bool on, int level) {
    SetSwitch("6533_MicMoniter_option", "6533_MicMoniter_slider", on, level);
}

QString CVoice6533ControlUI::NameEditText() const {
    auto* edit = Child<ui::CEditUI>(QStringLiteral("custom_eq_name_edit"));
    return edit ? edit->GetText() : QString();
}

void CVoice6533ControlUI::SetNameEditText(const QString& text) {
    if (auto* edit = Child<ui::CEditUI>(QStringLiteral("custom_eq_name_edit")))
        edit->SetText(text);
}

ui::CComboUI* CVoice6533ControlUI::NameCombo() const {
    return Child<ui::CComboUI>(QStringLiteral("custom_eq_name_combo"));
}

void CVoice6533ControlUI::AddName(const QString& name) {
    ui::CComboUI* combo = NameCombo();
    if (!combo)
        return;
    auto* item = new ui::CListLabelElementUI;
    item->SetText(name);
    item->SetUserData(name);
    item->SetFixedHeight(kNameItemHeight);
    combo->Add(item);
}

int CVoice6533ControlUI::SelectedName() const {
    ui::CComboUI* combo = NameCombo();
    return combo ? combo->GetCurSel() : -1;
}

int CVoice6533ControlUI::NameCount() const {
    ui::CComboUI* combo = NameCombo();
    return combo ? combo->GetCount() : 0;
}

void CVoice6533ControlUI::SelectName(int index) {
    if (ui::CComboUI* combo = NameCombo())
        combo->SelectItem(index, false, false);
    SetNameEditText(QString());
}

void CVoice6533ControlUI::RemoveName(int index) {
    if (ui::CComboUI* combo = NameCombo())
        combo->RemoveAt(index);
}

void CVoice6533ControlUI::RemoveAllNames() {
    if (ui::CComboUI* combo = NameCombo())
        combo->RemoveAll();
}

QString CVoice6533ControlUI::NameAt(int index) const {
    ui::CComboUI* combo = NameCombo();
    ui::CControlUI* item = combo ? combo->GetItemAt(index) : nullptr;
    return item ? item->GetText() : QString();
}

void CVoice6533ControlUI::Show(const config::HeadsetSettings& s, const std::vector<int>& bands) {
    SelectEqOption(s.eqType);
    EnableCustomLayout(s.eqType == kEqOptions);
    SetBands(bands);
    SetMic(s.micInSelect != 0, s.micInValue);
    SetMonitor(s.micMonitorSelect != 0, s.micMonitorValue);
}

// ---- CMagicControlUI ----

template <class T> T* CMagicControlUI::Child(const QString& name) const {
    return dynamic_cast<T*>(ui::FindInTreeByName(const_cast<CMagicControlUI*>(this), name));
}

void CMagicControlUI::SetVoiceEffectOn(bool on) {
    if (auto* o = Child<ui::COptionUI>(QStringLiteral("magic_enable_option")))
        o->Selected(on, false);
    if (ui::CControlUI* layout = Child(QStringLiteral("magic_option_layout")))
        layout->SetEnabled(on);
}

bool CMagicControlUI::IsVoiceEffectOn() const {
    auto* o = Child<ui::COptionUI>(QStringLiteral("magic_enable_option"));
    return o && o->IsSelected();
}

void CMagicControlUI::SelectVoiceEffect(int effect) {
    for (int n = 1; n <= kVoiceEffects; ++n)
        if (auto* o = Child<ui::COptionUI>(ui::Numbered("magic_option_", n)))
            o->Selected(n == effect, false);
}

} // namespace shell::headset

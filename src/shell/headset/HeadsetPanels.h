#pragma once
// The headset page's two panels, thin views the headset's routes read and set:
//   CVoice6533ControlUI ("Voice6533Control"): equaliser options "6533_eq_option_" 1 … 13, band
//     sliders "6533_eq_hz_slider_" 0 … 9, the custom equalisers ("custom_eq_option_layout",
//     "custom_eq_name_edit", "custom_eq_name_combo"), microphone and monitor switches and
//     levels ("6533_MicIn_option"/"_slider", "6533_MicMoniter_option"/"_slider");
//   CMagicControlUI ("MagicControl"): "magic_enable_option" and "magic_option_" 1 … 4 in
//     "magic_option_layout".
// Switches are set without a notification; a missing slider reads -1.

#include "config/ProfileRecords.h"
#include "ui/ContainerUI.h"

#include <QString>
#include <vector>

namespace ui {
class CComboUI;
}

namespace shell::headset {

class CVoice6533ControlUI : public ui::CHorizontalLayoutUI {
public:
    QString GetClass() const override { return QStringLiteral("Voice6533Control"); }

    // Exactly option n selected; outside 1 … 13 none.
    void SelectEqOption(int option);
    int GetBand(int band) const;
    void SetBand(int band, int value);
    std::vector<int> Bands() const;
    void SetBands(const std::vector<int>& bands);
    void EnableCustomLayout(bool on);
    void SetMic(bool on, int level);
    void SetMonitor(bool on, int level);

    QString NameEditText() const;
    void SetNameEditText(const QString& text);
    ui::CComboUI* NameCombo() const;
    void AddName(const QString& name);
    int SelectedName() const;
    int NameCount() const;
    // Selects item k and clears the name edit.
    void SelectName(int index);
    void RemoveName(int index);
    void RemoveAllNames();
    QString NameAt(int index) const;

    // Everything from the headset's settings and bands.
    void Show(const config::HeadsetSettings& settings, const std::vector<int>& bands);

private:
    template <class T = ui::CControlUI> T* Child(const QString& name) const;
    void SetSwitch(const char* option, const char* slider, bool on, int level);
};

class CMagicControlUI : public ui::CHorizontalLayoutUI {
public:
    QString GetClass() const override { return QStringLiteral("MagicControl"); }

    void SetVoiceEffectOn(bool on);
    bool IsVoiceEffectOn() const;
    // Exactly effect n selected; 0 or outside 1 … 4 none.
    void SelectVoiceEffect(int effect);

private:
    template <class T = ui::CControlUI> T* Child(const QString& name) const;
};

} // namespace shell::headset

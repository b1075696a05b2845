#pragma once
// CLightControlUI ("LightControl"): the lighting page of a device. It shows the device's
// lighting (mode, brightness, speed, direction, one colour or multi-colour, the keyboard's
// custom modes and mode variant, the colours of music lighting) and enables its parts by the
// device kind and the mode. The main window's lighting routes turn the user's changes into the
// device's light fields. Built from "XML/CustomControlXML/LightControl.xml".
//
// Controls are found by name on first use; any may be missing from the skin: a getter then
// answers -1 (combos), 0 (sliders, presets), 0xFF000000 (palette) or an empty text, and a
// setter does nothing.

#include "config/ProfileRecords.h"
#include "ui/ContainerUI.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

namespace lighting {

// The light fields as three words: a = mode | brightness << 8 | speed << 16 | direction << 24;
// b = multi-colour | red << 8 | green << 16 | blue << 24; c, whose top byte is the mode variant.
struct LightWords {
    std::uint32_t a = 0;
    std::uint32_t b = 0;
    std::uint32_t c = 0;
};
LightWords PackLightWords(const config::LightInfoRecord& fields);

class CLightControlUI : public ui::CHorizontalLayoutUI {
public:
    enum Component : int { kRed = 0, kGreen = 1, kBlue = 2 };
    static constexpr int kModeItemHeight = 30;

    QString GetClass() const override { return QStringLiteral("LightControl"); }

    void SetKind(int kind) { m_kind = kind; }
    int GetKind() const { return m_kind; }
    // More than one device item is connected; the rules of the current mode apply again.
    void SetSeveralDevices(bool several);
    bool HasSeveralDevices() const { return m_severalDevices != 0; }

    // Rebuilds the items of "light_combo_modeSelect" (item index = mode number; text and user
    // data the mode's name as a text id; a mode not visible is left out of the drop-down) and
    // sets the maxima of the two sliders.
    void FillModes(const QStringList& names, const std::vector<bool>& visible, int brightnessMax,
                   int speedMax);
    // Shows the fields: mode (with its rules), sliders, colour, multi-colour, variant, direction.
    void ShowLightFields(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    void ShowLightFields(const config::LightInfoRecord& fields);
    // Resets the panel, then applies the row of `mode` for the panel's kind.
    void ApplyRules(int mode);

    int GetMode() const;
    void SetMode(int mode);
    int GetCustomMode() const;
    void SetCustomMode(int group);
    int GetModeVariant() const;
    void SetModeVariant(int variant);
    int GetBrightness() const;
    void SetBrightness(int value);
    int GetSpeed() const;
    void SetSpeed(int value);
    // The texts of "deng_edit_R", "deng_edit_G", "deng_edit_B".
    QString GetComponentText(int component) const;
    void SetComponentText(int component, const QString& text);
    // 0xAARRGGBB of "deng_Color_Pallet"; setting it colours "deng_colordp_btn" too.
    std::uint32_t GetPaletteColour() const;
    void SetPaletteColour(std::uint32_t argb);
    bool GetMultiColour() const;
    void SetMultiColour(bool on);
    // The background colour of "color_option_" n, 0 when there is none.
    std::uint32_t PresetColour(int n) const;

    // Music record: stores and shows it. False (" SetAudioLightInfo control is NULL") without
    // "light_combo_audiomodeSelect".
    bool SetMusicRecord(const config::AudioLightRecord& record);
    // Reads it back into `record`: mode, multi-colour and the colour being edited; with
    // `takeColour`, the colour "deng_audiocolordp_btn" shows goes into the colour that was being
    // edited. False ("GetAudioLightInfo control is NULL") when a music control is missing.
    bool GetMusicRecord(bool takeColour, config::AudioLightRecord& record);
    const config::AudioLightRecord& StoredMusicRecord() const { return m_music; }
    std::uint32_t MusicPresetColour(int n) const;
    // The text of "deng_audioedit_R", "_G" or "_B"; empty ("GetLightAudioColor control is
    // NULL") when the edit is missing.
    QString MusicComponentText(int component) const;

private:
    ui::CControlUI* Control(const char* name) const;
    template <class T> T* ControlAs(const char* name) const {
        return dynamic_cast<T*>(Control(name));
    }
    void Enable(const char* name, bool on) const;
    void Show(const char* name, bool on) const;
    void SetText(const char* name, const char* textId) const;
    int ComboIndex(const char* name) const;
    void SelectComboItem(const char* name, int index) const;
    void ShowMusicColour(std::uint32_t rgb) const;

    mutable std::map<QString, ui::CControlUI*> m_controls;
    int m_kind = 1;
    std::uint8_t m_severalDevices = 0;
    config::AudioLightRecord m_music;
};

} // namespace lighting

#pragma once
// CKelvaneHS6533Device: the headset (device kind 7). Its audio settings do not travel over the
// command channel but through the audio library (HeadsetAudio.h): microphone and monitor level
// and mute, the equaliser (presets, custom equalisers, single bands) and the voice effect. It
// keeps the eight headset settings in its profile and saves them after every change that
// reached the headset.

#include "config/Hs6533Profiledata.h"
#include "devices/HeadsetAudio.h"
#include "devices/KelvaneUSBDevice.h"

#include <vector>

namespace devices {

// The headset page's panels as the headset model drives them.
class IHeadsetView {
public:
    virtual ~IHeadsetView() = default;
    // Equaliser option, switches and levels, voice effect, from the settings.
    virtual void ShowSettings(const config::HeadsetSettings& settings) = 0;
    // The ten band sliders.
    virtual void ShowBands(const std::vector<int>& bands) = 0;
    // The custom equalisers' names, the selected one chosen.
    virtual void ShowCustomEqNames(const std::vector<std::wstring>& names, int selected) = 0;
};

// A level read back in decibels with its range.
struct DecibelRange {
    double min = 0;
    double max = 0;
    double step = 0;
    double level = 0;
};

class CKelvaneHS6533Device : public CKelvaneUSBDevice {
public:
    static constexpr int kCustomEq = config::CHs6533Profiledata::kCustomEqType;

    explicit CKelvaneHS6533Device(transport::HidBackend* backend = nullptr);
    config::CHs6533Profiledata& Profile() {
        return static_cast<config::CHs6533Profiledata&>(ProfileData());
    }
    std::string GetClass() const override { return "KelvaneHS6533Device"; }
    int GetDeviceKind() const override { return transport::kKindHeadset; }
    void SetHeadsetView(IHeadsetView* view) { m_headsetView = view; }

    // ---- Start-up ----

    // The process's library and endpoints (once), then the initial synchronisation and the
    // settings read into the profile. Nothing is done without a playback endpoint.
    AudioStart StartAudio();
    // Each property read; where the read fails the default is written.
    void SynchroniseDefaults();
    // Microphone and monitor range, level and mute, voice effect, into the profile.
    void ReadSettings();
    int ReadAllFromDevice() override { return Reconnect(true); }
    int ReconnectForProfile() override { return Reconnect(false); }
    void ReloadProfile() override;
    void StoreProfile() override;
    void RefreshPanels() override;

    // ---- User changes: false when the headset did not take it (nothing stored) ----

    bool SetMicLevel(int level);
    bool SetMicMuted(bool muted);
    bool SetMonitorLevel(int level);
    bool SetMonitorMuted(bool muted);
    // Equaliser option 1 … 13 (13: the selected custom equaliser's bands); 0 does nothing.
    bool SelectEqOption(int option);
    // Band 0 … 9 moved by hand: the equaliser becomes the custom one.
    bool SetEqBand(int band, int value);
    bool SetVoiceEffect(bool on);
    // Voice effect 1 … 4; 0 (or out of range) changes nothing.
    bool SelectVoiceEffect(int effect);
    // The bands of custom equaliser `index` (-1 does nothing).
    bool SelectCustomEq(int index);
    // The profile's settings to the headset (after a profile switch or reset): microphone and
    // monitor level and switch, equaliser, voice effect. False when any was refused.
    bool ApplyProfileSettings();
    // Custom equaliser `index` takes these bands and becomes the selected one (stored only:
    // the bands are what the sliders show, and so what the headset plays already).
    void StoreCustomEq(int index, const std::vector<int>& bands);
    // Custom equaliser `index` leaves the name list, the later ones move up.
    void RemoveCustomEq(int index);

    const config::HeadsetSettings& Settings() const { return m_settings; }
    const std::vector<int>& Bands() const { return m_bands; }
    const DecibelRange& MicRange() const { return m_mic; }
    const DecibelRange& MonitorRange() const { return m_monitor; }
    // The process's audio library unless another was given (the tests' virtual headset).
    CHeadsetAudio& Audio() { return m_audio ? *m_audio : CHeadsetAudio::Process(); }
    void UseAudio(CHeadsetAudio& audio) { m_audio = &audio; }

private:
    // ReadAllFromDevice, with the device's state taken into the profile or not.
    int Reconnect(bool takeState);
    bool WriteBands(const std::vector<int>& bands);
    void ReadOrDefault(bool output, const wchar_t* property, std::int32_t fallback,
                       std::optional<std::int32_t> channel = std::nullopt);
    DecibelRange ReadRange(const wchar_t* max, const wchar_t* min, const wchar_t* step,
                           const wchar_t* level, std::int32_t channel);
    bool SetLevel(const wchar_t* scalar, const wchar_t* decibels, std::int32_t channel, int level,
                  std::int32_t config::HeadsetSettings::*stored, DecibelRange& range);
    void Save();

    CHeadsetAudio* m_audio = nullptr;
    IHeadsetView* m_headsetView = nullptr;
    config::HeadsetSettings m_settings;
    std::vector<int> m_bands = std::vector<int>(config::CHs6533Profiledata::kEqBands, 0);
    DecibelRange m_mic;
    DecibelRange m_monitor;
};

} // namespace devices

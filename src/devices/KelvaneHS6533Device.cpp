#include "devices/KelvaneHS6533Device.h"

#include "config/Utf8.h"
#include "headset/HeadsetProperties.h"

#include <cmath>

namespace devices {

namespace p = headset::property;

namespace {
constexpr bool kOutput = true;
constexpr bool kInput = false;
constexpr std::int32_t kAllChannels = -1;
constexpr std::int32_t kChannel0 = 0;
constexpr int kLevelMax = 100;
constexpr int kVoiceEffects = 4;

// Ten bands whatever the profile holds: a missing custom equaliser reads as none.
std::vector<int> TenBands(std::vector<int> bands) {
    bands.resize(config::CHs6533Profiledata::kEqBands, 0);
    return bands;
}
} // namespace

CKelvaneHS6533Device::CKelvaneHS6533Device(transport::HidBackend* backend)
    : CKelvaneUSBDevice(backend, std::make_unique<config::CHs6533Profiledata>()) {}

// ---- Start-up ----

AudioStart CKelvaneHS6533Device::StartAudio() {
    const AudioStart start = Audio().Start();
    if (!Audio().Output())
        return start;
    SynchroniseDefaults();
    ReadSettings();
    return start;
}

void CKelvaneHS6533Device::ReadOrDefault(bool output, const wchar_t* property,
                                         std::int32_t fallback,
                                         std::optional<std::int32_t> channel) {
    if (Audio().Read(output, property, channel))
        return;
    const std::wstring_view name = property;
    if (name == p::kMicScalar || name == p::kMonitorScalar)
        Audio().WriteFloat(output, property, static_cast<float>(fallback), channel);
    else
        Audio().WriteInt(output, property, fallback, channel);
}

void CKelvaneHS6533Device::SynchroniseDefaults() {
    ReadOrDefault(kOutput, p::kSurround, 0);
    ReadOrDefault(kInput, p::kNoiseCancellation, 0);
    ReadOrDefault(kInput, p::kMicVolume, 0, kAllChannels);
    ReadOrDefault(kOutput, p::kEqEnable, 0);
    for (const wchar_t* band : p::kEqBands)
        ReadOrDefault(kOutput, band, 0);
    ReadOrDefault(kOutput, p::kRoomEffect, 0);
    ReadOrDefault(kOutput, p::kRoomEnvironment, 0);
    ReadOrDefault(kOutput, p::kRoomSize, 0);
    ReadOrDefault(kInput, p::kMicMute, 0);
    ReadOrDefault(kInput, p::kMicScalar, 0, kAllChannels);
    ReadOrDefault(kInput, p::kMonitorVolume, 0, kChannel0);
    ReadOrDefault(kInput, p::kMonitorMute, 0);
    ReadOrDefault(kInput, p::kMonitorScalar, 0, kChannel0);
    ReadOrDefault(kInput, p::kMagicVoice, 0);
    ReadOrDefault(kInput, p::kMagicVoiceSelection, 0);
}

DecibelRange CKelvaneHS6533Device::ReadRange(const wchar_t* max, const wchar_t* min,
                                             const wchar_t* step, const wchar_t* level,
                                             std::int32_t channel) {
    DecibelRange range;
    range.max = Audio().ReadNumber(kInput, max).value_or(0);
    range.min = Audio().ReadNumber(kInput, min).value_or(0);
    range.step = Audio().ReadNumber(kInput, step).value_or(0);
    range.level = Audio().ReadNumber(kInput, level, channel).value_or(0);
    return range;
}

void CKelvaneHS6533Device::ReadSettings() {
    auto percent = [](double scalar) {
        return static_cast<std::int32_t>(std::lround(scalar * 100));
    };
    m_mic = ReadRange(p::kMicMax, p::kMicMin, p::kMicStep, p::kMicVolume, kAllChannels);
    if (const auto muted = Audio().ReadNumber(kInput, p::kMicMute))
        m_settings.micInSelect = *muted == 0 ? 1 : 0;
    if (const auto scalar = Audio().ReadNumber(kInput, p::kMicScalar, kAllChannels))
        m_settings.micInValue = percent(*scalar);
    m_monitor =
        ReadRange(p::kMonitorMax, p::kMonitorMin, p::kMonitorStep, p::kMonitorVolume, kChannel0);
    if (const auto muted = Audio().ReadNumber(kInput, p::kMonitorMute))
        m_settings.micMonitorSelect = *muted == 0 ? 1 : 0;
    if (const auto scalar = Audio().ReadNumber(kInput, p::kMonitorScalar, kChannel0))
        m_settings.micMonitorValue = percent(*scalar);
    if (const auto on = Audio().ReadNumber(kInput, p::kMagicVoice))
        m_settings.magicEnable = *on != 0 ? 1 : 0;
    if (const auto selection = Audio().ReadNumber(kInput, p::kMagicVoiceSelection);
        selection && *selection >= 0 && *selection < kVoiceEffects)
        m_settings.magicType = static_cast<std::int32_t>(*selection) + 1;
    Save();
    if (m_headsetView)
        m_headsetView->ShowSettings(m_settings);
}

int CKelvaneHS6533Device::Reconnect(bool takeState) {
    ReloadProfile();
    if (takeState) {
        StartAudio();
    } else {
        Audio().Start();
        if (Audio().Output())
            SynchroniseDefaults();
    }
    RefreshPanels();
    return 1;
}

void CKelvaneHS6533Device::ReloadProfile() {
    SetProfilePaths();
    const std::string folder = UserDataFolder();
    if (!folder.empty() && !GetCurrentProfileId().empty())
        ProfileData().LoadProfile(config::Utf8ToWide(folder + GetCurrentProfileId() + ".Json"));
    m_settings = Profile().ReadHeadsetSettings();
    m_bands = TenBands(m_settings.eqType == kCustomEq
                           ? Profile().ReadCustomEq(m_settings.customEqSelectIndex)
                           : Profile().ReadEqPreset(m_settings.eqType));
}

void CKelvaneHS6533Device::StoreProfile() {
    Save();
}

void CKelvaneHS6533Device::RefreshPanels() {
    LoadLists();
    if (m_headsetView) {
        m_headsetView->ShowCustomEqNames(Profile().ReadCustomEqNames(),
                                         m_settings.customEqSelectIndex);
        m_headsetView->ShowSettings(m_settings);
        m_headsetView->ShowBands(m_bands);
    }
    if (m_view)
        m_view->RefreshPanels();
}

void CKelvaneHS6533Device::Save() {
    Profile().WriteHeadsetSettings(m_settings);
    Profile().SaveProfile();
}

// ---- User changes ----

bool CKelvaneHS6533Device::SetLevel(const wchar_t* scalar, const wchar_t* decibels,
                                    std::int32_t channel, int level,
                                    std::int32_t config::HeadsetSettings::*stored,
                                    DecibelRange& range) {
    if (level < 0 || level > kLevelMax)
        return false;
    if (!Audio().WriteFloat(kInput, scalar, static_cast<float>(level) / 100.0f, channel))
        return false;
    range.level = Audio().ReadNumber(kInput, decibels, channel).value_or(range.level);
    m_settings.*stored = level;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SetMicLevel(int level) {
    return SetLevel(p::kMicScalar, p::kMicVolume, kAllChannels, level,
                    &config::HeadsetSettings::micInValue, m_mic);
}

bool CKelvaneHS6533Device::SetMonitorLevel(int level) {
    return SetLevel(p::kMonitorScalar, p::kMonitorVolume, kChannel0, level,
                    &config::HeadsetSettings::micMonitorValue, m_monitor);
}

bool CKelvaneHS6533Device::SetMicMuted(bool muted) {
    if (!Audio().WriteInt(kInput, p::kMicMute, muted ? 1 : 0))
        return false;
    m_settings.micInSelect = muted ? 0 : 1;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SetMonitorMuted(bool muted) {
    if (!Audio().WriteInt(kInput, p::kMonitorMute, muted ? 1 : 0))
        return false;
    m_settings.micMonitorSelect = muted ? 0 : 1;
    Save();
    return true;
}

bool CKelvaneHS6533Device::WriteBands(const std::vector<int>& bands) {
    bool written = Audio().WriteInt(kOutput, p::kEqEnable, 1);
    if (m_headsetView)
        m_headsetView->ShowBands(bands);
    for (std::size_t i = 0; i < std::size(p::kEqBands) && i < bands.size(); ++i)
        written = Audio().WriteInt(kOutput, p::kEqBands[i], bands[i]) && written;
    return written;
}

bool CKelvaneHS6533Device::SelectEqOption(int option) {
    if (option < 1 || option > kCustomEq)
        return false;
    const std::vector<int> bands =
        TenBands(option == kCustomEq ? Profile().ReadCustomEq(m_settings.customEqSelectIndex)
                                     : Profile().ReadEqPreset(option));
    if (!WriteBands(bands))
        return false;
    m_bands = bands;
    m_settings.eqType = option;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SetEqBand(int band, int value) {
    if (band < 0 || band >= static_cast<int>(std::size(p::kEqBands)))
        return false;
    if (m_settings.eqType != kCustomEq) {
        m_settings.eqType = kCustomEq;
        if (m_headsetView)
            m_headsetView->ShowSettings(m_settings);
    }
    if (!Audio().WriteInt(kOutput, p::kEqBands[band], value))
        return false;
    m_bands[static_cast<std::size_t>(band)] = value;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SetVoiceEffect(bool on) {
    if (!Audio().WriteInt(kInput, p::kMagicVoice, on ? 1 : 0))
        return false;
    // The voice effect and the microphone echo do not run together.
    if (on)
        Audio().WriteInt(kInput, p::kMicEcho, 0);
    m_settings.magicEnable = on ? 1 : 0;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SelectVoiceEffect(int effect) {
    if (effect < 1 || effect > kVoiceEffects)
        return false;
    if (!Audio().WriteInt(kInput, p::kMagicVoiceSelection, effect - 1))
        return false;
    m_settings.magicType = effect;
    Save();
    return true;
}

bool CKelvaneHS6533Device::SelectCustomEq(int index) {
    if (index < 0)
        return false;
    const std::vector<int> bands = TenBands(Profile().ReadCustomEq(index));
    if (!WriteBands(bands))
        return false;
    m_bands = bands;
    m_settings.customEqSelectIndex = index;
    Save();
    RefreshPanels();
    return true;
}

bool CKelvaneHS6533Device::ApplyProfileSettings() {
    if (!Audio().Output())
        return false;
    const config::HeadsetSettings wanted = m_settings;
    bool applied = SetMicLevel(wanted.micInValue);
    applied = SetMicMuted(wanted.micInSelect == 0) && applied;
    applied = SetMonitorLevel(wanted.micMonitorValue) && applied;
    applied = SetMonitorMuted(wanted.micMonitorSelect == 0) && applied;
    if (wanted.eqType >= 1 && wanted.eqType <= kCustomEq)
        applied = SelectEqOption(wanted.eqType) && applied;
    applied = SetVoiceEffect(wanted.magicEnable != 0) && applied;
    if (wanted.magicType >= 1)
        applied = SelectVoiceEffect(wanted.magicType) && applied;
    return applied;
}

void CKelvaneHS6533Device::StoreCustomEq(int index, const std::vector<int>& bands) {
    if (index < 0)
        return;
    m_bands = TenBands(bands);
    Profile().WriteCustomEq(index, m_bands);
    m_settings.customEqSelectIndex = index;
    Save();
}

void CKelvaneHS6533Device::RemoveCustomEq(int index) {
    std::vector<std::wstring> names = Profile().ReadCustomEqNames();
    if (index < 0 || index >= static_cast<int>(names.size()))
        return;
    for (int slot = index; slot + 1 < static_cast<int>(names.size()); ++slot)
        Profile().WriteCustomEq(slot, TenBands(Profile().ReadCustomEq(slot + 1)));
    names.erase(names.begin() + index);
    Profile().WriteCustomEqNames(names);
    m_settings.customEqSelectIndex = 0;
    Save();
}

} // namespace devices

#include "headset/AlsaHeadsetLibrary.h"

#include "headset/HeadsetProperties.h"
#include "headset/PropertyBuffers.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace headset {

namespace p = property;

namespace {

constexpr const char* kHeadsetUsbId = "0c76:1630";

std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

bool Contains(const char* name, const char* part) {
    return name && std::string(name).find(part) != std::string::npos;
}

} // namespace

int FindUsbSoundCard(const std::string& procRoot, const std::string& usbId) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) != 0 || name.size() == 4)
            continue;
        std::ifstream file(entry.path() / "usbid");
        std::string id;
        if (!(file >> id) || id != usbId)
            continue;
        try {
            return std::stoi(name.substr(4));
        } catch (const std::exception&) {
            continue;
        }
    }
    return -1;
}

// The card's mixer with its capture control (the microphone) and its microphone playback
// control (the monitor). Either may be missing.
struct AlsaHeadsetLibrary::Mixer {
    snd_mixer_t* handle = nullptr;
    snd_mixer_elem_t* capture = nullptr;
    snd_mixer_elem_t* monitor = nullptr;

    explicit Mixer(int card) {
        const std::string device = "hw:" + std::to_string(card);
        if (snd_mixer_open(&handle, 0) < 0)
            return;
        if (snd_mixer_attach(handle, device.c_str()) < 0 ||
            snd_mixer_selem_register(handle, nullptr, nullptr) < 0 || snd_mixer_load(handle) < 0) {
            snd_mixer_close(handle);
            handle = nullptr;
            return;
        }
        // The capture control named "Mic", else the first capture control.
        snd_mixer_elem_t* anyCapture = nullptr;
        for (snd_mixer_elem_t* e = snd_mixer_first_elem(handle); e; e = snd_mixer_elem_next(e)) {
            const char* name = snd_mixer_selem_get_name(e);
            if (snd_mixer_selem_has_capture_volume(e)) {
                anyCapture = anyCapture ? anyCapture : e;
                if (!capture && Contains(name, "Mic"))
                    capture = e;
            }
            if (!monitor && snd_mixer_selem_has_playback_volume(e) && Contains(name, "Mic"))
                monitor = e;
        }
        if (!capture)
            capture = anyCapture;
    }
    ~Mixer() {
        if (handle)
            snd_mixer_close(handle);
    }
    void TakeEvents() const {
        if (handle)
            snd_mixer_handle_events(handle);
    }
};

AlsaHeadsetLibrary::AlsaHeadsetLibrary(std::string procRoot,
                                       std::unique_ptr<EqualiserSink> equaliser)
    : m_procRoot(std::move(procRoot)), m_equaliser(std::move(equaliser)) {
    // What the library reports and keeps of the properties the system has no control for.
    m_store.KeepEffectsOff();
}

AlsaHeadsetLibrary::~AlsaHeadsetLibrary() = default;

int AlsaHeadsetLibrary::ConfLibInit() {
    CreateDeviceList();
    return 0;
}

void AlsaHeadsetLibrary::CreateDeviceList() {
    m_card = FindUsbSoundCard(m_procRoot, kHeadsetUsbId);
    m_mixer.reset();
    if (m_card >= 0)
        m_mixer = std::make_unique<Mixer>(m_card);
    if (m_equaliser)
        m_equaliser->UseCard(m_card);
}

int AlsaHeadsetLibrary::GetDeviceCount(int flow, std::uint32_t* count) {
    if (!count || (flow != kFlowPlayback && flow != kFlowCapture))
        return -1;
    *count = m_card >= 0 ? 1 : 0;
    return 0;
}

int AlsaHeadsetLibrary::GetDeviceById(int flow, std::uint32_t index, AudioEndpoint* endpoint) {
    if (!endpoint || m_card < 0 || index != 0 || (flow != kFlowPlayback && flow != kFlowCapture))
        return -1;
    *endpoint = {static_cast<std::uint32_t>(m_card), flow == kFlowPlayback ? 1u : 2u, 0,
                 kEndpointActive};
    return 0;
}

int AlsaHeadsetLibrary::PropertyControl(AudioEndpoint, const wchar_t* property, void** primary,
                                        void**, int direction) {
    if (!property)
        return -1;
    const std::wstring name = property;
    if (direction == kWrite) {
        if (const int result = EqualiserWrite(name, primary); result != 1)
            return result;
        if (const int result = MixerWrite(name, primary); result != 1)
            return result;
        return m_store.Has(name) ? m_store.Write(name, primary) : -1;
    }
    if (const int result = MixerRead(name, primary); result != 1)
        return result;
    return m_store.Read(name, primary);
}

// 1: not a mixer property.
int AlsaHeadsetLibrary::MixerRead(const std::wstring& name, void** primary) {
    const bool mic = name == p::kMicVolume || name == p::kMicScalar || name == p::kMicMute ||
                     name == p::kMicMax || name == p::kMicMin || name == p::kMicStep;
    const bool monitor = name == p::kMonitorVolume || name == p::kMonitorScalar ||
                         name == p::kMonitorMute || name == p::kMonitorMax ||
                         name == p::kMonitorMin || name == p::kMonitorStep;
    if (!mic && !monitor)
        return 1;
    snd_mixer_elem_t* e = !m_mixer ? nullptr : mic ? m_mixer->capture : m_mixer->monitor;
    if (!e)
        return -1;
    m_mixer->TakeEvents();
    const auto channel = SND_MIXER_SCHN_FRONT_LEFT;
    long min = 0, max = 0, minDb = 0, maxDb = 0, raw = 0, db = 0;
    int on = 1;
    const bool ok = mic ? snd_mixer_selem_get_capture_volume_range(e, &min, &max) == 0 &&
                              snd_mixer_selem_get_capture_volume(e, channel, &raw) == 0
                        : snd_mixer_selem_get_playback_volume_range(e, &min, &max) == 0 &&
                              snd_mixer_selem_get_playback_volume(e, channel, &raw) == 0;
    if (!ok)
        return -1;
    // The dB range and value are in hundredths of a decibel; a control without them fails.
    const bool haveDb = mic ? snd_mixer_selem_get_capture_dB_range(e, &minDb, &maxDb) == 0 &&
                                  snd_mixer_selem_get_capture_dB(e, channel, &db) == 0
                            : snd_mixer_selem_get_playback_dB_range(e, &minDb, &maxDb) == 0 &&
                                  snd_mixer_selem_get_playback_dB(e, channel, &db) == 0;
    std::string text;
    if (name == p::kMicScalar || name == p::kMonitorScalar) {
        text = Decimal(max > min ? static_cast<double>(raw - min) / static_cast<double>(max - min)
                                 : 0.0);
    } else if (name == p::kMicMute || name == p::kMonitorMute) {
        const bool hasSwitch =
            mic ? snd_mixer_selem_has_capture_switch(e) : snd_mixer_selem_has_playback_switch(e);
        if (hasSwitch)
            (mic ? snd_mixer_selem_get_capture_switch
                 : snd_mixer_selem_get_playback_switch)(e, channel, &on);
        text = on ? "0" : "1";
    } else if (!haveDb) {
        return -1;
    } else if (name == p::kMicVolume || name == p::kMonitorVolume) {
        text = Decimal(db / 100.0);
    } else if (name == p::kMicMax || name == p::kMonitorMax) {
        text = Decimal(maxDb / 100.0);
    } else if (name == p::kMicMin || name == p::kMonitorMin) {
        text = Decimal(minDb / 100.0);
    } else {
        text = Decimal(max > min ? (maxDb - minDb) / 100.0 / static_cast<double>(max - min) : 0.0);
    }
    return PutReplyText(primary, text) ? 0 : -1;
}

// 1: not a mixer property. Every channel of the control follows: the headset's controls are
// mono or move their channels together.
int AlsaHeadsetLibrary::MixerWrite(const std::wstring& name, void** primary) {
    const bool mic = name == p::kMicVolume || name == p::kMicScalar || name == p::kMicMute;
    const bool monitor =
        name == p::kMonitorVolume || name == p::kMonitorScalar || name == p::kMonitorMute;
    if (!mic && !monitor)
        return 1;
    snd_mixer_elem_t* e = !m_mixer ? nullptr : mic ? m_mixer->capture : m_mixer->monitor;
    if (!e)
        return -1;
    if (name == p::kMicScalar || name == p::kMonitorScalar) {
        const std::optional<float> scalar = TakeFloat(primary);
        long min = 0, max = 0;
        if (!scalar || std::isnan(*scalar) ||
            (mic ? snd_mixer_selem_get_capture_volume_range
                 : snd_mixer_selem_get_playback_volume_range)(e, &min, &max) != 0)
            return -1;
        const double clamped = std::clamp(static_cast<double>(*scalar), 0.0, 1.0);
        const long raw = min + std::lround(clamped * static_cast<double>(max - min));
        return (mic ? snd_mixer_selem_set_capture_volume_all
                    : snd_mixer_selem_set_playback_volume_all)(e, raw) == 0
                   ? 0
                   : -1;
    }
    const std::optional<std::int32_t> value = TakeInt(primary);
    if (!value)
        return -1;
    if (name == p::kMicMute || name == p::kMonitorMute) {
        const bool hasSwitch =
            mic ? snd_mixer_selem_has_capture_switch(e) : snd_mixer_selem_has_playback_switch(e);
        if (!hasSwitch)
            return -1;
        return (mic ? snd_mixer_selem_set_capture_switch_all
                    : snd_mixer_selem_set_playback_switch_all)(e, *value ? 0 : 1) == 0
                   ? 0
                   : -1;
    }
    // A level in whole decibels.
    return (mic ? snd_mixer_selem_set_capture_dB_all
                : snd_mixer_selem_set_playback_dB_all)(e, static_cast<long>(*value) * 100, 0) == 0
               ? 0
               : -1;
}

// 1: not an equaliser property. The library keeps the value whether a sink takes it or not.
int AlsaHeadsetLibrary::EqualiserWrite(const std::wstring& name, void** primary) {
    int band = -1;
    for (int i = 0; i < 10; ++i)
        if (name == p::kEqBands[i])
            band = i;
    if (band < 0 && name != p::kEqEnable)
        return 1;
    const std::optional<std::int32_t> value = TakeInt(primary);
    if (!value)
        return -1;
    if (m_equaliser) {
        const bool applied =
            band < 0 ? m_equaliser->SetEnabled(*value != 0) : m_equaliser->SetBand(band, *value);
        if (!applied)
            return -1;
    }
    return m_store.Write(name, primary);
}

} // namespace headset

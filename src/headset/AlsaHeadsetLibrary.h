#pragma once
// The headset's audio library on Linux: the headset's USB audio card (found by its USB
// identity, whatever its card number) through the ALSA mixer. The microphone properties act on
// the card's capture control, the monitor ("AA") properties on its microphone playback
// control; the equaliser goes to the equaliser sink when one is given (PipeWireEqualiser.h);
// every other property is kept by the library and read back. Each read first takes the mixer's
// pending events, so a change made by another program (alsamixer, the desktop's sound
// settings) is what the next read returns.

#include "headset/AudioConfigLibrary.h"
#include "headset/PropertyStore.h"

#include <memory>
#include <string>

namespace headset {

// The card index whose "usbid" under `procRoot` ("/proc/asound") is vendor:product, or -1.
int FindUsbSoundCard(const std::string& procRoot, const std::string& usbId);

// Where the equaliser's ten bands go (the PipeWire filter); the library keeps the values
// either way.
class EqualiserSink {
public:
    virtual ~EqualiserSink() = default;
    // The headset's ALSA card (-1: not plugged in), to find its sink.
    virtual void UseCard(int) {}
    virtual bool SetEnabled(bool on) = 0;
    // Band 0 … 9, gain as written (integer steps, see PipeWireEqualiser.h).
    virtual bool SetBand(int band, int gain) = 0;
};

class AlsaHeadsetLibrary : public AudioConfigLibrary {
public:
    explicit AlsaHeadsetLibrary(std::string procRoot = "/proc/asound",
                                std::unique_ptr<EqualiserSink> equaliser = nullptr);
    ~AlsaHeadsetLibrary() override;

    int ConfLibInit() override;
    // Looks for the card again (a headset plugged in later, or at another card number).
    void CreateDeviceList() override;
    int GetDeviceCount(int flow, std::uint32_t* count) override;
    int GetDeviceById(int flow, std::uint32_t index, AudioEndpoint* endpoint) override;
    int PropertyControl(AudioEndpoint endpoint, const wchar_t* property, void** primary,
                        void** second, int direction) override;

    int CardIndex() const { return m_card; }

private:
    struct Mixer;
    int MixerRead(const std::wstring& property, void** primary);
    int MixerWrite(const std::wstring& property, void** primary);
    int EqualiserWrite(const std::wstring& property, void** primary);

    std::string m_procRoot;
    std::unique_ptr<EqualiserSink> m_equaliser;
    std::unique_ptr<Mixer> m_mixer;
    int m_card = -1;
    PropertyStore m_store;
};

} // namespace headset

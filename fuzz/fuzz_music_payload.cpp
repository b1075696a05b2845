// Feeds the music lighting's D-Bus traffic to both ends: the recorder's handling of the
// configurator's messages and style colour (RecorderProtocol), and the configurator's handling
// of what the recorder pushes (the spectrum turned into band levels and drawn by the music
// effect, the colour settings drawn by the colour effect). The input is a script of messages:
// a kind byte, then its numbers or payload.
//
// Beyond not crashing: a refused message changes nothing, the recorder's colour stays in
// 0 to 255, the style payload the configurator sends is taken as that style's colour, the
// colour settings read back as sent, and band levels never go below 0.

#include "FuzzSupport.h"

#include "config/AudioStyleFile.h"
#include "devices/MusicBandLevels.h"
#include "devices/MusicEffects.h"
#include "recorder/RecorderProtocol.h"

#include <cstring>
#include <vector>

using fuzz::Require;

namespace {

std::int32_t Int32At(const std::uint8_t* bytes) {
    return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                     static_cast<std::uint32_t>(bytes[3]) << 24);
}

bool InByteRange(const recorder::Colour& colour) {
    for (std::int32_t component : {colour.red, colour.green, colour.blue})
        if (component < 0 || component > 255)
            return false;
    return true;
}

// The configurator's side: its copy buffers, sized as the window's, and the keyboard's frame.
struct Configurator {
    std::array<std::uint8_t, recorder::kSpectrumBytes> spectrum{};
    std::array<std::uint8_t, recorder::kColourSettingsBytes> colour{};
    devices::MusicBandLevels bands;
    devices::EffectState state;
    std::vector<devices::LedColour> leds =
        std::vector<devices::LedColour>(devices::kIntensityCount);

    // As the window takes a PushCopyData: a payload larger than its buffer is refused, a
    // shorter one fills the front of it.
    void Take(std::uint32_t id, std::span<const std::uint8_t> payload, fuzz::Bytes& in) {
        devices::LightSettings settings{};
        settings.mode = in.Byte();
        settings.brightness = in.Byte();
        settings.speed = in.Byte();
        settings.direction = in.Byte();
        settings.multiColour = in.Byte();
        if (id == recorder::kSpectrumDataId && payload.size() <= spectrum.size() &&
            !payload.empty()) {
            std::memcpy(spectrum.data(), payload.data(), payload.size());
            std::array<std::int32_t, devices::kSpectrumValues> values{};
            std::memcpy(values.data(), spectrum.data(), sizeof values);
            bands.Take(values);
            for (std::int32_t level : bands.Levels())
                Require(level >= 0, "a band level is below 0");
            config::AudioLightRecord audio;
            audio.audioMode = in.Byte();
            audio.sevenColorFlags = in.Byte();
            audio.colorTypeFlags = in.Byte();
            devices::RenderMusicFrame(leds, settings, audio, state, bands.Levels());
        } else if (id == recorder::kColourDataId && payload.size() <= colour.size() &&
                   !payload.empty()) {
            std::memcpy(colour.data(), payload.data(), payload.size());
            devices::MusicSettings music{};
            std::memcpy(music.data(), colour.data(), sizeof music);
            devices::RenderMusicColourFrame(leds, settings, music);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    recorder::RecorderProtocol recorder;
    Configurator configurator;
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const recorder::Colour before = recorder.CurrentColour();
        const bool sendingBefore = recorder.Sending();
        recorder::Reaction reaction;
        switch (in.Byte() % 5) {
        case 0: // a message to the recorder
            reaction = recorder.OnMessage(in.Byte() % 12, in.Long() >> (in.Byte() % 32));
            break;
        case 1: { // copy data to the recorder
            const std::uint32_t id = in.Byte() % 12;
            const std::span<const std::uint8_t> payload = in.Take(in.Byte() % 64);
            const std::vector<std::uint8_t> exact(payload.begin(), payload.end());
            reaction = recorder.OnCopyData(id, exact);
            break;
        }
        case 2: { // the style colour as the configurator sends it
            config::AudioStyleSet set;
            set.current = in.Byte() % 4;
            for (std::uint8_t& component : set.colours)
                component = in.Byte();
            const std::vector<std::uint8_t> payload = config::StyleColourPayload(set);
            reaction = recorder.OnCopyData(recorder::kStyleColourId, payload);
            Require(reaction.error == recorder::Reaction::Error::None,
                    "the recorder refuses the configurator's style colour");
            const recorder::Colour sent{set.Red(set.current),
                                        std::max<std::int32_t>(set.Green(set.current), 1),
                                        set.Blue(set.current)};
            Require(recorder.CurrentColour() == sent, "the style colour arrives changed");
            break;
        }
        case 3: { // what the recorder pushes, as it encodes it
            const std::array<std::uint8_t, recorder::kColourSettingsBytes> bytes =
                recorder::EncodeColourSettings(recorder.CurrentColour());
            const recorder::Colour& colour = recorder.CurrentColour();
            Require(Int32At(&bytes[0]) == colour.red && Int32At(&bytes[4]) == colour.green &&
                        Int32At(&bytes[8]) == colour.blue,
                    "the colour settings do not read back");
            configurator.Take(recorder::kColourDataId, bytes, in);
            break;
        }
        default: { // anything pushed to the configurator
            const std::uint32_t id = 1 + in.Byte() % 3;
            const std::span<const std::uint8_t> payload = in.Take(in.Word() % 2100);
            const std::vector<std::uint8_t> exact(payload.begin(), payload.end());
            configurator.Take(id, exact, in);
            break;
        }
        }
        if (reaction.error != recorder::Reaction::Error::None)
            Require(recorder.CurrentColour() == before && recorder.Sending() == sendingBefore &&
                        !reaction.sendColour && !reaction.startSending && !reaction.exit,
                    "a refused message changed something");
        Require(InByteRange(recorder.CurrentColour()), "the recorder's colour left 0 to 255");
    }
    return 0;
}

#pragma once
// The music effects, whose frames the host renders and streams to the keyboard: effect 29
// draws bars, ripples or rings from the 25 spectrum bands in the sub-step chosen by the
// "AudioMode" of the audio-lighting record; effect 30 shows one colour from the music
// settings. Both render into the LED list, indexed by on-screen key.

#include "config/ProfileRecords.h"
#include "devices/LightEngine.h"

#include <array>
#include <cstdint>
#include <span>

namespace devices {

inline constexpr std::size_t kMusicBands = 25;
inline constexpr std::size_t kMusicSettingCount = 6;
using MusicSpectrum = std::array<std::int32_t, kMusicBands>;
// Red, green and blue of effect 30, then three values the effects do not use.
using MusicSettings = std::array<std::int32_t, kMusicSettingCount>;

// The "AudioMode" sub-steps of effect 29.
enum AudioMode : std::uint8_t {
    kAudioColumns = 0,        // a bar per column, standing on the bottom row
    kAudioSplitRows = 1,      // two bars per row, growing outward from the middle
    kAudioRipples = 2,        // ripples started by the loudness
    kAudioRings = 3,          // rings around the centre key
    kAudioHangingColumns = 4, // a bar per column, hanging from the top row
    kAudioRows = 5,           // a bar per row, growing from the left edge
    kAudioRightRows = 6,      // a bar per row, growing from the right edge
};

// The level of band value `value`: 600 for silence, falling as the band gets louder (it goes
// below 0 for values above 2000). With `capLoud`, a value beyond the scale gives 500.
int BandLevel(std::int64_t value, bool capLoud);

// One frame of effect 29 from `spectrum` (an "AudioMode" above 6 draws as 0). Modes 4 and 6
// mirror 0 and 5: the column bars hang from the top row and the row bars grow from the right
// edge, with the same levels, colour phases and decay. A ripple's four planes carry its front
// left, right, up and down by one grid step per call. A covered key's
// intensity is set to 255 and the others decay; a key above 9 shows the foreground (the
// wheel at its phase with the seven-colour flag), a key at 9 or below the background. The
// rings show the wheel only, dark where nothing is lit.
void RenderMusicFrame(std::span<LedColour> leds, const LightSettings& settings,
                      const config::AudioLightRecord& audio, EffectState& state,
                      const MusicSpectrum& spectrum);

// Effect 30: every LED in the first three music settings (each limited to 0-255) at the
// brightness level.
void RenderMusicColourFrame(std::span<LedColour> leds, const LightSettings& settings,
                            const MusicSettings& music);

} // namespace devices

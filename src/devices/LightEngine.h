#pragma once
// The software lighting engine's shared pieces: the LED colour, the light settings an effect
// reads, the running state an effect keeps between frames, the seven base effect steps and
// the per-key intensity decay.

#include "devices/KeyGrid.h"
#include "devices/LightTables.h"
#include "devices/PreviewState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace devices {

// One LED: its colour and its brightness (alpha, 0-255), which scales the colour when the
// frame is sent.
struct LedColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::uint8_t alpha;
    friend bool operator==(const LedColour&, const LedColour&) = default;
};
static_assert(sizeof(LedColour) == 4);

// Writes the LED's three bytes as a frame carries them: each component × alpha >> 8.
inline void PutScaledLed(std::span<std::uint8_t, 3> at, const LedColour& led) {
    at[0] = static_cast<std::uint8_t>(led.red * led.alpha >> 8);
    at[1] = static_cast<std::uint8_t>(led.green * led.alpha >> 8);
    at[2] = static_cast<std::uint8_t>(led.blue * led.alpha >> 8);
}

struct LightSettings {
    std::uint8_t mode;       // effect index
    std::uint8_t brightness; // level 0-3
    std::uint8_t speed;      // 0-3
    std::uint8_t direction;  // 0 counts forward, anything else backward
    std::uint8_t multiColour;
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr std::size_t kIntensityCount = 170; // one per on-screen key
inline constexpr std::size_t kRingSize = 23;
inline constexpr std::size_t kRipplePlanes = 4;

// What an effect carries from one frame to the next. The base steps use the step counter,
// phase[kColourPhase] (breathing) and phase[kFlashState] with timeMs (flash).
struct EffectState {
    std::uint8_t stepCounter = 0;
    std::array<std::uint8_t, 3> phase{};
    std::uint32_t timeMs = 0; // flash: when the LEDs last went on or off
    std::array<std::uint8_t, kIntensityCount> intensity{};
    std::array<std::uint8_t, kRingSize> ring{};

    // The music effect: the band feeding the first bar, the calls since it last moved, the
    // ripple drive summed from the loudness, the seed of the ripple colours, each key's wheel
    // phase and the ripple planes (bit r of a column byte is grid row r).
    std::uint8_t startBand = 0;
    std::uint8_t bandCalls = 0;
    int rippleSum = 0;
    std::uint32_t randomSeed = 1;
    std::array<std::uint8_t, kIntensityCount> keyPhase{};
    std::array<std::array<std::uint8_t, kGridColumns>, kRipplePlanes> planes{};

    // The previews of the keyboard's own effects: their sparks, spreads, streaks and rocket.
    // They also use the step counter, the phases, the intensities, the key phases and the seed.
    PreviewState preview{};

    void Reset() { *this = EffectState{}; }
};

inline constexpr std::size_t kColourPhase = 0;
inline constexpr std::size_t kFlashState = 1;
// Values of phase[kFlashState].
inline constexpr std::uint8_t kFlashIdle = 0; // not started since the last reset
inline constexpr std::uint8_t kFlashLit = 1;
inline constexpr std::uint8_t kFlashDark = 2;

// The base steps: each renders one frame, the same colour on every LED of `leds`.

// The counter runs through the breathing curve (0-127, wrapping either way); each wrap, a
// dark moment of the curve, moves the colour on: the wheel phase by 16 (0, 16, ..., 192, then
// 0 again; 192 shows entry 0) when multi-colour, otherwise the fixed colour stays.
void StepBreathing(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// As breathing, the colour phase stepping through the four-colour list (0-3) at each wrap.
void StepBreathingFourColours(std::span<LedColour> leds, const LightSettings& settings,
                              EffectState& state);
// The fixed colour at the brightness level.
void StepStatic(std::span<LedColour> leds, const LightSettings& settings);
// The counter runs round the wheel (0-191, wrapping either way); the LEDs show that entry.
void StepSpectrumCycle(std::span<LedColour> leds, const LightSettings& settings,
                       EffectState& state);
// On and off every flash period. The first frame after a reset switches on at `nowMs`; each
// switch-off moves the counter on by 16 (wrapping at 192), so the next flash shows the next
// wheel colour when multi-colour (the fixed colour otherwise).
void StepFlash(std::span<LedColour> leds, const LightSettings& settings, EffectState& state,
               std::uint32_t nowMs);
// As flash, the counter stepping through the four-colour list (0-3) at each switch-off.
void StepFlashFourColours(std::span<LedColour> leds, const LightSettings& settings,
                          EffectState& state, std::uint32_t nowMs);
// Every LED black with alpha 0.
void StepOff(std::span<LedColour> leds);

// One decay step of a key's intensity; the amount taken depends on the intensity and on the
// effect (0, 29 or any other). 0 stays 0.
std::uint8_t DecayKey(std::uint8_t intensity, int effect);

} // namespace devices

#pragma once
// The mouse pad's on-screen preview: how often each speed steps it and the frame functions of
// the pad's own effects. The pad shows its effects itself; these only draw the LED list.

#include "devices/LightEngine.h"

#include <array>
#include <cstdint>
#include <span>

namespace devices {

// Ticks (LightTick.h) between two preview steps at speeds 0 to 4, the same for every mode; a
// speed above 4 counts as 4.
inline constexpr std::array<int, 5> kPadSpeedThresholdTicks = {28, 23, 18, 13, 7};
constexpr int PadStepTicks(std::uint8_t speed) {
    return kPadSpeedThresholdTicks[speed < kPadSpeedThresholdTicks.size()
                                       ? speed
                                       : kPadSpeedThresholdTicks.size() - 1];
}

// The pad's modes as the preview draws them.
namespace padmode {
inline constexpr std::uint8_t kWave = 0;
inline constexpr std::uint8_t kBreathing = 1;
inline constexpr std::uint8_t kStatic = 2;
inline constexpr std::uint8_t kSpectrumCycle = 3;
inline constexpr std::uint8_t kFlash = 4;
inline constexpr std::uint8_t kReactive = 6;
// From here on the profile's recorded effect, which the preview does not play.
inline constexpr std::uint8_t kRecorded = 10;
} // namespace padmode

// The preview intensity of brightness levels 0 to 4; above 4 counts as 4.
std::uint8_t PadPreviewAlpha(std::uint8_t brightness);

// The wave: each LED one step of the wheel phase further on. With the multi-colour flag LED i
// takes the wheel entry 7 × i after the phase, without it the fixed colour with an intensity
// running along the LEDs.
void StepPadWave(std::span<LedColour> leds, const LightSettings& light, EffectState& effect);
// The reactive fade: every lit LED loses 15 intensity per frame down to 0.
void StepPadReactiveFade(std::span<LedColour> leds);

} // namespace devices

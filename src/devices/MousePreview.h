#pragma once
// The mouse's on-screen preview: its modes as the preview draws them, its LED groups and the
// frame functions of the mouse's own effects. The pace and the preview intensity are the
// pad's (PadPreview.h): the same thresholds and brightness scale.

#include "devices/LightEngine.h"
#include "devices/PadPreview.h"

#include <array>
#include <cstdint>
#include <span>

namespace devices {

namespace mousemode {
inline constexpr std::uint8_t kWave = 0;
inline constexpr std::uint8_t kBreathing = 1;
inline constexpr std::uint8_t kStatic = 2;
inline constexpr std::uint8_t kSpectrumCycle = 3;
inline constexpr std::uint8_t kFlash = 4;
inline constexpr std::uint8_t kCustomColours = 5;
inline constexpr std::uint8_t kReactive = 6;
inline constexpr std::uint8_t kBreathingFourColours = 7;
inline constexpr std::uint8_t kFlashFourColours = 8;
inline constexpr std::uint8_t kOff = 9;
// From here on the profile's recorded effect.
inline constexpr std::uint8_t kRecorded = 10;
} // namespace mousemode

// The LED groups of the wave-type previews, front to back; -1 is no LED.
inline constexpr std::size_t kMouseLedGroupCount = 7;
inline constexpr std::array<std::array<int, 3>, kMouseLedGroupCount> kMouseLedGroups = {{
    {0, -1, 13},
    {1, -1, 12},
    {2, -1, 11},
    {3, -1, 10},
    {4, -1, 9},
    {5, -1, 8},
    {6, 14, 7},
}};

// The reactive fade of one LED: 0 dark, rising, then falling back to dark.
enum class MouseFade : std::uint8_t { kIdle = 0, kRising = 1, kFalling = 2 };

// The wave over the groups: the wheel phase moves one entry per frame (backwards for a
// non-zero direction). With the multi-colour flag group g takes the wheel entry 7 × g after the
// phase, without it the fixed colour with an intensity running along the groups.
void StepMouseWave(std::span<LedColour> leds, const LightSettings& light, EffectState& effect);
// The groups through the four-colour table, one entry on per frame, group g g entries ahead.
void StepMouseCustomColours(std::span<LedColour> leds, const LightSettings& light,
                            EffectState& effect);
// A click on the mouse in the reactive mode: every LED at full intensity on the wheel entry
// `random` picks for it (modulo the wheel), rising.
void StartMouseReactive(std::span<LedColour> leds, std::span<MouseFade> fades,
                        std::span<const std::uint32_t> random);
// One frame of the reactive fade: a rising LED gains 15 up to 255 and then falls, a falling
// one loses 15 down to 0 and then rests.
void StepMouseReactive(std::span<LedColour> leds, std::span<MouseFade> fades);

} // namespace devices

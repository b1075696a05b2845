#pragma once
// Previews of fronts spreading out of a key over the key grid, each key they pass lighting up
// and then fading: ripples, raindrops, crosshairs, fireworks and the shockwave.

#include "devices/LightEngine.h"

#include <span>

namespace devices::preview {

// Effect 8: now and then a ring runs out of a pseudo-random key over the whole keyboard.
void StepRipple(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 10: drops land on pseudo-random keys every few frames and splash two keys wide.
void StepRaindrops(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 13: the row and the column of a pseudo-random key light up from the key outward.
void StartCrosshair(EffectState& state);
void StepCrosshair(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 15: a firework climbs a column from the bottom row and bursts into a small ring.
void StartFireworks(EffectState& state);
void StepFireworks(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 18: rings of the wheel around the centre key run out to the edges with direction 0
// and in from the edges with direction 1.
void StepShockwave(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);

} // namespace devices::preview

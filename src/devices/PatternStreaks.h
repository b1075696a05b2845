#pragma once
// Previews of lights running along a path with a fading tail: the snake, the laser, meteors
// and rain.

#include "devices/LightEngine.h"

#include <span>

namespace devices::preview {

// Effect 2: a snake winding through the rows, from the top left with direction 0 and from the
// top right else.
void StepSnake(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 14: a beam of light sweeping across the columns and back.
void StartLaser(EffectState& state);
void StepLaser(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 23: meteors shooting along pseudo-random rows from left to right.
void StepMeteor(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 28: drops running down the columns with direction 1 and up with direction 0.
void StepRain(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);

} // namespace devices::preview

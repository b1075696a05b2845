#pragma once
// Previews whose every key follows from its grid position and the step counter alone: waves
// over the columns and rows, patterns turning round the middle of the keyboard, the aurora,
// the heartbeat and the game keys.

#include "devices/LightEngine.h"

#include <span>

namespace devices::preview {

// Effect 1: a wave over the columns, left to right with direction 0 and right to left else;
// the wheel runs along it with multi-colour, else a bright band of the fixed colour.
void StepWave(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 3: the wheel (or a bright beam of the fixed colour) turning round the middle of the
// keyboard, clockwise with direction 1 and anticlockwise with 0.
void StepRotation(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 24: two spiral arms turning round the middle, clockwise with direction 1.
void StepVortex(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 12: the wheel falling over the rows, top to bottom with direction 0 and bottom to top
// else.
void StepWaterfall(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 11: slowly drifting green, blue and violet curtains that shimmer.
void StepAurora(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 25: every key beats twice, then rests; the next colour of the wheel each heartbeat
// with multi-colour.
void StepHeartbeat(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 17: the movement keys in red and the keys around them in orange.
void StepGame(std::span<LedColour> leds, const LightSettings& settings);

} // namespace devices::preview

#pragma once
// Previews of keys reacting to presses: with no key pressed in the preview, a pseudo-random
// key lights now and then and fades.

#include "devices/LightEngine.h"

#include <span>

namespace devices::preview {

// Effect 7: a key lights up every few frames and fades quickly.
void StepReactive(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 9: stars come up on dark keys and fade in and out again.
void StepStarlight(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);
// Effect 16: lit keys glow on and fade slowly; the preview starts with every key glowing.
void StartAfterglow(EffectState& state);
void StepAfterglow(std::span<LedColour> leds, const LightSettings& settings, EffectState& state);

} // namespace devices::preview

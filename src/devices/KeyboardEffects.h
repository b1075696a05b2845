#pragma once
// The keyboard's own effects drawn by the host for the on-screen preview. The keyboard renders
// them itself; breathing over the key grid (5) and static (6) are drawn exactly as it does,
// the others are previews that look like the effect. Each frame depends only on the settings
// and the effect state, so the same state always gives the same frames.

#include "devices/LightEngine.h"

#include <span>

namespace devices {

// Effect indices of the keyboard's own patterns.
enum PatternEffect : int {
    kPatternWave = 1,
    kPatternSnake = 2,
    kPatternRotation = 3,
    kPatternBreathing = 5,
    kPatternStatic = 6,
    kPatternReactive = 7,
    kPatternRipple = 8,
    kPatternStarlight = 9,
    kPatternRaindrops = 10,
    kPatternAurora = 11,
    kPatternWaterfall = 12,
    kPatternCrosshair = 13,
    kPatternLaser = 14,
    kPatternFireworks = 15,
    kPatternAfterglow = 16,
    kPatternGame = 17,
    kPatternShockwave = 18,
    kPatternMeteor = 23,
    kPatternVortex = 24,
    kPatternHeartbeat = 25,
    kPatternRain = 28,
};

// Effects 1-3, 5, 6, 7-18, 23-25 and 28: the keyboard's own patterns drawn here for the
// on-screen preview (5 and 6 exactly as the keyboard does them).
bool IsPatternEffect(int effect);

// The effect's start step after the effect state was reset (13-16 have their own: the
// crosshair at the centre key, the laser at the left edge, the first firework on its way,
// every key glowing). It does nothing for the other effects.
void StartPatternEffect(int effect, EffectState& state);

// One frame into `leds` (one entry per on-screen key, 170). Every LED the effect does not
// draw is black with alpha 0; only effect 6 in one colour draws every LED, the others draw
// the keys of the key grid. Another effect leaves `leds` and `state` as they are.
void StepPatternEffect(int effect, std::span<LedColour> leds, const LightSettings& settings,
                       EffectState& state);

} // namespace devices

#include "devices/KeyboardEffects.h"

#include "devices/PatternCanvas.h"
#include "devices/PatternFields.h"
#include "devices/PatternRipples.h"
#include "devices/PatternSparks.h"
#include "devices/PatternStreaks.h"

#include <algorithm>

namespace devices {

namespace {

using namespace preview;

constexpr int kGridBreathingColumnSpan = 7; // wheel entries between neighbouring columns
constexpr int kRingColourStart = 138;       // the centre ring; each ring outward 12 less
constexpr int kRingColourStep = 12;

// Effect 5: the counter runs on as a signed byte, starting again at 0 where it would turn
// negative, so it walks the breathing curve 0-127 over and over.
void StepGridBreathing(std::span<LedColour> leds, const LightSettings& settings,
                       EffectState& state) {
    std::int8_t counter = static_cast<std::int8_t>(state.stepCounter + 1);
    if (counter < 0)
        counter = 0;
    state.stepCounter = static_cast<std::uint8_t>(counter);
    const std::uint8_t alpha = static_cast<std::uint8_t>(
        BreathingCurve(state.stepCounter) * BrightnessLevel(settings.brightness) >> 8);
    for (const GridPoint& p : GridKeys())
        PaintKey(leds, p.key, EffectColour(settings, kGridBreathingColumnSpan * p.column), alpha);
}

// Effect 6: with multi-colour the rings round the centre key in the wheel, an outer ring
// painting over a key an inner one shares with it; else every LED in the fixed colour.
void StepRingStatic(std::span<LedColour> leds, const LightSettings& settings) {
    const std::uint8_t alpha = BrightnessLevel(settings.brightness);
    if (!settings.multiColour) {
        std::fill(leds.begin(), leds.end(),
                  LedColour{settings.red, settings.green, settings.blue, alpha});
        return;
    }
    for (std::size_t ring = 0; ring < kRingCount; ++ring) {
        const Rgb colour = Wheel(
            static_cast<std::size_t>(kRingColourStart - kRingColourStep * static_cast<int>(ring)));
        for (std::size_t slot = 0; slot < kRingSlots; ++slot) {
            const std::uint8_t key = RingKey(ring, slot);
            if (key < kNoGridKey)
                PaintKey(leds, key, colour, alpha);
        }
    }
}

} // namespace

bool IsPatternEffect(int effect) {
    return (effect >= kPatternWave && effect <= kPatternRotation) ||
           (effect >= kPatternBreathing && effect <= kPatternShockwave) ||
           (effect >= kPatternMeteor && effect <= kPatternHeartbeat) || effect == kPatternRain;
}

void StartPatternEffect(int effect, EffectState& state) {
    switch (effect) {
    case kPatternCrosshair:
        StartCrosshair(state);
        break;
    case kPatternLaser:
        StartLaser(state);
        break;
    case kPatternFireworks:
        StartFireworks(state);
        break;
    case kPatternAfterglow:
        StartAfterglow(state);
        break;
    default:
        break;
    }
}

void StepPatternEffect(int effect, std::span<LedColour> leds, const LightSettings& settings,
                       EffectState& state) {
    if (!IsPatternEffect(effect))
        return;
    ClearFrame(leds);
    switch (effect) {
    case kPatternWave:
        return StepWave(leds, settings, state);
    case kPatternSnake:
        return StepSnake(leds, settings, state);
    case kPatternRotation:
        return StepRotation(leds, settings, state);
    case kPatternBreathing:
        return StepGridBreathing(leds, settings, state);
    case kPatternStatic:
        return StepRingStatic(leds, settings);
    case kPatternReactive:
        return StepReactive(leds, settings, state);
    case kPatternRipple:
        return StepRipple(leds, settings, state);
    case kPatternStarlight:
        return StepStarlight(leds, settings, state);
    case kPatternRaindrops:
        return StepRaindrops(leds, settings, state);
    case kPatternAurora:
        return StepAurora(leds, settings, state);
    case kPatternWaterfall:
        return StepWaterfall(leds, settings, state);
    case kPatternCrosshair:
        return StepCrosshair(leds, settings, state);
    case kPatternLaser:
        return StepLaser(leds, settings, state);
    case kPatternFireworks:
        return StepFireworks(leds, settings, state);
    case kPatternAfterglow:
        return StepAfterglow(leds, settings, state);
    case kPatternGame:
        return StepGame(leds, settings);
    case kPatternShockwave:
        return StepShockwave(leds, settings, state);
    case kPatternMeteor:
        return StepMeteor(leds, settings, state);
    case kPatternVortex:
        return StepVortex(leds, settings, state);
    case kPatternHeartbeat:
        return StepHeartbeat(leds, settings, state);
    case kPatternRain:
        return StepRain(leds, settings, state);
    default:
        return;
    }
}

} // namespace devices

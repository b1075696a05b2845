#include "devices/PatternSparks.h"

#include "devices/KeyboardEffects.h"
#include "devices/PatternCanvas.h"

namespace devices::preview {

namespace {

constexpr int kStarFade = 16;         // a star lives 16 frames, brightest halfway
constexpr int kAfterglowSlowdown = 4; // the glow decays every fourth frame
constexpr int kAfterglowColumnSpan = 8;

void LightRandomKey(EffectState& state) {
    const GridPoint& at = RandomGridKey(state);
    LightKey(state, at.key, static_cast<int>(RandomBelow(state, kWheelSize)));
}

// A star's life counts down from 255; it is as bright as it is near the middle of its life.
int Twinkle(int life) {
    const int fromMiddle = life >= 128 ? 255 - life : life;
    return fromMiddle * 2 > 255 ? 255 : fromMiddle * 2;
}

} // namespace

void StepReactive(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternReactive);
    if (SparkDue(state, 3, 6))
        LightRandomKey(state);
    ShowIntensities(leds, settings, state);
}

void StepStarlight(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    if (SparkDue(state, 0, 2)) {
        const GridPoint& at = RandomGridKey(state);
        const int phase = static_cast<int>(RandomBelow(state, kWheelSize));
        if (state.intensity[at.key] == 0)
            LightKey(state, at.key, phase);
    }
    for (std::uint8_t& life : state.intensity)
        life = life > kStarFade ? static_cast<std::uint8_t>(life - kStarFade) : 0;
    for (const GridPoint& p : GridKeys()) {
        const std::uint8_t life = state.intensity[p.key];
        if (life != 0)
            PaintKey(leds, p.key, EffectColour(settings, state.keyPhase[p.key]),
                     LevelAlpha(settings, Twinkle(life)));
    }
}

void StartAfterglow(EffectState& state) {
    ClearPreview(state);
    for (const GridPoint& p : GridKeys())
        LightKey(state, p.key, kAfterglowColumnSpan * p.column);
}

void StepAfterglow(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    if (++state.stepCounter >= kAfterglowSlowdown) {
        state.stepCounter = 0;
        DecayKeys(state, kPatternAfterglow);
    }
    if (SparkDue(state, 6, 10))
        LightRandomKey(state);
    ShowIntensities(leds, settings, state);
}

} // namespace devices::preview

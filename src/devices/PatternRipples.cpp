#include "devices/PatternRipples.h"

#include "devices/KeyboardEffects.h"
#include "devices/PatternCanvas.h"

#include <cstdlib>

namespace devices::preview {

namespace {

constexpr int kRippleReach = 24; // past the far corner of the grid
constexpr int kSplashReach = 2;
constexpr int kCrosshairReach = 22;
constexpr int kBurstReach = 3;
constexpr int kRippleColourStep = 6; // wheel entries from one ring to the next
constexpr int kCentreColumn = 8;     // the centre key, 70
constexpr int kCentreRow = 3;
constexpr int kShockRings = 16; // rings 0-14 reach the far corner; ring 15 is a pause
constexpr int kShockColourStep = 12;
constexpr int kShockPhaseStep = 24;

enum class Shape { Ring, Cross };

// Whether a grid step of (dc, dr) from the origin lies on the front at `radius`: on the ring,
// the distance rounded to whole grid steps is the radius; on the cross, the position is that
// far along the origin's row or column.
bool OnFront(Shape shape, int dc, int dr, int radius) {
    if (shape == Shape::Cross)
        return (dr == 0 && std::abs(dc) == radius) || (dc == 0 && std::abs(dr) == radius);
    const int fourSquares = 4 * (dc * dc + dr * dr);
    const int outer = (2 * radius + 1) * (2 * radius + 1);
    const int inner = radius == 0 ? 0 : (2 * radius - 1) * (2 * radius - 1);
    return fourSquares >= inner && fourSquares < outer;
}

// A new front in the first idle slot; none while every slot is busy.
void StartSpread(EffectState& state, int column, int row, int reach, int phase) {
    for (PreviewSpread& s : state.preview.spreads) {
        if (s.reach != 0)
            continue;
        s = {static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row), 0,
             static_cast<std::uint8_t>(reach), static_cast<std::uint8_t>(Wrap(phase, 0, kWheel))};
        return;
    }
}

void StartAtRandomKey(EffectState& state, int reach) {
    const GridPoint& at = RandomGridKey(state);
    const int phase = static_cast<int>(RandomBelow(state, kWheelSize));
    StartSpread(state, at.column, at.row, reach, phase);
}

void LightFront(EffectState& state, Shape shape, int column, int row, int radius, int phase) {
    for (const GridPoint& p : GridKeys()) {
        if (OnFront(shape, p.column - column, p.row - row, radius))
            LightKey(state, p.key, phase);
    }
}

// Lights every running front and moves it one grid step outward.
void AdvanceSpreads(EffectState& state, Shape shape) {
    for (PreviewSpread& s : state.preview.spreads) {
        if (s.reach == 0)
            continue;
        LightFront(state, shape, s.column, s.row, s.radius, s.phase + kRippleColourStep * s.radius);
        if (++s.radius > s.reach)
            s = {};
    }
}

void Launch(EffectState& state) {
    PreviewRocket& rocket = state.preview.rocket;
    rocket.flying = true;
    rocket.column = static_cast<std::uint8_t>(1 + RandomBelow(state, kColumns - 2));
    rocket.row = kRows - 1;
    rocket.burstRow = static_cast<std::uint8_t>(RandomBelow(state, 3));
    rocket.phase = static_cast<std::uint8_t>(RandomBelow(state, kWheelSize));
    LightPosition(state, rocket.column, rocket.row, rocket.phase);
}

void FlyRocket(EffectState& state) {
    PreviewRocket& rocket = state.preview.rocket;
    if (rocket.row > rocket.burstRow) {
        --rocket.row;
        LightPosition(state, rocket.column, rocket.row, rocket.phase);
        return;
    }
    StartSpread(state, rocket.column, rocket.row, kBurstReach, rocket.phase);
    rocket.flying = false;
}

// Effects whose spreads start at a random key now and then: the effect (for the decay), the
// frames between two starts (the least and the random spread SparkDue takes), how far a
// spread runs and its shape.
struct RandomSpreads {
    int effect;
    int least;
    int spread;
    int reach;
    Shape shape = Shape::Ring;
};

void StepSpreadsFromRandomKeys(std::span<LedColour> leds, const LightSettings& settings,
                               EffectState& state, const RandomSpreads& spreads) {
    DecayKeys(state, spreads.effect);
    if (SparkDue(state, spreads.least, spreads.spread))
        StartAtRandomKey(state, spreads.reach);
    AdvanceSpreads(state, spreads.shape);
    ShowIntensities(leds, settings, state);
}

} // namespace

void StepRipple(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    StepSpreadsFromRandomKeys(leds, settings, state, {kPatternRipple, 14, 10, kRippleReach});
}

void StepRaindrops(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    StepSpreadsFromRandomKeys(leds, settings, state, {kPatternRaindrops, 2, 3, kSplashReach});
}

void StartCrosshair(EffectState& state) {
    ClearPreview(state);
    StartSpread(state, kCentreColumn, kCentreRow, kCrosshairReach, 0);
    state.preview.wait = 16;
}

void StepCrosshair(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    StepSpreadsFromRandomKeys(leds, settings, state,
                              {kPatternCrosshair, 16, 12, kCrosshairReach, Shape::Cross});
}

void StartFireworks(EffectState& state) {
    ClearPreview(state);
    Launch(state);
}

void StepFireworks(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternFireworks);
    if (state.preview.rocket.flying)
        FlyRocket(state);
    else if (SparkDue(state, 4, 8))
        Launch(state);
    AdvanceSpreads(state, Shape::Ring);
    ShowIntensities(leds, settings, state);
}

void StepShockwave(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternShockwave);
    std::uint8_t& phase = state.phase[kColourPhase];
    if (++state.stepCounter >= kShockRings) {
        state.stepCounter = 0;
        phase = static_cast<std::uint8_t>(Wrap(phase, kShockPhaseStep, kWheel));
    }
    const bool inward = settings.direction != 0;
    const int radius = Along(state.stepCounter, kShockRings, inward);
    LightFront(state, Shape::Ring, kCentreColumn, kCentreRow, radius,
               phase + kShockColourStep * radius);
    ShowIntensities(leds, settings, state, true);
}

} // namespace devices::preview

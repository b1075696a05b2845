#include "devices/PatternCanvas.h"

#include <algorithm>
#include <vector>

namespace devices::preview {

namespace {

std::vector<GridPoint> CollectGridKeys() {
    std::vector<GridPoint> points;
    for (std::size_t c = 0; c < kGridColumns; ++c) {
        for (std::size_t r = 0; r < kGridRows; ++r) {
            const std::uint8_t key = GridKey(c, r);
            if (key != kNoGridKey)
                points.push_back({static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(r), key});
        }
    }
    return points;
}

} // namespace

std::span<const GridPoint> GridKeys() {
    static const std::vector<GridPoint> points = CollectGridKeys();
    return points;
}

int Wrap(int value, int by, int size) {
    return ((value + by) % size + size) % size;
}

void ClearFrame(std::span<LedColour> leds) {
    std::fill(leds.begin(), leds.end(), LedColour{0, 0, 0, 0});
}

void PaintKey(std::span<LedColour> leds, std::uint8_t key, Rgb colour, std::uint8_t alpha) {
    if (key < leds.size() && key < kIntensityCount)
        leds[key] = {colour.red, colour.green, colour.blue, alpha};
}

Rgb EffectColour(const LightSettings& settings, int phase) {
    if (settings.multiColour)
        return Wheel(static_cast<std::size_t>(Wrap(phase, 0, kWheel)));
    return {settings.red, settings.green, settings.blue};
}

std::uint8_t LevelAlpha(const LightSettings& settings, int value) {
    return static_cast<std::uint8_t>(BrightnessLevel(settings.brightness) * value >> 8);
}

void ClearPreview(EffectState& state) {
    state.stepCounter = 0;
    state.intensity.fill(0);
    state.keyPhase.fill(0);
    state.preview = {};
}

void LightKey(EffectState& state, std::uint8_t key, int phase) {
    if (key >= kIntensityCount)
        return;
    state.intensity[key] = kFullIntensity;
    state.keyPhase[key] = static_cast<std::uint8_t>(Wrap(phase, 0, kWheel));
}

void LightPosition(EffectState& state, int column, int row, int phase) {
    if (column < 0 || row < 0)
        return;
    LightKey(state, GridKey(static_cast<std::size_t>(column), static_cast<std::size_t>(row)),
             phase);
}

void DecayKeys(EffectState& state, int effect) {
    for (std::uint8_t& v : state.intensity)
        v = DecayKey(v, effect);
}

void ShowIntensities(std::span<LedColour> leds, const LightSettings& settings,
                     const EffectState& state, bool alwaysWheel) {
    for (const GridPoint& p : GridKeys()) {
        const std::uint8_t v = state.intensity[p.key];
        if (v == 0)
            continue;
        const int phase = state.keyPhase[p.key];
        const Rgb colour =
            alwaysWheel ? Wheel(static_cast<std::size_t>(phase)) : EffectColour(settings, phase);
        PaintKey(leds, p.key, colour, LevelAlpha(settings, v));
    }
}

std::uint32_t RandomBelow(EffectState& state, std::uint32_t bound) {
    // xorshift32; a seed of 0 would stay 0.
    std::uint32_t x = state.randomSeed == 0 ? 1 : state.randomSeed;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state.randomSeed = x;
    return bound == 0 ? 0 : x % bound;
}

const GridPoint& RandomGridKey(EffectState& state) {
    const std::span<const GridPoint> keys = GridKeys();
    return keys[RandomBelow(state, static_cast<std::uint32_t>(keys.size()))];
}

bool SparkDue(EffectState& state, int least, int spread) {
    std::uint8_t& wait = state.preview.wait;
    if (wait > 0) {
        --wait;
        return false;
    }
    wait =
        static_cast<std::uint8_t>(least + RandomBelow(state, static_cast<std::uint32_t>(spread)));
    return true;
}

} // namespace devices::preview

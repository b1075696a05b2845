#include "devices/PatternStreaks.h"

#include "devices/KeyboardEffects.h"
#include "devices/PatternCanvas.h"

namespace devices::preview {

namespace {

constexpr int kPathLength = kColumns * kRows;
constexpr int kSnakeColourStep = 4;
constexpr int kSweep = 2 * (kColumns - 1); // the laser's frames over and back
constexpr int kColumnColourStep = 8;
constexpr int kMeteorRowColourStep = 32;
constexpr int kMeteorColourStep = 4;

// Runs the streak of every lane one position on and lights its head; a lane whose head ran
// past `length` positions is empty again. `light` lights position `position` of lane `lane`.
template <typename LightHead>
void AdvanceLanes(EffectState& state, int lanes, int length, LightHead light) {
    for (int lane = 0; lane < lanes; ++lane) {
        std::uint8_t& head = state.preview.lanes[static_cast<std::size_t>(lane)];
        if (head == 0)
            continue;
        light(lane, head - 1);
        head = head >= length ? 0 : static_cast<std::uint8_t>(head + 1);
    }
}

// A streak on a pseudo-random lane when one is due and the lane is empty.
void StartStreak(EffectState& state, int lanes, int least, int spread) {
    if (!SparkDue(state, least, spread))
        return;
    std::uint8_t& head = state.preview.lanes[RandomBelow(state, static_cast<std::uint32_t>(lanes))];
    if (head == 0)
        head = 1;
}

void LightColumn(EffectState& state, int column) {
    for (int r = 0; r < kRows; ++r)
        LightPosition(state, column, r, kColumnColourStep * column);
}

} // namespace

void StepSnake(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternSnake);
    // Every position of the grid, gaps too, row by row and each row the other way round.
    const int head = state.stepCounter % kPathLength;
    const int row = head / kColumns;
    const int step = head % kColumns;
    const int column =
        Along(row % 2 == 0 ? step : kColumns - 1 - step, kColumns, settings.direction != 0);
    LightPosition(state, column, row, kSnakeColourStep * head);
    state.stepCounter = static_cast<std::uint8_t>((head + 1) % kPathLength);
    ShowIntensities(leds, settings, state);
}

void StartLaser(EffectState& state) {
    ClearPreview(state);
    LightColumn(state, 0);
}

void StepLaser(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternLaser);
    state.stepCounter = static_cast<std::uint8_t>((state.stepCounter + 1) % kSweep);
    const int t = state.stepCounter;
    LightColumn(state, t < kColumns ? t : kSweep - t);
    ShowIntensities(leds, settings, state);
}

void StepMeteor(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternMeteor);
    StartStreak(state, kRows, 3, 6);
    AdvanceLanes(state, kRows, kColumns, [&](int row, int column) {
        LightPosition(state, column, row, kMeteorRowColourStep * row + kMeteorColourStep * column);
    });
    ShowIntensities(leds, settings, state);
}

void StepRain(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    DecayKeys(state, kPatternRain);
    StartStreak(state, kColumns, 0, 3);
    const bool rising = settings.direction == 0;
    AdvanceLanes(state, kColumns, kRows, [&](int column, int fallen) {
        LightPosition(state, column, Along(fallen, kRows, rising), kColumnColourStep * column);
    });
    ShowIntensities(leds, settings, state);
}

} // namespace devices::preview

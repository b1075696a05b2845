#include "devices/PatternFields.h"

#include "devices/PatternCanvas.h"

#include <array>
#include <cmath>
#include <numbers>

namespace devices::preview {

namespace {

constexpr int kWaveStep = 3;         // wheel entries a wave moves on each frame
constexpr int kWaveColumnSpan = 8;   // wheel entries between neighbouring columns
constexpr int kFallRowSpan = 32;     // wheel entries between neighbouring rows
constexpr int kSpiralTightness = 10; // wheel entries an arm turns per grid step outward
constexpr int kAuroraLowHue = 72;    // green-cyan; the curtains reach up to violet
constexpr int kAuroraHueSpan = 96;
constexpr int kAuroraGlow = 112; // the dimmest a curtain gets
constexpr std::size_t kHeartbeatFrames = 48;
constexpr std::uint8_t kHeartbeatPhaseStep = 16;

// Where a grid position sits seen from the middle of the keyboard: its angle in wheel entries
// (0 to the right, rising clockwise as row 0 is the top) and its distance in grid steps.
struct Polar {
    std::uint8_t angle;
    std::uint8_t distance;
};

using PolarGrid = std::array<std::array<Polar, kGridRows>, kGridColumns>;

PolarGrid MakePolarGrid() {
    PolarGrid grid{};
    const double middleColumn = (kColumns - 1) / 2.0;
    const double middleRow = (kRows - 1) / 2.0;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const double dx = c - middleColumn;
            const double dy = r - middleRow;
            const double turn = std::atan2(dy, dx) / (2 * std::numbers::pi);
            grid[c][r] = {static_cast<std::uint8_t>(
                              Wrap(static_cast<int>(std::lround(turn * kWheel)), 0, kWheel)),
                          static_cast<std::uint8_t>(std::lround(std::hypot(dx, dy)))};
        }
    }
    return grid;
}

const Polar& PolarAt(int column, int row) {
    static const PolarGrid grid = MakePolarGrid();
    return grid[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
}

// The wave's look at wheel phase `phase`: that wheel entry with multi-colour, else the fixed
// colour as bright as the breathing curve at the same point of its cycle.
void PaintWave(std::span<LedColour> leds, const LightSettings& settings, std::uint8_t key,
               int phase) {
    phase = Wrap(phase, 0, kWheel);
    if (settings.multiColour) {
        PaintKey(leds, key, Wheel(static_cast<std::size_t>(phase)),
                 BrightnessLevel(settings.brightness));
        return;
    }
    const std::size_t curveIndex = static_cast<std::size_t>(phase) * kCurveSize / kWheelSize;
    PaintKey(leds, key, EffectColour(settings, 0),
             LevelAlpha(settings, BreathingCurve(curveIndex)));
}

void AdvanceWave(EffectState& state, int by) {
    state.stepCounter = static_cast<std::uint8_t>(Wrap(state.stepCounter, by, kWheel));
}

bool Clockwise(const LightSettings& settings) {
    return settings.direction != 0;
}

// 0-`height`-0 over one turn of the wheel.
int Triangle(int phase, int height) {
    const int p = Wrap(phase, 0, kWheel);
    const int half = kWheel / 2;
    return (p < half ? p : kWheel - p) * height / half;
}

// Lub-dub: a strong beat, a softer one, then rest.
constexpr std::array<std::uint8_t, kHeartbeatFrames> kHeartbeat = {
    64, 160, 255, 200, 120, 60, 20, 0, 96, 180, 150, 90, 40, 10,
};

constexpr std::array<std::uint8_t, 8> kMovementKeys = {44, 64, 65, 66, 96, 113, 114, 115};
constexpr std::array<std::uint8_t, 14> kGameKeys = {0,  22, 23, 24, 25,  42,  43,
                                                    45, 46, 63, 84, 105, 107, 108};
constexpr Rgb kMovementColour{255, 0, 0};
constexpr Rgb kGameColour{255, 120, 0};

} // namespace

void StepWave(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    AdvanceWave(state, kWaveStep);
    const bool reversed = settings.direction != 0;
    for (const GridPoint& p : GridKeys()) {
        const int along = Along(p.column, kColumns, reversed);
        PaintWave(leds, settings, p.key, state.stepCounter - kWaveColumnSpan * along);
    }
}

void StepRotation(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    AdvanceWave(state, kWaveStep);
    for (const GridPoint& p : GridKeys()) {
        const Polar& at = PolarAt(Along(p.column, kColumns, !Clockwise(settings)), p.row);
        PaintWave(leds, settings, p.key, at.angle - state.stepCounter);
    }
}

void StepVortex(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    AdvanceWave(state, kWaveStep);
    for (const GridPoint& p : GridKeys()) {
        const Polar& at = PolarAt(Along(p.column, kColumns, !Clockwise(settings)), p.row);
        // Twice the angle: two arms, half a turn apart.
        PaintWave(leds, settings, p.key,
                  2 * at.angle + kSpiralTightness * at.distance - state.stepCounter);
    }
}

void StepWaterfall(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    AdvanceWave(state, kWaveStep);
    const bool reversed = settings.direction != 0;
    const std::uint8_t alpha = BrightnessLevel(settings.brightness);
    for (const GridPoint& p : GridKeys()) {
        const int along = Along(p.row, kRows, reversed);
        const int phase = Wrap(state.stepCounter - kFallRowSpan * along, 0, kWheel);
        PaintKey(leds, p.key, Wheel(static_cast<std::size_t>(phase)), alpha);
    }
}

void StepAurora(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    AdvanceWave(state, 1);
    const int t = state.stepCounter;
    for (const GridPoint& p : GridKeys()) {
        const int hue = kAuroraLowHue + Triangle(t + 6 * p.column, kAuroraHueSpan);
        const std::size_t shimmer = static_cast<std::size_t>(2 * t + 9 * p.column + 21 * p.row);
        const int glow =
            kAuroraGlow + BreathingCurve(shimmer % kCurveSize) * (255 - kAuroraGlow) / 255;
        PaintKey(leds, p.key, Wheel(static_cast<std::size_t>(hue)), LevelAlpha(settings, glow));
    }
}

void StepHeartbeat(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    std::uint8_t& phase = state.phase[kColourPhase];
    if (++state.stepCounter >= kHeartbeatFrames) {
        state.stepCounter = 0;
        phase = static_cast<std::uint8_t>(Wrap(phase, kHeartbeatPhaseStep, kWheel));
    }
    const std::uint8_t alpha = LevelAlpha(settings, kHeartbeat[state.stepCounter]);
    const Rgb colour = EffectColour(settings, phase);
    for (const GridPoint& p : GridKeys())
        PaintKey(leds, p.key, colour, alpha);
}

void StepGame(std::span<LedColour> leds, const LightSettings& settings) {
    const std::uint8_t alpha = BrightnessLevel(settings.brightness);
    for (std::uint8_t key : kGameKeys)
        PaintKey(leds, key, kGameColour, alpha);
    for (std::uint8_t key : kMovementKeys)
        PaintKey(leds, key, kMovementColour, alpha);
}

} // namespace devices::preview

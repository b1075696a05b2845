#include "lighting/LightSyncStep.h"

#include "devices/LightTables.h"
#include "devices/LightTick.h"

#include <algorithm>
#include <array>

namespace lighting {

namespace {

// Every effect steps at the same pace for a speed setting.
constexpr std::array<int, 5> kStepTicks = {28, 23, 18, 13, 7};
constexpr int kPhaseLimit = 128;
constexpr int kWheelLimit = static_cast<int>(devices::kWheelSize);
// Flashing toggles after this many milliseconds per step tick of its speed.
constexpr std::uint32_t kFlashMsPerStepTick = 200;

int StepUp(int position, int step, int limit) {
    position += step;
    return position >= limit ? 0 : position;
}

int StepDown(int position, int step, int limit) {
    return position < step ? limit - step : position - step;
}

std::uint32_t Stored(const SyncSettings& s, std::uint8_t intensity) {
    return PackSyncColour(s.red, s.green, s.blue, intensity);
}

std::uint32_t WheelColour(int position, std::uint8_t intensity) {
    const devices::Rgb c = devices::Wheel(static_cast<std::size_t>(position));
    return PackSyncColour(c.red, c.green, c.blue, intensity);
}

std::uint32_t Breathing(const SyncSettings& s, SyncState& state) {
    state.phase =
        s.direction ? StepUp(state.phase, 1, kPhaseLimit) : StepDown(state.phase, 1, kPhaseLimit);
    const int level = devices::BrightnessLevel(s.brightness);
    const auto intensity = static_cast<std::uint8_t>(
        level * devices::BreathingCurve(static_cast<std::size_t>(state.phase)) >> 8);
    if (!s.multiColour)
        return Stored(s, intensity);
    // The colour moves on while the light is out.
    if (state.phase < 2)
        state.wheel = StepUp(state.wheel, 16, kWheelLimit);
    return WheelColour(state.wheel, intensity);
}

std::uint32_t Flashing(const SyncSettings& s, SyncState& state, std::uint32_t nowMs) {
    const auto period = static_cast<std::uint32_t>(SyncStepTicks(s.speed)) * kFlashMsPerStepTick;
    if (nowMs - state.lastToggleMs >= period) {
        state.flashOn = !state.flashOn;
        state.lastToggleMs = nowMs;
        state.wheel = StepUp(state.wheel, 14, kWheelLimit);
    }
    if (!state.flashOn)
        return 0;
    const std::uint8_t level = devices::BrightnessLevel(s.brightness);
    return s.multiColour ? WheelColour(state.wheel, level) : Stored(s, level);
}

} // namespace

int SyncStepTicks(int speed) {
    return kStepTicks[static_cast<std::size_t>(std::clamp(speed, 0, 4))];
}

std::chrono::microseconds SyncStepPeriod(int speed) {
    return devices::TicksToTime(SyncStepTicks(speed));
}

std::uint32_t StepSyncFrame(const SyncSettings& settings, SyncState& state, std::uint32_t nowMs) {
    switch (settings.effect) {
    case kEffectBreathing:
        return Breathing(settings, state);
    case kEffectSteady:
        return Stored(settings, devices::BrightnessLevel(settings.brightness));
    case kEffectFlashing:
        return Flashing(settings, state, nowMs);
    case kEffectColourCycle:
        state.wheel = StepUp(state.wheel, 1, kWheelLimit);
        return WheelColour(state.wheel, devices::BrightnessLevel(settings.brightness));
    default:
        return 0;
    }
}

} // namespace lighting

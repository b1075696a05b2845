#pragma once
// The time base of the lighting loops. The keyboard's effect table counts in ticks of the
// millisecond counter as seen under a 1 ms wait: it only moves with the 64 Hz system timer,
// so one tick is 15.625 ms. Thresholds are the ticks between two steps of an effect.

#include <array>
#include <chrono>
#include <cstddef>

namespace devices {

inline constexpr std::chrono::microseconds kLightTick{15625};
static_assert(kLightTick * 64 == std::chrono::seconds(1));

constexpr std::chrono::microseconds TicksToTime(int ticks) {
    return ticks * kLightTick;
}

// The keyboard's own effects step every 8, 5, 3 or 1 ticks at speeds 0 to 3 (speed 3 steps on
// every tick); a speed above 3 counts as 3.
inline constexpr int kSpeed0ThresholdTicks = 8;
inline constexpr int kSpeed1ThresholdTicks = 5;
inline constexpr int kSpeed2ThresholdTicks = 3;
inline constexpr int kSpeed3ThresholdTicks = 1;
inline constexpr std::array<int, 4> kSpeedThresholdTicks = {
    kSpeed0ThresholdTicks, kSpeed1ThresholdTicks, kSpeed2ThresholdTicks, kSpeed3ThresholdTicks};
// Effects 16 and 18 step every third tick whatever the speed.
inline constexpr int kFixedPatternThresholdTicks = 3;
// Effect 29 (the music bars and ripples) steps every second tick at every speed.
inline constexpr int kMusicThresholdTicks = 2;
// Effect 30 (the music colour) steps on every pass: whenever new music settings arrive.
inline constexpr int kMusicColourThresholdTicks = 0;
// Effect 19 and every effect the table does not know play the profile's recorded steps, each
// for its own time.
inline constexpr int kRecordedPlaybackTicks = -1;

inline constexpr std::chrono::microseconds kSpeed0StepPeriod = TicksToTime(kSpeed0ThresholdTicks);
inline constexpr std::chrono::microseconds kSpeed3StepPeriod = TicksToTime(kSpeed3ThresholdTicks);
inline constexpr std::chrono::microseconds kFixedPatternStepPeriod =
    TicksToTime(kFixedPatternThresholdTicks);
inline constexpr std::chrono::microseconds kMusicStepPeriod = TicksToTime(kMusicThresholdTicks);

// The threshold of a speed for the effects that follow the speed.
constexpr int SpeedThresholdTicks(int speed) {
    const int s = speed < 0 ? 0 : speed > 3 ? 3 : speed;
    return kSpeedThresholdTicks[static_cast<std::size_t>(s)];
}

// Ticks between two steps of `effect` at `speed`: kRecordedPlaybackTicks (-1) for recorded
// effect playback, kMusicColourThresholdTicks (0) for "every pass".
constexpr int EffectThresholdTicks(int effect, int speed) {
    switch (effect) {
    case 16:
    case 18:
        return kFixedPatternThresholdTicks;
    case 29:
        return kMusicThresholdTicks;
    case 30:
        return kMusicColourThresholdTicks;
    case 19:
        return kRecordedPlaybackTicks;
    default:
        break;
    }
    if (effect >= 1 && effect <= 28)
        return SpeedThresholdTicks(speed);
    return kRecordedPlaybackTicks;
}

} // namespace devices

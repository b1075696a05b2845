#pragma once
// The time base of the lighting loops. The keyboard's effect table counts in ticks of the
// millisecond counter as seen under a 1 ms wait: it only moves with the 64 Hz system timer,
// so one tick is 15.625 ms. Thresholds are the ticks between two steps of an effect.

#include <chrono>

namespace devices {

inline constexpr std::chrono::microseconds kLightTick{15625};
static_assert(kLightTick * 64 == std::chrono::seconds(1));

// Effect 29 (the music bars and ripples) steps every second tick at every speed.
inline constexpr int kMusicThresholdTicks = 2;
// Effect 30 (the music colour) steps on every pass.
inline constexpr int kMusicColourThresholdTicks = 0;
// The keyboard's own effects (8, 5, 3 or 1 ticks by speed; 3 for effects 16 and 18) join
// here with their preview steps.

constexpr std::chrono::microseconds TicksToTime(int ticks) {
    return ticks * kLightTick;
}

inline constexpr std::chrono::microseconds kMusicStepPeriod = TicksToTime(kMusicThresholdTicks);

} // namespace devices

#pragma once
// One step of the light synchronisation: the five common effects as one colour for every
// device taking part. A pure function of the settings, the running state and the time, so the
// thread and the tests drive it with their own clocks. No Qt.
//
// A frame is packed as red | green << 8 | blue << 16 | intensity << 24.

#include "lighting/CommonEffects.h"

#include <chrono>
#include <cstdint>

namespace lighting {

struct SyncState {
    int phase = 0;        // breathing curve position, 0-127
    int wheel = 0;        // colour wheel position, 0-191
    bool flashOn = false; // flashing: the colour is showing
    std::uint32_t lastToggleMs = 0;
};

// Ticks between two frames at a speed setting; speeds above 4 count as 4.
int SyncStepTicks(int speed);
// The time between two frames at a speed setting.
std::chrono::microseconds SyncStepPeriod(int speed);

// The next frame; `nowMs` is the millisecond clock (flashing toggles by it).
std::uint32_t StepSyncFrame(const SyncSettings& settings, SyncState& state, std::uint32_t nowMs);

constexpr std::uint32_t PackSyncColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                       std::uint8_t intensity) {
    return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
           static_cast<std::uint32_t>(blue) << 16 | static_cast<std::uint32_t>(intensity) << 24;
}

} // namespace lighting

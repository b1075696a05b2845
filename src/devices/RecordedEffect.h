#pragma once
// Playback of a recorded light effect (the profile's "LEDEffectList"): the steps are shown one
// after the other, each for its "Time" in ms, and the list starts again after the last. A step
// is drawn with the base effect steps from its own mode, brightness, speed, direction, multi-
// colour flag and colour: mode 4 the spectrum cycle, 5 breathing, 21 off, 22 flash, 26
// breathing through the four colours, 27 flash through them, any other mode its colour
// standing still. While a step is shown it moves at its own speed (8, 5, 3 or 1 ticks).
//
// The list is loaded by the UI thread and played by the lighting thread: both under its lock.

#include "config/ProfileRecords.h"
#include "devices/LightEngine.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace devices {

class CRecordedEffect {
public:
    // The next frame starts the first step.
    void Load(std::vector<config::LightEffectStep> steps);
    std::vector<config::LightEffectStep> Steps() const;
    // One frame at `nowMs`: the step whose time covers it, moved on by one. With no steps every
    // LED is off.
    void Step(std::span<LedColour> leds, EffectState& state, std::uint32_t nowMs);
    // Ticks between two frames of the step being shown; kRecordedPlaybackTicks (-1) when there
    // is nothing to play.
    int StepTicks() const;

private:
    // Moves to the step that `nowMs` falls in; a change starts the step from a clean state.
    void Follow(EffectState& state, std::uint32_t nowMs);

    mutable std::mutex m_lock;
    std::vector<config::LightEffectStep> m_steps;
    std::size_t m_index = 0;
    std::uint32_t m_stepStartMs = 0;
    bool m_started = false;
};

} // namespace devices

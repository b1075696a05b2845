#include "devices/RecordedEffect.h"

#include "devices/LightTick.h"

#include <algorithm>

namespace devices {

namespace {
// A step of no time is still shown for one frame, so that a list of such steps cannot spin.
constexpr std::uint32_t kShortestStepMs = 1;

std::uint32_t StepTimeMs(const config::LightEffectStep& step) {
    return std::max<std::uint32_t>(kShortestStepMs,
                                   step.time > 0 ? static_cast<std::uint32_t>(step.time) : 0);
}

LightSettings SettingsOf(const config::LightEffectStep& step) {
    return {step.mode,       step.brightness, step.speed, step.direction,
            step.multiColor, step.red,        step.green, step.blue};
}

void Draw(std::span<LedColour> leds, const config::LightEffectStep& step, EffectState& state,
          std::uint32_t nowMs) {
    const LightSettings settings = SettingsOf(step);
    switch (step.mode) {
    case 4:
        StepSpectrumCycle(leds, settings, state);
        break;
    case 5:
        StepBreathing(leds, settings, state);
        break;
    case 21:
        StepOff(leds);
        break;
    case 22:
        StepFlash(leds, settings, state, nowMs);
        break;
    case 26:
        StepBreathingFourColours(leds, settings, state);
        break;
    case 27:
        StepFlashFourColours(leds, settings, state, nowMs);
        break;
    default:
        StepStatic(leds, settings);
        break;
    }
}
} // namespace

void CRecordedEffect::Load(std::vector<config::LightEffectStep> steps) {
    const std::lock_guard lock(m_lock);
    m_steps = std::move(steps);
    m_index = 0;
    m_started = false;
}

std::vector<config::LightEffectStep> CRecordedEffect::Steps() const {
    const std::lock_guard lock(m_lock);
    return m_steps;
}

void CRecordedEffect::Follow(EffectState& state, std::uint32_t nowMs) {
    if (!m_started) {
        m_started = true;
        m_index = 0;
        m_stepStartMs = nowMs;
        state.Reset();
        return;
    }
    bool moved = false;
    // Once round the list at most: a thread that slept through several steps goes on from now.
    for (std::size_t n = 0; n < m_steps.size(); ++n) {
        const std::uint32_t length = StepTimeMs(m_steps[m_index]);
        if (nowMs - m_stepStartMs < length)
            break;
        m_stepStartMs += length;
        m_index = (m_index + 1) % m_steps.size();
        moved = true;
    }
    if (nowMs - m_stepStartMs >= StepTimeMs(m_steps[m_index]))
        m_stepStartMs = nowMs;
    if (moved)
        state.Reset();
}

void CRecordedEffect::Step(std::span<LedColour> leds, EffectState& state, std::uint32_t nowMs) {
    const std::lock_guard lock(m_lock);
    if (m_steps.empty()) {
        StepOff(leds);
        return;
    }
    Follow(state, nowMs);
    Draw(leds, m_steps[m_index], state, nowMs);
}

int CRecordedEffect::StepTicks() const {
    const std::lock_guard lock(m_lock);
    if (m_steps.empty())
        return kRecordedPlaybackTicks;
    const std::size_t index = m_started ? m_index : 0;
    return SpeedThresholdTicks(m_steps[index].speed);
}

} // namespace devices

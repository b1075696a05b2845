#include "devices/LightEngine.h"

#include <algorithm>

namespace devices {

namespace {

constexpr std::uint8_t kCurveLast = kCurveSize - 1; // 127
constexpr std::uint8_t kWheelLast = kWheelSize - 1; // 191
constexpr std::uint8_t kFourColourLast = kFourColourCount - 1;
constexpr std::uint8_t kBreathingPhaseStep = 16;
constexpr std::uint8_t kBreathingPhaseLast = kWheelSize; // 192 is still shown, as entry 0
constexpr std::uint8_t kFlashWheelStep = 16;

// Moves `counter` one step within 0..last, forward or backward; true when it wrapped round.
// A counter left outside the range by another effect restarts at the end it runs from.
bool Advance(std::uint8_t& counter, std::uint8_t last, std::uint8_t direction) {
    if (direction == 0) {
        if (counter >= last) {
            counter = 0;
            return true;
        }
        ++counter;
        return false;
    }
    if (counter == 0 || counter > last) {
        counter = last;
        return true;
    }
    --counter;
    return false;
}

std::uint8_t NextFourColour(std::uint8_t index) {
    return index >= kFourColourLast ? 0 : static_cast<std::uint8_t>(index + 1);
}

Rgb FixedColour(const LightSettings& settings) {
    return {settings.red, settings.green, settings.blue};
}

void Fill(std::span<LedColour> leds, Rgb colour, std::uint8_t alpha) {
    std::fill(leds.begin(), leds.end(), LedColour{colour.red, colour.green, colour.blue, alpha});
}

std::uint8_t BreathingAlpha(const LightSettings& settings, std::uint8_t counter) {
    return static_cast<std::uint8_t>(
        BreathingCurve(counter) * BrightnessLevel(settings.brightness) >> 8);
}

// Switches the flash on or off when a period has passed (at once after a reset); true when
// this call switched it off.
bool FlashClock(const LightSettings& settings, EffectState& state, std::uint32_t nowMs) {
    std::uint8_t& flash = state.phase[kFlashState];
    if (flash == kFlashIdle) {
        flash = kFlashLit;
        state.timeMs = nowMs;
        return false;
    }
    if (nowMs - state.timeMs < FlashPeriodMs(settings.speed)) {
        return false;
    }
    state.timeMs = nowMs;
    flash = flash == kFlashLit ? kFlashDark : kFlashLit;
    return flash == kFlashDark;
}

} // namespace

void StepBreathing(std::span<LedColour> leds, const LightSettings& settings, EffectState& state) {
    std::uint8_t& phase = state.phase[kColourPhase];
    if (Advance(state.stepCounter, kCurveLast, settings.direction)) {
        const int next = phase + kBreathingPhaseStep;
        phase = next > kBreathingPhaseLast ? 0 : static_cast<std::uint8_t>(next);
    }
    const Rgb colour = settings.multiColour ? Wheel(phase) : FixedColour(settings);
    Fill(leds, colour, BreathingAlpha(settings, state.stepCounter));
}

void StepBreathingFourColours(std::span<LedColour> leds, const LightSettings& settings,
                              EffectState& state) {
    std::uint8_t& phase = state.phase[kColourPhase];
    if (Advance(state.stepCounter, kCurveLast, settings.direction)) {
        phase = NextFourColour(phase);
    }
    Fill(leds, FourColour(phase), BreathingAlpha(settings, state.stepCounter));
}

void StepStatic(std::span<LedColour> leds, const LightSettings& settings) {
    Fill(leds, FixedColour(settings), BrightnessLevel(settings.brightness));
}

void StepSpectrumCycle(std::span<LedColour> leds, const LightSettings& settings,
                       EffectState& state) {
    Advance(state.stepCounter, kWheelLast, settings.direction);
    Fill(leds, Wheel(state.stepCounter), BrightnessLevel(settings.brightness));
}

void StepFlash(std::span<LedColour> leds, const LightSettings& settings, EffectState& state,
               std::uint32_t nowMs) {
    if (FlashClock(settings, state, nowMs)) {
        state.stepCounter = (state.stepCounter + kFlashWheelStep) % kWheelSize;
    }
    if (state.phase[kFlashState] != kFlashLit) {
        StepOff(leds);
        return;
    }
    const Rgb colour = settings.multiColour ? Wheel(state.stepCounter) : FixedColour(settings);
    Fill(leds, colour, BrightnessLevel(settings.brightness));
}

void StepFlashFourColours(std::span<LedColour> leds, const LightSettings& settings,
                          EffectState& state, std::uint32_t nowMs) {
    if (FlashClock(settings, state, nowMs)) {
        state.stepCounter = NextFourColour(state.stepCounter);
    }
    if (state.phase[kFlashState] != kFlashLit) {
        StepOff(leds);
        return;
    }
    Fill(leds, FourColour(state.stepCounter), BrightnessLevel(settings.brightness));
}

void StepOff(std::span<LedColour> leds) {
    Fill(leds, Rgb{0, 0, 0}, 0);
}

namespace {

// Intensity bands, highest first: the lowest intensity of the band and the amount one decay
// step takes for effect 0, for effect 29 and for any other effect.
struct DecayBand {
    std::uint8_t from;
    std::uint8_t effect0;
    std::uint8_t effect29;
    std::uint8_t other;
};

constexpr std::array<DecayBand, 9> kDecayBands = {{
    {144, 40, 45, 40},
    {128, 40, 40, 40},
    {112, 30, 35, 30},
    {96, 30, 30, 30},
    {80, 30, 25, 30},
    {64, 30, 20, 30},
    {32, 15, 10, 10},
    {17, 8, 5, 8},
    {1, 1, 1, 1},
}};

} // namespace

std::uint8_t DecayKey(std::uint8_t intensity, int effect) {
    for (const DecayBand& band : kDecayBands) {
        if (intensity < band.from) {
            continue;
        }
        const std::uint8_t amount = effect == 0    ? band.effect0
                                    : effect == 29 ? band.effect29
                                                   : band.other;
        return intensity > amount ? static_cast<std::uint8_t>(intensity - amount) : 0;
    }
    return 0;
}

} // namespace devices

#include "devices/PadPreview.h"

#include "devices/LightTables.h"

#include <algorithm>

namespace devices {

namespace {
constexpr std::array<std::uint8_t, 5> kPreviewAlpha = {0, 80, 135, 255, 255};
constexpr std::size_t kWaveSpacing = 7;           // wheel entries between neighbouring LEDs
constexpr std::size_t kWaveIntensitySpacing = 16; // curve entries between neighbouring LEDs
constexpr std::uint8_t kReactiveFadeStep = 15;
} // namespace

std::uint8_t PadPreviewAlpha(std::uint8_t brightness) {
    return kPreviewAlpha[std::min<std::size_t>(brightness, kPreviewAlpha.size() - 1)];
}

void StepPadWave(std::span<LedColour> leds, const LightSettings& light, EffectState& effect) {
    const std::uint8_t alpha = PadPreviewAlpha(light.brightness);
    // The phase counts through one round of the wheel, backwards for a non-zero direction.
    std::uint8_t& phase = effect.phase[0];
    phase = static_cast<std::uint8_t>(light.direction == 0 ? (phase + 1) % kWheelSize
                                                           : (phase + kWheelSize - 1) % kWheelSize);
    for (std::size_t i = 0; i < leds.size(); ++i) {
        if (light.multiColour) {
            const Rgb c = Wheel(phase + kWaveSpacing * i);
            leds[i] = {c.red, c.green, c.blue, alpha};
            continue;
        }
        const std::uint8_t curve = BreathingCurve(phase + kWaveIntensitySpacing * i);
        leds[i] = {light.red, light.green, light.blue,
                   static_cast<std::uint8_t>(curve * alpha / 255)};
    }
}

void StepPadReactiveFade(std::span<LedColour> leds) {
    for (LedColour& led : leds)
        led.alpha = led.alpha > kReactiveFadeStep ? led.alpha - kReactiveFadeStep : 0;
}

} // namespace devices

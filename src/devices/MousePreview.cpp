#include "devices/MousePreview.h"

#include "devices/LightTables.h"

#include <algorithm>

namespace devices {

namespace {
constexpr std::size_t kWaveSpacing = 7;           // wheel entries between neighbouring groups
constexpr std::size_t kWaveIntensitySpacing = 16; // curve entries between neighbouring groups
constexpr std::uint8_t kReactiveStep = 15;

template <typename Paint> void ForEachGroupLed(std::span<LedColour> leds, Paint paint) {
    for (std::size_t g = 0; g < kMouseLedGroups.size(); ++g) {
        for (int index : kMouseLedGroups[g]) {
            if (index >= 0 && static_cast<std::size_t>(index) < leds.size())
                leds[static_cast<std::size_t>(index)] = paint(g);
        }
    }
}
} // namespace

void StepMouseWave(std::span<LedColour> leds, const LightSettings& light, EffectState& effect) {
    const std::uint8_t alpha = PadPreviewAlpha(light.brightness);
    std::uint8_t& phase = effect.phase[0];
    phase = static_cast<std::uint8_t>(light.direction == 0 ? (phase + 1) % kWheelSize
                                                           : (phase + kWheelSize - 1) % kWheelSize);
    ForEachGroupLed(leds, [&](std::size_t g) {
        if (light.multiColour) {
            const Rgb c = Wheel(phase + kWaveSpacing * g);
            return LedColour{c.red, c.green, c.blue, alpha};
        }
        const std::uint8_t curve = BreathingCurve(phase + kWaveIntensitySpacing * g);
        return LedColour{light.red, light.green, light.blue,
                         static_cast<std::uint8_t>(curve * alpha / 255)};
    });
}

void StepMouseCustomColours(std::span<LedColour> leds, const LightSettings& light,
                            EffectState& effect) {
    const std::uint8_t alpha = PadPreviewAlpha(light.brightness);
    std::uint8_t& phase = effect.phase[0];
    phase = static_cast<std::uint8_t>((phase + 1) % kFourColourCount);
    ForEachGroupLed(leds, [&](std::size_t g) {
        const Rgb c = FourColour((phase + g) % kFourColourCount);
        return LedColour{c.red, c.green, c.blue, alpha};
    });
}

void StartMouseReactive(std::span<LedColour> leds, std::span<MouseFade> fades,
                        std::span<const std::uint32_t> random) {
    const std::size_t count = std::min({leds.size(), fades.size(), random.size()});
    for (std::size_t i = 0; i < count; ++i) {
        const Rgb c = Wheel(random[i] % kWheelSize);
        leds[i] = {c.red, c.green, c.blue, 255};
        fades[i] = MouseFade::kRising;
    }
}

void StepMouseReactive(std::span<LedColour> leds, std::span<MouseFade> fades) {
    const std::size_t count = std::min(leds.size(), fades.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t& alpha = leds[i].alpha;
        if (fades[i] == MouseFade::kRising) {
            alpha = alpha < 255 - kReactiveStep ? alpha + kReactiveStep : 255;
            if (alpha == 255)
                fades[i] = MouseFade::kFalling;
        } else if (fades[i] == MouseFade::kFalling) {
            alpha = alpha > kReactiveStep ? alpha - kReactiveStep : 0;
            if (alpha == 0)
                fades[i] = MouseFade::kIdle;
        }
    }
}

} // namespace devices

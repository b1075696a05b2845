#pragma once
// The colour tables of the software lighting engine: brightness levels, the four-colour list,
// the 192-entry colour wheel, the breathing curve and the flash periods.

#include <cstddef>
#include <cstdint>

namespace devices {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr std::size_t kWheelSize = 192; // entries 0-191; 192 names entry 0 again
inline constexpr std::size_t kCurveSize = 128; // breathing curve entries 0-127
inline constexpr std::size_t kFourColourCount = 4;
inline constexpr std::uint8_t kMaxLightLevel = 3; // brightness levels and speeds are 0-3

// Wheel entry `index`; indices from 192 on go round again (192 is entry 0).
Rgb Wheel(std::size_t index);
// Breathing curve entry `index` (0-127, rising to 255 in the middle); larger indices wrap.
std::uint8_t BreathingCurve(std::size_t index);
// The alpha of brightness level `level`; levels above 3 count as 3.
std::uint8_t BrightnessLevel(std::uint8_t level);
// Entry `index` of the four-colour list; larger indices wrap.
Rgb FourColour(std::size_t index);
// Time between two flash toggles at `speed`; speeds above 3 count as 3.
std::uint32_t FlashPeriodMs(std::uint8_t speed);

} // namespace devices

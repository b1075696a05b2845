#include "devices/LightTables.h"

#include <algorithm>
#include <array>

namespace devices {

namespace {

constexpr std::array<std::uint8_t, 4> kLevels = {0, 80, 135, 255};

constexpr std::array<Rgb, kFourColourCount> kFourColours = {{
    {0, 255, 180},
    {0, 255, 0},
    {255, 255, 255},
    {255, 0, 0},
}};

constexpr std::array<std::uint8_t, 4> kFlashPeriods = {28, 23, 18, 13}; // units of 200 ms
constexpr std::uint32_t kFlashUnitMs = 200;

// The wheel runs through six segments of 32 entries; in each, one channel rises or falls
// along these ramps while the other two stay at 255 and 0.
constexpr std::size_t kSegment = 32;
constexpr std::array<std::uint8_t, kSegment> kRise = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, kSegment> kFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

constexpr std::array<Rgb, kWheelSize> MakeWheel() {
    std::array<Rgb, kWheelSize> wheel{};
    for (std::size_t k = 0; k < kSegment; ++k) {
        const std::uint8_t up = kRise[k];
        const std::uint8_t down = kFall[k];
        wheel[k] = {255, up, 0};
        wheel[kSegment + k] = {down, 255, 0};
        wheel[2 * kSegment + k] = {0, 255, up};
        wheel[3 * kSegment + k] = {0, down, 255};
        wheel[4 * kSegment + k] = {up, 0, 255};
        wheel[5 * kSegment + k] = {255, 0, down};
    }
    return wheel;
}

constexpr std::array<Rgb, kWheelSize> kWheel = MakeWheel();

// The first half of the curve; the second half is the same backwards.
constexpr std::array<std::uint8_t, kCurveSize / 2> kCurveRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, kCurveSize> MakeCurve() {
    std::array<std::uint8_t, kCurveSize> curve{};
    for (std::size_t i = 0; i < kCurveRise.size(); ++i) {
        curve[i] = kCurveRise[i];
        curve[kCurveSize - 1 - i] = kCurveRise[i];
    }
    return curve;
}

constexpr std::array<std::uint8_t, kCurveSize> kCurve = MakeCurve();

} // namespace

Rgb Wheel(std::size_t index) {
    return kWheel[index % kWheelSize];
}

std::uint8_t BreathingCurve(std::size_t index) {
    return kCurve[index % kCurveSize];
}

std::uint8_t BrightnessLevel(std::uint8_t level) {
    return kLevels[std::min(level, kMaxLightLevel)];
}

Rgb FourColour(std::size_t index) {
    return kFourColours[index % kFourColourCount];
}

std::uint32_t FlashPeriodMs(std::uint8_t speed) {
    return kFlashPeriods[std::min(speed, kMaxLightLevel)] * kFlashUnitMs;
}

} // namespace devices

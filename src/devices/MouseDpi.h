#pragma once
// The mouse's DPI scale. The profile and the mouse keep a DPI as a slider position; the user
// sees and types counts per inch. The scale is read from the information block.

#include "devices/KelvaneUSBDevice.h"

#include <cstdint>

namespace devices {

// Model 0x3325 runs at `step` per position up to position 48, then at 200 per position.
inline constexpr std::uint16_t kTwoSlopeModelCode = 0x3325;
inline constexpr int kTwoSlopeKneePosition = 48;
inline constexpr int kTwoSlopeUpperStep = 200;

// Where the information block keeps the scale.
inline constexpr std::size_t kInfoModelCodeAt = 9;      // 16-bit, low byte first
inline constexpr std::size_t kInfoDpiStepAt = 11;       // 8-bit
inline constexpr std::size_t kInfoSliderMaximumAt = 12; // 16-bit, the highest position
inline constexpr std::size_t kInfoMinimumDpiAt = 14;    // 16-bit, the DPI at position 0

struct DpiScale {
    std::uint16_t modelCode = 0;
    std::uint8_t step = 0;
    std::uint16_t sliderMaximum = 0;
    std::uint16_t minimum = 0;

    bool TwoSlopes() const { return modelCode == kTwoSlopeModelCode; }
    // The range of a stage's DPI edit box: 0 to slider maximum × step.
    int EditMaximum() const { return sliderMaximum * step; }
};

DpiScale DpiScaleOfInfo(const DeviceInfoBlock& info);

// The counts per inch shown for slider position `position`.
int DpiOfPosition(const DpiScale& scale, int position);

// The slider position of typed counts per inch: a DPI below the minimum is the minimum; the
// position is the highest one whose DPI does not exceed `dpi`, and never above the slider
// maximum (when the scale has one). A scale without a step has only position 0.
int PositionOfDpi(const DpiScale& scale, int dpi);

} // namespace devices

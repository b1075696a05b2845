#include "devices/MouseDpi.h"

#include <algorithm>

namespace devices {

namespace {
std::uint16_t Le16(const DeviceInfoBlock& info, std::size_t at) {
    return static_cast<std::uint16_t>(info[at] | info[at + 1] << 8);
}

// The DPI of the knee position, where the upper slope of the two-slope scale begins.
int KneeDpi(const DpiScale& scale) {
    return scale.minimum + kTwoSlopeKneePosition * scale.step;
}
} // namespace

DpiScale DpiScaleOfInfo(const DeviceInfoBlock& info) {
    DpiScale scale;
    scale.modelCode = Le16(info, kInfoModelCodeAt);
    scale.step = info[kInfoDpiStepAt];
    scale.sliderMaximum = Le16(info, kInfoSliderMaximumAt);
    scale.minimum = Le16(info, kInfoMinimumDpiAt);
    return scale;
}

int DpiOfPosition(const DpiScale& scale, int position) {
    if (scale.TwoSlopes() && position > kTwoSlopeKneePosition)
        return KneeDpi(scale) + (position - kTwoSlopeKneePosition) * kTwoSlopeUpperStep;
    return scale.minimum + position * scale.step;
}

int PositionOfDpi(const DpiScale& scale, int dpi) {
    dpi = std::max(dpi, static_cast<int>(scale.minimum));
    int position = 0;
    // The upper slope counts from the knee's own DPI, so that every position shown there comes
    // back to itself whatever the minimum and step are.
    if (scale.TwoSlopes() && dpi > KneeDpi(scale))
        position = kTwoSlopeKneePosition + (dpi - KneeDpi(scale)) / kTwoSlopeUpperStep;
    else if (scale.step != 0)
        position = (dpi - scale.minimum) / scale.step;
    if (scale.sliderMaximum != 0)
        position = std::min(position, static_cast<int>(scale.sliderMaximum));
    return position;
}

} // namespace devices

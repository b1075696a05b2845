#include "recorder/FrequencyLayout.h"

#include <algorithm>
#include <cmath>

namespace recorder {

namespace {
const double kDecades = std::log10(kHighestHz / kLowestHz);
}

double LowerEdgeHz(std::size_t i) {
    return kLowestHz * std::pow(10.0, kDecades * static_cast<double>(i) / kLayoutValues);
}

int ValueForFrequency(double hz) {
    if (!(hz >= kLowestHz) || hz >= kHighestHz)
        return -1;
    const double position = std::log10(hz / kLowestHz) / kDecades * kLayoutValues;
    int i = std::clamp(static_cast<int>(position), 0, static_cast<int>(kLayoutValues) - 1);
    // Rounding of the logarithm can put a frequency on an edge into the wrong neighbour.
    if (hz < LowerEdgeHz(i))
        --i;
    else if (hz >= LowerEdgeHz(i + 1))
        ++i;
    return i;
}

std::int32_t ScaleDecibels(double db) {
    if (!(db > kFloorDb))
        return 0;
    const double units = std::round(kUnitsPerDb * (db - kFloorDb));
    return static_cast<std::int32_t>(std::min(units, static_cast<double>(kMaxValue)));
}

} // namespace recorder

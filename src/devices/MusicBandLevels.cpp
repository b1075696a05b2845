#include "devices/MusicBandLevels.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace devices {

bool MusicBandLevels::Take(std::span<const std::int32_t, kSpectrumValues> spectrum) {
    ++m_count;
    std::array<std::int64_t, kSpectrumValues> difference{};
    for (std::size_t i = 0; i < kSpectrumValues; ++i) {
        difference[i] = std::llabs(static_cast<std::int64_t>(m_previous[i]) - spectrum[i]);
        m_previous[i] = spectrum[i];
    }
    for (std::size_t j = 0; j < kMusicBands; ++j) {
        std::int64_t sum = m_levels[j];
        for (std::size_t k = 0; k < 4; ++k)
            sum += difference[5 * j + k];
        // A recorder sending values near the ends of the range cannot wrap a level round.
        m_levels[j] = static_cast<std::int32_t>(
            std::min<std::int64_t>(sum / 4, std::numeric_limits<std::int32_t>::max()));
    }
    if (m_count < 3)
        return false;
    m_count = 0;
    return true;
}

} // namespace devices

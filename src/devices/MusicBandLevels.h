#pragma once
// The recorder's spectrum turned into the 25 band levels of the keyboard's music effect. A band
// measures how much its part of the spectrum changed since the last message: band j takes
// the absolute differences of values 5j … 5j + 3 (5j + 4 takes no part), adds its own last
// level and divides by four, so it falls off gradually when the sound stops.

#include "devices/MusicEffects.h"

#include <array>
#include <cstdint>
#include <span>

namespace devices {

inline constexpr std::size_t kSpectrumValues = 500;

class MusicBandLevels {
public:
    // Takes one spectrum message. True on every third one: the levels are then due at the
    // first keyboard.
    bool Take(std::span<const std::int32_t, kSpectrumValues> spectrum);
    const MusicSpectrum& Levels() const { return m_levels; }

private:
    std::array<std::int32_t, kSpectrumValues> m_previous{};
    MusicSpectrum m_levels{};
    int m_count = 0;
};

} // namespace devices

#pragma once
// What the previews of the keyboard's own effects keep between frames besides the step
// counter, the phases, the key intensities, the key phases and the seed of the effect state.

#include "devices/KeyGrid.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace devices {

// A front spreading out of a grid position by one grid step a frame (a ring, or the arms of a
// cross); idle while its reach is 0, and again once its radius has passed the reach.
struct PreviewSpread {
    std::uint8_t column = 0;
    std::uint8_t row = 0;
    std::uint8_t radius = 0;
    std::uint8_t reach = 0;
    std::uint8_t phase = 0; // wheel entry of its colour
    friend bool operator==(const PreviewSpread&, const PreviewSpread&) = default;
};

// A firework climbing a column from the bottom row to the row it bursts in.
struct PreviewRocket {
    bool flying = false;
    std::uint8_t column = 0;
    std::uint8_t row = 0;
    std::uint8_t burstRow = 0;
    std::uint8_t phase = 0;
    friend bool operator==(const PreviewRocket&, const PreviewRocket&) = default;
};

inline constexpr std::size_t kPreviewSpreads = 6;

struct PreviewState {
    std::uint8_t wait = 0; // frames until the next pseudo-random key lights
    std::array<PreviewSpread, kPreviewSpreads> spreads{};
    // The head of the streak running along each lane (a column for rain, a row for meteors):
    // 0 while the lane is empty, else the head's position along the lane + 1.
    std::array<std::uint8_t, kGridColumns> lanes{};
    PreviewRocket rocket{};
    friend bool operator==(const PreviewState&, const PreviewState&) = default;
};

} // namespace devices

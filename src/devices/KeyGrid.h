#pragma once
// Where the on-screen keys sit: the key grid (23 columns × 6 rows, row 0 at the top) and the
// rings around key 70 that the centre-out effects light.

#include <cstddef>
#include <cstdint>

namespace devices {

inline constexpr std::size_t kGridColumns = 23;
inline constexpr std::size_t kGridRows = 6;
inline constexpr std::size_t kRingCount = 12;
inline constexpr std::size_t kRingSlots = 12;
inline constexpr std::uint8_t kNoGridKey = 170;

// The on-screen key at a grid position; kNoGridKey for a gap or a position off the grid.
std::uint8_t GridKey(std::size_t column, std::size_t row);
// The on-screen key in a slot of a ring; kNoGridKey for an empty slot. The outer rings repeat
// key 0 in every slot.
std::uint8_t RingKey(std::size_t ring, std::size_t slot);

} // namespace devices

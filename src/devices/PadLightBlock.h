#pragma once
// The mouse pad's 21-byte light block: its whole lighting in one record of its memory.
//
// The pad keeps its current page at memory byte 0. The host reads a page's block as 26 bytes
// at 25 × page (the first 21 are the block) and writes it as 21 bytes at 64 × page. On the wire
// byte 1 is the pad's mode code and byte 3 is 3 − speed; in the host's copy they are the mode
// index and the speed. Bytes 9 to 20 go back to the pad as they came.

#include "config/ProfileRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace devices {

inline constexpr std::size_t kPadLightBlockSize = 21;
inline constexpr std::size_t kPadLightReadSize = 26;
inline constexpr std::size_t kPadReadStride = 25;
inline constexpr std::size_t kPadWriteStride = 64;
using PadLightBlock = std::array<std::uint8_t, kPadLightBlockSize>;
using PadLightRead = std::array<std::uint8_t, kPadLightReadSize>;

namespace padblock {
inline constexpr std::size_t kPageAt = 0;
inline constexpr std::size_t kModeAt = 1;
inline constexpr std::size_t kBrightnessAt = 2;
inline constexpr std::size_t kSpeedAt = 3;
inline constexpr std::size_t kDirectionAt = 4;
inline constexpr std::size_t kMultiColourAt = 5;
inline constexpr std::size_t kRedAt = 6;
inline constexpr std::size_t kGreenAt = 7;
inline constexpr std::size_t kBlueAt = 8;
inline constexpr std::size_t kKeptAt = 9; // 12 bytes of the pad's own
inline constexpr std::size_t kKeptSize = 12;
} // namespace padblock

// The pad counts its speed the other way round: 3 − speed, in byte arithmetic both ways.
constexpr std::uint8_t PadWireSpeed(std::uint8_t speed) {
    return static_cast<std::uint8_t>(3 - speed);
}

constexpr std::uint16_t PadReadOffset(int page) {
    return static_cast<std::uint16_t>(kPadReadStride * static_cast<std::size_t>(page));
}
constexpr std::uint16_t PadWriteOffset(int page) {
    return static_cast<std::uint16_t>(kPadWriteStride * static_cast<std::size_t>(page));
}

// The host's copy of the first 21 bytes read: mode code to index (the first entry of
// `modeCodes` holding it, else the code itself), byte 3 to the speed.
PadLightBlock PadBlockFromWire(const PadLightRead& read, std::span<const int> modeCodes);
// What is written: mode index to its code (an index without an entry is sent as itself),
// speed to 3 − speed; every other byte as held.
PadLightBlock PadBlockToWire(const PadLightBlock& block, std::span<const int> modeCodes);

// Mode, brightness, speed, multi-colour and colour of the record into the block; the page,
// the direction and bytes 9-20 stay.
void PutPadLightFields(PadLightBlock& block, const config::LightInfoRecord& record);
// `record` with the mode, brightness, speed, multi-colour and colour of the block; its
// direction and the rest stay.
config::LightInfoRecord TakePadLightFields(config::LightInfoRecord record,
                                           const PadLightBlock& block);

} // namespace devices

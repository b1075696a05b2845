#pragma once
// The identity record other programs ask for: a fixed header and the vendor, product and kind
// of every supported model, as 32-bit little-endian words in 1024 bytes.

#include <array>
#include <cstddef>
#include <cstdint>

namespace devices {

inline constexpr std::size_t kIdentityRecordSize = 1024;
// The copy-data id the record is sent with.
inline constexpr std::uint32_t kIdentityCopyDataId = 5;

std::array<std::uint8_t, kIdentityRecordSize> BuildIdentityRecord();

} // namespace devices

#pragma once
// The 64-byte command report as the firmware sees it: a request written to the command
// collection and the reply sent back as an input report on the same collection.

#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {

using Packet = std::array<std::uint8_t, 64>;

namespace packet {
inline constexpr std::uint8_t kReportId = 0x04;
inline constexpr std::size_t kReportIdByte = 0;
inline constexpr std::size_t kChecksumLow = 1;
inline constexpr std::size_t kChecksumHigh = 2;
inline constexpr std::size_t kCommand = 3;
inline constexpr std::size_t kLength = 4;
inline constexpr std::size_t kOffsetLow = 5;
inline constexpr std::size_t kOffsetHigh = 6;
inline constexpr std::size_t kStatus = 7;
inline constexpr std::size_t kData = 8;
inline constexpr std::size_t kMaxData = std::tuple_size_v<Packet> - kData;
static_assert(kMaxData == 56);
} // namespace packet

inline constexpr std::uint8_t kStatusOk = 0x00;
// Bad checksum, unknown command or a data length above 56.
inline constexpr std::uint8_t kStatusRejected = 0xFF;
// Offset and length reach beyond the area the command addresses.
inline constexpr std::uint8_t kStatusOutOfRange = 0xFE;

enum Command : std::uint8_t {
    kBegin = 0x01,
    kEnd = 0x02,
    kReadInfo = 0x03,
    kReadMemory = 0x05,
    kWriteMemory = 0x06,
    kReadKeyTable = 0x07,
    kWriteKeyTable = 0x09,
    kWriteBlock = 0x0B,
    kWriteLightFrame = 0x12,
    kWriteMacro = 0x15,
    kWriteLargeData = 0x17,
    kReadStatus = 0x1A,
    kReadKeyAttributes = 0x1B,
    kTakeLightControl = 0x1C,
    // Asked of a receiver: is the device behind you awake? Also the command byte a sleeping
    // device's receiver puts in every reply in place of the echo.
    kLinkCheck = 0xAA,
};

// The sum of bytes 3 to 63; a request carries its low 16 bits in bytes 1 and 2.
inline std::uint16_t PacketChecksum(const Packet& packet) {
    unsigned sum = 0;
    for (std::size_t i = packet::kCommand; i < packet.size(); ++i)
        sum += packet[i];
    return static_cast<std::uint16_t>(sum);
}

inline bool ChecksumMatches(const Packet& packet) {
    const std::uint16_t sum = PacketChecksum(packet);
    return packet[packet::kChecksumLow] == (sum & 0xFF) &&
           packet[packet::kChecksumHigh] == (sum >> 8);
}

inline void StoreChecksum(Packet& packet) {
    const std::uint16_t sum = PacketChecksum(packet);
    packet[packet::kChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
    packet[packet::kChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

inline std::size_t PacketOffset(const Packet& packet) {
    return packet[packet::kOffsetLow] | (packet[packet::kOffsetHigh] << 8);
}

// A reply without data: report ID, the echo, the request's length and offset, the status.
// The firmware signs its replies with the same checksum as the requests.
inline Packet MakeReply(const Packet& request, std::uint8_t status) {
    Packet reply{};
    reply[packet::kReportIdByte] = packet::kReportId;
    reply[packet::kCommand] = request[packet::kCommand];
    reply[packet::kLength] = request[packet::kLength];
    reply[packet::kOffsetLow] = request[packet::kOffsetLow];
    reply[packet::kOffsetHigh] = request[packet::kOffsetHigh];
    reply[packet::kStatus] = status;
    StoreChecksum(reply);
    return reply;
}

} // namespace sim

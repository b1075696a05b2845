#pragma once
// The 64-byte command report as the firmware sees it: a request written to the command
// collection and the reply sent back as an input report on the same collection.

#include "transport/CommandPacket.h"

#include <cstddef>
#include <cstdint>

namespace sim {

using transport::Packet;
namespace packet = transport::packet;

inline constexpr std::uint8_t kStatusOk = 0x00;
// Bad checksum, unknown command or a data length above 56.
inline constexpr std::uint8_t kStatusRejected = packet::kStatusError;
// Offset and length reach beyond the area the command addresses.
inline constexpr std::uint8_t kStatusOutOfRange = packet::kStatusRefused;

inline bool ChecksumMatches(const Packet& packet) {
    const std::uint32_t sum = transport::PacketChecksum(packet);
    return packet[packet::kChecksumLowAt] == (sum & 0xFF) &&
           packet[packet::kChecksumHighAt] == ((sum >> 8) & 0xFF);
}

inline void StoreChecksum(Packet& packet) {
    transport::SealPacket(packet);
}

inline std::size_t PacketOffset(const Packet& packet) {
    return packet[packet::kOffsetLowAt] | (packet[packet::kOffsetHighAt] << 8);
}

// A reply without data: report ID, the echo, the request's length and offset, the status.
// The firmware signs its replies with the same checksum as the requests.
inline Packet MakeReply(const Packet& request, std::uint8_t status) {
    Packet reply{};
    reply[packet::kReportIdAt] = packet::kReportId;
    reply[packet::kCommandAt] = request[packet::kCommandAt];
    reply[packet::kLengthAt] = request[packet::kLengthAt];
    reply[packet::kOffsetLowAt] = request[packet::kOffsetLowAt];
    reply[packet::kOffsetHighAt] = request[packet::kOffsetHighAt];
    reply[packet::kStatusAt] = status;
    StoreChecksum(reply);
    return reply;
}

} // namespace sim

#pragma once
// The 64-byte command report as the firmware sees it: a request written to the command
// collection and the reply sent back as an input report on the same collection. The firmware
// keeps its own layout and checksum, so that a fault on the host side is not mirrored here.

#include <array>
#include <cstddef>
#include <cstdint>

namespace sim {

using Packet = std::array<std::uint8_t, 64>;

namespace wire {
inline constexpr std::uint8_t kReportId = 0x04;
inline constexpr std::size_t kChecksumLowAt = 1;
inline constexpr std::size_t kChecksumHighAt = 2;
inline constexpr std::size_t kCommandAt = 3;
inline constexpr std::size_t kLengthAt = 4;
inline constexpr std::size_t kOffsetLowAt = 5;
inline constexpr std::size_t kOffsetHighAt = 6;
inline constexpr std::size_t kStatusAt = 7;
inline constexpr std::size_t kDataAt = 8;
inline constexpr std::size_t kMaxData = 56;
} // namespace wire

// The commands the firmware knows.
enum FirmwareCommand : std::uint8_t {
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
    // Answered by the receiver itself; it also puts this in place of the echo while its device
    // sleeps.
    kLinkCheck = 0xAA,
};

inline constexpr std::uint8_t kStatusOk = 0x00;
// Bad checksum, unknown command or a data length above 56.
inline constexpr std::uint8_t kStatusRejected = 0xFF;
// Offset and length reach beyond the area the command addresses.
inline constexpr std::uint8_t kStatusOutOfRange = 0xFE;

// The firmware adds up bytes 3 to 63 and keeps the low 16 bits of the sum in bytes 1 and 2.
inline std::uint16_t FirmwareChecksum(const Packet& packet) {
    unsigned sum = 0;
    for (std::size_t i = wire::kCommandAt; i < packet.size(); ++i)
        sum += packet[i];
    return static_cast<std::uint16_t>(sum);
}

inline bool ChecksumMatches(const Packet& packet) {
    const std::uint16_t sum = FirmwareChecksum(packet);
    return packet[wire::kChecksumLowAt] == (sum & 0xFF) &&
           packet[wire::kChecksumHighAt] == (sum >> 8);
}

inline void StoreChecksum(Packet& packet) {
    const std::uint16_t sum = FirmwareChecksum(packet);
    packet[wire::kChecksumLowAt] = static_cast<std::uint8_t>(sum & 0xFF);
    packet[wire::kChecksumHighAt] = static_cast<std::uint8_t>(sum >> 8);
}

inline std::size_t PacketOffset(const Packet& packet) {
    return packet[wire::kOffsetLowAt] | (packet[wire::kOffsetHighAt] << 8);
}

// A reply without data: report ID, the echo, the request's length and offset, the status.
// The firmware signs its replies with the same checksum as the requests.
inline Packet MakeReply(const Packet& request, std::uint8_t status) {
    Packet reply{};
    reply[0] = wire::kReportId;
    reply[wire::kCommandAt] = request[wire::kCommandAt];
    reply[wire::kLengthAt] = request[wire::kLengthAt];
    reply[wire::kOffsetLowAt] = request[wire::kOffsetLowAt];
    reply[wire::kOffsetHighAt] = request[wire::kOffsetHighAt];
    reply[wire::kStatusAt] = status;
    StoreChecksum(reply);
    return reply;
}

} // namespace sim

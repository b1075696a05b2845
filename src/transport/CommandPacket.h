#pragma once
// The 64-byte command report: request and reply share one layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace transport {

namespace packet {
inline constexpr std::size_t kSize = 64;
inline constexpr std::uint8_t kReportId = 0x04;
inline constexpr std::size_t kReportIdAt = 0;
inline constexpr std::size_t kChecksumLowAt = 1;
inline constexpr std::size_t kChecksumHighAt = 2;
inline constexpr std::size_t kCommandAt = 3; // the reply echoes it here
inline constexpr std::size_t kLengthAt = 4;
inline constexpr std::size_t kOffsetLowAt = 5;
inline constexpr std::size_t kOffsetHighAt = 6;
inline constexpr std::size_t kStatusAt = 7; // reply: 0xFF and 0xFE are errors
inline constexpr std::size_t kDataAt = 8;
inline constexpr std::size_t kMaxData = kSize - kDataAt; // 56
inline constexpr std::uint8_t kStatusError = 0xFF;
inline constexpr std::uint8_t kStatusRefused = 0xFE;
// A receiver answers this in the command byte when its device does not answer.
inline constexpr std::uint8_t kNoDeviceEcho = 0xAA;
} // namespace packet

using Packet = std::array<std::uint8_t, packet::kSize>;

enum CommandCode : std::uint8_t {
    kCmdBegin = 0x01,
    kCmdEnd = 0x02,
    kCmdReadInfo = 0x03,
    kCmdReadMemory = 0x05,
    kCmdWriteMemory = 0x06,
    kCmdReadKeyTable = 0x07,
    kCmdWriteKeyTable = 0x09,
    kCmdWriteBlock = 0x0B,
    kCmdWriteLightFrame = 0x12,
    kCmdWriteMacro = 0x15,
    kCmdWriteLargeData = 0x17,
    kCmdReadStatus = 0x1A,
    kCmdReadKeyAttributes = 0x1B,
    kCmdTakeLightControl = 0x1C,
    kCmdLinkCheck = 0xAA,
};

// The sum of bytes 3..63, of which bytes 1 and 2 carry the low 16 bits.
std::uint32_t PacketChecksum(std::span<const std::uint8_t, packet::kSize> bytes);

// A request: report ID 4, the command, and for data packets the length, offset and data
// (at most 56 bytes are taken); the checksum filled in.
Packet MakeRequest(std::uint8_t command, std::span<const std::uint8_t> data = {},
                   std::uint16_t offset = 0, std::uint8_t length = 0);

// Fills in bytes 1 and 2 of a packet from its contents.
void SealPacket(Packet& packet);

// The first 64 bytes (zeros past the end) as the log shows them: two lines of 32 bytes in
// groups of four.
std::array<std::string, 2> FormatPacketLines(std::span<const std::uint8_t> bytes);

} // namespace transport

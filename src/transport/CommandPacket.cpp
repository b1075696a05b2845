#include "transport/CommandPacket.h"

#include <algorithm>
#include <cstdio>

namespace transport {

std::uint32_t PacketChecksum(std::span<const std::uint8_t, packet::kSize> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = packet::kCommandAt; i < packet::kSize; ++i)
        sum += bytes[i];
    return sum;
}

void SealPacket(Packet& p) {
    const std::uint32_t sum = PacketChecksum(p);
    p[packet::kChecksumLowAt] = static_cast<std::uint8_t>(sum & 0xFF);
    p[packet::kChecksumHighAt] = static_cast<std::uint8_t>((sum >> 8) & 0xFF);
}

Packet MakeRequest(std::uint8_t command, std::span<const std::uint8_t> data, std::uint16_t offset,
                   std::uint8_t length) {
    Packet p{};
    p[packet::kReportIdAt] = packet::kReportId;
    p[packet::kCommandAt] = command;
    p[packet::kLengthAt] = length;
    p[packet::kOffsetLowAt] = static_cast<std::uint8_t>(offset & 0xFF);
    p[packet::kOffsetHighAt] = static_cast<std::uint8_t>(offset >> 8);
    const std::size_t n = std::min(data.size(), packet::kMaxData);
    std::copy_n(data.begin(), n, p.begin() + packet::kDataAt);
    SealPacket(p);
    return p;
}

std::array<std::string, 2> FormatPacketLines(std::span<const std::uint8_t> bytes) {
    std::uint8_t b[packet::kSize] = {};
    std::copy_n(bytes.begin(), std::min(bytes.size(), packet::kSize), b);
    std::array<std::string, 2> lines;
    for (int line = 0; line < 2; ++line) {
        const std::uint8_t* x = b + line * 32;
        char text[128];
        std::snprintf(text, sizeof text,
                      "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   "
                      "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  "
                      "%02x %02x %02x %02x  %02x %02x %02x %02x",
                      x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7], x[8], x[9], x[10], x[11],
                      x[12], x[13], x[14], x[15], x[16], x[17], x[18], x[19], x[20], x[21], x[22],
                      x[23], x[24], x[25], x[26], x[27], x[28], x[29], x[30], x[31]);
        lines[line] = text;
    }
    return lines;
}

} // namespace transport

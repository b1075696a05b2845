#include "devices/ShootDownload.h"

#include "devices/MacroImage.h"

#include <algorithm>

namespace devices {

std::vector<std::uint8_t> BuildShootImage(const ShootSlots& slots) {
    return BuildMacroImage(slots);
}

std::vector<transport::Packet> ShootDownloadPackets(std::span<const std::uint8_t> data) {
    std::vector<transport::Packet> packets;
    for (std::size_t at = 0; at < data.size(); at += transport::packet::kMaxData) {
        const std::size_t length = std::min(transport::packet::kMaxData, data.size() - at);
        packets.push_back(transport::MakeRequest(
            transport::kCmdWriteLargeData, data.subspan(at, length), static_cast<std::uint16_t>(at),
            static_cast<std::uint8_t>(length)));
    }
    return packets;
}

} // namespace devices

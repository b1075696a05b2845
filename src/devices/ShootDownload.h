#pragma once
// What the mouse is sent for its recoil patterns (command 0x17, write large data): one image
// of the four weapon slots in the layout of the macro image (MacroImage.h), slot s being
// macro block s with its 180 events in file order:
//   0  AA 55, total length, 4, ten bytes of 0
//   16 the four block offsets
//   24 slot 0: event count, two bytes of 0, four bytes per event (PackMacroEvent) ...
// With 180 events per slot the image is 2920 bytes. It travels in packets of 56 data bytes
// whatever the channel's chunk size, each packet's offset the running byte count.

#include "config/MacroEvent.h"
#include "transport/CommandPacket.h"

#include <cstdint>
#include <span>
#include <vector>

namespace devices {

using ShootSlots = std::vector<std::vector<config::MacroEvent>>;

// The image of the slots (config::CShootEditor::SlotEvents()).
std::vector<std::uint8_t> BuildShootImage(const ShootSlots& slots);

// The 0x17 requests that carry `data`, in the order they are sent: packet k holds bytes
// 56k .. 56k + 55 (the last one fewer) with offset 56k. None for no data.
std::vector<transport::Packet> ShootDownloadPackets(std::span<const std::uint8_t> data);

} // namespace devices

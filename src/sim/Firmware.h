#pragma once
// The firmware of one device: its memory areas and the answer to every command request.
// Shared by a cable device and the receiver it pairs with, so both see one memory.

#include "sim/FirmwarePacket.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sim {

// The memory areas the commands read and write. An area of size 0 is one the device lacks;
// the commands that address it are unknown to that device.
enum class FirmwareArea {
    Info,          // 0x03: the 34-byte information block
    Memory,        // 0x05/0x06: settings memory (light blocks, the mouse's configuration)
    KeyTable,      // 0x07: the native code of each device key, 3 bytes per key
    KeyAttributes, // 0x1B: the LED number of each device key
    LedTable,      // 0x12: the last light frame, 3 bytes per LED
    LightSchemes,  // 0x0B: per-key colour schemes, 512 bytes each
    Macro,         // 0x15: the macro image
    LargeData,     // 0x17: shoot (recoil) data
    Status,        // 0x1A: power status
    // 0x09: what each device key does, 3 bytes per key; starts as the native codes. Kept apart
    // from the native table, so that the host finds its keys again after a remap.
    KeyAssignments,
};
inline constexpr std::size_t kFirmwareAreaCount = 10;

using FirmwareImage = std::array<std::vector<std::uint8_t>, kFirmwareAreaCount>;

inline std::vector<std::uint8_t>& AreaOf(FirmwareImage& image, FirmwareArea area) {
    return image[static_cast<std::size_t>(area)];
}

class Firmware {
public:
    explicit Firmware(FirmwareImage image);

    // The reply to one request; thread-safe.
    Packet Answer(const Packet& request);

    std::vector<std::uint8_t> Area(FirmwareArea area) const;
    // Overwrites part of an area, as a test or the demo presets it; false when it does not fit.
    bool WriteArea(FirmwareArea area, std::size_t offset, const std::vector<std::uint8_t>& bytes);
    // Set by command 0x1C: the host streams the light frames.
    bool HostLightControl() const;

private:
    Packet AnswerAreaCommand(const Packet& request, FirmwareArea area, bool write);

    mutable std::mutex m_mutex;
    FirmwareImage m_image;
    bool m_hostLightControl = false;
};

} // namespace sim

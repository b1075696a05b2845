#pragma once
// The memory each product leaves the factory with.

#include "sim/Firmware.h"

#include <cstdint>
#include <vector>

namespace sim {

FirmwareImage KeyboardImage(bool throughReceiver);
FirmwareImage MouseImage(bool throughReceiver);
FirmwareImage MousePadImage();
FirmwareImage HeadsetImage();

// The parts of the 34-byte information block every product fills in; the mouse adds its DPI
// scale at bytes 9-15.
struct InfoFields {
    std::uint16_t firmwareVersion = 0; // bytes 0-1
    std::uint8_t deviceType = 0;       // byte 2: 1 keyboard, 2 mouse, 3 mouse pad, 7 headset
    std::uint8_t profiles = 0;         // byte 3: profiles held in memory
    std::uint8_t leds = 0;             // byte 4
    std::uint8_t keys = 0;             // byte 5: device keys (or mouse buttons)
    std::uint8_t macroUnits = 0;       // byte 6: macro memory in units of 128 bytes
};
inline constexpr std::size_t kInfoBlockSize = 34;
std::vector<std::uint8_t> MakeInfoBlock(const InfoFields& fields);

enum class Charging : std::uint8_t { Full = 0, Charging = 1, OnBattery = 2 };
// The status read with 0x1A: battery per cent, charging state, phone on the pad's charger
// (0 none), wireless flag, and 1 at byte 4 while the device is linked.
std::vector<std::uint8_t> MakePowerStatus(std::uint8_t battery, Charging charging, bool wireless);

} // namespace sim
